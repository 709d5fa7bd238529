#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class QAction;
class QMenu;
class TCoolTrayIcon;

// The tray icon's menu and its items, under the names the program's
// handlers use.
struct TrayMenu {
    struct Handlers {
        std::function<void()> pause, stop, record, recordEmail, config, autostart, help, exit;
        std::function<void()> click; // what a click on the icon does
    };
    // Its texts are the main window's: translated there.
    // The menu is the icon's, and dies with it.
    void BuildTrayMenu(TCoolTrayIcon& icon, const Handlers& handlers);
    // Items follow the take: 0 idle, 1 recording, 2 stalled, 3 paused.
    // menuOnClick: the tray opens the menu on a click, which then never
    // reaches the program; the menu's first item does the click's work.
    void UpdateTrayMenu(uint32_t state, bool autostartOn, bool menuOnClick = false);

    QMenu* PopupMenu = nullptr;
    QAction* MenuClick = nullptr;
    QAction* MenuClickSeparator = nullptr;
    QAction* MenuPause = nullptr;
    QAction* MenuStop = nullptr;
    QAction* MenuRecord = nullptr;
    QAction* MenuRecordEmail = nullptr;
    QAction* MenuConfig = nullptr;
    QAction* MenuAutostart = nullptr;
    QAction* MenuHelp = nullptr;
    QAction* MenuExit = nullptr;
};

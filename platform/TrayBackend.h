#pragma once

#include <QIcon>
#include <QObject>
#include <QString>

#include <memory>

class QMenu;

// The desktop's notification area, as the tray facility needs it. The real
// one is Qt's system tray icon, or a window where the desktop has no tray;
// tests use a fake that records the calls.
class TrayBackend : public QObject {
    Q_OBJECT
public:
    enum class BalloonIcon { None, Information, Warning, Error };

    virtual void SetIcon(const QIcon& icon) = 0;
    virtual void SetToolTip(const QString& text) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual void SetMenu(QMenu* menu) = 0;
    // summary: the balloon's point in one line, for notification servers
    // whose banners show little more (GNOME's); empty: the title.
    virtual void ShowBalloon(const QString& title, const QString& text, int seconds,
                             BalloonIcon icon, const QString& summary) = 0;
    // Removes the balloon drawn on screen, if any; never shows an empty one.
    // A notification server's stays in its list until it is replaced.
    virtual void HideBalloon() = 0;
    // What a click does now, for a screen reader: record, or stop a take.
    virtual void SetRecording(bool) {}
    // A left click opens the menu instead of reaching the program.
    virtual bool MenuOnClick() const { return false; }

signals:
    void leftClicked();    // each left click, as the desktop reports it
    void doubleClicked();  // only where the desktop reports double clicks itself
    void closeRequested(); // the user closed the window that stands in for the icon

protected:
    using QObject::QObject;
};

// The desktop's tray: Qt's tray icon while the desktop has a tray, a
// recorder window while it has none, switching as trays come and go.
std::unique_ptr<TrayBackend> CreateSystemTray();
// Qt's tray icon alone; statusNotifier: the desktop's tray is on D-Bus, where
// balloons go to its notification server.
std::unique_ptr<TrayBackend> CreateTrayIcon(bool statusNotifier);

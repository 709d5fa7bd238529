#pragma once

#include "TrayBackend.h"
#include "TrayPresence.h"

#include <functional>
#include <memory>

// Qt's tray icon while the desktop has a tray, a stand-in while it has none.
// Each is made when first needed; what the program set (image, hint, menu,
// visibility) goes to whichever is shown, and both take clicks.
class DesktopTray : public TrayBackend {
    Q_OBJECT
public:
    using IconFactory = std::function<std::unique_ptr<TrayBackend>(TrayKind)>;
    using WindowFactory = std::function<std::unique_ptr<TrayBackend>()>;

    DesktopTray(std::unique_ptr<TrayPresence> presence, IconFactory makeIcon,
                WindowFactory makeWindow);
    ~DesktopTray() override;

    void SetIcon(const QIcon& icon) override;
    void SetToolTip(const QString& text) override;
    void SetVisible(bool visible) override;
    void SetMenu(QMenu* menu) override;
    void ShowBalloon(const QString& title, const QString& text, int seconds, BalloonIcon icon,
                     const QString& summary) override;
    void HideBalloon() override;
    void SetRecording(bool recording) override;

    bool MenuOnClick() const override {
        return !InWindow() && m_chosen == TrayKind::StatusNotifier &&
               m_presence->Facts().menuOnClick;
    }

    bool InWindow() const { return m_current && m_current == m_window.get(); }

private:
    void follow();
    void connectClicks(TrayBackend& backend);

    std::unique_ptr<TrayPresence> m_presence;
    IconFactory m_makeIcon;
    WindowFactory m_makeWindow;
    std::unique_ptr<TrayBackend> m_icon;
    std::unique_ptr<TrayBackend> m_window;
    TrayBackend* m_current = nullptr;
    TrayKind m_chosen = TrayKind::None;
    QIcon m_image;
    QString m_toolTip;
    QMenu* m_menu = nullptr;
    bool m_visible = false;
    bool m_recording = false;
};

#pragma once

#include "TrayBackend.h"

#include <QDBusConnection>

#include <memory>

class DesktopNotifications;
class QWidget;

// Stands in for the tray icon where the desktop shows none: a small window
// with the icon's image drawn large and its hint beneath, that takes the
// same clicks (a click, a double click, a right click or its menu button for
// the menu). Closing it is the program's Exit. Balloons become the desktop's
// notifications where a notification server runs, else they show in the
// window.
class RecorderWindow : public TrayBackend {
    Q_OBJECT
public:
    explicit RecorderWindow(QDBusConnection bus = QDBusConnection::sessionBus());
    ~RecorderWindow() override;

    void SetIcon(const QIcon& icon) override;
    void SetToolTip(const QString& text) override;
    void SetVisible(bool visible) override;
    void SetMenu(QMenu* menu) override;
    void ShowBalloon(const QString& title, const QString& text, int seconds, BalloonIcon icon,
                     const QString& summary) override;
    void HideBalloon() override;
    void SetRecording(bool recording) override;

    QWidget* Window() const;

    // Ends every notification: without a tray icon, texts that speak of
    // clicks must say where to click.
    static QString WhereText();

private:
    class Face;
    std::unique_ptr<Face> m_face;
    std::unique_ptr<DesktopNotifications> m_notifications;
    QDBusConnection m_bus;
    bool m_placed = false;
};

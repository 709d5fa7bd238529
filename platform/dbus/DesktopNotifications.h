#pragma once

#include "TrayBackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>

// Balloons as the desktop's notifications (org.freedesktop.Notifications).
// A balloon shown through Qt's tray icon on D-Bus cannot be taken back: an
// empty one shows as a blank notification, so ours close by their id.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus());

    // A notification server runs on the bus, or the bus can start one.
    static bool Available(const QDBusConnection& bus = QDBusConnection::sessionBus());

    void Show(const QString& title, const QString& text, int seconds,
              TrayBackend::BalloonIcon icon);
    void Close();

public slots:
    void notificationClosed(const QDBusMessage& closed);

private:
    void closeNotification(uint id);

    QDBusConnection m_bus;
    uint m_id = 0;
    quint64 m_generation = 0;
};

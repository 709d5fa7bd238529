#pragma once

#include "TrayBackend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QStringList>

// Balloons as the desktop's notifications (org.freedesktop.Notifications),
// each replacing the one before. Qt's tray icon on D-Bus sends its balloons
// with no way to replace them, and an empty one shows as a blank notification.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus());

    // A notification server runs on the bus, or the bus can start one.
    static bool Available(const QDBusConnection& bus = QDBusConnection::sessionBus());

    // summary: the balloon's point; GNOME's banner shows nothing else.
    // actions: key and label pairs; "default" is a click on the balloon itself.
    void Show(const QString& summary, const QString& body, int seconds,
              TrayBackend::BalloonIcon icon, const QStringList& actions = {});

signals:
    // The user chose one of the actions of the balloon now shown.
    void actionInvoked(const QString& action);

public slots:
    void notificationClosed(const QDBusMessage& closed);
    void actionInvokedOnServer(const QDBusMessage& invoked);

private:
    void closeNotification(uint id);

    QDBusConnection m_bus;
    uint m_id = 0;
    quint64 m_generation = 0;
};

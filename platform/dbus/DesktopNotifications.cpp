#include "DesktopNotifications.h"

#include "BusCall.h"
#include "Common.h"
#include "Logging.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString kNotifyService = QStringLiteral("org.freedesktop.Notifications");
const QString kNotifyPath = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus) : m_bus(std::move(bus)) {
    m_bus.connect(kNotifyService, kNotifyPath, kNotifyService, QStringLiteral("NotificationClosed"),
                  this, SLOT(notificationClosed(QDBusMessage)));
    m_bus.connect(kNotifyService, kNotifyPath, kNotifyService, QStringLiteral("ActionInvoked"),
                  this, SLOT(actionInvokedOnServer(QDBusMessage)));
}

bool DesktopNotifications::Available(const QDBusConnection& bus) {
    return ServiceReachable(bus, kNotifyService);
}

void DesktopNotifications::Show(const QString& summary, const QString& body, int seconds,
                                TrayBackend::BalloonIcon icon, const QStringList& actions) {
    static const char* const names[] = {"", "dialog-information", "dialog-warning", "dialog-error"};
    QVariantMap hints;
    // Urgency is a byte: 0 low, 1 normal, 2 critical.
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue<uchar>(icon == TrayBackend::BalloonIcon::Error ? 2 : 1));
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kAppId));
    QDBusMessage notify = QDBusMessage::createMethodCall(kNotifyService, kNotifyPath,
                                                         kNotifyService, QStringLiteral("Notify"));
    // The balloon's seconds go to the server, which takes it off the screen
    // and, where it keeps a list (GNOME, KDE), leaves it there to be read: a
    // balloon is never withdrawn, only replaced by the next.
    notify << QStringLiteral("Tapewren") << m_id
           << QString::fromLatin1(names[static_cast<int>(icon)]) << summary << body << actions
           << hints << seconds * 1000;
    m_id = 0;
    const quint64 generation = ++m_generation;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint> reply = *call;
                if (reply.isError()) {
                    qCWarning(lcPlatform, "notifications: the server did not show the balloon (%s)",
                              qPrintable(reply.error().message()));
                    return;
                }
                if (generation == m_generation)
                    m_id = reply.value();
                else // a newer balloon went out before this one had its number
                    closeNotification(reply.value());
            });
}

void DesktopNotifications::notificationClosed(const QDBusMessage& closed) {
    if (SignalHasSignature(closed, "uu") && closed.arguments().at(0).toUInt() == m_id)
        m_id = 0;
}

void DesktopNotifications::actionInvokedOnServer(const QDBusMessage& invoked) {
    // The server tells every program of every action: only ours, on the
    // balloon now shown, is the user's answer to us.
    if (!SignalHasSignature(invoked, "us")) {
        qCWarning(lcPlatform, "notifications: ActionInvoked of signature \"%s\" ignored",
                  qPrintable(invoked.signature()));
        return;
    }
    if (m_id != 0 && invoked.arguments().at(0).toUInt() == m_id)
        emit actionInvoked(invoked.arguments().at(1).toString());
}

void DesktopNotifications::closeNotification(uint id) {
    QDBusMessage close = QDBusMessage::createMethodCall(kNotifyService, kNotifyPath, kNotifyService,
                                                        QStringLiteral("CloseNotification"));
    close << id;
    m_bus.send(close);
}

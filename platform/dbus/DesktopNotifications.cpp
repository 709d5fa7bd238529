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
}

bool DesktopNotifications::Available(const QDBusConnection& bus) {
    return ServiceReachable(bus, kNotifyService);
}

void DesktopNotifications::Show(const QString& title, const QString& text, int seconds,
                                TrayBackend::BalloonIcon icon) {
    Close();
    static const char* const names[] = {"", "dialog-information", "dialog-warning", "dialog-error"};
    QVariantMap hints;
    // Urgency is a byte: 0 low, 1 normal, 2 critical.
    hints.insert(QStringLiteral("urgency"),
                 QVariant::fromValue<uchar>(icon == TrayBackend::BalloonIcon::Error ? 2 : 1));
    hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(kAppId));
    QDBusMessage notify = QDBusMessage::createMethodCall(kNotifyService, kNotifyPath,
                                                         kNotifyService, QStringLiteral("Notify"));
    notify << QStringLiteral("Tapewren") << 0u << QString::fromLatin1(names[static_cast<int>(icon)])
           << title << text << QStringList() << hints << seconds * 1000;
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
                else // hidden or replaced while the server was answering
                    closeNotification(reply.value());
            });
}

void DesktopNotifications::Close() {
    ++m_generation;
    if (m_id != 0)
        closeNotification(m_id);
    m_id = 0;
}

void DesktopNotifications::notificationClosed(const QDBusMessage& closed) {
    if (SignalHasSignature(closed, "uu") && closed.arguments().at(0).toUInt() == m_id)
        m_id = 0;
}

void DesktopNotifications::closeNotification(uint id) {
    QDBusMessage close = QDBusMessage::createMethodCall(kNotifyService, kNotifyPath, kNotifyService,
                                                        QStringLiteral("CloseNotification"));
    close << id;
    m_bus.send(close);
}

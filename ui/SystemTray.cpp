#include "TrayBackend.h"

#include "TextLines.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QSystemTrayIcon>

namespace {
const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kNotifyService = QStringLiteral("org.freedesktop.Notifications");
const QString kNotifyPath = QStringLiteral("/org/freedesktop/Notifications");

// Qt's tray goes through D-Bus (StatusNotifierItem) under this condition, and
// XEmbed otherwise; it decides once, when the first tray icon is made.
bool statusNotifierHostRegistered() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(kWatcherService))
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}

// Balloons as desktop notifications, for trays on D-Bus. Qt's own balloon
// there cannot be taken back: an empty one shows as a blank notification.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    DesktopNotifications() {
        // QtDBus looks the slot up by its normalized signature.
        // clang-format off
        QDBusConnection::sessionBus().connect(kNotifyService, kNotifyPath, kNotifyService,
                                              QStringLiteral("NotificationClosed"), this,
                                              SLOT(notificationClosed(uint,uint)));
        // clang-format on
    }

    void Show(const QString& title, const QString& text, int seconds,
              TrayBackend::BalloonIcon icon) {
        Close();
        static const char* const names[] = {"", "dialog-information", "dialog-warning",
                                            "dialog-error"};
        QVariantMap hints;
        // Urgency is a byte: 0 low, 1 normal, 2 critical.
        hints.insert(QStringLiteral("urgency"),
                     QVariant::fromValue<uchar>(icon == TrayBackend::BalloonIcon::Error ? 2 : 1));
        QDBusMessage notify = QDBusMessage::createMethodCall(
            kNotifyService, kNotifyPath, kNotifyService, QStringLiteral("Notify"));
        notify << QStringLiteral("Tapewren") << 0u
               << QString::fromLatin1(names[static_cast<int>(icon)]) << title << text
               << QStringList() << hints << seconds * 1000;
        const quint64 generation = ++m_generation;
        auto* watcher =
            new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, generation](QDBusPendingCallWatcher* call) {
                    call->deleteLater();
                    const QDBusPendingReply<uint> reply = *call;
                    if (reply.isError())
                        return;
                    if (generation == m_generation)
                        m_id = reply.value();
                    else // hidden or replaced while the server was answering
                        closeNotification(reply.value());
                });
    }

    void Close() {
        ++m_generation;
        if (m_id != 0)
            closeNotification(m_id);
        m_id = 0;
    }

public slots:
    void notificationClosed(uint id, uint) {
        if (id == m_id)
            m_id = 0;
    }

private:
    static void closeNotification(uint id) {
        QDBusMessage close = QDBusMessage::createMethodCall(
            kNotifyService, kNotifyPath, kNotifyService, QStringLiteral("CloseNotification"));
        close << id;
        QDBusConnection::sessionBus().send(close);
    }

    uint m_id = 0;
    quint64 m_generation = 0;
};

class SystemTray : public TrayBackend {
public:
    SystemTray() {
        if (statusNotifierHostRegistered())
            m_notifications = std::make_unique<DesktopNotifications>();
        connect(&m_icon, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason reason) {
                    if (reason == QSystemTrayIcon::Trigger)
                        emit leftClicked();
                    else if (reason == QSystemTrayIcon::DoubleClick)
                        emit doubleClicked();
                });
    }
    void SetIcon(const QIcon& icon) override { m_icon.setIcon(icon); }
    void SetToolTip(const QString& text) override { m_icon.setToolTip(TextLines(text)); }
    void SetVisible(bool visible) override { m_icon.setVisible(visible); }
    void SetMenu(QMenu* menu) override { m_icon.setContextMenu(menu); }
    void ShowBalloon(const QString& title, const QString& text, int seconds,
                     BalloonIcon icon) override {
        if (m_notifications) {
            m_notifications->Show(title, TextLines(text), seconds, icon);
            return;
        }
        static const QSystemTrayIcon::MessageIcon icons[] = {
            QSystemTrayIcon::NoIcon, QSystemTrayIcon::Information, QSystemTrayIcon::Warning,
            QSystemTrayIcon::Critical};
        m_icon.showMessage(title, TextLines(text), icons[static_cast<int>(icon)], seconds * 1000);
    }
    void HideBalloon() override {
        if (m_notifications)
            m_notifications->Close();
        else // Qt's own balloon (XEmbed trays) goes away on an empty message.
            m_icon.showMessage(QString(), QString(), QSystemTrayIcon::NoIcon, 0);
    }

private:
    std::unique_ptr<DesktopNotifications> m_notifications;
    QSystemTrayIcon m_icon;
};
} // namespace

std::unique_ptr<TrayBackend> CreateSystemTray() {
    return std::make_unique<SystemTray>();
}

#include "SystemTray.moc"

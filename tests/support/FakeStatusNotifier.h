#pragma once

// The StatusNotifierItem side of a desktop, for a private session bus: a
// watcher (whose host may come and go) and a notification server. Each
// reports what it is asked through a callback.

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QStringList>

#include <QDBusConnection>

#include <functional>
#include <utility>
#include <vector>

class FakeWatcher : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit FakeWatcher(QObject* parent) : QDBusAbstractAdaptor(parent) {}
    bool hostRegistered() const { return host; }
    QStringList items() const { return m_items; }
    int protocolVersion() const { return 0; }

    bool host = true;
    std::function<void(const QString& item)> itemRegistered;

    void SetHost(bool registered) {
        host = registered;
        if (registered)
            emit StatusNotifierHostRegistered();
        else
            emit StatusNotifierHostUnregistered();
    }

public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        // Some items pass their object path instead of a bus name.
        const QString name = service.startsWith('/') ? message.service() : service;
        m_items << name;
        if (itemRegistered)
            itemRegistered(name);
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

private:
    QStringList m_items;
};

class FakeNotifications : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotifications(QObject* parent) : QDBusAbstractAdaptor(parent) {}

    std::function<void(uint id, const QString& summary, const QString& body)> notified;
    std::function<void(uint id)> closed;
    int expireTimeout = -1; // the last Notify's, in milliseconds
    QStringList actions;    // the last Notify's
    // A server slow to answer: Notify's replies wait for Answer().
    bool holdAnswers = false;
    void Answer(QDBusConnection bus) {
        for (const auto& [call, id] : m_held)
            bus.send(call.createReply(id));
        m_held.clear();
    }

public slots:
    uint Notify(const QString&, uint replacesId, const QString&, const QString& summary,
                const QString& body, const QStringList& actionPairs, const QVariantMap&,
                int timeout, const QDBusMessage& call) {
        expireTimeout = timeout;
        actions = actionPairs;
        const uint id = replacesId != 0 ? replacesId : ++m_lastId;
        if (notified)
            notified(id, summary, body);
        if (holdAnswers) {
            call.setDelayedReply(true);
            m_held.push_back({call, id});
        }
        return id;
    }
    void CloseNotification(uint id) {
        if (closed)
            closed(id);
        emit NotificationClosed(id, 3);
    }
    QStringList GetCapabilities() { return {QStringLiteral("body")}; }
    QString GetServerInformation(QString& vendor, QString& version, QString& specVersion) {
        vendor = QStringLiteral("tapewren tests");
        version = QStringLiteral("1");
        specVersion = QStringLiteral("1.2");
        return QStringLiteral("fake_sni");
    }

signals:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& action);

private:
    uint m_lastId = 0;
    std::vector<std::pair<QDBusMessage, uint>> m_held;
};

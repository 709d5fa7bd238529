#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

// The desktop portal, as every part of the
// program that asks it something reaches it.
namespace Portal {
QDBusMessage Call(const QString& interface, const QString& method);
// An object of the portal's own, such as a session or a request.
QDBusMessage CallOn(const QString& path, const QString& interface, const QString& method);
// A signal of the portal's main object.
bool Connect(QDBusConnection& bus, const QString& interface, const QString& name, QObject* receiver,
             const char* slot);
// The portal runs on the bus, or the bus can start it.
bool Reachable(const QDBusConnection& bus);
// Reading an interface's version starts an activatable portal, and fails
// where the portal lacks that interface. Waits at most timeoutMs.
bool Offers(const QDBusConnection& bus, const QString& interface, int timeoutMs);
// Portals tell programs outside a sandbox apart by the application id they
// register before any other call; portals without the registry answer with
// an error, which changes nothing.
void RegisterHost(const QDBusConnection& bus);
// A token for a request's or a session's path, unique within this run.
QString Token();
} // namespace Portal

// One portal request: the call returns a handle at once, and the answer
// comes later as a Response signal on that handle's path. The path is
// subscribed to before the call, from the token we choose, so that an
// answer sent straight away is heard; a portal older than handle_token
// names its own path, which is followed instead.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    // call: its last argument is the options map, which gains the token.
    PortalRequest(QDBusConnection bus, QDBusMessage call, int replyTimeoutMs,
                  QObject* parent = nullptr);
    ~PortalRequest() override;

    bool Replied() const { return m_replied; }
    bool Failed() const { return m_failed; }
    // The call failed because no portal, or no portal with this interface,
    // is on the bus (or no bus at all): nothing was refused.
    bool Missing() const { return m_missing; }
    bool Answered() const { return m_answered; }
    uint ResponseCode() const { return m_response; }
    // The portal's own codes.
    static constexpr uint kSuccess = 0, kCancelled = 1, kFailed = 2;

signals:
    // The portal took the request; the answer is still to come.
    void replied(const QString& handle);
    void answered(uint response, const QVariantMap& results);
    // The call itself was refused: no portal, no such interface, a timeout.
    void failed(const QString& error);

private slots:
    void onResponse(const QDBusMessage& response);

private:
    void listen(const QString& path);
    void stopListening();

    QDBusConnection m_bus;
    QString m_path;
    QString m_handle;
    bool m_replied = false;
    bool m_failed = false;
    bool m_missing = false;
    bool m_answered = false;
    uint m_response = kFailed;
};

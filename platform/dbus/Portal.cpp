#include "Portal.h"

#include "BusCall.h"
#include "Common.h"
#include "Logging.h"

#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QRandomGenerator>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kResponse = QStringLiteral("Response");
} // namespace

namespace Portal {
QDBusMessage Call(const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(kService, kPath, interface, method);
}

QDBusMessage CallOn(const QString& path, const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(kService, path, interface, method);
}

bool Connect(QDBusConnection& bus, const QString& interface, const QString& name, QObject* receiver,
             const char* slot) {
    return bus.connect(kService, kPath, interface, name, receiver, slot);
}

bool Reachable(const QDBusConnection& bus) {
    return ServiceReachable(bus, kService);
}

bool Offers(const QDBusConnection& bus, const QString& interface, int timeoutMs) {
    if (!Reachable(bus))
        return false;
    QDBusMessage get =
        Call(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    return CallAndWait(bus, get, timeoutMs).type() == QDBusMessage::ReplyMessage;
}

void RegisterHost(const QDBusConnection& bus) {
    QDBusMessage hello =
        Call(QStringLiteral("org.freedesktop.host.portal.Registry"), QStringLiteral("Register"));
    hello << QString::fromLatin1(kAppId) << QVariantMap();
    bus.send(hello);
}

QString Token() {
    return QStringLiteral("tapewren%1").arg(QRandomGenerator::global()->generate());
}
} // namespace Portal

PortalRequest::PortalRequest(QDBusConnection bus, QDBusMessage call, int replyTimeoutMs,
                             QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    const QString token = Portal::Token();
    QList<QVariant> arguments = call.arguments();
    QVariantMap options = qvariant_cast<QVariantMap>(arguments.last());
    options.insert(QStringLiteral("handle_token"), token);
    arguments.last() = options;
    call.setArguments(arguments);
    // The portal derives the path from our unique name: ":1.42" as "1_42".
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    listen(QStringLiteral("%1/request/%2/%3").arg(kPath, sender, token));
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, replyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QDBusMessage reply = watcher->reply();
        if (!ReplyHasSignature(reply, "o")) {
            if (reply.type() == QDBusMessage::ReplyMessage)
                qCWarning(lcPlatform, "portal: a request answered with %s, not a handle",
                          qPrintable(reply.signature()));
            stopListening();
            m_failed = true;
            m_missing = NobodyAnswered(reply);
            emit failed(reply.errorMessage());
            return;
        }
        m_replied = true;
        m_handle = qvariant_cast<QDBusObjectPath>(reply.arguments().first()).path();
        if (!m_answered && !m_handle.isEmpty() && m_handle != m_path) {
            stopListening();
            listen(m_handle);
        }
        emit replied(m_handle);
    });
}

PortalRequest::~PortalRequest() {
    stopListening();
}

void PortalRequest::listen(const QString& path) {
    m_path = path;
    m_bus.connect(kService, m_path, kRequest, kResponse, this, SLOT(onResponse(QDBusMessage)));
}

void PortalRequest::stopListening() {
    if (m_path.isEmpty())
        return;
    m_bus.disconnect(kService, m_path, kRequest, kResponse, this, SLOT(onResponse(QDBusMessage)));
    m_path.clear();
}

void PortalRequest::onResponse(const QDBusMessage& message) {
    if (m_answered || !SignalHasSignature(message, "ua{sv}"))
        return;
    const uint response = message.arguments().at(0).toUInt();
    const auto results = qdbus_cast<QVariantMap>(message.arguments().at(1));
    m_answered = true;
    m_response = response;
    if (m_handle.isEmpty())
        m_handle = m_path;
    stopListening();
    emit answered(response, results);
}

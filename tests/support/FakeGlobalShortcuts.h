#pragma once

#include "FakePortal.h"

#include <QDBusMetaType>

#include <functional>

using PortalShortcutList = QList<QPair<QString, QVariantMap>>;

// The portal's GlobalShortcuts interface as the test wants it to behave: it
// keeps what it was asked to bind, binds it (or a part: refuse), and emits
// Activated when the test presses a key.
class FakeGlobalShortcuts : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    explicit FakeGlobalShortcuts(QDBusConnection bus) : m_bus(std::move(bus)) {
        qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
        qDBusRegisterMetaType<PortalShortcutList>();
        // QtDBus finds a slot's parameter types by the names moc wrote.
        qRegisterMetaType<PortalShortcutList>("PortalShortcutList");
    }
    uint version() const { return 1; }

    int sessions = 0;
    int bindCalls = 0;
    QString session;             // the last session made
    PortalShortcutList asked;    // what the last BindShortcuts asked for
    QStringList refuse;          // ids the "user" does not bind
    std::function<void()> bound; // after each BindShortcuts

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message) {
        ++sessions;
        session = path(QStringLiteral("session"), message,
                       options.value(QStringLiteral("session_handle_token")).toString());
        // Documented as a string, though it is an object path.
        return respond(message, options, {{QStringLiteral("session_handle"), session}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath&, const PortalShortcutList& shortcuts,
                                  const QString&, const QVariantMap& options,
                                  const QDBusMessage& message) {
        ++bindCalls;
        asked = shortcuts;
        PortalShortcutList granted;
        for (const auto& [id, properties] : shortcuts)
            if (!refuse.contains(id))
                granted.append({id,
                                {{QStringLiteral("description"), properties.value("description")},
                                 {QStringLiteral("trigger_description"),
                                  properties.value("preferred_trigger")}}});
        const QDBusObjectPath handle = respond(
            message, options, {{QStringLiteral("shortcuts"), QVariant::fromValue(granted)}});
        if (bound)
            bound();
        return handle;
    }
    // The test's own: a press of the key bound under this id.
    void EmitActivated(const QString& id) { emitActivated(QDBusObjectPath(session), id); }

public:
    void emitActivated(const QDBusObjectPath& inSession, const QString& id) {
        QDBusMessage signal = QDBusMessage::createSignal(
            kPortalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
            QStringLiteral("Activated"));
        signal << QVariant::fromValue(inSession) << id << qulonglong(1234) << QVariantMap();
        m_bus.send(signal);
    }

private:
    static QString path(const QString& kind, const QDBusMessage& message, const QString& token) {
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        return QStringLiteral("%1/%2/%3/%4").arg(kPortalPath, kind, sender, token);
    }

    // The response goes out before the reply, as a fast portal's may.
    QDBusObjectPath respond(const QDBusMessage& message, const QVariantMap& options,
                            const QVariantMap& results) {
        const QString handle = path(QStringLiteral("request"), message,
                                    options.value(QStringLiteral("handle_token")).toString());
        QDBusMessage response = QDBusMessage::createSignal(
            handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        response << 0u << results;
        m_bus.send(response);
        return QDBusObjectPath(handle);
    }

    QDBusConnection m_bus;
};

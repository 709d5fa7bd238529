#pragma once

#include "FakePortal.h"

#include <QDBusMetaType>

#include <functional>
#include <map>

using PortalShortcutList = QList<QPair<QString, QVariantMap>>;

// A session object of the portal's: Close counts.
class FakePortalSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public:
    explicit FakePortalSession(std::function<void()> closed) : m_closed(std::move(closed)) {}
public slots:
    void Close() { m_closed(); }

private:
    std::function<void()> m_closed;
};

// The portal's GlobalShortcuts interface as xdg-desktop-portal serves it,
// with the desktop's part as the test wants it: it keeps what it has bound
// under each session token from session to session (as KDE keeps a group),
// lists it, binds what it is asked (or a part: refuse; or nothing), and
// emits Activated and ShortcutsChanged when the test says. It answers as
// Plasma 5.27 does (measured): each listed key with its description and a
// trigger_description in the desktop's words ("Ctrl+Alt+O" for a preferred
// "CTRL+ALT+O"), and with bindAtCreate the keys bound in CreateSession's
// answer too; xdg-desktop-portal 1.16 sends the session handle as a string.
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
    int closed = 0;
    QString session;            // the last session made
    QString token;              // its token
    PortalShortcutList asked;   // what the last BindShortcuts asked for
    QStringList refuse;         // ids the "user" does not bind
    bool bindNothing = false;   // a desktop that binds nothing at all
    bool bindAtCreate = false;  // Plasma 5.27: binds what CreateSession lists, nothing later
    bool sessionAsPath = false; // the session handle as an object path
    uint bindAnswer = 0;        // BindShortcuts' response: 1 when the user cancels
    std::map<QString, std::map<QString, QString>> kept; // token: id, trigger
    std::function<void()> bound;                        // after each BindShortcuts
    QVariant shortcutsAs;         // a portal that lists its shortcuts in another shape
    QVariant resultsAs;           // ... or answers with another shape altogether
    bool triggerAsNumber = false; // ... or gives a key's trigger as a number

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message) {
        ++sessions;
        token = options.value(QStringLiteral("session_handle_token")).toString();
        session = path(QStringLiteral("session"), message, token);
        auto* object = new FakePortalSession([this, at = session] {
            ++closed;
            m_bus.unregisterObject(at);
        });
        object->setParent(this);
        m_bus.registerObject(session, object, QDBusConnection::ExportAllSlots);
        if (bindAtCreate) {
            PortalShortcutList listed;
            qvariant_cast<QDBusArgument>(options.value(QStringLiteral("shortcuts"))) >> listed;
            keep(listed);
        }
        const QVariant handle =
            sessionAsPath ? QVariant::fromValue(QDBusObjectPath(session)) : QVariant(session);
        QVariantMap results{{QStringLiteral("session_handle"), handle}};
        if (bindAtCreate)
            results[QStringLiteral("shortcuts")] = QVariant::fromValue(held());
        return respond(message, options, results);
    }
    QDBusObjectPath ListShortcuts(const QDBusObjectPath&, const QVariantMap& options,
                                  const QDBusMessage& message) {
        return respond(message, options,
                       {{QStringLiteral("shortcuts"), QVariant::fromValue(held())}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath&, const PortalShortcutList& shortcuts,
                                  const QString&, const QVariantMap& options,
                                  const QDBusMessage& message) {
        ++bindCalls;
        asked = shortcuts;
        if (!bindAtCreate)
            keep(shortcuts);
        const QDBusObjectPath handle =
            respond(message, options, {{QStringLiteral("shortcuts"), QVariant::fromValue(held())}},
                    bindAnswer);
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
    // The user gives a key another trigger in the desktop's settings.
    void Rebind(const QString& id, const QString& trigger) {
        kept[token][id] = trigger;
        announceChange();
    }
    // ... or takes the key away.
    void Unbind(const QString& id) {
        kept[token].erase(id);
        announceChange();
    }

private:
    void announceChange() {
        QDBusMessage signal = QDBusMessage::createSignal(
            kPortalPath, QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
            QStringLiteral("ShortcutsChanged"));
        signal << QVariant::fromValue(QDBusObjectPath(session))
               << (shortcutsAs.isValid() ? shortcutsAs : QVariant::fromValue(held()));
        m_bus.send(signal);
    }
    void keep(const PortalShortcutList& shortcuts) {
        for (const auto& [id, properties] : shortcuts)
            if (!bindNothing && !refuse.contains(id)) {
                kept[token][id] = inDesktopWords(properties.value("preferred_trigger").toString());
                m_descriptions[id] = properties.value("description").toString();
            }
    }
    // "CTRL+ALT+O" as KDE's key sequences spell it: "Ctrl+Alt+O".
    static QString inDesktopWords(const QString& trigger) {
        QStringList parts = trigger.split('+');
        for (QString& part : parts)
            part = part.left(1) + part.mid(1).toLower();
        return parts.join('+');
    }
    PortalShortcutList held() {
        PortalShortcutList list;
        for (const auto& [id, trigger] : kept[token])
            list.append({id,
                         {{QStringLiteral("description"), m_descriptions[id]},
                          {QStringLiteral("trigger_description"),
                           triggerAsNumber ? QVariant(5) : QVariant(trigger)}}});
        return list;
    }

    static QString path(const QString& kind, const QDBusMessage& message, const QString& token) {
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        return QStringLiteral("%1/%2/%3/%4").arg(kPortalPath, kind, sender, token);
    }

    // The response goes out before the reply, as a fast portal's may.
    QDBusObjectPath respond(const QDBusMessage& message, const QVariantMap& options,
                            const QVariantMap& results, uint code = 0) {
        const QString handle = path(QStringLiteral("request"), message,
                                    options.value(QStringLiteral("handle_token")).toString());
        QDBusMessage response = QDBusMessage::createSignal(
            handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        QVariantMap sent = results;
        if (shortcutsAs.isValid() && sent.contains(QStringLiteral("shortcuts")))
            sent[QStringLiteral("shortcuts")] = shortcutsAs;
        response << code << (resultsAs.isValid() ? resultsAs : QVariant(sent));
        m_bus.send(response);
        return QDBusObjectPath(handle);
    }

    QDBusConnection m_bus;
    std::map<QString, QString> m_descriptions;
};

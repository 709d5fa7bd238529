#include "PortalHotKeys.h"

#include "BusCall.h"
#include "TJvApplicationHotKey.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QRandomGenerator>

#include <cstdio>
#include <map>

namespace {
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kAppId = QStringLiteral("io.github.tapewren.Tapewren");

using ShortcutList = QList<QPair<QString, QVariantMap>>;

QDBusMessage portalCall(const QString& interface, const QString& method) {
    return QDBusMessage::createMethodCall(kPortal, kPortalPath, interface, method);
}

class PortalHotKeys : public QObject, public HotKeyBackend {
    Q_OBJECT
public:
    explicit PortalHotKeys(QDBusConnection bus) : m_bus(std::move(bus)) {
        qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
        qDBusRegisterMetaType<ShortcutList>();
        m_bus.connect(kPortal, kPortalPath, kShortcuts, QStringLiteral("Activated"), this,
                      SLOT(activated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    }
    ~PortalHotKeys() override { closeSession(); }

    bool Register(int id, uint16_t shortcut, const std::string& name) override {
        m_keys[id] = {shortcut, PortalShortcutId(name, shortcut),
                      QString::fromStdString(name.empty() ? "Tapewren" : name)};
        // Both keys of the program go into one request: the desktop may show
        // the user one dialog for it, and a session binds only once.
        if (!m_bindQueued) {
            m_bindQueued = true;
            QMetaObject::invokeMethod(this, &PortalHotKeys::bind, Qt::QueuedConnection);
        }
        return true;
    }
    // The portal has no way to unbind: presses of the key are ignored.
    void Unregister(int id) override { m_keys.erase(id); }

public slots:
    void activated(const QDBusObjectPath& session, const QString& shortcut, qulonglong,
                   const QVariantMap&) {
        if (session.path() != m_session)
            return;
        for (const auto& [id, key] : m_keys)
            if (key.portalId == shortcut) {
                Pressed(id);
                return;
            }
    }

    void sessionResponse(uint response, const QVariantMap& results) {
        endRequest();
        const QVariant handle = results.value(QStringLiteral("session_handle"));
        // Documented as a string, though it is an object path.
        m_session = handle.metaType() == QMetaType::fromType<QDBusObjectPath>()
                        ? handle.value<QDBusObjectPath>().path()
                        : handle.toString();
        if (response != 0 || m_session.isEmpty()) {
            m_session.clear();
            report(QStringLiteral("the desktop opened no shortcut session"));
            return;
        }
        ShortcutList shortcuts;
        for (const auto& [id, key] : m_keys)
            shortcuts.append(
                {key.portalId,
                 {{QStringLiteral("description"), key.description},
                  {QStringLiteral("preferred_trigger"), PortalTrigger(key.shortcut)}}});
        QDBusMessage call = portalCall(kShortcuts, QStringLiteral("BindShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts)
             << QString() << QVariantMap();
        request(call, SLOT(bindResponse(uint, QVariantMap)));
    }

    void bindResponse(uint response, const QVariantMap& results) {
        endRequest();
        ShortcutList bound;
        if (response == 0)
            qvariant_cast<QDBusArgument>(results.value(QStringLiteral("shortcuts"))) >> bound;
        QStringList missing;
        for (const auto& [id, key] : m_keys) {
            bool found = false;
            for (const auto& entry : bound)
                found = found || entry.first == key.portalId;
            if (!found)
                missing << ShortCutToText(key.shortcut);
        }
        if (!missing.isEmpty())
            report(QStringLiteral("the desktop did not bind %1").arg(missing.join(", ")));
    }

private:
    struct Key {
        uint16_t shortcut = 0;
        QString portalId;
        QString description;
    };

    void bind() {
        m_bindQueued = false;
        if (m_keys.empty() || !m_requestPath.isEmpty())
            return; // a request under way takes the keys as they then are
        closeSession();
        QDBusMessage call = portalCall(kShortcuts, QStringLiteral("CreateSession"));
        call << QVariantMap{{QStringLiteral("session_handle_token"), token()}};
        request(call, SLOT(sessionResponse(uint, QVariantMap)));
    }

    // A portal request: its answer comes as a Response signal on a path of
    // its own, named in advance by our token so that a fast answer is heard.
    void request(QDBusMessage call, const char* slot) {
        const QString handleToken = token();
        QVariantMap options = qvariant_cast<QVariantMap>(call.arguments().last());
        options.insert(QStringLiteral("handle_token"), handleToken);
        QList<QVariant> arguments = call.arguments();
        arguments.last() = options;
        call.setArguments(arguments);
        QString sender = m_bus.baseService().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString expected =
            QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, handleToken);
        listen(expected, slot);
        auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, slot, expected](QDBusPendingCallWatcher* reply) {
                    reply->deleteLater();
                    // Answered already (the response may come before the reply).
                    if (m_requestPath != expected)
                        return;
                    const QDBusMessage answer = reply->reply();
                    if (answer.type() != QDBusMessage::ReplyMessage ||
                        answer.arguments().isEmpty()) {
                        endRequest();
                        report(answer.errorMessage());
                        return;
                    }
                    // Portals older than handle_token choose the path themselves.
                    const QString path =
                        qvariant_cast<QDBusObjectPath>(answer.arguments().first()).path();
                    if (!path.isEmpty() && path != expected) {
                        endRequest();
                        listen(path, slot);
                    }
                });
    }

    void listen(const QString& path, const char* slot) {
        m_requestPath = path;
        m_requestSlot = slot;
        m_bus.connect(kPortal, path, kRequest, QStringLiteral("Response"), this, slot);
    }

    void endRequest() {
        if (m_requestPath.isEmpty())
            return;
        m_bus.disconnect(kPortal, m_requestPath, kRequest, QStringLiteral("Response"), this,
                         m_requestSlot);
        m_requestPath.clear();
    }

    void closeSession() {
        if (m_session.isEmpty())
            return;
        m_bus.send(QDBusMessage::createMethodCall(kPortal, m_session,
                                                  QStringLiteral("org.freedesktop.portal.Session"),
                                                  QStringLiteral("Close")));
        m_session.clear();
    }

    static QString token() {
        return QStringLiteral("tapewren%1").arg(QRandomGenerator::global()->generate());
    }

    // The start-up balloon has already named the keys; a terminal keeps the
    // news that they did not come.
    static void report(const QString& what) {
        std::fprintf(stderr, "Tapewren: hot keys: %s\n", qPrintable(what));
    }

    QDBusConnection m_bus;
    std::map<int, Key> m_keys;
    QString m_session;
    QString m_requestPath;
    const char* m_requestSlot = nullptr;
    bool m_bindQueued = false;
};
} // namespace

QString PortalTrigger(uint16_t shortcut) {
    QString trigger;
    if (shortcut & 0x4000)
        trigger += QStringLiteral("CTRL+");
    if (shortcut & 0x8000)
        trigger += QStringLiteral("ALT+");
    if (shortcut & 0x2000)
        trigger += QStringLiteral("SHIFT+");
    return trigger + ShortCutToText(shortcut & 0xFF);
}

QString PortalShortcutId(const std::string& name, uint16_t shortcut) {
    QString id;
    for (const QChar c : QString::fromStdString(name).toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            id += c;
        else if (!id.isEmpty() && !id.endsWith(QLatin1Char('-')))
            id += QLatin1Char('-');
    }
    while (id.endsWith(QLatin1Char('-')))
        id.chop(1);
    return id.isEmpty() ? QStringLiteral("key-%1").arg(shortcut, 4, 16, QLatin1Char('0')) : id;
}

std::unique_ptr<HotKeyBackend> CreatePortalHotKeys(QDBusConnection bus, int timeoutMs) {
    if (!ServiceReachable(bus, kPortal))
        return nullptr;
    // Portals tell programs outside a sandbox apart by this name, which must
    // come before any other call; portals without the registry answer with
    // an error, which changes nothing.
    QDBusMessage hello = portalCall(QStringLiteral("org.freedesktop.host.portal.Registry"),
                                    QStringLiteral("Register"));
    hello << kAppId << QVariantMap();
    bus.send(hello);
    // Reading the version starts an activatable portal; it fails where the
    // portal has no GlobalShortcuts (Debian 12's has none).
    QDBusMessage get = QDBusMessage::createMethodCall(
        kPortal, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kShortcuts << QStringLiteral("version");
    if (CallAndWait(bus, get, timeoutMs).type() != QDBusMessage::ReplyMessage)
        return nullptr;
    return std::make_unique<PortalHotKeys>(bus);
}

#include "PortalHotKeys.moc"

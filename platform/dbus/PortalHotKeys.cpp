#include "PortalHotKeys.h"

#include "Logging.h"
#include "Portal.h"
#include "ShortCut.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QObject>

#include <map>

namespace {
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");

using ShortcutList = QList<QPair<QString, QVariantMap>>;

class PortalHotKeys : public QObject, public HotKeyBackend {
    Q_OBJECT
public:
    explicit PortalHotKeys(QDBusConnection bus) : m_bus(std::move(bus)) {
        qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
        qDBusRegisterMetaType<ShortcutList>();
        Portal::Connect(m_bus, kShortcuts, QStringLiteral("Activated"), this,
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
        QDBusMessage call = Portal::Call(kShortcuts, QStringLiteral("BindShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(shortcuts)
             << QString() << QVariantMap();
        request(call, &PortalHotKeys::bindResponse);
    }

    void bindResponse(uint response, const QVariantMap& results) {
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
        if (m_keys.empty() || m_request)
            return; // a request under way takes the keys as they then are
        closeSession();
        QDBusMessage call = Portal::Call(kShortcuts, QStringLiteral("CreateSession"));
        call << QVariantMap{{QStringLiteral("session_handle_token"), Portal::Token()}};
        request(call, &PortalHotKeys::sessionResponse);
    }

    using Answer = void (PortalHotKeys::*)(uint, const QVariantMap&);
    void request(const QDBusMessage& call, Answer answer) {
        m_request = new PortalRequest(m_bus, call, -1, this);
        connect(m_request, &PortalRequest::answered, this,
                [this, answer](uint response, const QVariantMap& results) {
                    endRequest();
                    (this->*answer)(response, results);
                });
        connect(m_request, &PortalRequest::failed, this, [this](const QString& error) {
            endRequest();
            report(error);
        });
    }

    void endRequest() {
        if (m_request)
            m_request->deleteLater();
        m_request = nullptr;
    }

    void closeSession() {
        if (m_session.isEmpty())
            return;
        m_bus.send(Portal::CallOn(m_session, kSession, QStringLiteral("Close")));
        m_session.clear();
    }

    // The start-up balloon has already named the keys; a terminal keeps the
    // news that they did not come.
    static void report(const QString& what) {
        qCWarning(lcPlatform, "hot keys: %s", qPrintable(what));
    }

    QDBusConnection m_bus;
    std::map<int, Key> m_keys;
    QString m_session;
    PortalRequest* m_request = nullptr;
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
    if (!Portal::Reachable(bus))
        return nullptr;
    Portal::RegisterHost(bus);
    if (!Portal::Offers(bus, kShortcuts, timeoutMs))
        return nullptr;
    return std::make_unique<PortalHotKeys>(bus);
}

#include "PortalHotKeys.moc"

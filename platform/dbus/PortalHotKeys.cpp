#include "PortalHotKeys.h"

#include "BusCall.h"
#include "Logging.h"
#include "Portal.h"
#include "ShortCut.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QObject>

#include <map>

namespace {
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kSession = QStringLiteral("org.freedesktop.portal.Session");
const QString kSessionToken = QStringLiteral("tapewren");

using ShortcutList = QList<QPair<QString, QVariantMap>>;

class PortalHotKeys : public QObject, public HotKeyBackend {
    Q_OBJECT
public:
    explicit PortalHotKeys(QDBusConnection bus) : m_bus(std::move(bus)) {
        qDBusRegisterMetaType<QPair<QString, QVariantMap>>();
        qDBusRegisterMetaType<ShortcutList>();
        Portal::Connect(m_bus, kShortcuts, QStringLiteral("Activated"), this,
                        SLOT(activated(QDBusMessage)));
        Portal::Connect(m_bus, kShortcuts, QStringLiteral("ShortcutsChanged"), this,
                        SLOT(shortcutsChanged(QDBusMessage)));
    }
    ~PortalHotKeys() override { closeSession(); }

    bool Register(int id, uint16_t shortcut, const std::string& name) override {
        // The id stays the English name's, whatever language the desktop's
        // list of shortcuts shows the description in.
        m_keys[id] = {shortcut, PortalShortcutId(name, shortcut),
                      name.empty() ? QStringLiteral("Tapewren")
                                   : QCoreApplication::translate("HotKeys", name.c_str())};
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
    bool SettlesLater() const override { return true; }

public slots:
    void activated(const QDBusMessage& signal) {
        if (!SignalHasSignature(signal, "osta{sv}"))
            return;
        const QString shortcut = signal.arguments().at(1).toString();
        if (signal.arguments().at(0).value<QDBusObjectPath>().path() != m_session)
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
            settleAll(tr("the desktop opened no shortcut session"));
            return;
        }
        // What the desktop already holds from an earlier run, the user's
        // own keys among them, is not asked for again: a desktop that asks
        // the user before it binds asks once.
        QDBusMessage call = Portal::Call(kShortcuts, QStringLiteral("ListShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariantMap();
        request(call, &PortalHotKeys::listResponse);
    }

    void listResponse(uint response, const QVariantMap& results) {
        if (response == 0)
            take(results);
        ShortcutList missing;
        for (const auto& [id, key] : m_keys)
            if (!m_bound.contains(key.portalId))
                missing.append(entry(key));
        if (missing.isEmpty()) {
            settleAll(QString());
            return;
        }
        QDBusMessage call = Portal::Call(kShortcuts, QStringLiteral("BindShortcuts"));
        call << QVariant::fromValue(QDBusObjectPath(m_session)) << QVariant::fromValue(missing)
             << QString() << QVariantMap();
        request(call, &PortalHotKeys::bindResponse);
    }

    void bindResponse(uint response, const QVariantMap& results) {
        if (response == 0)
            take(results);
        settleAll(response == 1 ? tr("the binding was cancelled")
                                : tr("the desktop did not bind it"));
    }

    void shortcutsChanged(const QDBusMessage& signal) {
        if (!SignalHasSignature(signal, "oa(sa{sv})") || m_session.isEmpty() ||
            signal.arguments().at(0).value<QDBusObjectPath>().path() != m_session)
            return;
        const auto listed = qdbus_cast<ShortcutList>(signal.arguments().at(1));
        m_bound.clear();
        for (const auto& [id, properties] : listed)
            m_bound[id] = properties.value(QStringLiteral("trigger_description")).toString();
        settleAll(tr("the desktop did not bind it"));
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
        // A token of our own for the session: desktops keep the keys they
        // bound under it (KDE names the shortcut group after it), so a new
        // one at every start would pile up groups and lose a key the user
        // chose. Plasma 5.27 binds only what this call lists.
        ShortcutList shortcuts;
        for (const auto& [id, key] : m_keys)
            shortcuts.append(entry(key));
        QDBusMessage call = Portal::Call(kShortcuts, QStringLiteral("CreateSession"));
        call << QVariantMap{{QStringLiteral("session_handle_token"), kSessionToken},
                            {QStringLiteral("shortcuts"), QVariant::fromValue(shortcuts)}};
        request(call, &PortalHotKeys::sessionResponse);
    }

    static std::pair<QString, QVariantMap> entry(const Key& key) {
        return {key.portalId,
                {{QStringLiteral("description"), key.description},
                 {QStringLiteral("preferred_trigger"), PortalTrigger(key.shortcut)}}};
    }

    // The shortcuts an answer lists are those the desktop holds bound.
    void take(const QVariantMap& results) {
        const QVariant value = results.value(QStringLiteral("shortcuts"));
        const std::optional<QDBusArgument> typed = TypedArgument(value, "a(sa{sv})");
        if (!typed) {
            if (value.isValid()) {
                const QString type = value.metaType() == QMetaType::fromType<QDBusArgument>()
                                         ? value.value<QDBusArgument>().currentSignature()
                                         : QString::fromLatin1(value.metaType().name());
                qCWarning(lcPlatform,
                          "the shortcut portal listed its shortcuts as %s, not a(sa{sv}): "
                          "taken as none bound",
                          qPrintable(type));
            }
            return;
        }
        ShortcutList listed;
        *typed >> listed;
        for (const auto& [id, properties] : listed) {
            // Shown as the key: anything but text would read as nonsense.
            const QVariant trigger = properties.value(QStringLiteral("trigger_description"));
            m_bound[id] = trigger.typeId() == QMetaType::QString ? trigger.toString() : QString();
        }
    }

    // Each key's outcome, from what the desktop holds bound; why: the
    // reason for those it does not.
    void settleAll(const QString& why) {
        QStringList missing;
        for (const auto& [id, key] : m_keys) {
            Outcome outcome;
            const auto bound = m_bound.find(key.portalId);
            outcome.bound = bound != m_bound.end();
            if (outcome.bound)
                outcome.trigger = bound->second.toStdString();
            else
                missing << QStringLiteral("%1 (%2)").arg(ShortCutToText(key.shortcut), why);
            outcome.why = why.toStdString();
            Settled(id, outcome);
        }
        if (!missing.isEmpty())
            report(QStringLiteral("not bound: %1").arg(missing.join(", ")));
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
            settleAll(error.isEmpty() ? tr("the desktop did not answer") : error);
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
        m_bound.clear();
    }

    // The start-up balloon has already named the keys; a terminal keeps the
    // news that they did not come.
    static void report(const QString& what) {
        qCWarning(lcPlatform, "hot keys: %s", qPrintable(what));
    }

    QDBusConnection m_bus;
    std::map<int, Key> m_keys;
    QString m_session;
    // The desktop's bound keys by id, with the trigger it shows for each.
    std::map<QString, QString> m_bound;
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

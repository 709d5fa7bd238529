#include "TrayPresence.h"

#include "BusCall.h"
#include "Logging.h"

#include <QAbstractNativeEventFilter>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QGuiApplication>

#include <cstdlib>
#include <functional>
#include <string>
#include <xcb/xcb.h>

namespace {
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

QDBusMessage hostQuery() {
    QDBusMessage get = QDBusMessage::createMethodCall(
        kWatcher, kWatcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kWatcher << QStringLiteral("IsStatusNotifierHostRegistered");
    return get;
}

// A watcher whose introspection lacks the property answers with an error,
// and Qt then puts its icon on XEmbed: that counts as no host.
// GNOME Shell's AppIndicator extension is the watcher there: the shell owns
// its name. Its process is asked of the bus, which answers at once.
bool menuOnClick(const QDBusConnection& bus) {
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetConnectionUnixProcessID"));
    ask << kWatcher;
    const QDBusMessage reply = CallAndWait(bus, ask, 2000);
    if (!ReplyHasSignature(reply, "u"))
        return false;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(reply.arguments().first().toUInt()));
    return comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "gnome-shell";
}

bool hostAnswer(const QDBusMessage& reply) {
    if (!ReplyHasSignature(reply, "v")) {
        qCDebug(lcPlatform, "tray: the StatusNotifierWatcher answered no host (%s)",
                qPrintable(reply.errorMessage()));
        return false;
    }
    const QVariant registered = qvariant_cast<QDBusVariant>(reply.arguments().first()).variant();
    if (registered.typeId() != QMetaType::Bool)
        qCWarning(lcPlatform, "tray: the StatusNotifierWatcher's host property is no boolean");
    return registered.typeId() == QMetaType::Bool && registered.toBool();
}
} // namespace

TrayKind DecideTray(const TrayFacts& facts, TrayKind chosen) {
    switch (chosen) {
    case TrayKind::None:
        break;
    case TrayKind::StatusNotifier:
        return facts.statusNotifierHost ? chosen : TrayKind::None;
    case TrayKind::XEmbed:
        return facts.xembedManager ? chosen : TrayKind::None;
    }
    if (facts.statusNotifierHost)
        return TrayKind::StatusNotifier;
    return facts.xembedManager ? TrayKind::XEmbed : TrayKind::None;
}

// The XEmbed tray manager owns the selection _NET_SYSTEM_TRAY_S<screen>. A
// new one announces itself with a MANAGER message to the root window; one
// that ends destroys the window that owns the selection.
class TrayPresence::X11Watch : public QAbstractNativeEventFilter {
public:
    X11Watch(xcb_connection_t* connection, std::function<void()> changed)
        : m_connection(connection), m_changed(std::move(changed)) {
        int screen = 0;
        char* host = nullptr;
        int display = 0;
        if (xcb_parse_display(nullptr, &host, &display, &screen))
            std::free(host);
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection));
        for (int i = 0; i < screen && it.rem > 1; ++i)
            xcb_screen_next(&it);
        m_root = it.data->root;
        m_selection = atom("_NET_SYSTEM_TRAY_S" + std::to_string(screen));
        m_manager = atom("MANAGER");
        listen(m_root);
        m_owner = owner();
        if (m_owner != XCB_NONE)
            listen(m_owner);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~X11Watch() override {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool Present() const { return m_owner != XCB_NONE; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & ~0x80;
        if (kind == XCB_CLIENT_MESSAGE) {
            const auto* cm = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (cm->type == m_manager && cm->format == 32 && cm->data.data32[1] == m_selection)
                refresh();
        } else if (kind == XCB_DESTROY_NOTIFY) {
            const auto* dn = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (m_owner != XCB_NONE && dn->window == m_owner)
                refresh();
        }
        return false; // Qt's own tray code wants these events too
    }

private:
    xcb_atom_t atom(const std::string& name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(name.size()), name.c_str()),
            nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return result;
    }

    xcb_window_t owner() {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr);
        const xcb_window_t result = reply ? reply->owner : XCB_NONE;
        std::free(reply);
        return result;
    }

    // Adds structure events to what this connection (Qt's) already selects on
    // the window. Checked, so that a window gone meanwhile prints no X error.
    void listen(xcb_window_t window) {
        xcb_generic_error_t* error = nullptr;
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            m_connection, xcb_get_window_attributes(m_connection, window), &error);
        std::free(error);
        if (!attributes)
            return;
        const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        std::free(attributes);
        std::free(xcb_request_check(
            m_connection,
            xcb_change_window_attributes_checked(m_connection, window, XCB_CW_EVENT_MASK, &mask)));
    }

    void refresh() {
        const xcb_window_t now = owner();
        if (now == m_owner)
            return;
        m_owner = now;
        if (m_owner != XCB_NONE)
            listen(m_owner);
        m_changed();
    }

    xcb_connection_t* m_connection;
    std::function<void()> m_changed;
    xcb_window_t m_root = XCB_NONE;
    xcb_atom_t m_selection = XCB_NONE;
    xcb_atom_t m_manager = XCB_NONE;
    xcb_window_t m_owner = XCB_NONE;
};

TrayPresence::TrayPresence(QDBusConnection bus) : m_bus(std::move(bus)) {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (xcb_connection_t* connection = x11->connection()) {
            m_x11 = std::make_unique<X11Watch>(connection, [this] {
                m_facts.xembedManager = m_x11->Present();
                emit changed();
            });
            m_facts.xembedManager = m_x11->Present();
        }

    if (!m_bus.isConnected())
        return;
    auto* names =
        new QDBusServiceWatcher(kWatcher, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(names, &QDBusServiceWatcher::serviceOwnerChanged, this, &TrayPresence::readHost);
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        m_bus.connect(kWatcher, kWatcherPath, kWatcher, QString::fromLatin1(signal), this,
                      SLOT(readHost()));
    // Known before the first decision, so that a desktop with a tray never
    // sees the stand-in window flash up.
    if (NameHasOwner(m_bus, kWatcher)) {
        m_facts.statusNotifierHost = hostAnswer(CallAndWait(m_bus, hostQuery(), 2000));
        m_facts.menuOnClick = m_facts.statusNotifierHost && menuOnClick(m_bus);
    }
}

TrayPresence::~TrayPresence() = default;

void TrayPresence::readHost() {
    const quint64 query = ++m_hostQuery;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(hostQuery(), 2000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, query](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (query == m_hostQuery) // an older answer may come late
                    setHost(hostAnswer(call->reply()));
            });
}

void TrayPresence::setHost(bool registered) {
    const bool onClick = registered && menuOnClick(m_bus);
    if (registered == m_facts.statusNotifierHost && onClick == m_facts.menuOnClick)
        return;
    m_facts.statusNotifierHost = registered;
    m_facts.menuOnClick = onClick;
    emit changed();
}

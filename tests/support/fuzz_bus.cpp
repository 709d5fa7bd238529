// A hostile desktop on the session bus that DBUS_SESSION_BUS_ADDRESS names: it
// owns the portal, the notification server and the tray's watcher, and
// answers every call the program makes, sends every signal the program
// listens to and calls the program's own objects, with values drawn from a
// seeded generator: wrong types, wrong arity, huge arrays, nested variants,
// and shapes that are right outside and wrong inside. The tray comes up
// honestly once, so that the test can start a take; then COUNT messages go
// out. The log gets "item NAME" when the tray registers, "fuzzing" when the
// messages begin and "done N" when they are out.
//   fuzz_bus SEED COUNT LOG_FILE
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusSignature>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <random>

namespace {
struct Wrong { // a(isd) where a(sa{sv}) belongs
    int i = 0;
    QString s;
    double d = 0;
};
struct Shortcut { // a(sa{sv}), the right shape, its contents drawn
    QString id;
    QVariantMap data;
};
QDBusArgument& operator<<(QDBusArgument& a, const Wrong& w) {
    a.beginStructure();
    a << w.i << w.s << w.d;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, Wrong&) {
    return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const Shortcut& s) {
    a.beginStructure();
    a << s.id << s.data;
    a.endStructure();
    return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, Shortcut&) {
    return a;
}
} // namespace
Q_DECLARE_METATYPE(Wrong)
Q_DECLARE_METATYPE(Shortcut)

namespace {
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kNotify = QStringLiteral("org.freedesktop.Notifications");
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
// Keys the program reads out of answers, so that drawn maps reach its code.
const QStringList kKeys = {QStringLiteral("shortcuts"),
                           QStringLiteral("session_handle"),
                           QStringLiteral("trigger_description"),
                           QStringLiteral("description"),
                           QStringLiteral("preferred_trigger"),
                           QStringLiteral("version"),
                           QStringLiteral("handle"),
                           QStringLiteral("x")};

class Fuzzer : public QDBusVirtualObject {
public:
    Fuzzer(unsigned seed, int count, QFile& log) : m_random(seed), m_left(count), m_log(log) {
        connect(&m_tick, &QTimer::timeout, this, [this] { unprompted(); });
    }

    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& call, const QDBusConnection&) override {
        const QString member = call.member();
        if (member == QLatin1String("RegisterStatusNotifierItem") && m_item.isEmpty()) {
            m_item = call.service();
            bus().send(call.createReply());
            write("item " + m_item);
            QTimer::singleShot(3000, this, [this] {
                write(QStringLiteral("fuzzing"));
                m_tick.start(1);
            });
            return true;
        }
        if (member == QLatin1String("Introspect") && !fuzzing()) {
            // Qt's tray reads the watcher's interface, blocking, before it
            // registers.
            bus().send(call.createReply(QStringLiteral(
                "<node><interface name=\"org.kde.StatusNotifierWatcher\">"
                "<method name=\"RegisterStatusNotifierItem\"><arg type=\"s\" direction=\"in\"/>"
                "</method><property name=\"IsStatusNotifierHostRegistered\" type=\"b\" "
                "access=\"read\"/></interface></node>")));
            return true;
        }
        if (member == QLatin1String("Get") && !fuzzing()) {
            // The watcher's host, read before the tray goes on the bus.
            bus().send(call.createReply(QVariant::fromValue(QDBusVariant(true))));
            return true;
        }
        answer(call);
        return true;
    }

    void write(const QString& line) {
        m_log.write((line + '\n').toUtf8());
        m_log.flush();
    }

private:
    std::mt19937 m_random;
    int m_left;
    QFile& m_log;
    QTimer m_tick;
    QString m_item;
    QString m_program;
    QStringList m_requests; // handles of requests the program made
    QStringList m_sessions;

    static QDBusConnection bus() { return QDBusConnection::sessionBus(); }
    bool fuzzing() const { return m_tick.isActive(); }
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    void sent() {
        if (--m_left == 0) {
            write(QStringLiteral("done"));
            QCoreApplication::exit(0);
        }
    }
    QString text() {
        static const char* texts[] = {"",       "Ctrl+Alt+O",
                                      "record", "\xc3\xa9\xe2\x82\xac",
                                      "%1 %n",  "/org/freedesktop/portal/desktop"};
        if (pick(50) == 0)
            return QString(pick(70000), QLatin1Char('x'));
        return QString::fromUtf8(texts[pick(6)]);
    }
    QDBusObjectPath path() {
        if (!m_sessions.isEmpty() && pick(2))
            return QDBusObjectPath(m_sessions[pick(m_sessions.size())]);
        return QDBusObjectPath(pick(2) ? kPortalPath : QStringLiteral("/"));
    }
    QVariantMap map(int depth) {
        QVariantMap m;
        const int n = depth == 0 && pick(40) == 0 ? pick(1000) : pick(4);
        for (int i = 0; i < n; ++i)
            m.insert(i < kKeys.size() && pick(3) ? kKeys[pick(kKeys.size())]
                                                 : text() + QString::number(i),
                     value(depth + 1));
        return m;
    }
    QVariant value(int depth = 0) {
        // Containers only near the top, so that a value stays small enough to
        // send; a chain of variants may nest deep, as it does not branch.
        const int kinds = depth >= 20 ? 10 : depth >= 3 ? 11 : 17;
        switch (pick(kinds)) {
        case 0:
            return int(m_random());
        case 1:
            return uint(m_random());
        case 2:
            return qlonglong(m_random()) << 20;
        case 3:
            return double(m_random()) / 7;
        case 4:
            return bool(pick(2));
        case 5:
            return QVariant::fromValue(uchar(pick(256)));
        case 6:
            return text();
        case 7:
            return QVariant::fromValue(path());
        case 8:
            return QVariant::fromValue(QDBusSignature(QStringLiteral("a(sa{sv})")));
        case 9:
            return QByteArray(depth == 0 && pick(30) == 0 ? pick(1 << 18) : pick(16),
                              char(pick(256)));
        case 10:
            return QVariant::fromValue(QDBusVariant(value(depth + 1)));
        case 11:
            return map(depth);
        case 12: {
            QStringList list;
            for (int i = depth == 0 && pick(30) == 0 ? pick(5000) : pick(4); i > 0; --i)
                list << text();
            return list;
        }
        case 13: {
            QVariantList list;
            for (int i = pick(5); i > 0; --i)
                list << QVariant::fromValue(QDBusVariant(value(depth + 1)));
            return list;
        }
        case 14: {
            QList<Wrong> list;
            for (int i = depth == 0 && pick(30) == 0 ? pick(5000) : pick(4); i > 0; --i)
                list << Wrong{int(m_random()), text(), 1.5};
            return QVariant::fromValue(list);
        }
        case 15: {
            QList<Shortcut> list;
            for (int i = depth == 0 && pick(30) == 0 ? pick(500) : pick(4); i > 0; --i)
                list << Shortcut{pick(2) ? QStringLiteral("record") : text(), map(depth + 1)};
            return QVariant::fromValue(list);
        }
        default: {
            QDBusArgument s;
            s.beginStructure();
            s << text() << int(m_random()) << QDBusVariant(value(depth + 1));
            s.endStructure();
            return QVariant::fromValue(s);
        }
        }
    }
    QVariantList arguments() {
        QVariantList list;
        for (int i = pick(6); i > 0; --i)
            list << value();
        return list;
    }
    // The reply or answer a service of the right kind would send, filled
    // with drawn values: the program reads further into it.
    QVariantList response() {
        QVariantMap results = map(0);
        if (pick(2))
            results.insert(QStringLiteral("session_handle"),
                           pick(2) ? QVariant(path().path()) : value());
        if (pick(2))
            results.insert(QStringLiteral("shortcuts"), value());
        return {uint(pick(4)), results};
    }

    static QString sender(const QDBusMessage& call) {
        return call.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    }
    static QString token(const QDBusMessage& call, const char* key) {
        for (const QVariant& a : call.arguments())
            if (a.canConvert<QDBusArgument>())
                return qdbus_cast<QVariantMap>(a).value(QLatin1String(key)).toString();
        return {};
    }

    void answer(const QDBusMessage& call) {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/") +
                                sender(call) + '/' + token(call, "handle_token");
        const QString session = token(call, "session_handle_token");
        if (!session.isEmpty())
            m_sessions << QStringLiteral("/org/freedesktop/portal/desktop/session/") +
                              sender(call) + '/' + session;
        if (call.path() == kPortalPath &&
            call.interface() != QLatin1String("org.freedesktop.DBus.Properties") && pick(2)) {
            // A request handle, then answers on it.
            m_requests << request;
            bus().send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
            sent();
            for (int i = pick(3) + 1; i > 0; --i)
                respond(request);
            return;
        }
        switch (pick(4)) {
        case 0:
            bus().send(
                call.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.Failed"), text()));
            break;
        case 1:
            break; // no answer at all: the caller's time-out
        default:
            bus().send(call.createReply(arguments()));
        }
        sent();
    }
    void respond(const QString& request) {
        QDBusMessage signal =
            QDBusMessage::createSignal(request, kRequest, QStringLiteral("Response"));
        signal.setArguments(pick(3) ? response() : arguments());
        bus().send(signal);
        sent();
    }
    void emitOn(const QString& path, const QString& interface, const char* name,
                QVariantList args) {
        QDBusMessage signal = QDBusMessage::createSignal(path, interface, QLatin1String(name));
        signal.setArguments(pick(4) ? args : arguments());
        bus().send(signal);
    }
    void callProgram(const QString& service, const QString& path, const QString& interface,
                     const char* method, const QString& rightSignature) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, path, interface, QLatin1String(method));
        call.setArguments(arguments());
        // The right arguments would be a user's click or choice.
        if (call.signature() == rightSignature)
            call.setArguments({text(), text(), text(), text()});
        call.setAutoStartService(false);
        bus().asyncCall(call, 1000);
    }
    void unprompted() {
        switch (pick(8)) {
        case 0:
            if (!m_requests.isEmpty()) {
                respond(m_requests[pick(m_requests.size())]);
                return;
            }
            emitOn(kPortalPath, kShortcuts, "Activated",
                   {QVariant::fromValue(path()), text(), qulonglong(m_random()), map(0)});
            break;
        case 1:
            emitOn(kPortalPath, kShortcuts, "ShortcutsChanged",
                   {QVariant::fromValue(path()), value()});
            break;
        case 2:
            emitOn(kPortalPath, kShortcuts, "Deactivated",
                   {QVariant::fromValue(path()), text(), qulonglong(m_random()), map(0)});
            break;
        case 3:
            emitOn(QStringLiteral("/org/freedesktop/Notifications"), kNotify,
                   pick(2) ? "NotificationClosed" : "ActionInvoked",
                   {uint(pick(5)), pick(2) ? QVariant(uint(pick(5))) : QVariant(text())});
            break;
        case 4:
            emitOn(QStringLiteral("/StatusNotifierWatcher"), kWatcher,
                   "StatusNotifierHostRegistered", {});
            break;
        case 5:
            callProgram(m_item, QStringLiteral("/StatusNotifierItem"),
                        QStringLiteral("org.kde.StatusNotifierItem"),
                        pick(2) ? "Activate" : "SecondaryActivate", QStringLiteral("ii"));
            break;
        default:
            if (m_program.isEmpty()) // the program's own name, where a second start hands over
                for (const QString& name : bus().interface()->registeredServiceNames().value())
                    if (!name.startsWith(':') &&
                        !name.startsWith(QLatin1String("org.freedesktop")) && name != kWatcher)
                        m_program = name;
            callProgram(m_program, '/' + QString(m_program).replace('.', '/'),
                        QStringLiteral("org.freedesktop.Application"),
                        pick(2) ? "Activate" : "ActivateAction",
                        pick(2) ? QStringLiteral("a{sv}") : QStringLiteral("sava{sv}"));
        }
        sent();
    }
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: fuzz_bus SEED COUNT LOG_FILE\n");
        return 2;
    }
    qDBusRegisterMetaType<Wrong>();
    qDBusRegisterMetaType<QList<Wrong>>();
    qDBusRegisterMetaType<Shortcut>();
    qDBusRegisterMetaType<QList<Shortcut>>();
    QFile log(QString::fromLocal8Bit(argv[3]));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return 1;
    Fuzzer fuzzer(unsigned(std::atol(argv[1])), std::atoi(argv[2]), log);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerVirtualObject(QStringLiteral("/"), &fuzzer, QDBusConnection::SubPath) ||
        !bus.registerService(kPortal) || !bus.registerService(kNotify) ||
        !bus.registerService(kWatcher)) {
        std::fprintf(stderr, "fuzz_bus: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    fuzzer.write(QStringLiteral("ready"));
    return QCoreApplication::exec();
}

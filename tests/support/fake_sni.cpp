// A desktop's StatusNotifierItem side on a private session bus: a watcher
// with a registered host (so Qt puts its tray icon on D-Bus) and a
// notification server. Every call is written as one line to the log file:
//   <ms since start> item <bus name>
//   <ms since start> notify <id> <summary>|<body>     (new lines as \n)
//   <ms since start> close <id>
//   fake_sni LOG_FILE
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {
QFile* logFile = nullptr;
QElapsedTimer sinceStart;

void log(const QString& line) {
    QTextStream out(logFile);
    out << sinceStart.elapsed() << ' ' << line << '\n';
    out.flush();
    logFile->flush();
}
} // namespace

class Watcher : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit Watcher(QObject* parent) : QDBusAbstractAdaptor(parent) {}
    bool hostRegistered() const { return true; }
    QStringList items() const { return m_items; }
    int protocolVersion() const { return 0; }

public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
        // Some items pass their object path instead of a bus name.
        const QString name = service.startsWith('/') ? message.service() : service;
        m_items << name;
        log(QStringLiteral("item ") + name);
        emit StatusNotifierItemRegistered(name);
    }
    void RegisterStatusNotifierHost(const QString&) {}

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierItemUnregistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

class Notifications : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit Notifications(QObject* parent) : QDBusAbstractAdaptor(parent) {}

public slots:
    uint Notify(const QString&, uint replacesId, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap&, int) {
        const uint id = replacesId != 0 ? replacesId : ++m_lastId;
        QString text = summary + '|' + body;
        log(QStringLiteral("notify %1 %2").arg(id).arg(text.replace('\n', QStringLiteral("\\n"))));
        return id;
    }
    void CloseNotification(uint id) {
        log(QStringLiteral("close %1").arg(id));
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
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fake_sni LOG_FILE\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return 1;
    logFile = &file;
    sinceStart.start();

    QDBusConnection bus = QDBusConnection::sessionBus();
    QObject watcherObject, notificationsObject;
    new Watcher(&watcherObject);
    new Notifications(&notificationsObject);
    if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcherObject) ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                            &notificationsObject) ||
        !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "fake_sni: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    log(QStringLiteral("ready"));
    return QCoreApplication::exec();
}

#include "fake_sni.moc"

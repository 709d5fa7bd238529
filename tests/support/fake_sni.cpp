// A desktop's StatusNotifierItem side on a private session bus: a watcher
// with a registered host (so Qt puts its tray icon on D-Bus) and a
// notification server; with --notifications-only, the server alone (a
// desktop without a tray). Every call is written as one line to the log:
//   <ms since start> item <bus name>
//   <ms since start> notify <id> <summary>|<body>     (new lines as \n)
//   <ms since start> close <id>
//   fake_sni LOG_FILE [--notifications-only]
#include "FakeStatusNotifier.h"

#include <QCoreApplication>
#include <QDBusConnection>
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool notificationsOnly = argc == 3 && QByteArray(argv[2]) == "--notifications-only";
    if (argc != 2 && !notificationsOnly) {
        std::fprintf(stderr, "usage: fake_sni LOG_FILE [--notifications-only]\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return 1;
    logFile = &file;
    sinceStart.start();

    QDBusConnection bus = QDBusConnection::sessionBus();
    QObject watcherObject, notificationsObject;
    auto* notifications = new FakeNotifications(&notificationsObject);
    notifications->notified = [](uint id, const QString& summary, const QString& body) {
        QString text = summary + '|' + body;
        log(QStringLiteral("notify %1 %2").arg(id).arg(text.replace('\n', QStringLiteral("\\n"))));
    };
    notifications->closed = [](uint id) { log(QStringLiteral("close %1").arg(id)); };
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"),
                            &notificationsObject) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "fake_sni: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    if (!notificationsOnly) {
        auto* watcher = new FakeWatcher(&watcherObject);
        watcher->itemRegistered = [](const QString& item) { log(QStringLiteral("item ") + item); };
        if (!bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcherObject) ||
            !bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))) {
            std::fprintf(stderr, "fake_sni: %s\n", qPrintable(bus.lastError().message()));
            return 1;
        }
    }
    log(QStringLiteral("ready"));
    return QCoreApplication::exec();
}

// A desktop portal on the session bus that DBUS_SESSION_BUS_ADDRESS names.
//   fake_portal OUTPUT_FOLDER              the Email and Inhibit interfaces:
//     each ComposeEmail call leaves its options and the bytes read through
//     each attachment descriptor in the folder; "inhibit-log" there gets a
//     line for each Inhibit and each Close of one, and "inhibit-held" the
//     number held.
//   fake_portal --shortcuts OUTPUT_FOLDER  the GlobalShortcuts interface:
//     each BindShortcuts leaves "shortcuts" (id|description|preferred trigger,
//     one a line) and "sessions"; its EmitActivated(id) method, called by the
//     test, presses a bound key.
//   fake_portal --shortcuts-none OUTPUT_FOLDER  the same, on a desktop that
//     binds no key at all.
#include "FakeGlobalShortcuts.h"
#include "FakePortal.h"

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {
void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool none = argc == 3 && QByteArray(argv[1]) == "--shortcuts-none";
    const bool shortcuts = none || (argc == 3 && QByteArray(argv[1]) == "--shortcuts");
    if (argc != 2 && !shortcuts) {
        std::fprintf(stderr, "usage: fake_portal [--shortcuts|--shortcuts-none] OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[argc - 1]) + QLatin1Char('/');
    qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
    QDBusConnection bus = QDBusConnection::sessionBus();
    FakePortal portal(bus);
    portal.composed = [&] {
        write(out + "portal-subject", portal.options.value("subject").toString().toUtf8());
        write(out + "portal-body", portal.options.value("body").toString().toUtf8());
        write(out + "portal-addresses",
              portal.options.value("addresses").toStringList().join(',').toUtf8());
        for (size_t i = 0; i < portal.attachments.size(); ++i)
            write(out + "portal-attachment-" + QString::number(i),
                  QByteArray::fromStdString(portal.attachments[i]));
        write(out + "portal-calls", QByteArray::number(portal.calls));
    };
    auto* inhibit = new FakeInhibit(&portal, bus);
    inhibit->changed = [&] {
        QFile log(out + "inhibit-log");
        if (log.open(QIODevice::Append))
            log.write(QByteArray::fromStdString(inhibit->events.back()) + '\n');
        write(out + "inhibit-held", QByteArray::number(inhibit->held));
    };
    FakeGlobalShortcuts keys(bus);
    keys.bindNothing = none;
    keys.bound = [&] {
        QByteArray lines;
        for (const auto& [id, properties] : keys.asked)
            lines += (id + '|' + properties.value("description").toString() + '|' +
                      properties.value("preferred_trigger").toString() + '\n')
                         .toUtf8();
        write(out + "shortcuts", lines);
        write(out + "sessions", QByteArray::number(keys.sessions));
    };
    QObject* exported = shortcuts ? static_cast<QObject*>(&keys) : &portal;
    if (!bus.registerObject(kPortalPath, exported,
                            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties |
                                QDBusConnection::ExportAdaptors) ||
        !bus.registerService(kPortal)) {
        std::fprintf(stderr, "fake_portal: cannot register on the bus\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

// A desktop portal with the Email and Inhibit interfaces, on the session bus
// that DBUS_SESSION_BUS_ADDRESS names. Each ComposeEmail call leaves its
// options and the bytes read through each attachment descriptor in the
// folder given; "inhibit-log" there gets a line for each Inhibit and each
// Close of one, and "inhibit-held" the number held.
#include "FakePortal.h"

#include <QCoreApplication>
#include <QDBusMetaType>
#include <QFile>

#include <cstdio>

namespace {
void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: fake_portal OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
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
    if (!bus.registerObject(kPortalPath, &portal,
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

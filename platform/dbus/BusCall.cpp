#include "BusCall.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

bool ServiceReachable(const QDBusConnection& bus, const QString& name) {
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (bus.interface()->isServiceRegistered(name).value())
        return true;
    const QDBusReply<QStringList> activatable =
        bus.interface()->call(QStringLiteral("ListActivatableNames"));
    return activatable.isValid() && activatable.value().contains(name);
}

QDBusMessage CallAndWait(const QDBusConnection& bus, const QDBusMessage& call, int timeoutMs) {
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, timeoutMs));
    if (!watcher.isFinished()) {
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return watcher.reply();
}

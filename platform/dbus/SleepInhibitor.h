#pragma once

#include "TakeWatcher.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Keeps the computer from suspending, or sleeping when idle, while a take
// runs (paused too): the desktop portal's Inhibit where the session bus has
// it, else logind's block inhibitor on the system bus, else nothing, and the
// take records as it would anyway. It asks without waiting, so that a slow
// bus never holds up the start of a take.
class SleepInhibitor : public QObject, public TakeWatcher {
    Q_OBJECT
public:
    // The session bus; the system bus is reached when first needed.
    SleepInhibitor();
    // systemAddress: the system bus's address, as DBUS_SYSTEM_BUS_ADDRESS
    // gives it.
    SleepInhibitor(QDBusConnection session, QString systemAddress);
    // Lets go, and waits a moment for the portal to hear it.
    ~SleepInhibitor() override;

    void TakeStarted(const TakeInfo&) override { Hold(); }
    void TakeEnded() override { Release(); }
    void Hold();
    void Release();

private:
    void askPortal(uint64_t hold);
    void askLogind(uint64_t hold);
    void nothingInhibits(const QString& why) const;
    void whenAnswered(const QDBusPendingCall& call,
                      std::function<void(const QDBusMessage&)> answered);
    void closePortalRequest(const QString& handle);
    void systemBusReached(std::optional<QDBusConnection> bus);

    QDBusConnection m_session;
    QString m_systemAddress;
    // Unset until the system bus has answered; set but not connected when it
    // could not be reached.
    std::optional<QDBusConnection> m_system;
    bool m_reachingSystem = false;
    QString m_systemName;
    // Which hold an answer belongs to: one that comes after its take has
    // ended is let go at once.
    uint64_t m_lastHold = 0;
    uint64_t m_wanted = 0;
    uint64_t m_askedLogind = 0;
    bool m_portalRefused = false; // the desktop's portal said no to the last hold
    QString m_portalRequest;
    QDBusUnixFileDescriptor m_logindFd;
    std::vector<QDBusPendingCall> m_closing;
};

#pragma once

#include "TakeWatcher.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
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
    // The session bus, and the system bus when it is needed.
    SleepInhibitor();
    SleepInhibitor(QDBusConnection session, QDBusConnection system);
    // Lets go, and waits a moment for the portal to hear it.
    ~SleepInhibitor() override;

    void TakeStarted(const TakeInfo&) override { Hold(); }
    void TakeEnded() override { Release(); }
    void Hold();
    void Release();

private:
    void askPortal(uint64_t hold);
    void askLogind(uint64_t hold);
    void whenAnswered(const QDBusPendingCall& call,
                      std::function<void(const QDBusMessage&)> answered);
    void closePortalRequest(const QString& handle);
    QDBusConnection systemBus();

    QDBusConnection m_session;
    std::optional<QDBusConnection> m_system;
    // Which hold an answer belongs to: one that comes after its take has
    // ended is let go at once.
    uint64_t m_lastHold = 0;
    uint64_t m_wanted = 0;
    QString m_portalRequest;
    QDBusUnixFileDescriptor m_logindFd;
    std::vector<QDBusPendingCall> m_closing;
};

#pragma once

#include "Common.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

// A second start of the program hands over to the running one through its
// name on the session bus, which is also the launcher's id. The lock file
// stays the authority on who runs: the bus only carries the request.
inline const QString kProgramBusName = QString::fromLatin1(kAppId);

enum class HandOverRequest {
    Show,     // the launcher: show yourself
    Optimizer // "tapewren w", or the launcher's Sound Optimizer action
};

// The running program's side: the desktop's standard application interface
// (org.freedesktop.Application) under that name. Activate asks it to show
// itself, ActivateAction "SoundOptimizer" (the launcher's action) to open the
// optimizer.
// Qt gives an adaptor's caller to the adaptor's parent: errors are answered
// through the service.
class HandOverService : public QObject, public QDBusContext {
    Q_OBJECT
public:
    explicit HandOverService(QDBusConnection bus = QDBusConnection::sessionBus());
    ~HandOverService() override;

    // False without a session bus, or where another program has the name.
    bool Listen();

signals:
    // After the caller has had its answer: what is asked may open a modal
    // window.
    void requested(HandOverRequest request);

private:
    QDBusConnection m_bus;
    bool m_listening = false;
};

// The second start's side. A first program still starting holds the lock
// before it takes the name: waits up to waitMs for it. False when no program
// took the request (no session bus, nobody answering).
bool HandOver(HandOverRequest request, QDBusConnection bus = QDBusConnection::sessionBus(),
              int waitMs = 5000);

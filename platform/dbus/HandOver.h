#pragma once

#include "Common.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

#include <string>

// A second start of the program hands over to the running one through its
// name on the session bus, which is also the launcher's id. The lock file
// stays the authority on who runs: the bus only carries the request.
inline const QString kProgramBusName = QString::fromLatin1(kAppId);

// The name of one copy: the installed program's is kProgramBusName; a
// portable copy, which runs beside it with a lock of its own, adds an
// element made from its folder, so that its second start reaches it.
QString ProgramBusName(bool portable, const std::string& folder);

enum class HandOverRequest {
    Show,        // the launcher: show yourself
    Optimizer,   // "tapewren w", or the launcher's Sound Optimizer action
    RecordStop,  // "tapewren record-stop": what the Record/Stop hotkey does
    PauseResume, // "tapewren pause-resume"
};

// The running program's side: the desktop's standard application interface
// (org.freedesktop.Application) under that name. Activate asks it to show
// itself, ActivateAction "SoundOptimizer" (the launcher's action) to open the
// optimizer, "RecordStop" and "PauseResume" to do what the hot keys do.
// Qt gives an adaptor's caller to the adaptor's parent: errors are answered
// through the service.
class HandOverService : public QObject, public QDBusContext {
    Q_OBJECT
public:
    explicit HandOverService(QString name = kProgramBusName,
                             QDBusConnection bus = QDBusConnection::sessionBus());
    ~HandOverService() override;

    // False without a session bus. Another program holding the name puts
    // this one in the bus's queue for it: the name is taken when it frees.
    bool Listen();

signals:
    // After the caller has had its answer: what is asked may open a modal
    // window.
    void requested(HandOverRequest request);

private:
    QString m_name;
    QString m_path;
    QDBusConnection m_bus;
    bool m_listening = false;
};

// The second start's side. A first program still starting holds the lock
// before it takes the name: waits up to waitMs for it. False when no program
// took the request (no session bus, nobody answering within kCallWaitMs).
bool HandOver(HandOverRequest request, const QString& name = kProgramBusName,
              QDBusConnection bus = QDBusConnection::sessionBus(), int waitMs = 5000);
// A holder of the name that does not answer is given up after this.
constexpr int kCallWaitMs = 2000;

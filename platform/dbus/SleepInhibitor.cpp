#include "SleepInhibitor.h"

#include "BusCall.h"
#include "Logging.h"
#include "Portal.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {
const QString kInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kLoginManager = QStringLiteral("org.freedesktop.login1.Manager");
// Read when asked, after the language's catalogue is loaded.
QString reason() {
    return QCoreApplication::translate("SleepInhibitor", "Recording sound");
}
// The portal's flags: 4 suspend, 8 idle; log-out and user switching stay free.
constexpr uint kSuspendAndIdle = 4 | 8;
// The bus's own default: a portal may be started on demand.
constexpr int kAskMs = 25000;
// How long the exit waits for the portal to hear that we let go.
constexpr int kReleaseMs = 2000;
// A portal that says nothing this long after taking the request did not
// inhibit anything we can count on.
constexpr int kResponseMs = 2000;
// The longest a system bus may take to answer before it counts as absent.
// Qt's own connect waits on a single thread that serves every bus of the
// program, so a bus whose daemon hangs would stall them all: it is first
// asked, on a thread of its own, whether it answers at all.
constexpr int kSystemBusMs = 2000;

bool isAnswered(const QDBusPendingCall& call) {
    return call.isFinished();
}
} // namespace

SleepInhibitor::SleepInhibitor()
    : SleepInhibitor(QDBusConnection::sessionBus(),
                     qEnvironmentVariable("DBUS_SYSTEM_BUS_ADDRESS")) {}

SleepInhibitor::SleepInhibitor(QDBusConnection session, QString systemAddress)
    : m_session(std::move(session)), m_systemAddress(std::move(systemAddress)) {
    if (m_systemAddress.isEmpty())
        m_systemAddress = QStringLiteral("unix:path=/run/dbus/system_bus_socket");
}

SleepInhibitor::~SleepInhibitor() {
    Release();
    if (m_system && m_system->isConnected())
        QDBusConnection::disconnectFromBus(m_systemName);
    // A hold asked for at the very end of a take may still be on its way:
    // its reply names what to close. A local loop rather than a blocking
    // wait, so that a portal living in this very process (as in tests) can
    // answer.
    const auto settled = [this] {
        std::erase_if(m_closing, isAnswered);
        for (const PortalRequest* request : findChildren<PortalRequest*>())
            if (!request->Replied() && !request->Failed())
                return false;
        return m_closing.empty();
    };
    QElapsedTimer clock;
    clock.start();
    while (!settled() && clock.elapsed() < kReleaseMs) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

void SleepInhibitor::systemBusReached(std::optional<QDBusConnection> bus) {
    m_reachingSystem = false;
    m_system = bus ? *bus : QDBusConnection(QString());
    if (m_wanted && m_askedLogind == m_wanted)
        askLogind(m_wanted);
}

void SleepInhibitor::Hold() {
    Release();
    m_wanted = ++m_lastHold;
    askPortal(m_wanted);
}

void SleepInhibitor::Release() {
    m_wanted = 0;
    if (!m_portalRequest.isEmpty())
        closePortalRequest(m_portalRequest);
    m_portalRequest.clear();
    // logind lets go when the last copy of its descriptor is closed.
    m_logindFd = QDBusUnixFileDescriptor();
}

void SleepInhibitor::whenAnswered(const QDBusPendingCall& call,
                                  std::function<void(const QDBusMessage&)> answered) {
    // Ours: gone with us, so no answer arrives at a destroyed object.
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [watcher, answered = std::move(answered)] {
                answered(watcher->reply());
                watcher->deleteLater();
            });
}

void SleepInhibitor::askPortal(uint64_t hold) {
    QDBusMessage call = Portal::Call(kInhibit, QStringLiteral("Inhibit"));
    call << QString() << kSuspendAndIdle << QVariantMap{{QStringLiteral("reason"), reason()}};
    auto* request = new PortalRequest(m_session, call, kAskMs, this);
    // No portal, or one without Inhibit, answers with an error at once. A
    // portal whose desktop cannot inhibit answers the request with a code
    // other than 0, or never.
    // refused: the portal was there and said no, or nothing in time.
    auto fallBack = [this, hold](bool refused, const QString& why) {
        if (hold != m_wanted || m_askedLogind == hold)
            return;
        m_portalRefused = refused;
        if (refused)
            qCWarning(lcPlatform, "sleep inhibitor: %s; asking logind instead", qPrintable(why));
        else
            qCDebug(lcPlatform, "sleep inhibitor: %s; asking logind", qPrintable(why));
        askLogind(hold);
    };
    connect(request, &PortalRequest::failed, this, [request, fallBack](const QString& error) {
        request->deleteLater();
        fallBack(!request->Missing(),
                 (request->Missing() ? QStringLiteral("no portal inhibits (%1)")
                                     : QStringLiteral("the portal refused to inhibit (%1)"))
                     .arg(error));
    });
    connect(request, &PortalRequest::replied, this, [this, hold](const QString& handle) {
        if (hold == m_wanted)
            m_portalRequest = handle;
        else if (!handle.isEmpty())
            closePortalRequest(handle);
    });
    connect(request, &PortalRequest::answered, this, [request, fallBack](uint response) {
        request->deleteLater();
        if (response != PortalRequest::kSuccess)
            fallBack(true,
                     QStringLiteral("the portal did not inhibit (response %1)").arg(response));
        else
            qCDebug(lcPlatform, "sleep inhibitor: the portal inhibits");
    });
    // Gone with the request once it is answered.
    QTimer::singleShot(kResponseMs, request, [request, fallBack] {
        request->deleteLater();
        fallBack(true, QStringLiteral("the portal did not answer within %1 ms").arg(kResponseMs));
    });
}

// Where the desktop said no and logind is not there either, the take goes
// on and the log says what that means; where neither is there at all (a
// bare session), that is only worth a debug line.
void SleepInhibitor::nothingInhibits(const QString& why) const {
    if (m_portalRefused)
        qCWarning(lcPlatform,
                  "sleep inhibitor: %s; nothing inhibits sleep: the computer may sleep during "
                  "the take",
                  qPrintable(why));
    else
        qCDebug(lcPlatform, "sleep inhibitor: %s; nothing inhibits sleep", qPrintable(why));
}

void SleepInhibitor::askLogind(uint64_t hold) {
    m_askedLogind = hold;
    if (!m_system) {
        if (m_reachingSystem)
            return;
        m_reachingSystem = true;
        // A name of its own each time: Qt hands out the connection already
        // under a name, and one an earlier inhibitor left (its connect
        // failed, or came after it had gone) would be a dead bus.
        static std::atomic<unsigned> made{0};
        m_systemName = QStringLiteral("tapewren-system-%1").arg(++made);
        QPointer<SleepInhibitor> self(this);
        std::thread([self, address = m_systemAddress, name = m_systemName] {
            std::optional<QDBusConnection> bus;
            if (BusAnswers(address, kSystemBusMs))
                bus = QDBusConnection::connectToBus(address, name);
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, bus] {
                    if (self)
                        self->systemBusReached(bus);
                },
                Qt::QueuedConnection);
        }).detach();
        return;
    }
    QDBusConnection bus = *m_system;
    if (!bus.isConnected()) {
        nothingInhibits(QStringLiteral("no system bus at ") + m_systemAddress);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kLogin, kLoginPath, kLoginManager,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("Tapewren") << reason()
         << QStringLiteral("block");
    whenAnswered(bus.asyncCall(call, kAskMs), [this, hold](const QDBusMessage& reply) {
        if (NobodyAnswered(reply)) {
            nothingInhibits(QStringLiteral("no logind (%1)").arg(reply.errorMessage()));
            return;
        }
        if (!ReplyHasSignature(reply, "h")) {
            qCWarning(lcPlatform,
                      "sleep inhibitor: logind did not inhibit (%s): the "
                      "computer may sleep during the take",
                      qPrintable(reply.type() == QDBusMessage::ReplyMessage
                                     ? QStringLiteral("an answer of type ") + reply.signature()
                                     : reply.errorMessage()));
            return;
        }
        qCDebug(lcPlatform, "sleep inhibitor: logind inhibits");
        // An answer for an ended take closes with the reply.
        if (hold == m_wanted)
            m_logindFd = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().first());
    });
}

void SleepInhibitor::closePortalRequest(const QString& handle) {
    QDBusMessage call = Portal::CallOn(handle, kRequest, QStringLiteral("Close"));
    std::erase_if(m_closing, isAnswered);
    m_closing.push_back(m_session.asyncCall(call, kReleaseMs));
}

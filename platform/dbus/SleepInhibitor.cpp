#include "SleepInhibitor.h"

#include <QCoreApplication>

#include "Portal.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>

namespace {
const QString kInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString kLogin = QStringLiteral("org.freedesktop.login1");
const QString kLoginPath = QStringLiteral("/org/freedesktop/login1");
const QString kLoginManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kReason = QCoreApplication::translate("SleepInhibitor", "Recording sound");
// The portal's flags: 4 suspend, 8 idle; log-out and user switching stay free.
constexpr uint kSuspendAndIdle = 4 | 8;
// The bus's own default: a portal may be started on demand.
constexpr int kAskMs = 25000;
// How long the exit waits for the portal to hear that we let go.
constexpr int kReleaseMs = 2000;

bool isAnswered(const QDBusPendingCall& call) {
    return call.isFinished();
}
} // namespace

SleepInhibitor::SleepInhibitor() : m_session(QDBusConnection::sessionBus()) {}

SleepInhibitor::SleepInhibitor(QDBusConnection session, QDBusConnection system)
    : m_session(std::move(session)), m_system(std::move(system)) {}

SleepInhibitor::~SleepInhibitor() {
    Release();
    std::erase_if(m_closing, isAnswered);
    if (m_closing.empty())
        return;
    // A local loop rather than a blocking wait, so that a portal living in
    // this very process (as in tests) can answer.
    QEventLoop loop;
    size_t left = m_closing.size();
    for (const QDBusPendingCall& call : m_closing) {
        auto* watcher = new QDBusPendingCallWatcher(call, &loop);
        connect(watcher, &QDBusPendingCallWatcher::finished, &loop, [&] {
            if (--left == 0)
                loop.quit();
        });
    }
    QTimer::singleShot(kReleaseMs, &loop, &QEventLoop::quit);
    loop.exec();
}

QDBusConnection SleepInhibitor::systemBus() {
    // Connected only where there is no portal: most runs never need it.
    if (!m_system)
        m_system = QDBusConnection::systemBus();
    return *m_system;
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
    call << QString() << kSuspendAndIdle << QVariantMap{{QStringLiteral("reason"), kReason}};
    auto* request = new PortalRequest(m_session, call, kAskMs, this);
    // No portal, or one without Inhibit, answers with an error at once.
    connect(request, &PortalRequest::failed, this, [this, request, hold] {
        request->deleteLater();
        if (hold == m_wanted)
            askLogind(hold);
    });
    connect(request, &PortalRequest::replied, this, [this, request, hold](const QString& handle) {
        request->deleteLater();
        if (hold == m_wanted)
            m_portalRequest = handle;
        else if (!handle.isEmpty())
            closePortalRequest(handle);
    });
}

void SleepInhibitor::askLogind(uint64_t hold) {
    QDBusConnection bus = systemBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kLogin, kLoginPath, kLoginManager,
                                                       QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep:idle") << QStringLiteral("Tapewren") << kReason
         << QStringLiteral("block");
    whenAnswered(bus.asyncCall(call, kAskMs), [this, hold](const QDBusMessage& reply) {
        // An answer for an ended take closes with the reply.
        if (hold == m_wanted && reply.type() == QDBusMessage::ReplyMessage &&
            !reply.arguments().isEmpty())
            m_logindFd = qvariant_cast<QDBusUnixFileDescriptor>(reply.arguments().first());
    });
}

void SleepInhibitor::closePortalRequest(const QString& handle) {
    QDBusMessage call = Portal::CallOn(handle, kRequest, QStringLiteral("Close"));
    std::erase_if(m_closing, isAnswered);
    m_closing.push_back(m_session.asyncCall(call, kReleaseMs));
}

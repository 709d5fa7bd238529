#include "HandOver.h"

#include "BusCall.h"
#include "Logging.h"

#include <QCryptographicHash>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <iterator>

#include <malloc.h>

namespace {
// The object path the desktop derives from the name.
QString pathOf(const QString& name) {
    return QLatin1Char('/') + QString(name).replace(QLatin1Char('.'), QLatin1Char('/'));
}
const QString kInterface = QStringLiteral("org.freedesktop.Application");
// The actions, in the order of HandOverRequest; Show has none.
const QString kActions[] = {QString(), QStringLiteral("SoundOptimizer"),
                            QStringLiteral("RecordStop"), QStringLiteral("PauseResume")};
constexpr int kRequests = std::size(kActions);

// Desktops send a handful of platform data entries at most; a call with
// more is no desktop's, and is refused before it goes any further.
constexpr qsizetype kMaxEntries = 64;

class ApplicationAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit ApplicationAdaptor(HandOverService* service)
        : QDBusAbstractAdaptor(service), m_service(service) {}

public slots:
    void Activate(const QVariantMap& data) {
        if (!tooLarge(data.size()))
            post(HandOverRequest::Show);
    }
    // The program opens no documents: it shows itself.
    void Open(const QStringList& uris, const QVariantMap& data) {
        if (!tooLarge(uris.size() + data.size()))
            post(HandOverRequest::Show);
    }
    void ActivateAction(const QString& name, const QVariantList& parameters,
                        const QVariantMap& data) {
        if (tooLarge(parameters.size() + data.size()))
            return;
        for (int i = 1; i < kRequests; ++i)
            if (name == kActions[i]) {
                post(static_cast<HandOverRequest>(i));
                return;
            }
        m_service->sendErrorReply(QDBusError::InvalidArgs,
                                  QStringLiteral("No such action: ") + name);
    }

private:
    bool tooLarge(qsizetype entries) {
        if (entries <= kMaxEntries)
            return false;
        m_service->sendErrorReply(QDBusError::LimitsExceeded, QStringLiteral("Too many entries"));
        // Qt has unpacked the call by now; once it lets go of it, the heap it
        // took goes back to the system instead of staying with the program.
        QTimer::singleShot(0, m_service, [] { malloc_trim(0); });
        return true;
    }
    // One request of each kind waits at a time, and follows the last by at
    // least a moment: a burst of calls shows the window once at its start
    // and once at its end, not once a call.
    void post(HandOverRequest request) {
        Slot& slot = m_slots[static_cast<int>(request)];
        if (slot.pending)
            return;
        slot.pending = true;
        const qint64 wait =
            slot.handled.isValid() ? std::max<qint64>(0, kQuietMs - slot.handled.elapsed()) : 0;
        QTimer::singleShot(wait, m_service, [service = m_service, request, &slot] {
            slot.pending = false;
            slot.handled.start();
            emit service->requested(request);
        });
    }

    static constexpr qint64 kQuietMs = 500;
    struct Slot {
        bool pending = false;
        QElapsedTimer handled;
    };
    HandOverService* m_service;
    Slot m_slots[kRequests];
};
} // namespace

QString ProgramBusName(bool portable, const std::string& folder) {
    if (!portable)
        return kProgramBusName;
    // An element may not begin with a digit; eight hex digits keep folders apart.
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(folder), QCryptographicHash::Sha256)
            .toHex()
            .left(8);
    return kProgramBusName + QStringLiteral(".p") + QString::fromLatin1(hash);
}

HandOverService::HandOverService(QString name, QDBusConnection bus)
    : m_name(std::move(name)), m_path(pathOf(m_name)), m_bus(std::move(bus)) {
    new ApplicationAdaptor(this);
}

HandOverService::~HandOverService() {
    if (!m_listening)
        return;
    m_bus.unregisterObject(m_path);
    // Also leaves the queue, when still waiting in it.
    if (m_bus.interface())
        m_bus.interface()->unregisterService(m_name);
}

bool HandOverService::Listen() {
    if (m_listening)
        return true;
    if (!m_bus.isConnected() || !m_bus.interface()) {
        qCDebug(lcPlatform, "hand-over: no session bus; a second start cannot reach this one");
        return false;
    }
    if (!m_bus.registerObject(m_path, this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcPlatform,
                  "hand-over: %s cannot be served on the session bus; a second "
                  "start will not reach this one",
                  qPrintable(m_path));
        return false;
    }
    // A program that took the name first (a stale copy, a squatter) would
    // otherwise keep it from this one for good, and second starts would
    // find nobody once it has gone: the bus hands it over when it frees.
    // On the GUI thread: a hung bus must not hold the start for Qt's 25 s.
    m_bus.interface()->setTimeout(kCallWaitMs);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_bus.interface()->registerService(m_name, QDBusConnectionInterface::QueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() == QDBusConnectionInterface::ServiceNotRegistered) {
        qCWarning(lcPlatform,
                  "hand-over: the bus did not give the name %s (%s); a second start "
                  "will not reach this one",
                  qPrintable(m_name), qPrintable(reply.error().message()));
        m_bus.unregisterObject(m_path);
        return false;
    }
    if (reply.value() == QDBusConnectionInterface::ServiceQueued)
        qCWarning(lcPlatform,
                  "hand-over: another program holds the name %s; this one takes it "
                  "when it frees",
                  qPrintable(m_name));
    m_listening = true;
    return true;
}

bool HandOver(HandOverRequest request, const QString& name, QDBusConnection bus, int waitMs) {
    if (!bus.isConnected() || !bus.interface()) {
        qCDebug(lcPlatform, "hand-over: no session bus; ending without asking the running copy");
        return false;
    }
    const QString path = pathOf(name);
    if (!NameHasOwner(bus, name)) {
        QDBusServiceWatcher watcher(name, bus, QDBusServiceWatcher::WatchForRegistration);
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusServiceWatcher::serviceRegistered, &loop,
                         &QEventLoop::quit);
        QTimer::singleShot(waitMs, &loop, &QEventLoop::quit);
        // It may have come between the question and the watch.
        if (!NameHasOwner(bus, name))
            loop.exec();
        if (!NameHasOwner(bus, name)) {
            qCWarning(lcPlatform,
                      "hand-over: no running copy took %s within %d ms; ending "
                      "without showing it",
                      qPrintable(name), waitMs);
            return false;
        }
    }
    QDBusMessage call;
    if (request != HandOverRequest::Show) {
        call = QDBusMessage::createMethodCall(name, path, kInterface,
                                              QStringLiteral("ActivateAction"));
        call << kActions[static_cast<int>(request)] << QVariantList() << QVariantMap();
    } else {
        call = QDBusMessage::createMethodCall(name, path, kInterface, QStringLiteral("Activate"));
        call << QVariantMap();
    }
    const QDBusMessage reply = bus.call(call, QDBus::Block, kCallWaitMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        qCWarning(lcPlatform, "hand-over: the running copy did not take the request (%s)",
                  qPrintable(reply.errorMessage()));
        return false;
    }
    qCDebug(lcPlatform, "hand-over: the running copy took the request");
    return true;
}

#include "HandOver.moc"

#include "MailClient.h"

#include "BusCall.h"

#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QEventLoop>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

namespace {
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kEmail = QStringLiteral("org.freedesktop.portal.Email");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

// The portal's answer to one request, delivered as a D-Bus signal.
class PortalResponse : public QObject {
    Q_OBJECT
public:
    bool received = false;
    uint code = 2;

public slots:
    void Response(uint response, const QVariantMap&) {
        received = true;
        code = response;
        emit done();
    }

signals:
    void done();
};

// Connects the response for as long as it lives.
class ResponseSubscription {
public:
    ResponseSubscription(QDBusConnection bus, QString path, PortalResponse& target)
        : m_bus(std::move(bus)), m_path(std::move(path)), m_target(target) {
        m_bus.connect(kPortal, m_path, kRequest, QStringLiteral("Response"), &m_target,
                      SLOT(Response(uint, QVariantMap)));
    }
    ~ResponseSubscription() {
        m_bus.disconnect(kPortal, m_path, kRequest, QStringLiteral("Response"), &m_target,
                         SLOT(Response(uint, QVariantMap)));
    }
    ResponseSubscription(const ResponseSubscription&) = delete;
    ResponseSubscription& operator=(const ResponseSubscription&) = delete;

private:
    QDBusConnection m_bus;
    QString m_path;
    PortalResponse& m_target;
};

// The portal's own reply codes: 0 done, 1 cancelled by the user, 2 failed.
constexpr uint kPortalFailed = 2;
} // namespace

DesktopMailClient::DesktopMailClient() : DesktopMailClient(QDBusConnection::sessionBus(), {}) {}

DesktopMailClient::DesktopMailClient(QDBusConnection bus, Options options)
    : m_bus(std::move(bus)), m_options(std::move(options)) {
    qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
}

bool DesktopMailClient::Compose(const TEmail& mail) {
    if (ComposeThroughPortal(mail) == PortalResult::Composed)
        return true;
    return ComposeThroughXdgEmail(mail);
}

bool DesktopMailClient::PortalOffersEmail() {
    if (!ServiceReachable(m_bus, kPortal))
        return false;
    // Reading the interface's version starts an activatable portal and
    // fails where the portal has no Email interface.
    QDBusMessage get = QDBusMessage::createMethodCall(
        kPortal, kPortalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << kEmail << QStringLiteral("version");
    return CallAndWait(m_bus, get, 25000).type() == QDBusMessage::ReplyMessage;
}

DesktopMailClient::PortalResult DesktopMailClient::ComposeThroughPortal(const TEmail& mail) {
    if (!PortalOffersEmail())
        return PortalResult::Unavailable;

    QList<QDBusUnixFileDescriptor> files;
    for (const std::string& path : mail.Attachments) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return PortalResult::Unavailable;
        files.append(QDBusUnixFileDescriptor(fd)); // keeps a duplicate
        ::close(fd);
    }

    // The request's path is known before the call, so that a response sent
    // straight away is not missed.
    const QString token = QStringLiteral("tapewren%1").arg(QRandomGenerator::global()->generate());
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString expected = QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token);

    PortalResponse response;
    auto subscription = std::make_unique<ResponseSubscription>(m_bus, expected, response);

    QVariantMap options = PortalComposeOptions(mail, files);
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kEmail,
                                                       QStringLiteral("ComposeEmail"));
    call << QString() << options;
    const QDBusMessage reply = CallAndWait(m_bus, call, 25000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return PortalResult::Unavailable;

    // Portals older than handle_token choose their own path.
    const QString handle = qvariant_cast<QDBusObjectPath>(reply.arguments().first()).path();
    if (!handle.isEmpty() && handle != expected && !response.received)
        subscription = std::make_unique<ResponseSubscription>(m_bus, handle, response);

    if (!response.received) {
        QEventLoop loop;
        QObject::connect(&response, &PortalResponse::done, &loop, &QEventLoop::quit);
        QTimer::singleShot(m_options.portalResponseMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // No answer in time: a compose window may well be open, so do not open
    // a second one through xdg-email.
    if (response.received && response.code == kPortalFailed)
        return PortalResult::Unavailable;
    return PortalResult::Composed;
}

bool DesktopMailClient::ComposeThroughXdgEmail(const TEmail& mail) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(m_options.xdgEmail, XdgEmailArguments(mail));
    if (!process.waitForStarted(-1))
        return false;
    // xdg-email waits for the client it starts, which may be a terminal
    // program the user writes the whole mail in: no time limit.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

#include "MailClient.moc"

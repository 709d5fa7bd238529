#include "MailClient.h"

#include "Logging.h"
#include "Portal.h"

#include <QDBusMetaType>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
const QString kEmail = QStringLiteral("org.freedesktop.portal.Email");
// The bus's own default: a portal may be started on demand.
constexpr int kReplyMs = 25000;
// Asked on the GUI thread, which waits: a portal still starting after this
// leaves the message to xdg-email.
constexpr int kProbeMs = 2000;
QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Mail clients get plain-text line breaks; xdg-email turns each one into
// CRLF itself, so a CR kept here would come out doubled.
QString plainLines(const std::string& s) {
    QString t = text(s);
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return t;
}
} // namespace

QVariantMap PortalComposeOptions(const TEmail& mail,
                                 const QList<QDBusUnixFileDescriptor>& attachments) {
    QVariantMap options;
    if (!mail.Recipient.empty())
        options.insert(QStringLiteral("addresses"), QStringList{text(mail.Recipient)});
    if (!mail.Subject.empty())
        options.insert(QStringLiteral("subject"), text(mail.Subject));
    if (!mail.Body.empty())
        options.insert(QStringLiteral("body"), plainLines(mail.Body));
    if (!attachments.isEmpty())
        options.insert(QStringLiteral("attachment_fds"), QVariant::fromValue(attachments));
    return options;
}

QStringList XdgEmailArguments(const TEmail& mail) {
    // Our texts are UTF-8 whatever the locale; without --utf8 xdg-email
    // converts them from the locale's charset and drops non-ASCII letters
    // under the C locale.
    QStringList args{QStringLiteral("--utf8")};
    if (!mail.Subject.empty())
        args << QStringLiteral("--subject") << text(mail.Subject);
    if (!mail.Body.empty())
        args << QStringLiteral("--body") << plainLines(mail.Body);
    for (const std::string& file : mail.Attachments)
        args << QStringLiteral("--attach") << text(file);
    // With --to the address is the option's value: a bare address argument
    // that starts with "-" would be taken for an option.
    if (!mail.Recipient.empty())
        args << QStringLiteral("--to") << text(mail.Recipient);
    return args;
}

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
    return Portal::Offers(m_bus, kEmail, kProbeMs);
}

DesktopMailClient::PortalResult DesktopMailClient::ComposeThroughPortal(const TEmail& mail) {
    if (!PortalOffersEmail()) {
        qCDebug(lcPlatform, "mail: no portal offers e-mail; using xdg-email");
        return PortalResult::Unavailable;
    }

    QList<QDBusUnixFileDescriptor> files;
    for (const std::string& path : mail.Attachments) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            qCWarning(lcPlatform, "mail: %s cannot be opened for the portal (%s); trying xdg-email",
                      path.c_str(), std::strerror(errno));
            return PortalResult::Unavailable;
        }
        files.append(QDBusUnixFileDescriptor(fd)); // keeps a duplicate
        ::close(fd);
    }

    QDBusMessage call = Portal::Call(kEmail, QStringLiteral("ComposeEmail"));
    call << QString() << PortalComposeOptions(mail, files);
    PortalRequest request(m_bus, call, kReplyMs);
    QEventLoop loop;
    QObject::connect(&request, &PortalRequest::answered, &loop, &QEventLoop::quit);
    QString error;
    QObject::connect(&request, &PortalRequest::failed, &loop, [&](const QString& why) {
        error = why;
        loop.exit(1);
    });
    // The answer comes once the client has taken the message, which may
    // take the user a while; the reply to the call itself comes at once.
    QTimer::singleShot(m_options.portalResponseMs, &loop, &QEventLoop::quit);
    if (loop.exec() != 0) {
        qCWarning(lcPlatform, "mail: the portal refused the message (%s); trying xdg-email",
                  qPrintable(error));
        return PortalResult::Unavailable;
    }
    // No answer in time: a compose window may well be open, so do not open
    // a second one through xdg-email.
    if (request.Answered() && request.ResponseCode() == PortalRequest::kFailed) {
        qCWarning(lcPlatform, "mail: the portal could not open a mail client; trying xdg-email");
        return PortalResult::Unavailable;
    }
    if (!request.Answered())
        qCDebug(lcPlatform, "mail: no answer from the portal within %d ms; taken as composed",
                m_options.portalResponseMs);
    return PortalResult::Composed;
}

bool DesktopMailClient::ComposeThroughXdgEmail(const TEmail& mail) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(m_options.xdgEmail, XdgEmailArguments(mail));
    if (!process.waitForStarted(-1)) {
        qCWarning(lcPlatform, "mail: %s cannot be started (%s)", qPrintable(m_options.xdgEmail),
                  qPrintable(process.errorString()));
        return false;
    }
    // xdg-email waits for the client it starts, which may be a terminal
    // program the user writes the whole mail in: no time limit.
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qCWarning(lcPlatform, "mail: %s failed (%s)", qPrintable(m_options.xdgEmail),
                  process.exitStatus() == QProcess::NormalExit
                      ? qPrintable(QStringLiteral("exit code %1").arg(process.exitCode()))
                      : "it crashed");
        return false;
    }
    return true;
}

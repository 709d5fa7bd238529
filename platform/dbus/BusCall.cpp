#include "BusCall.h"

#include "Logging.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
// The bus daemon's own answers come in milliseconds; a daemon that does not
// answer in this must not hold the windows up.
constexpr int kDaemonAnswerMs = 2000;

QDBusMessage askDaemon(const QDBusConnection& bus, const QString& method, const QString& name) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), method);
    if (!name.isEmpty())
        call << name;
    return bus.call(call, QDBus::Block, kDaemonAnswerMs);
}
} // namespace

bool NameHasOwner(const QDBusConnection& bus, const QString& name) {
    if (!bus.isConnected())
        return false;
    const QDBusReply<bool> owned = askDaemon(bus, QStringLiteral("NameHasOwner"), name);
    return owned.isValid() && owned.value();
}

bool ServiceReachable(const QDBusConnection& bus, const QString& name) {
    if (!bus.isConnected())
        return false;
    const QDBusReply<bool> owned = askDaemon(bus, QStringLiteral("NameHasOwner"), name);
    if (!owned.isValid())
        return false; // a daemon that did not answer is not asked again
    if (owned.value())
        return true;
    const QDBusReply<QStringList> activatable =
        askDaemon(bus, QStringLiteral("ListActivatableNames"), QString());
    return activatable.isValid() && activatable.value().contains(name);
}

bool NobodyAnswered(const QDBusMessage& reply) {
    static const QStringList nobody{QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown"),
                                    QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner"),
                                    QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                                    QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                                    QStringLiteral("org.freedesktop.DBus.Error.UnknownObject"),
                                    QStringLiteral("org.freedesktop.DBus.Error.Disconnected")};
    return reply.type() == QDBusMessage::ErrorMessage && nobody.contains(reply.errorName());
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

namespace {
class Socket {
public:
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
};

// Waits for the socket to be ready for events until the deadline.
bool ready(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    using namespace std::chrono;
    for (;;) {
        const auto left = duration_cast<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left));
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}
} // namespace

bool BusAnswers(const QString& address, int timeoutMs) {
    // The first local socket among the addresses; each is "unix:path=..." or
    // "unix:abstract=...", with further keys after commas.
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    socklen_t length = 0;
    for (const QString& entry : address.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!entry.startsWith(QLatin1String("unix:")))
            continue;
        for (const QString& key : entry.mid(5).split(QLatin1Char(','))) {
            const QByteArray value = QByteArray::fromPercentEncoding(key.section('=', 1).toUtf8());
            const bool abstract = key.startsWith(QLatin1String("abstract="));
            if ((!abstract && !key.startsWith(QLatin1String("path="))) ||
                value.size() + 1 > int(sizeof(where.sun_path)))
                continue;
            std::memcpy(where.sun_path + (abstract ? 1 : 0), value.constData(), value.size());
            length = socklen_t(offsetof(sockaddr_un, sun_path) + (abstract ? 1 : 0) + value.size() +
                               (abstract ? 0 : 1));
            break;
        }
        if (length)
            break;
    }
    if (!length)
        return !address.isEmpty();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (socket.fd() < 0)
        return false;
    if (::connect(socket.fd(), reinterpret_cast<sockaddr*>(&where), length) != 0 &&
        (errno != EINPROGRESS || !ready(socket.fd(), POLLOUT, deadline)))
        return false;
    // The start of the bus's own handshake: a daemon that runs says "OK".
    QByteArray hello("\0AUTH EXTERNAL ", 15);
    hello += QByteArray::number(::getuid()).toHex() + "\r\n";
    if (::send(socket.fd(), hello.constData(), hello.size(), MSG_NOSIGNAL) != hello.size())
        return false;
    QByteArray answer;
    while (!answer.contains('\n')) {
        if (!ready(socket.fd(), POLLIN, deadline))
            return false;
        char buffer[256];
        const ssize_t n = ::recv(socket.fd(), buffer, sizeof buffer, 0);
        if (n <= 0)
            return false;
        answer.append(buffer, n);
    }
    return answer.startsWith("OK ");
}

std::optional<QDBusArgument> TypedArgument(const QVariant& value, const char* signature) {
    if (value.metaType() != QMetaType::fromType<QDBusArgument>())
        return std::nullopt;
    auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String(signature))
        return std::nullopt;
    return argument;
}

bool ReplyHasSignature(const QDBusMessage& reply, const char* signature) {
    return reply.type() == QDBusMessage::ReplyMessage &&
           reply.signature() == QLatin1String(signature);
}

bool SignalHasSignature(const QDBusMessage& signal, const char* signature) {
    if (signal.signature() == QLatin1String(signature))
        return true;
    qCWarning(lcPlatform, "%s from %s: arguments of type (%s), not (%s); ignored",
              qPrintable(signal.member()), qPrintable(signal.service()),
              qPrintable(signal.signature()), signature);
    return false;
}

#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

inline const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
inline const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The portal's Email interface as the test wants it to behave; it keeps
// what it was asked and reads each attachment through its descriptor.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Email")
    Q_PROPERTY(uint version READ version)
public:
    explicit FakePortal(QDBusConnection bus) : m_bus(std::move(bus)) {}
    uint version() const { return 4; }

    bool respond = true;
    uint responseCode = 0;
    // As portals before 0.9 did: the request's path is the portal's own
    // choice, not the caller's token, and its answer comes after the reply.
    bool ownHandle = false;
    int calls = 0;
    std::function<void()> composed; // after each call
    QString parentWindow;
    QVariantMap options;
    std::vector<std::string> attachments;

public slots:
    QDBusObjectPath ComposeEmail(const QString& parent, const QVariantMap& opts,
                                 const QDBusMessage& message) {
        ++calls;
        parentWindow = parent;
        options = opts;
        QList<QDBusUnixFileDescriptor> fds;
        if (opts.contains("attachment_fds"))
            qvariant_cast<QDBusArgument>(opts.value("attachment_fds")) >> fds;
        for (const QDBusUnixFileDescriptor& fd : fds) {
            std::string content;
            char buffer[65536];
            ssize_t n = 0;
            for (off_t at = 0; (n = ::pread(fd.fileDescriptor(), buffer, sizeof buffer, at)) > 0;
                 at += n)
                content.append(buffer, static_cast<size_t>(n));
            attachments.push_back(content);
        }
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        const QString handle =
            ownHandle ? QStringLiteral("%1/request/%2").arg(kPortalPath).arg(calls)
                      : QStringLiteral("%1/request/%2/%3")
                            .arg(kPortalPath, sender, opts.value("handle_token").toString());
        // The response goes out before the reply, as a fast portal's may.
        if (respond) {
            QDBusMessage response =
                QDBusMessage::createSignal(handle, QStringLiteral("org.freedesktop.portal.Request"),
                                           QStringLiteral("Response"));
            response << responseCode << QVariantMap();
            if (ownHandle)
                QTimer::singleShot(50, this, [this, response] { m_bus.send(response); });
            else
                m_bus.send(response);
        }
        if (composed)
            composed();
        return QDBusObjectPath(handle);
    }

private:
    QDBusConnection m_bus;
};

// One inhibition the fake portal granted: released by Close on its object.
class FakeInhibitRequest : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    explicit FakeInhibitRequest(std::function<void()> closed) : m_closed(std::move(closed)) {}

public slots:
    void Close() { m_closed(); }

private:
    std::function<void()> m_closed;
};

// The portal's Inhibit interface on the portal's object (export it with
// ExportAdaptors). It notes each call and each Close, in order.
class FakeInhibit : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")
    Q_PROPERTY(uint version READ version)
public:
    FakeInhibit(QObject* portal, QDBusConnection bus)
        : QDBusAbstractAdaptor(portal), m_bus(std::move(bus)) {}
    uint version() const { return 3; }

    std::vector<std::string> events; // "inhibit FLAGS REASON", "close"
    int held = 0;
    std::function<void()> changed; // after each event

public slots:
    QDBusObjectPath Inhibit(const QString&, uint flags, const QVariantMap& options,
                            const QDBusMessage& message) {
        if (refuseCall) {
            message.setDelayedReply(true);
            m_bus.send(message.createErrorReply(QDBusError::AccessDenied,
                                                QStringLiteral("Inhibiting is not allowed")));
            note("refused", 0);
            return {};
        }
        QString sender = message.service().mid(1);
        sender.replace('.', '_');
        // As xdg-desktop-portal names it: the caller's token where it gave one.
        const QString token = options.value("handle_token").toString();
        const QString handle =
            QStringLiteral("%1/request/%2/%3")
                .arg(kPortalPath, sender,
                     token.isEmpty() ? QStringLiteral("i%1").arg(++m_count) : token);
        auto* request = new FakeInhibitRequest([this, handle] {
            m_bus.unregisterObject(handle);
            note("close", -1);
        });
        request->setParent(this);
        m_bus.registerObject(handle, request, QDBusConnection::ExportAllSlots);
        note("inhibit " + std::to_string(flags) + " " +
                 options.value("reason").toString().toStdString(),
             +1);
        // The portal answers once the desktop has acted, after the reply.
        if (response >= 0)
            QTimer::singleShot(0, this, [this, handle, caller = message.service()] {
                QDBusMessage answer = QDBusMessage::createTargetedSignal(
                    caller, handle, "org.freedesktop.portal.Request", "Response");
                answer << uint(response) << QVariantMap();
                m_bus.send(answer);
            });
        return QDBusObjectPath(handle);
    }

public:
    // The call itself answered with an error, as a sandbox's policy may.
    bool refuseCall = false;
    // The Response each request gets: 0 inhibited, 1 the user said no, 2
    // failed, -1 none at all.
    int response = 0;

private:
    void note(const std::string& event, int change) {
        events.push_back(event);
        held += change;
        if (changed)
            changed();
    }

    QDBusConnection m_bus;
    int m_count = 0;
};

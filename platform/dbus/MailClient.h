#pragma once

#include "TEmail.h"

#include <QDBusUnixFileDescriptor>
#include <QStringList>
#include <QVariantMap>

#include <QDBusConnection>
#include <QString>

// Opens the user's mail client with a prepared message. Compose returns once
// the client has taken the message (or the user has dismissed it); false
// means no mail client could be reached at all.
class MailClient {
public:
    virtual ~MailClient() = default;
    virtual bool Compose(const TEmail& mail) = 0;
};

// The desktop's mail client: the portal's Email interface where the session
// bus offers it, else xdg-email.
class DesktopMailClient : public MailClient {
public:
    struct Options {
        QString xdgEmail = QStringLiteral("xdg-email");
        // The portal answers once the client has been started (or a chooser
        // dismissed); past this we stop waiting but count it as reached.
        int portalResponseMs = 120000;
    };

    DesktopMailClient();
    DesktopMailClient(QDBusConnection bus, Options options);
    bool Compose(const TEmail& mail) override;

private:
    enum class PortalResult { Composed, Unavailable };
    PortalResult ComposeThroughPortal(const TEmail& mail);
    bool PortalOffersEmail();
    bool ComposeThroughXdgEmail(const TEmail& mail);

    QDBusConnection m_bus;
    Options m_options;
};

// The options of the desktop portal's ComposeEmail call: an empty recipient,
// subject or body is left out; the attachments travel as the descriptors
// given, one per entry of Attachments.
QVariantMap PortalComposeOptions(const TEmail& mail,
                                 const QList<QDBusUnixFileDescriptor>& attachments);

// The argument vector of xdg-email (program name not included). Each text is
// one entry; nothing here passes through a shell.
QStringList XdgEmailArguments(const TEmail& mail);

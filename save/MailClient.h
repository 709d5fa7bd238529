#pragma once

#include "TEmail.h"

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

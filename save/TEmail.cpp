#include "TEmail.h"

namespace {
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

TEmail VoiceMail(const std::string& savedFile) {
    TEmail mail;
    mail.Recipient = kPlaceholderRecipient;
    mail.Subject = "Put your subject here";
    mail.Body = "Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren";
    mail.Attachments = {savedFile};
    return mail;
}

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

#include "TEmail.h"

#include <QCoreApplication>

TEmail VoiceMail(const std::string& savedFile) {
    TEmail mail;
    mail.Recipient = kPlaceholderRecipient;
    mail.Subject = QCoreApplication::translate("TEmail", "Put your subject here").toStdString();
    mail.Body =
        QCoreApplication::translate(
            "TEmail", "Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren")
            .toStdString();
    mail.Attachments = {savedFile};
    return mail;
}

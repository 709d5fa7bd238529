#include "TEmail.h"

TEmail VoiceMail(const std::string& savedFile) {
    TEmail mail;
    mail.Recipient = kPlaceholderRecipient;
    mail.Subject = "Put your subject here";
    mail.Body = "Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren";
    mail.Attachments = {savedFile};
    return mail;
}

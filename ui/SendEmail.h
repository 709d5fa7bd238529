#pragma once

#include "MailClient.h"
#include "TEmail.h"

class QWidget;

// Hands a message to the mail client and returns when the client is done
// with it. Meanwhile every window of the program is disabled; they are
// enabled again on every path. When no client can be reached, the error box
// appears once, owned by owner; the attached files are never touched.
void SendEmail(QWidget* owner, const TEmail& mail, MailClient& client);

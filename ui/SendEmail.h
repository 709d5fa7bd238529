#pragma once

#include "MailClient.h"
#include "TEmail.h"

#include <memory>

class QWidget;

// Hands a message to the mail client and returns when the client is done
// with it. Meanwhile every window of the program is disabled; they are
// enabled again on every path. When no client can be reached, the error box
// appears once, owned by owner; the attached files are never touched.
void SendEmail(QWidget* owner, const TEmail& mail, MailClient& client);
// The same with the desktop's mail client where client is empty, made then:
// most runs never mail, and the session bus is only needed then.
void SendEmail(QWidget* owner, const TEmail& mail, std::unique_ptr<MailClient>& client);

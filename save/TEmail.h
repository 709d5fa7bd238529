#pragma once

#include <string>
#include <vector>

// One message for the user's mail client to open in a compose window.
struct TEmail {
    std::string Recipient;
    std::string Subject;
    std::string Body;
    std::vector<std::string> Attachments; // full paths
};

// The address a new voice mail starts with; the user types over it. Under a
// reserved domain, so a message sent by mistake reaches nobody.
inline constexpr const char* kPlaceholderRecipient = "recipient@example.com";

// The message the save dialog prepares for a saved take.
TEmail VoiceMail(const std::string& savedFile);

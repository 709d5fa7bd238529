#include "TEmail.h"

#include <gtest/gtest.h>

TEST(TEmail, TheSavedTakeMailStartsWithAPlaceholderAddressToTypeOver) {
    const TEmail mail = VoiceMail("/music/memo.mp3");
    EXPECT_EQ(mail.Recipient, "recipient@example.com");
    EXPECT_EQ(mail.Subject, "Put your subject here");
    EXPECT_EQ(mail.Body,
              "Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren");
    EXPECT_EQ(mail.Attachments, std::vector<std::string>{"/music/memo.mp3"});
}

#include "TEmail.h"
#include "MailClient.h"

#include <QDBusArgument>
#include <gtest/gtest.h>

namespace {
// Texts a shell would act on, and letters outside ASCII.
const std::string kAwkwardSubject = "it's \"quoted\" $(touch x) `id`; & -n";
const std::string kAwkwardPath = "/tmp/my takes/-Grüße \"$(rm -rf x)\" 'ü'.mp3";
const std::string kDashedRecipient = "-o@example.com";

TEmail fullMail() {
    TEmail mail;
    mail.Recipient = "someone@example.com";
    mail.Subject = "Grüße, Ærø";
    mail.Body = "line one\r\n\r\n--\r\nline two";
    mail.Attachments = {"/music/memo.mp3"};
    return mail;
}
} // namespace

TEST(TEmail, TheSavedTakeMailStartsWithAPlaceholderAddressToTypeOver) {
    const TEmail mail = VoiceMail("/music/memo.mp3");
    EXPECT_EQ(mail.Recipient, "recipient@example.com");
    EXPECT_EQ(mail.Subject, "Put your subject here");
    EXPECT_EQ(mail.Body,
              "Your message text goes here\r\n\r\n--\r\nCreate voice mail with Tapewren");
    EXPECT_EQ(mail.Attachments, std::vector<std::string>{"/music/memo.mp3"});
}

TEST(TEmail, PortalOptionsCarryEachFieldAndLeaveOutEmptyOnes) {
    QList<QDBusUnixFileDescriptor> fds{QDBusUnixFileDescriptor(0)};
    const QVariantMap full = PortalComposeOptions(fullMail(), fds);
    EXPECT_EQ(full.value("addresses").toStringList(), QStringList{"someone@example.com"});
    EXPECT_EQ(full.value("subject").toString(), QString::fromUtf8("Grüße, Ærø"));
    EXPECT_EQ(full.value("body").toString(), "line one\n\n--\nline two");
    ASSERT_TRUE(full.contains("attachment_fds"));
    EXPECT_EQ(qvariant_cast<QList<QDBusUnixFileDescriptor>>(full.value("attachment_fds")).size(),
              1);

    TEmail mail = fullMail();
    mail.Recipient.clear();
    EXPECT_FALSE(PortalComposeOptions(mail, fds).contains("addresses"))
        << "no recipient at all, not an empty one";
    mail.Subject.clear();
    mail.Body.clear();
    const QVariantMap bare = PortalComposeOptions(mail, {});
    EXPECT_TRUE(bare.isEmpty()) << QStringList(bare.keys()).join(',').toStdString();

    mail.Recipient = kDashedRecipient;
    mail.Subject = kAwkwardSubject;
    const QVariantMap awkward = PortalComposeOptions(mail, {});
    EXPECT_EQ(awkward.value("addresses").toStringList(), QStringList{"-o@example.com"});
    EXPECT_EQ(awkward.value("subject").toString().toStdString(), kAwkwardSubject);
}

TEST(TEmail, XdgEmailGetsEachTextAsOneArgument) {
    EXPECT_EQ(XdgEmailArguments(fullMail()),
              (QStringList{"--utf8", "--subject", QString::fromUtf8("Grüße, Ærø"), "--body",
                           "line one\n\n--\nline two", "--attach", "/music/memo.mp3", "--to",
                           "someone@example.com"}));

    TEmail mail;
    mail.Recipient = kDashedRecipient;
    mail.Subject = kAwkwardSubject;
    mail.Body = "-";
    mail.Attachments = {kAwkwardPath};
    EXPECT_EQ(
        XdgEmailArguments(mail),
        (QStringList{"--utf8", "--subject", QString::fromStdString(kAwkwardSubject), "--body", "-",
                     "--attach", QString::fromStdString(kAwkwardPath), "--to", "-o@example.com"}));

    EXPECT_EQ(XdgEmailArguments(TEmail{}), QStringList{"--utf8"})
        << "empty recipient, subject and body and no attachment are left out";
}

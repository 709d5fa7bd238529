#include "MailClient.h"
#include "CapturedLog.h"
#include "FakePortal.h"
#include "PrivateBus.h"
#include "TempFolder.h"

#include <QDBusAbstractAdaptor>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QProcess>
#include <QThread>
#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Stands in for xdg-email: writes its arguments, one per line, and exits
// with the code given.
std::string fakeProgram(const std::string& folder, int exitCode) {
    const std::string path = folder + "fake-xdg-email";
    WriteFile(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" + folder +
                        "xdg-email-args\"\nexit " + std::to_string(exitCode) + "\n");
    ::chmod(path.c_str(), 0755);
    return path;
}

class MailClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        qDBusRegisterMetaType<QList<QDBusUnixFileDescriptor>>();
        ASSERT_FALSE(m_bus.address.isEmpty()) << "dbus-daemon did not start";
        WriteFile(m_take, "ID3-free MP3 bytes \x01\x02\xff");
    }

    void offerPortal(FakePortal& portal, bool withEmail = true) {
        QDBusConnection bus = m_bus.Connect("portal");
        ASSERT_TRUE(bus.registerService(kPortal));
        ASSERT_TRUE(bus.registerObject(kPortalPath, &portal,
                                       withEmail ? QDBusConnection::ExportAllSlots |
                                                       QDBusConnection::ExportAllProperties
                                                 : QDBusConnection::ExportNonScriptableSlots));
    }
    DesktopMailClient client(int exitCode = 0, int portalResponseMs = 120000) {
        DesktopMailClient::Options options;
        options.xdgEmail = QString::fromStdString(fakeProgram(m_folder.Path(), exitCode));
        options.portalResponseMs = portalResponseMs;
        return DesktopMailClient(m_bus.Connect("program"), options);
    }
    TEmail mail() const {
        TEmail m;
        m.Recipient = "someone@example.com";
        m.Subject = "Put your subject here";
        m.Body = "Text\r\n--\r\nend";
        m.Attachments = {m_take};
        return m;
    }
    bool xdgEmailRan() const { return fs::exists(m_folder / "xdg-email-args"); }

    TempFolder m_folder;
    PrivateBus m_bus{m_folder.Path()};
    std::string m_take = m_folder / "my take.mp3";
};
} // namespace

TEST_F(MailClientTest, ThePortalGetsTheFieldsAndADescriptorOfTheSavedFile) {
    FakePortal portal(m_bus.Connect("portal"));
    offerPortal(portal);
    DesktopMailClient mailer = client();
    EXPECT_TRUE(mailer.Compose(mail()));
    EXPECT_EQ(portal.calls, 1);
    EXPECT_EQ(portal.parentWindow, "");
    EXPECT_EQ(portal.options.value("addresses").toStringList(), QStringList{"someone@example.com"});
    EXPECT_EQ(portal.options.value("subject").toString(), "Put your subject here");
    EXPECT_EQ(portal.options.value("body").toString(), "Text\n--\nend");
    EXPECT_EQ(portal.attachments, std::vector<std::string>{ReadFile(m_take)});
    EXPECT_FALSE(xdgEmailRan()) << "one compose window, not two";
    EXPECT_TRUE(fs::exists(m_take));

    TEmail bare = mail();
    bare.Recipient.clear();
    bare.Subject.clear();
    EXPECT_TRUE(mailer.Compose(bare));
    EXPECT_FALSE(portal.options.contains("addresses"));
    EXPECT_FALSE(portal.options.contains("subject"));
}

TEST_F(MailClientTest, AFailedOrSilentPortalRequest) {
    FakePortal portal(m_bus.Connect("portal"));
    offerPortal(portal);
    portal.responseCode = 2; // the portal found no client to start
    {
        CapturedLog log;
        EXPECT_TRUE(client().Compose(mail()));
        EXPECT_EQ(log.Texts(QtWarningMsg, "tapewren.platform"),
                  std::vector<QString>{
                      "mail: the portal could not open a mail client; trying xdg-email"});
    }
    EXPECT_TRUE(xdgEmailRan()) << "xdg-email is tried next";

    fs::remove(m_folder / "xdg-email-args");
    portal.responseCode = 1; // the user dismissed the chooser
    EXPECT_TRUE(client().Compose(mail()));
    EXPECT_FALSE(xdgEmailRan());

    portal.respond = false; // a compose window may be open; do not open another
    EXPECT_TRUE(client(0, 200).Compose(mail()));
    EXPECT_FALSE(xdgEmailRan());

    // An older portal answers on a path of its own, named in its reply.
    portal.respond = true;
    portal.ownHandle = true;
    portal.responseCode = 2;
    EXPECT_TRUE(client(0, 3000).Compose(mail()));
    EXPECT_TRUE(xdgEmailRan()) << "its failure was not heard";
}

// A portal that is there but does not answer (still starting, or hung): the
// program, which waits on its GUI thread, asks for two seconds, then gives
// the message to xdg-email.
TEST_F(MailClientTest, AHungPortalHoldsTheProgramTwoSecondsAtMost) {
    FakePortal portal(m_bus.Connect("portal"));
    offerPortal(portal);
    QThread hung;
    hung.start();
    portal.moveToThread(&hung);
    QMetaObject::invokeMethod(&portal,
                              [] { std::this_thread::sleep_for(std::chrono::seconds(4)); });
    EXPECT_TRUE(client().Compose(mail()));
    EXPECT_TRUE(xdgEmailRan()) << "the portal's late answer was waited for";
    hung.quit();
    hung.wait();
    EXPECT_EQ(portal.calls, 0);
}

TEST_F(MailClientTest, WithoutAPortalXdgEmailIsUsedAndItsFailureReported) {
    EXPECT_TRUE(client(0).Compose(mail())) << "no portal on the bus";
    EXPECT_EQ(ReadFile(m_folder / "xdg-email-args"),
              "--utf8\n--subject\nPut your subject here\n--body\nText\n--\nend\n--attach\n" +
                  m_take + "\n--to\nsomeone@example.com\n");

    FakePortal portal(m_bus.Connect("portal"));
    offerPortal(portal, false);
    fs::remove(m_folder / "xdg-email-args");
    CapturedLog log("tapewren.platform.debug=true");
    EXPECT_FALSE(client(3).Compose(mail())) << "a portal without Email, and xdg-email failing";
    EXPECT_EQ(portal.calls, 0);
    EXPECT_TRUE(xdgEmailRan());
    EXPECT_EQ(log.Texts(QtDebugMsg, "tapewren.platform"),
              std::vector<QString>{"mail: no portal offers e-mail; using xdg-email"});
    const std::vector<QString> warnings = log.Texts(QtWarningMsg, "tapewren.platform");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].toStdString(),
              "mail: " + m_folder / "fake-xdg-email" + " failed (exit code 3)");

    DesktopMailClient::Options missing;
    missing.xdgEmail = QString::fromStdString(m_folder / "no-such-program");
    EXPECT_FALSE(DesktopMailClient(m_bus.Connect("program"), missing).Compose(mail()));
    EXPECT_TRUE(log.Texts(QtWarningMsg, "tapewren.platform")
                    .back()
                    .startsWith("mail: " + missing.xdgEmail + " cannot be started ("));
    EXPECT_EQ(ReadFile(m_take), "ID3-free MP3 bytes \x01\x02\xff") << "the file is not touched";
}

// Debian's own xdg-email, with MAILER naming a client that records the
// mailto address it was given: every text arrives whole, and no part of any
// of them runs as a command.
TEST_F(MailClientTest, XdgEmailPassesAwkwardTextsIntactAndRunsNothing) {
    const std::string client = m_folder / "client";
    const std::string received = m_folder / "received";
    WriteFile(client, "#!/bin/sh\nprintf '%s' \"$1\" > '" + received + "'\n");
    ::chmod(client.c_str(), 0755);
    // Relative: a path's "/" would split the awkward file name into folders.
    const std::string canary = "tapewren-canary-" + std::to_string(::getpid());
    fs::remove(canary);
    const std::string folder = m_folder / "-my takes $(touch " + canary + ") 'ü'";
    fs::create_directories(folder);
    const std::string take = folder + "/\"Grüße\" `touch " + canary + "`.mp3";
    WriteFile(take, "take");

    TEmail awkward;
    awkward.Recipient = "-o@example.com";
    awkward.Subject = "it's \"quoted\" $(touch " + canary + ") -x ü";
    awkward.Body = "-Grüße; `touch " + canary + "`\r\n\r\n--\r\nÆrø & co";
    awkward.Attachments = {take};

    const QByteArray oldLocale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C"); // where a conversion from the locale would drop letters
    qputenv("MAILER", client.c_str());
    DesktopMailClient::Options options; // the real xdg-email
    const bool reached = DesktopMailClient(m_bus.Connect("program"), options).Compose(awkward);
    qunsetenv("MAILER");
    qputenv("LC_ALL", oldLocale);
    ASSERT_TRUE(reached);

    const QString uri = QString::fromStdString(ReadFile(received));
    ASSERT_TRUE(uri.startsWith("mailto:?")) << uri.toStdString();
    std::map<std::string, std::vector<std::string>> fields;
    for (const QString& pair : uri.mid(8).split('&')) {
        const qsizetype eq = pair.indexOf('=');
        fields[pair.left(eq).toStdString()].push_back(
            QUrl::fromPercentEncoding(pair.mid(eq + 1).toUtf8()).toStdString());
    }
    EXPECT_EQ(fields["to"], std::vector<std::string>{awkward.Recipient});
    EXPECT_EQ(fields["subject"], std::vector<std::string>{awkward.Subject});
    EXPECT_EQ(fields["body"], std::vector<std::string>{awkward.Body});
    EXPECT_EQ(fields["attach"], std::vector<std::string>{take});
    EXPECT_FALSE(fs::exists(canary)) << "something ran a command from the texts";
    fs::remove(canary);
}

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

TEST(MailClientArguments, PortalOptionsCarryEachFieldAndLeaveOutEmptyOnes) {
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

TEST(MailClientArguments, XdgEmailGetsEachTextAsOneArgument) {
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

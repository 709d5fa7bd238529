#include "MessageBox.h"
#include "CapturedLog.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
class MessageBoxLog : public ::testing::Test {
protected:
    void SetUp() override { MessageBox::SetTestMode(false); }
    void TearDown() override { MessageBox::SetTestMode(true); }
};
} // namespace

// Once the program ends without asking, a box is only logged: under
// tapewren.ui, as a warning, once.
TEST_F(MessageBoxLog, ABoxAfterTheEndIsLoggedUnderTheUiCategory) {
    CapturedLog log;
    MessageBox::DismissAll();
    MessageBox::Error("Unable to write to /x/quillby.ini");
    EXPECT_FALSE(MessageBox::Confirm("Delete the take?")) << "unanswered: No";
    MessageBox::Fatal("Can not initiate defualt recording device.");
    EXPECT_EQ(log.Texts(QtWarningMsg, "tapewren.ui"),
              (std::vector<QString>{"Unable to write to /x/quillby.ini", "Delete the take?",
                                    "Can not initiate defualt recording device."}));
    EXPECT_EQ(log.Entries().size(), 3u) << "nothing twice, nothing elsewhere";
}

// A fatal error is logged before its box is shown, for whoever started the
// program from a terminal or a script.
TEST_F(MessageBoxLog, AFatalErrorIsLoggedAsCriticalBesidesItsBox) {
    CapturedLog log;
    QTimer::singleShot(100, [] {
        EXPECT_TRUE(MessageBox::AnyOpen()) << "the box is shown as well";
        MessageBox::DismissAll();
    });
    MessageBox::Fatal("No sound server.");
    EXPECT_EQ(log.Texts(QtCriticalMsg, "tapewren.ui"), std::vector<QString>{"No sound server."});
    EXPECT_TRUE(log.Texts(QtWarningMsg, "tapewren.ui").empty()) << "once";
}

TEST_F(MessageBoxLog, TheRulesOfQtLoggingRulesSilenceIt) {
    CapturedLog log("tapewren.*=false"); // as README.md says
    MessageBox::DismissAll();
    MessageBox::Fatal("quiet");
    EXPECT_TRUE(log.Entries().empty());
}

TEST_F(MessageBoxLog, InTestModeNothingIsLogged) {
    MessageBox::SetTestMode(true);
    CapturedLog log;
    MessageBox::Fatal("recorded, not logged");
    EXPECT_TRUE(log.Entries().empty());
    EXPECT_EQ(MessageBox::TakeShown().size(), 1u);
}

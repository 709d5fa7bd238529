#include "DiskSpaceGuard.h"
#include "FakeRecorderHost.h"
#include "Mount.h"
#include "TempFolder.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {
constexpr uint64_t kMinuteAt320 = 60 * 40000; // 320 kbps is 40000 bytes a second

TEST(MinutesLeftTest, ConstantRateFromTheBitRate) {
    EXPECT_DOUBLE_EQ(MinutesLeft(10 * kMinuteAt320, {320, false, 0, 0}), 10.0);
    EXPECT_DOUBLE_EQ(MinutesLeft(960000, {128, false, 0, 0}), 1.0) << "16000 bytes a second";
    EXPECT_DOUBLE_EQ(MinutesLeft(2 * 60 * 4000, {32, false, 0, 0}), 2.0);
    EXPECT_DOUBLE_EQ(MinutesLeft(0, {320, false, 0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(MinutesLeft(kMinuteAt320, {320, false, 123456789, 3.0}), 1.0)
        << "what a constant rate has written does not matter";
}

TEST(MinutesLeftTest, VariableRateFromWhatItWroteOverTheSound) {
    // 1.2 MB over a minute of sound: 20000 bytes a second at a 320 ceiling.
    EXPECT_DOUBLE_EQ(MinutesLeft(12000000, {320, true, 1200000, 60.0}), 10.0);
    EXPECT_DOUBLE_EQ(MinutesLeft(12000000, {320, true, 600000, 60.0}), 20.0);
    // Silence costs a variable rate little: 4000 bytes a second.
    EXPECT_DOUBLE_EQ(MinutesLeft(240000, {320, true, 40000, 10.0}), 1.0);
    // Before there is sound enough to judge by: the ceiling.
    EXPECT_DOUBLE_EQ(MinutesLeft(kMinuteAt320, {320, true, 0, 0}), 1.0);
    EXPECT_DOUBLE_EQ(MinutesLeft(kMinuteAt320, {320, true, 2000, 1.0}), 1.0);
}

class DiskSpaceGuardTest : public ::testing::Test {
protected:
    // The source texts are English; their plural forms come from its catalogue.
    void SetUp() override {
        ASSERT_TRUE(m_english.load(QStringLiteral(TAPEWREN_BINARY_DIR "/tapewren_en.qm")));
        QCoreApplication::installTranslator(&m_english);
        m_guard.TakeStarted(m_take);
    }
    void TearDown() override { QCoreApplication::removeTranslator(&m_english); }
    // The guard's timer does this every few seconds.
    void checkWith(uint64_t freeBytes) {
        m_free = freeBytes;
        m_guard.Check();
    }

    QTranslator m_english;
    TempFolder m_folder;
    FakeRecorderHost m_host;
    Recorder m_recorder{m_host, m_folder.Path()};
    std::optional<uint64_t> m_free = 100 * kMinuteAt320;
    std::vector<std::string> m_asked;
    DiskSpaceGuard m_guard{m_recorder, m_host, [this](const std::string& folder) {
                               m_asked.push_back(folder);
                               return m_free;
                           }};
    TakeInfo m_take{m_folder.Path(), 320, false, 88200};
};

TEST_F(DiskSpaceGuardTest, WarnsOnceAtTenMinutesLeftAndOnceAtOne) {
    checkWith(10 * kMinuteAt320 + 40000);
    EXPECT_TRUE(m_host.notifications.empty()) << "a second more than ten minutes";
    EXPECT_EQ(m_asked, std::vector<std::string>{m_folder.Path()}) << "the take's own folder";
    checkWith(10 * kMinuteAt320 - 40000);
    EXPECT_EQ(m_host.notifications,
              std::vector<std::string>{"Low disk space: room for 9 more minutes of recording."});
    checkWith(5 * kMinuteAt320);
    checkWith(kMinuteAt320 + 40000);
    EXPECT_EQ(m_host.notifications.size(), 1u) << "once";
    checkWith(kMinuteAt320 - 40000);
    checkWith(0);
    EXPECT_EQ(m_host.notifications,
              (std::vector<std::string>{"Low disk space: room for 9 more minutes of recording.",
                                        DiskSpaceGuard::kLastMinuteText}));
    m_free = std::nullopt;
    m_guard.Check();
    EXPECT_EQ(m_host.notifications.size(), 2u) << "an unreadable disk is no news";

    m_host.notifications.clear();
    m_guard.TakeEnded();
    m_guard.TakeStarted(m_take);
    checkWith(kMinuteAt320 * 3 / 2);
    EXPECT_EQ(m_host.notifications,
              std::vector<std::string>{"Low disk space: room for 1 more minute of recording."})
        << "a new take is warned afresh, with the minutes it has";
    m_host.notifications.clear();
    m_guard.TakeEnded();
    m_guard.TakeStarted(m_take);
    checkWith(20 * kMinuteAt320);
    checkWith(kMinuteAt320 / 2);
    EXPECT_EQ(m_host.notifications, std::vector<std::string>{DiskSpaceGuard::kLastMinuteText})
        << "space taken by another program at once: the graver news alone";
}

TEST_F(DiskSpaceGuardTest, VariableRateIsJudgedByWhatTheTakeWrote) {
    m_guard.TakeEnded();
    m_take.vbr = true;
    m_guard.TakeStarted(m_take);
    // Nine minutes at the ceiling, but the take writes a quarter of that.
    m_recorder.encodedSampleCount = 88200 * 2;
    checkWith(9 * kMinuteAt320);
    EXPECT_TRUE(m_host.notifications.empty()) << "two seconds are too few to judge by";
    m_recorder.encodedSampleCount = 88200 * 60;
    m_recorder.encodedByteCount = 600000; // 10000 bytes a second
    checkWith(9 * kMinuteAt320);
    EXPECT_TRUE(m_host.notifications.empty()) << "36 minutes at the take's own rate";
    checkWith(10 * 60 * 10000 - 10000);
    EXPECT_EQ(m_host.notifications,
              std::vector<std::string>{"Low disk space: room for 9 more minutes of recording."});
}

TEST_F(DiskSpaceGuardTest, RefusesATakeThatWouldNotLastAMinute) {
    m_free = kMinuteAt320 - 4096;
    EXPECT_EQ(m_guard.Refusal(m_take), DiskSpaceGuard::RefusalText(m_folder.Path()));
    EXPECT_EQ(DiskSpaceGuard::RefusalText("/home/u/takes/"),
              "Not enough free disk space to record: less than a minute of recording fits in "
              "/home/u/takes.");
    m_take.vbr = true;
    EXPECT_FALSE(m_guard.Refusal(m_take).empty()) << "a variable rate may reach its ceiling";
    m_take.bitRate = 128;
    EXPECT_EQ(m_guard.Refusal(m_take), "") << "2.4 MB is 2.5 minutes at 128 kbps";
    m_free = std::nullopt;
    m_take.bitRate = 320;
    EXPECT_EQ(m_guard.Refusal(m_take), "") << "creating the file will tell";
}

// Polish counts in three forms: 1 minutę, 2 to 4 (and 22 to 24) minuty, else minut.
TEST(LowSpaceTextTest, PolishCountsInItsThreeForms) {
    QTranslator polish;
    ASSERT_TRUE(polish.load(QStringLiteral(TAPEWREN_BINARY_DIR "/tapewren_pl.qm")));
    QCoreApplication::installTranslator(&polish);
    const std::string one = DiskSpaceGuard::LowSpaceText(1),
                      three = DiskSpaceGuard::LowSpaceText(3),
                      five = DiskSpaceGuard::LowSpaceText(5),
                      twelve = DiskSpaceGuard::LowSpaceText(12),
                      twentyTwo = DiskSpaceGuard::LowSpaceText(22);
    QCoreApplication::removeTranslator(&polish);
    EXPECT_EQ(one, "Mało miejsca na dysku: wystarczy jeszcze na 1 minutę nagrania.");
    EXPECT_NE(three.find(" 3 minuty "), std::string::npos) << three;
    EXPECT_NE(five.find(" 5 minut "), std::string::npos) << five;
    EXPECT_NE(twelve.find(" 12 minut "), std::string::npos) << twelve;
    EXPECT_NE(twentyTwo.find(" 22 minuty "), std::string::npos) << twentyTwo;
}

TEST(FreeDiskBytesTest, ReadsTheFileSystemOfTheFolder) {
    TempFolder folder;
    EXPECT_FALSE(FreeDiskBytes(folder / "no such folder"));
    const TestMount disk = TestMount::Tmpfs(folder.Path(), "1m");
    if (!disk.Ok())
        GTEST_SKIP() << "cannot mount a tmpfs here";
    EXPECT_EQ(FreeDiskBytes(folder.Path()), 1u << 20);
    WriteFile(folder / "a", std::string(100000, 'x'));
    EXPECT_EQ(FreeDiskBytes(folder.Path()), (1u << 20) - 25 * 4096) << "in whole pages";
}
} // namespace

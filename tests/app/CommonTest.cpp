#include "Common.h"
#include "InstanceLock.h"
#include "TempFolder.h"

#include <QUrl>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(FormatDuration, RoundsHalvesToTheEvenSecond) {
    EXPECT_EQ(FormatDuration(0), "00:00:00");
    EXPECT_EQ(FormatDuration(500), "00:00:00");
    EXPECT_EQ(FormatDuration(501), "00:00:01");
    EXPECT_EQ(FormatDuration(1500), "00:00:02");
    EXPECT_EQ(FormatDuration(2500), "00:00:02");
    EXPECT_EQ(FormatDuration(59999), "00:01:00");
    EXPECT_EQ(FormatDuration(3600000 - 500), "01:00:00");
    EXPECT_EQ(FormatDuration(3725499), "01:02:05");
    EXPECT_EQ(FormatDuration(3725500), "01:02:06");
}

TEST(FormatDuration, HoursAreNotWrappedAndTakeTheDigitsTheyNeed) {
    EXPECT_EQ(FormatDuration(100 * 3600 * 1000), "100:00:00");
    EXPECT_EQ(FormatDuration(25 * 3600 * 1000 + 61000), "25:01:01");
}

TEST(Paths, TrailingSeparator) {
    EXPECT_EQ(WithTrailingSeparator(""), "");
    EXPECT_EQ(WithTrailingSeparator("/opt/tapewren"), "/opt/tapewren/");
    EXPECT_EQ(WithTrailingSeparator("/opt/tapewren/"), "/opt/tapewren/");
    EXPECT_EQ(WithTrailingSeparator("C:"), "C:/") << "a colon separates nothing here";
}

TEST(Paths, ProgramFolderIsTheExecutablesFolder) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(fs::canonical(folder), fs::canonical("/proc/self/exe").parent_path());
}

TEST(Shell, AddressesGoAsTheyAreAndPathsAsLocalFiles) {
    const QUrl web = ShellUrl("https://example.org/support?page=2#faq");
    EXPECT_FALSE(web.isLocalFile());
    EXPECT_EQ(web.toString(), "https://example.org/support?page=2#faq");
    EXPECT_EQ(ShellUrl("mailto:me@example.org?subject=take").toString(),
              "mailto:me@example.org?subject=take");
    for (const std::string path : {"/tmp/take #1?.mp3", "/opt/tapewren/Tapewren.chm"}) {
        const QUrl file = ShellUrl(path);
        EXPECT_TRUE(file.isLocalFile()) << path;
        EXPECT_EQ(file.toLocalFile().toStdString(), path);
    }
}

TEST(InstanceLock, OneHolderPerDataFolderWhateverTheSession) {
    TempFolder data, other;
    {
        InstanceLock first(data.Path(), "Quillby 20050624");
        ASSERT_TRUE(first.TryAcquire());
        // Another session has a runtime folder of its own; the data folder decides.
        ::setenv("XDG_RUNTIME_DIR", other.Path().c_str(), 1);
        InstanceLock second(data.Path(), "Quillby 20050624");
        EXPECT_FALSE(second.TryAcquire());
        InstanceLock elsewhere(other.Path(), "Quillby 20050624");
        EXPECT_TRUE(elsewhere.TryAcquire());
    }
    InstanceLock again(data.Path(), "Quillby 20050624");
    EXPECT_TRUE(again.TryAcquire());
    EXPECT_TRUE(fs::exists(data / "Quillby-20050624.lock"));
}

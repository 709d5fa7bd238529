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

TEST(RecreateFolder, EmptiesReadOnlyFilesAndNestedFolders) {
    TempFolder temp;
    const std::string work = temp / "tmp";
    fs::create_directories(work + "/nested/deeper");
    WriteFile(work + "/tmpfile1.mp3", "old take");
    WriteFile(work + "/nested/deeper/locked", "x");
    ::chmod((work + "/tmpfile1.mp3").c_str(), 0444);
    ::chmod((work + "/nested/deeper/locked").c_str(), 0444);
    ::chmod((work + "/nested/deeper").c_str(), 0555);

    RecreateFolder(work);

    ASSERT_TRUE(fs::is_directory(work));
    EXPECT_TRUE(fs::is_empty(work));
}

TEST(RecreateFolder, CreatesMissingParents) {
    TempFolder temp;
    RecreateFolder(temp / "a/b/tmp");
    EXPECT_TRUE(fs::is_directory(temp / "a/b/tmp"));
}

TEST(RecreateFolder, DoesNotFollowALinkOutOfTheFolder) {
    TempFolder temp;
    fs::create_directories(temp / "outside/inner");
    WriteFile(temp / "outside/keep", "precious");
    ::chmod((temp / "outside/keep").c_str(), 0444);
    ::chmod((temp / "outside/inner").c_str(), 0500);
    fs::create_directories(temp / "tmp");
    fs::create_directory_symlink(temp / "outside/inner", temp / "tmp/link");
    fs::create_symlink(temp / "outside/keep", temp / "tmp/file-link");

    RecreateFolder(temp / "tmp");

    EXPECT_TRUE(fs::is_empty(temp / "tmp"));
    EXPECT_EQ(ReadFile(temp / "outside/keep"), "precious");
    const auto mode = [](const std::string& path) {
        struct stat st {};
        ::stat(path.c_str(), &st);
        return st.st_mode & 07777;
    };
    EXPECT_EQ(mode(temp / "outside/keep"), 0444u) << "permissions outside are left alone";
    EXPECT_EQ(mode(temp / "outside/inner"), 0500u);
    ::chmod((temp / "outside/inner").c_str(), 0700);
}

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstLetsGo) {
    TempFolder temp;
    ::setenv("XDG_RUNTIME_DIR", temp.Path().c_str(), 1);
    {
        InstanceLock first("Quillby 20050624");
        ASSERT_TRUE(first.TryAcquire());
        InstanceLock second("Quillby 20050624");
        EXPECT_FALSE(second.TryAcquire());
        InstanceLock other("Another 1");
        EXPECT_TRUE(other.TryAcquire());
    }
    InstanceLock again("Quillby 20050624");
    EXPECT_TRUE(again.TryAcquire());
    EXPECT_EQ(InstanceLock::LockFilePath("Quillby 20050624").rfind(temp.Path(), 0), 0u);
}

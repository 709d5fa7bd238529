#include "Common.h"
#include "CommandLine.h"
#include "InstanceLock.h"
#include "ProgramFiles.h"
#include "ShortCut.h"
#include "TempFolder.h"

#include <QUrl>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

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

TEST(Paths, PrivateFoldersAreMadeForTheUserAlone) {
    TempFolder temp;
    ASSERT_TRUE(MakePrivateFolder(temp / "a/b/c/"));
    for (const char* folder : {"a", "a/b", "a/b/c"})
        EXPECT_EQ(fs::status(temp / folder).permissions(), fs::perms::owner_all) << folder;
    ::chmod((temp / "a").c_str(), 0755);
    EXPECT_TRUE(MakePrivateFolder(temp / "a/b"));
    EXPECT_EQ(fs::status(temp / "a").permissions(), fs::perms(0755)) << "what exists stays";
    WriteFile(temp / "file", "");
    EXPECT_FALSE(MakePrivateFolder(temp / "file/x"));
}

TEST(ProgramFiles, InTheUsersFoldersUnlessAQuillbyIniLiesBesideTheProgram) {
    FreshHome user;
    TempFolder program;
    WriteFile(program / "tapewren", "");
    const ProgramFiles files = LocateProgramFiles(program.Path());
    EXPECT_FALSE(files.portable);
    EXPECT_EQ(files.settingsFile, user.home / "config/tapewren/quillby.ini");
    EXPECT_EQ(files.takesFolder, user.home / "state/tapewren/tmp/");
    EXPECT_EQ(files.lockFolder, user.home / "state/tapewren/");
    for (const char* folder : {"config/tapewren", "state/tapewren"})
        EXPECT_EQ(fs::status(user.home / folder).permissions(), fs::perms::owner_all) << folder;
    EXPECT_EQ(fs::directory_iterator(program.Path())->path().filename(), "tapewren")
        << "nothing written beside the program";

    // Relative base folders are invalid and ignored.
    ScopedVariable relative("XDG_CONFIG_HOME", "config");
    ScopedVariable home("HOME", user.home / "home");
    EXPECT_EQ(LocateProgramFiles(program.Path()).settingsFile,
              user.home / "home/.config/tapewren/quillby.ini");

    WriteFile(program / "quillby.ini", "");
    const ProgramFiles portable = LocateProgramFiles(program.Path());
    EXPECT_TRUE(portable.portable);
    EXPECT_EQ(portable.settingsFile, program / "quillby.ini");
    EXPECT_EQ(portable.takesFolder, program / "tmp/");
    EXPECT_EQ(portable.lockFolder, program.Path());
}

TEST(ProgramFiles, BesideAnInstalledProgramNothingIsEverLookedAt) {
    FreshHome user;
    EXPECT_TRUE(IsInstalledFolder("/usr/bin/"));
    EXPECT_TRUE(IsInstalledFolder("/usr/local/bin"));
    TempFolder prefix;
    fs::create_directories(prefix / "bin");
    WriteFile(prefix / "bin/quillby.ini", "[Recorder]\n");
    EXPECT_FALSE(IsInstalledFolder(prefix / "bin/"));
    EXPECT_TRUE(LocateProgramFiles(prefix / "bin/").portable) << "an unpacked copy";
    fs::create_directories(prefix / "share/tapewren");
    EXPECT_TRUE(IsInstalledFolder(prefix / "bin/"));
    EXPECT_EQ(LocateProgramFiles(prefix / "bin/").settingsFile,
              user.home / "config/tapewren/quillby.ini");
}

TEST(CommandLine, QtsOwnOptionsAreAcceptedWithTheirValues) {
    struct Case {
        std::vector<const char*> args;
        CommandLine::Action action;
    };
    const Case cases[] = {
        {{"-platform", "offscreen"}, CommandLine::Action::Run},
        {{"--platform", "xcb", "-style", "Fusion", "w"}, CommandLine::Action::Run},
        {{"-style=Fusion", "-reverse", "-display", ":1"}, CommandLine::Action::Run},
        {{"-stylesheet", "a.qss", "--version"}, CommandLine::Action::Version},
        {{"-platform"}, CommandLine::Action::Run},
        {{"-style", "--bogus"}, CommandLine::Action::Run},
        {{"-platforms", "x"}, CommandLine::Action::UnknownOption},
        {{"-reverse=1"}, CommandLine::Action::UnknownOption},
        {{"record-stop"}, CommandLine::Action::RecordStop},
        {{"-style", "Fusion", "pause-resume", "record-stop"}, CommandLine::Action::PauseResume},
        {{"record-stop", "--bogus"}, CommandLine::Action::UnknownOption},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("tapewren")};
        for (const char* arg : c.args)
            argv.push_back(const_cast<char*>(arg));
        EXPECT_EQ(ParseCommandLine(static_cast<int>(argv.size()), argv.data()).action, c.action)
            << c.args.front();
    }
}

TEST(HotKeys, ShortCutTexts) {
    EXPECT_EQ(ShortCutToText(0xC04F), "Ctrl+Alt+O");
    EXPECT_EQ(ShortCutToText(0xC050), "Ctrl+Alt+P");
    EXPECT_EQ(ShortCutToText(0xE031), "Shift+Ctrl+Alt+1");
    EXPECT_EQ(ShortCutToText(0x2041), "Shift+A");
}

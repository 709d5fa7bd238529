#include "Autostart.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
// Points XDG_CONFIG_HOME at a fresh folder for the test's lifetime.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            m_old = old;
        ::setenv("XDG_CONFIG_HOME", m_config.Path().c_str(), 1);
    }
    void TearDown() override {
        if (m_old)
            ::setenv("XDG_CONFIG_HOME", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    std::string entry() const { return m_config / "autostart/io.github.tapewren.Tapewren.desktop"; }

    TempFolder m_config;
    std::optional<std::string> m_old;
};

int run(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
} // namespace

TEST_F(AutostartTest, OffByDefaultThenSwitchedOnAndOff) {
    EXPECT_EQ(AutostartFile(), entry());
    EXPECT_FALSE(IsAutostartOn());
    ASSERT_TRUE(SetAutostart(true, "/usr/bin/tapewren"));
    EXPECT_TRUE(IsAutostartOn());
    const std::string text = ReadFile(entry());
    EXPECT_NE(text.find("\nExec=\"/usr/bin/tapewren\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nComment[de]=Tonaufnahme mit einem Klick im Systembereich\n"),
              std::string::npos)
        << "the session settings show it in the user's language";
    if (run("command -v desktop-file-validate >/dev/null") == 0) {
        EXPECT_EQ(run("desktop-file-validate '" + entry() + "'"), 0) << text;
    }
    ASSERT_TRUE(SetAutostart(false, "/usr/bin/tapewren"));
    EXPECT_FALSE(fs::exists(entry()));
    EXPECT_FALSE(IsAutostartOn());
    EXPECT_TRUE(SetAutostart(false, "/usr/bin/tapewren")) << "off when already off";
    // A lone "%" would start a field code.
    ASSERT_TRUE(SetAutostart(true, "/opt/100% sure/tapewren"));
    EXPECT_NE(ReadFile(entry()).find("\nExec=\"/opt/100%% sure/tapewren\"\n"), std::string::npos)
        << ReadFile(entry());
}

TEST_F(AutostartTest, AnEntryTheUserDisabledInTheSessionSettingsCountsAsOff) {
    ASSERT_TRUE(SetAutostart(true, "/usr/bin/tapewren"));
    WriteFile(entry(), ReadFile(entry()) + "Hidden=true\n");
    EXPECT_FALSE(IsAutostartOn());
}

TEST_F(AutostartTest, TheEntryStartsAProgramWhoseFolderHoldsOddCharacters) {
    if (run("command -v gio >/dev/null") != 0)
        GTEST_SKIP() << "gio (libglib2.0-bin) launches desktop entries independently of us";
    // No "%": GLib's launchers look for the program before they undo its escape.
    const std::string folder = m_config / "my \"odd\" $HOME `x` \\ folder";
    fs::create_directories(folder);
    const std::string program = folder + "/tapewren";
    const std::string marker = m_config / "started";
    WriteFile(program, "#!/bin/sh\necho \"$0\" > '" + marker + "'\n");
    ::chmod(program.c_str(), 0755);
    ASSERT_TRUE(SetAutostart(true, program));
    ASSERT_EQ(run("gio launch '" + entry() + "' 2>/dev/null"), 0) << ReadFile(entry());
    // The shell makes the file before it writes the line: wait for the line.
    for (int i = 0; i < 100 && !(fs::exists(marker) && ReadFile(marker).ends_with('\n')); ++i)
        run("sleep 0.05");
    EXPECT_EQ(ReadFile(marker), program + "\n") << "gio launch never ran the program";
}

TEST_F(AutostartTest, AFolderThatCannotBeMadeIsReported) {
    WriteFile(m_config / "autostart", "a file where the folder should be");
    EXPECT_FALSE(SetAutostart(true, "/usr/bin/tapewren"));
    EXPECT_FALSE(IsAutostartOn());
}

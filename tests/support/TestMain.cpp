#include "StopOnExit.h"

// Each test executable links only its own floor and those below it; what it
// has of these is told by the build.
#ifdef TAPEWREN_TEST_DIALOGS
#include "DialogRunner.h"
#include "MessageBox.h"
#endif
#ifdef TAPEWREN_TEST_AUDIO
#include "VolumeGuard.h"
#endif

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <thread>
#include <unistd.h>

namespace {
std::mutex commandsMutex;
#ifdef TAPEWREN_TEST_DIALOGS
// A test's answers to dialogs, and an end it played, end with it.
class ClearDialogAnswers : public ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override {
        DialogRunner::Clear();
        MessageBox::SetTestMode(true);
    }
};
#endif
std::multiset<std::string> commands;
} // namespace

StopOnExit::StopOnExit(std::string command) : m_command(std::move(command)) {
    std::lock_guard lock(commandsMutex);
    commands.insert(m_command);
}

StopOnExit::~StopOnExit() {
    {
        std::lock_guard lock(commandsMutex);
        commands.erase(commands.find(m_command));
    }
    if (std::system(m_command.c_str()) != 0)
        std::fprintf(stderr, "failed: %s\n", m_command.c_str());
}

int main(int argc, char** argv) {
#ifdef TAPEWREN_TEST_AUDIO
    // Tests of the real sound server start the volume guard from their own executable.
    if (int code = 0; RunVolumeGuardIfAsked(argc, argv, &code))
        return code;
#endif
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Ends the tests a little before ctest would kill them, stopping first
    // what they started outside.
    if (const int limit = qEnvironmentVariableIntValue("TAPEWREN_TEST_LIMIT"); limit > 0)
        std::thread([limit] {
            std::this_thread::sleep_for(std::chrono::seconds(limit));
            std::fprintf(stderr, "TIMEOUT: still running after %d s\n", limit);
            std::lock_guard lock(commandsMutex);
            for (const std::string& command : commands)
                if (std::system(command.c_str()) != 0)
                    std::fprintf(stderr, "failed: %s\n", command.c_str());
            _exit(124);
        }).detach();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
#ifdef TAPEWREN_TEST_DIALOGS
    MessageBox::SetTestMode(true);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ClearDialogAnswers);
#endif
    return RUN_ALL_TESTS();
}

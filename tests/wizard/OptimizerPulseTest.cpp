// The volume search against the real PulseAudio daemon of the test desktop
// (scripts/desktop.sh): a tone played into the null sink "spk" is captured
// from "Monitor of Speakers" while the search turns that source down.
#include "Bass.h"
#include "FakeOptimizerHost.h"
#include "PulseBackend.h"
#include "VolumeOptimizer.h"

#include "PulseTools.h"
#include "SpinUntil.h"
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {
// The monitor's volume as the server reports it, in its percent (rounded).
int monitorPercent() {
    const std::string out = run("pactl get-source-volume spk.monitor");
    const auto slash = out.find('/');
    if (slash == std::string::npos)
        return -1;
    return std::atoi(out.c_str() + slash + 1);
}

// A sine at the given amplitude (1.0 = full scale) played into "spk" with
// low latency, in a process group of its own. A minute at most, so that a
// test that dies leaves no player behind for long. sox makes a synthesised sine
// at exactly 1.0 3 dB quieter (measured), so full scale is asked as 0.999.
class Tone {
public:
    explicit Tone(double amplitude) {
        std::ostringstream command;
        command << "sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 60 sine 440 vol "
                << std::min(amplitude, 0.999)
                << " | pacat --latency-msec=10 --rate=44100 --channels=2 --format=s16le "
                   "--client-name=wizard-test-tone -d spk >/dev/null 2>&1";
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setpgid(0, 0);
            ::execl("/bin/bash", "bash", "-c", command.str().c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::setpgid(m_pid, m_pid);
    }
    ~Tone() {
        if (m_pid <= 0)
            return;
        ::kill(-m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
    }
    Tone(const Tone&) = delete;
    Tone& operator=(const Tone&) = delete;

private:
    pid_t m_pid = -1;
};

class OptimizerPulseTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("XDG_RUNTIME_DIR") || run("pactl info").empty())
            GTEST_SKIP() << "needs the test desktop (scripts/desktop.sh)";
        // Other players on "spk" (the desktop's own tone) would mix into ours.
        const std::string sink = run("pactl list short sinks | awk '$2 == \"spk\" { printf $1 }'");
        m_muted =
            run("pactl list short sink-inputs | awk -v s=" + sink + " '$2 == s { print $1 }'");
        setMute(true);
        BASS_SetBackend(std::make_unique<PulseBackend>());
        ASSERT_TRUE(BASS_RecordInit(-1));
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
        m_monitor = findInput("Monitor of Speakers");
        ASSERT_GE(m_monitor, 0);
    }
    void TearDown() override {
        BASS_RecordFree();
        BASS_Free();
        BASS_SetBackend(nullptr);
        setMute(false);
        run("pactl set-source-volume spk.monitor 100%");
    }
    void setMute(bool on) {
        std::istringstream ids(m_muted);
        for (std::string id; ids >> id;)
            run("pactl set-sink-input-mute " + id + (on ? " 1" : " 0"));
    }
    // True once the volume has held still for the given number of refreshes.
    bool settles(int refreshes, int ms) {
        int still = 0;
        int last = optimizer.Volume();
        int seen = host.levelUpdates;
        return spinUntil(
            [&] {
                if (still >= refreshes || host.levelUpdates == seen)
                    return still >= refreshes;
                seen = host.levelUpdates;
                still = optimizer.Volume() == last ? still + 1 : 0;
                last = optimizer.Volume();
                return still >= refreshes;
            },
            ms);
    }

    std::string m_muted;
    int m_monitor = -1;
    FakeOptimizerHost host;
    VolumeOptimizer optimizer{host};
};
} // namespace

TEST_F(OptimizerPulseTest, AFullScaleToneIsTurnedDownUntilItsLeftLevelStaysAtMost120) {
    Tone tone(1.0);
    optimizer.ComboRecChannelChange(m_monitor);
    ASSERT_TRUE(host.errors.empty());
    ASSERT_TRUE(spinUntil([&] { return optimizer.Volume() < 100; }, 10000))
        << "the tone never reached the search";
    // Still for 90 refreshes: about three seconds of blocks.
    ASSERT_TRUE(settles(90, 60000)) << "still falling at " << optimizer.Volume();
    const int settled = optimizer.Volume();
    int highest = 0;
    const int seen = host.levelUpdates;
    spinUntil(
        [&] {
            highest = std::max(highest, host.left);
            return host.levelUpdates >= seen + 30;
        },
        10000);
    std::printf("settled at %d %%, captured left level at most %d\n", settled, highest);
    RecordProperty("settled_percent", settled);
    RecordProperty("left_level", highest);
    EXPECT_LT(settled, 100);
    EXPECT_GT(settled, 50) << "a full-scale tone needs only a little less";
    EXPECT_LE(highest, 120);
    EXPECT_GT(highest, 90) << "the tone is still there";
    EXPECT_EQ(monitorPercent(), optimizer.Volume()) << "the server has the volume last sent";
}

TEST_F(OptimizerPulseTest, AQuietToneLeavesTheVolumeAt100) {
    Tone tone(0.05);
    optimizer.ComboRecChannelChange(m_monitor);
    ASSERT_TRUE(host.errors.empty());
    ASSERT_TRUE(spinUntil([&] { return host.left >= 5; }, 10000)) << "the tone never arrived";
    const int seen = host.levelUpdates;
    ASSERT_TRUE(spinUntil([&] { return host.levelUpdates >= seen + 60; }, 20000))
        << "sixty more level updates never came";
    EXPECT_EQ(optimizer.Volume(), 100);
    EXPECT_EQ(monitorPercent(), 100);
}

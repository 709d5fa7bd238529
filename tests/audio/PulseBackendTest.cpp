// Against the real PulseAudio daemon of the test desktop (scripts/desktop.sh):
// a null sink "spk" whose monitor is "Monitor of Speakers", and a 440 Hz sine
// source "line" at amplitude 0.5, with a tone playing into "spk".
#include "PulseBackend.h"
#include "Bass.h"
#include "PulseLoop.h"

#include "AudioCheck.h"
#include "PulseTools.h"
#include "StopOnExit.h"
#include <gtest/gtest.h>
#include <pulse/mainloop-api.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>

namespace {
// A test that fails half way leaves its capture running: stopped here,
// before the counters its callback writes go.
struct Capture {
    ~Capture() { BASS_ChannelStop(kRecordChannel); }
    std::atomic<int> blocks{0};
    std::atomic<long> bytes{0};
    std::atomic<bool> inside{false};
    std::atomic<int> failures{0};
    std::atomic<DWORD> minLeft{1000}, maxLeft{0}, minRight{1000}, maxRight{0};
};

bool onBlock(const void*, DWORD length, void* user) {
    auto* c = static_cast<Capture*>(user);
    c->inside = true;
    const DWORD level = BASS_ChannelGetLevel(1);
    const DWORD left = level & 0xFFFF, right = level >> 16;
    // The first block may start at a quiet part of the wave; count whole ones.
    if (length >= 4410 * 4) {
        c->minLeft = std::min<DWORD>(c->minLeft, left);
        c->maxLeft = std::max<DWORD>(c->maxLeft, left);
        c->minRight = std::min<DWORD>(c->minRight, right);
        c->maxRight = std::max<DWORD>(c->maxRight, right);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    c->blocks++;
    c->bytes += length;
    c->inside = false;
    return true;
}

// Counts and returns at once.
bool countOnly(const void*, DWORD, void* user) {
    static_cast<Capture*>(user)->blocks++;
    return true;
}

void onFailure(void* user) {
    static_cast<Capture*>(user)->failures++;
}

template <typename Pred> bool waitUntil(Pred pred, int ms) {
    for (int i = 0; i < ms / 10 && !pred(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return pred();
}

class PulseTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("XDG_RUNTIME_DIR") || run("pactl info").empty())
            GTEST_SKIP() << "needs the test desktop (scripts/desktop.sh)";
        BASS_SetBackend(std::make_unique<PulseBackend>());
        ASSERT_TRUE(BASS_RecordInit(-1));
        ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    }
    void TearDown() override {
        BASS_RecordFree();
        BASS_Free();
        BASS_SetBackend(nullptr);
    }
};
} // namespace

TEST_F(PulseTest, InputsAreTheSourcesWithMonitorsAsWaveOutput) {
    const int monitor = findInput("Monitor of Speakers");
    const int tone = findInput("Sine source at 440 Hz");
    ASSERT_GE(monitor, 0);
    ASSERT_GE(tone, 0);
    EXPECT_EQ(BASS_RecordGetInput(monitor) >> 24, 0x08u);
    EXPECT_NE(BASS_RecordGetInput(tone) >> 24, 0x08u);
}

TEST_F(PulseTest, SwitchingOnSetsTheVolumeThatTheServerReports) {
    const int tone = findInput("Sine source at 440 Hz");
    ASSERT_GE(tone, 0);
    for (int i = 0; BASS_RecordSetInput(i, BASS_INPUT_OFF); ++i) {
    }
    ASSERT_TRUE(BASS_RecordSetInput(tone, 0x60000 + 37));
    EXPECT_NE(run("pactl get-source-volume line").find("37%"), std::string::npos);
    EXPECT_EQ(BASS_RecordGetInput(tone) & 0xFFFF, 37u);
    EXPECT_EQ(run("pactl get-source-mute line").find("yes"), std::string::npos)
        << "switching off never mutes a source others may use";
    ASSERT_TRUE(BASS_RecordSetInput(tone, 0x60000 + 100));
    EXPECT_NE(run("pactl get-source-volume line").find("100%"), std::string::npos);
}

// Sources come and go while one is chosen: the choice is kept by its name.
TEST_F(PulseTest, TheChosenSourceStaysChosenWhenOneBeforeItGoes) {
    const auto load = [](const std::string& args) {
        const std::string module = run("pactl load-module module-sine-source " + args);
        return module.substr(0, module.find('\n'));
    };
    const std::string before = load("source_name=ta frequency=600 rate=44100");
    const std::string chosen = load("source_name=tb frequency=1500 rate=44100");
    StopOnExit unloadBefore("pactl unload-module " + before + " 2>/dev/null");
    StopOnExit unloadChosen("pactl unload-module " + chosen);
    ASSERT_TRUE(waitUntil([] { return findInput("Sine source at 1500 Hz") >= 0; }, 2000))
        << "the 1500 Hz source never came up";
    ASSERT_TRUE(BASS_RecordSetInput(findInput("Sine source at 1500 Hz"), BASS_INPUT_ON | 100));
    run("pactl unload-module " + before);
    ASSERT_TRUE(waitUntil([] { return findInput("Sine source at 600 Hz") < 0; }, 2000))
        << "the 600 Hz source never went";
    struct Kept {
        std::mutex mutex;
        Decoded sound{2, 44100, {}};
    } kept;
    const auto keep = [](const void* data, DWORD length, void* user) {
        auto* k = static_cast<Kept*>(user);
        const auto* pcm = static_cast<const int16_t*>(data);
        std::lock_guard lock(k->mutex);
        k->sound.samples.insert(k->sound.samples.end(), pcm, pcm + length / 2);
        return true;
    };
    ASSERT_EQ(BASS_RecordStart(44100, 0, keep, &kept), kRecordChannel);
    EXPECT_TRUE(waitUntil(
        [&] {
            std::lock_guard lock(kept.mutex);
            return kept.sound.Frames() >= 44100;
        },
        8000))
        << "no second of the chosen source came";
    BASS_ChannelStop(kRecordChannel);
    EXPECT_GT(ToneLevel(kept.sound, 0, 1500), 0.3) << "another source was recorded";
}

TEST_F(PulseTest, RecordingTheToneGivesHalfScaleOnBothChannels) {
    const int tone = findInput("Sine source at 440 Hz");
    ASSERT_GE(tone, 0);
    ASSERT_TRUE(BASS_RecordSetInput(tone, 0x60000 + 100));
    Capture capture;
    ASSERT_EQ(BASS_RecordStart(44100, 0, onBlock, &capture, onFailure), kRecordChannel);
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PLAYING);
    // The sine source hands out its samples in bursts of up to two seconds.
    EXPECT_TRUE(waitUntil([&] { return capture.bytes >= 2 * 44100 * 4; }, 8000))
        << "two seconds of blocks never came";
    BASS_ChannelStop(1);
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
    EXPECT_GE(capture.minLeft, 62u);
    EXPECT_LE(capture.maxLeft, 66u);
    EXPECT_GE(capture.minRight, 62u);
    EXPECT_LE(capture.maxRight, 66u);
    EXPECT_EQ(capture.failures, 0);
}

TEST_F(PulseTest, NoCallbackRunsOnceStopHasReturned) {
    const int monitor = findInput("Monitor of Speakers");
    ASSERT_GE(monitor, 0);
    ASSERT_TRUE(BASS_RecordSetInput(monitor, 0x60000 + 100));
    for (int round = 0; round < 5; ++round) {
        Capture capture;
        ASSERT_TRUE(BASS_RecordStart(48000, BASS_SAMPLE_MONO, onBlock, &capture));
        ASSERT_TRUE(waitUntil([&] { return capture.blocks >= 2 + round; }, 3000))
            << "the blocks never came";
        BASS_ChannelStop(1);
        EXPECT_FALSE(capture.inside);
        const int seen = capture.blocks;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_EQ(capture.blocks, seen);
    }
}

TEST_F(PulseTest, NoBlockArrivesWhilePausedAndResumeBringsThemBack) {
    const int monitor = findInput("Monitor of Speakers");
    ASSERT_GE(monitor, 0);
    ASSERT_TRUE(BASS_RecordSetInput(monitor, 0x60000 + 100));
    Capture capture;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, countOnly, &capture, onFailure));
    for (int round = 0; round < 3; ++round) {
        const int before = capture.blocks;
        ASSERT_TRUE(waitUntil([&] { return capture.blocks >= before + 3; }, 3000))
            << "the blocks stopped before the pause";
        ASSERT_TRUE(BASS_ChannelPause(1));
        EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PAUSED);
        const int atPause = capture.blocks;
        // What the server had on its way when the cork came is dropped too;
        // ten fragments' time shows that nothing more comes.
        ASSERT_TRUE(waitUntil(
            [] {
                return run("pactl list source-outputs").find("Corked: yes") != std::string::npos;
            },
            3000))
            << "the server never corked the stream";
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        EXPECT_EQ(capture.blocks, atPause) << "round " << round;
        ASSERT_TRUE(BASS_ChannelResume(1));
        EXPECT_TRUE(waitUntil([&] { return capture.blocks > atPause; }, 3000))
            << "no block came after the resume";
    }
    BASS_ChannelStop(1);
    EXPECT_EQ(capture.failures, 0);
}

TEST_F(PulseTest, BlocksArriveWithinAFractionOfASecond) {
    const int monitor = findInput("Monitor of Speakers");
    ASSERT_TRUE(BASS_RecordSetInput(monitor, 0x60000 + 100));
    Capture capture;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(BASS_RecordStart(44100, 0, onBlock, &capture));
    ASSERT_TRUE(waitUntil([&] { return capture.blocks >= 1; }, 3000)) << "no first block";
    BASS_ChannelStop(1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000))
        << "the server's default two-second fragment would hold the first block back";
}

namespace {
// When each block came, to tell the rounds of the capture thread apart.
struct Rounds {
    ~Rounds() { BASS_ChannelStop(kRecordChannel); }
    std::atomic<long> bytes{0};
    std::atomic<int> blocks{0};
    std::atomic<int> longGaps{0}; // waits of more than 50 ms between blocks
    std::chrono::steady_clock::time_point last{};
};

bool timeBlock(const void*, DWORD length, void* user) {
    auto* r = static_cast<Rounds*>(user);
    const auto now = std::chrono::steady_clock::now();
    if (r->blocks > 0 && now - r->last > std::chrono::milliseconds(50))
        r->longGaps++;
    r->last = now;
    r->blocks++;
    r->bytes += length;
    return true;
}

// Records "Monitor of Speakers" with the period given, until the first block.
bool recordMonitor(DWORD period, Rounds& rounds) {
    const int monitor = findInput("Monitor of Speakers");
    return BASS_RecordSetInput(monitor, 0x60000 + 100) &&
           BASS_RecordStart(44100, MAKELONG(0, period), timeBlock, &rounds) &&
           waitUntil([&] { return rounds.blocks >= 1; }, 3000);
}

double secondsSince(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}
} // namespace

// A 20 Hz wave in the 10 ms pieces of a low-latency player: a fifth of a
// period each. The meter looks four times a second, and each look reads the
// loudest since the last, so a steady tone reads steady.
TEST_F(PulseTest, TheLevelIsTheLoudestSinceTheLastLook) {
    const std::string sink = run("pactl load-module module-null-sink sink_name=meter "
                                 "sink_properties=device.description=Meter");
    StopOnExit unload("pactl unload-module " + sink.substr(0, sink.find('\n')));
    StopOnExit player("pkill -f '[s]ynth 30 sine 20'");
    ASSERT_EQ(std::system("sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - synth 30 sine 20 "
                          "vol 0.5 | pacat --latency-msec=10 --rate=44100 --channels=2 "
                          "--format=s16le -d meter 2>/dev/null &"),
              0);
    ASSERT_TRUE(waitUntil([] { return findInput("Monitor of Meter") >= 0; }, 2000))
        << "the meter sink's monitor never came up";
    ASSERT_TRUE(BASS_RecordSetInput(findInput("Monitor of Meter"), 0x60000 + 100));
    Rounds rounds;
    ASSERT_TRUE(BASS_RecordStart(44100, MAKELONG(0, 250), timeBlock, &rounds));
    ASSERT_TRUE(waitUntil([&] { return rounds.blocks >= 1; }, 5000)) << "no first block";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    BASS_ChannelGetLevel(1);
    DWORD lowest = 1000, highest = 0;
    for (int look = 0; look < 8; ++look) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        const DWORD left = BASS_ChannelGetLevel(1) & 0xFFFF;
        lowest = std::min(lowest, left);
        highest = std::max(highest, left);
    }
    BASS_ChannelStop(1);
    EXPECT_GE(lowest, 60u) << "a look missed the crest of the wave";
    EXPECT_LE(highest, 66u);
}

// The desktop's tone plays with 10 ms of latency, so the monitor sends
// hundreds of small blocks a second.
TEST_F(PulseTest, APeriodGathersTheMonitorsBlocksAndLosesNone) {
    for (const DWORD period : {0u, 100u}) {
        Rounds rounds;
        ASSERT_TRUE(recordMonitor(period, rounds));
        const long firstBytes = rounds.bytes;
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        const long bytes = rounds.bytes - firstBytes;
        const double seconds = secondsSince(start);
        BASS_ChannelStop(1);
        ASSERT_GT(rounds.blocks, 100) << "period " << period << ": the tone plays in small blocks";
        // All the sound, give or take a period held back at either end.
        EXPECT_NEAR(bytes / (44100.0 * 4), seconds, 0.25) << "period " << period;
        if (period == 0)
            EXPECT_LE(rounds.longGaps, 3) << "blocks are handed over as they come";
        else
            EXPECT_GE(rounds.longGaps, 10) << "blocks wait for the period, then come together";
    }
}

TEST_F(PulseTest, AnotherThreadIsAnsweredAtOnceWhileBlocksAreGathered) {
    Rounds rounds;
    ASSERT_TRUE(recordMonitor(3000, rounds));
    const int monitor = findInput("Monitor of Speakers");
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    // Each asks the server and waits for its answer.
    for (int i = 0; i < 3; ++i) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_NE(BASS_RecordGetInputName(0), nullptr);
        ASSERT_TRUE(BASS_RecordSetInput(monitor, 0x60000 + 100));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000))
            << "round " << i << " waited for the capture's period";
    }
    const auto start = std::chrono::steady_clock::now();
    BASS_ChannelStop(1);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
}

TEST_F(PulseTest, PauseAndStopHandOverTheSoundHeldBackUpToThem) {
    Rounds rounds;
    // A period longer than the take: all of it is still held back at the click.
    ASSERT_TRUE(recordMonitor(5000, rounds));
    const long firstBytes = rounds.bytes;
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(BASS_ChannelPause(1));
    const double beforePause = secondsSince(start);
    const long paused = rounds.bytes;
    EXPECT_NEAR((paused - firstBytes) / (44100.0 * 4), beforePause, 0.2) << "up to the pause";
    ASSERT_TRUE(BASS_ChannelResume(1));
    ASSERT_TRUE(waitUntil([&] { return rounds.bytes > paused; }, 3000))
        << "no sound came after the resume";
    const long resumed = rounds.bytes;
    start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    BASS_ChannelStop(1);
    EXPECT_NEAR((rounds.bytes - resumed) / (44100.0 * 4), secondsSince(start), 0.2)
        << "up to the stop";
}

namespace {
// Slower than the sound: each block of a couple of milliseconds takes five.
bool slowBlock(const void*, DWORD, void* user) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    static_cast<Capture*>(user)->blocks++;
    return true;
}
} // namespace

TEST_F(PulseTest, PauseAndStopGetInWhileASlowCallbackFallsBehind) {
    const int monitor = findInput("Monitor of Speakers");
    ASSERT_TRUE(BASS_RecordSetInput(monitor, 0x60000 + 100));
    Capture capture;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, slowBlock, &capture));
    ASSERT_TRUE(waitUntil([&] { return capture.blocks >= 100; }, 5000))
        << "a hundred blocks never came";
    const auto took = [](auto call) {
        const auto start = std::chrono::steady_clock::now();
        call();
        return std::chrono::steady_clock::now() - start;
    };
    EXPECT_LT(took([] { BASS_ChannelPause(1); }), std::chrono::seconds(3));
    BASS_ChannelResume(1);
    EXPECT_LT(took([] { BASS_ChannelStop(1); }), std::chrono::seconds(3));
}

TEST_F(PulseTest, AVanishedSourceEndsTheCaptureAndIsReported) {
    const std::string module = run("pactl load-module module-sine-source source_name=extra "
                                   "source_properties=device.description=Extra frequency=1000");
    ASSERT_FALSE(module.empty());
    const int extra = findInput("Extra");
    ASSERT_GE(extra, 0);
    ASSERT_TRUE(BASS_RecordSetInput(extra, 0x60000 + 100));
    Capture capture;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, onBlock, &capture, onFailure));
    run("pactl unload-module " + module);
    EXPECT_TRUE(waitUntil([&] { return capture.failures > 0; }, 3000))
        << "the unloaded source was never reported";
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
    BASS_ChannelStop(1);
    EXPECT_EQ(capture.failures, 1);
}

TEST(PulseNoServer, RecordInitFails) {
    const char* saved = std::getenv("PULSE_SERVER");
    const std::string keep = saved ? saved : "";
    ::setenv("PULSE_SERVER", "unix:/nonexistent/tapewren-no-server", 1);
    BASS_SetBackend(std::make_unique<PulseBackend>());
    EXPECT_FALSE(BASS_RecordInit(-1));
    EXPECT_EQ(BASS_RecordGetInputName(0), nullptr);
    BASS_SetBackend(nullptr);
    if (saved)
        ::setenv("PULSE_SERVER", keep.c_str(), 1);
    else
        ::unsetenv("PULSE_SERVER");
}

// No server needed: the loop's own lock. A socket that is always readable,
// with a handler slower than the sound, as a slow encoder behind a busy
// monitor would be, must not keep another thread (a pause, a stop) from the
// lock for longer than a call.
TEST(PulseLoopLock, AWaitingThreadGetsInBetweenCallsOfASlowCallback) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "x", 1), 1); // never read: readable for good
    PulseLoop loop;
    std::atomic<bool> busy{true};
    std::atomic<int> calls{0};
    struct State {
        std::atomic<bool>* busy;
        std::atomic<int>* calls;
    } state{&busy, &calls};
    pa_mainloop_api* api = loop.Api();
    api->io_new(
        api, fds[0], PA_IO_EVENT_INPUT,
        [](pa_mainloop_api* a, pa_io_event* e, int, pa_io_event_flags_t, void* user) {
            auto* s = static_cast<State*>(user);
            if (!s->busy->load()) {
                a->io_enable(e, PA_IO_EVENT_NULL);
                return;
            }
            ++*s->calls;
            std::this_thread::sleep_for(std::chrono::milliseconds(60));
        },
        &state);
    ASSERT_TRUE(loop.Start());
    ASSERT_TRUE(waitUntil([&] { return calls >= 2; }, 2000)) << "the busy handler never ran twice";
    // Should the lock never come, the handler is told to rest, so that the
    // test fails rather than hangs.
    std::thread watchdog([&] {
        for (int i = 0; i < 100 && busy; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        busy = false;
    });
    std::chrono::steady_clock::duration longest{};
    for (int i = 0; i < 50 && busy; ++i) {
        const auto start = std::chrono::steady_clock::now();
        loop.Lock();
        longest = std::max(longest, std::chrono::steady_clock::now() - start);
        loop.Unlock();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const bool stillBusy = busy.exchange(false);
    watchdog.join();
    EXPECT_TRUE(stillBusy) << "the lock did not come within ten seconds";
    EXPECT_LT(longest, std::chrono::milliseconds(200));
    EXPECT_GT(calls, 25) << "the handler kept running meanwhile";
    loop.Stop();
    ::close(fds[0]);
    ::close(fds[1]);
}

// Takes against real PulseAudio daemons: the test desktop's, with a 440 Hz
// tone playing into the null sink "spk", and a private one the test kills.
#include "AudioCheck.h"
#include "Bass.h"
#include "CaptureMixer.h"
#include "FakeRecorderHost.h"
#include "PulseBackend.h"
#include "PulseTools.h"
#include "Recorder.h"
#include "SpinUntil.h"
#include "StopOnExit.h"
#include "TempFolder.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

namespace {

void pumpFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Records from the private server under base: the environment names it only
// while the connection is made, and the server found then is the one looked
// for again after it goes away.
bool openPrivateServer(const std::string& base) {
    const char* saved = std::getenv("PULSE_SERVER");
    const std::string keep = saved ? saved : "";
    ::setenv("PULSE_SERVER", ("unix:" + base + "/run/pulse/native").c_str(), 1);
    BASS_SetBackend(std::make_unique<PulseBackend>());
    const bool opened = BASS_RecordInit(-1);
    if (saved)
        ::setenv("PULSE_SERVER", keep.c_str(), 1);
    else
        ::unsetenv("PULSE_SERVER");
    return opened;
}

// The test desktop's server; the input of its speakers' monitor, or -1.
int openDesktopMonitor() {
    BASS_SetBackend(std::make_unique<PulseBackend>());
    return BASS_RecordInit(-1) ? findInput("Monitor of Speakers") : -1;
}

bool haveDesktop() {
    return std::getenv("XDG_RUNTIME_DIR") && !RunCommand("pactl info").empty();
}
} // namespace

TEST(RecorderPulse, TenSecondsOfTheToneFromTheSpeakersMonitor) {
    if (!haveDesktop())
        GTEST_SKIP() << "needs the test desktop (scripts/desktop.sh) with its tone playing";
    TempFolder folder;
    FakeRecorderHost host;
    host.settings.channel = openDesktopMonitor();
    ASSERT_GE(host.settings.channel, 0);
    host.settings.volume = 100;
    // Ten seconds by the clock must give ten seconds of sound; the mono take
    // only has to show its channel count, and ends once it holds two seconds.
    for (const bool stereo : {true, false}) {
        SCOPED_TRACE(stereo ? "stereo" : "mono");
        host.settings.quality = 61;
        host.settings.stereo = stereo;
        Recorder recorder(host, folder / "tmp");
        std::filesystem::create_directories(folder / "tmp");
        recorder.ToggleRecording(false);
        ASSERT_TRUE(host.errors.empty()) << host.errors.front();
        const double seconds = stereo ? 10.0 : 2.0;
        if (stereo) {
            pumpFor(std::chrono::seconds(10));
        } else {
            // 128 kbps: 16000 bytes a second, counted a second's batch at a
            // time; the second batch, less the encoder's delay, passes 24000.
            const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (recorder.encodedByteCount < 3 * 8000 && std::chrono::steady_clock::now() < end)
                pumpFor(std::chrono::milliseconds(5));
        }
        recorder.ToggleRecording(false);
        ASSERT_EQ(host.dialogs, stereo ? 1 : 2);
        const Decoded d = DecodeMp3(host.savedFile);
        EXPECT_EQ(d.channels, stereo ? 2 : 1);
        EXPECT_EQ(d.rate, 44100);
        // The encoder adds its delay and padding; the take drops less than a
        // chunk. The mono take ends after the batch that passed two seconds.
        EXPECT_NEAR(static_cast<double>(d.Frames()) / d.rate, seconds, stereo ? 0.2 : 0.5);
        EXPECT_NEAR(ToneFrequency(d, 0), 440.0, 4.0);
        std::filesystem::remove_all(folder / "tmp");
    }
    BASS_RecordFree();
    BASS_SetBackend(nullptr);
}

TEST(RecorderPulse, KillingTheSoundServerKeepsTheTakeAndItsReturnIsFollowed) {
    TempFolder folder;
    const std::string base = folder / "pulse";
    const std::string script = std::string(TAPEWREN_SOURCE_DIR) + "/scripts/desktop.sh";
    const std::string server = "PULSE_SERVER='unix:" + base + "/run/pulse/native' ";
    const auto startServer = [&] {
        RunCommand("'" + script + "' pulse '" + base + "' 2>&1");
        return RunCommand("cat '" + base + "/run/pulse/pid' 2>/dev/null");
    };
    // A tone keeps the idle null sink from handing out sound in two-second lumps.
    const auto playTone = [&] {
        RunCommand(server + "setsid bash -c \"sox -q -n -r "
                            "44100 -c 2 -b 16 -e signed -t raw - synth 30 sine 440 vol 0.5 | pacat "
                            "--latency-msec=10 --rate=44100 --channels=2 --format=s16le -d spk\" "
                            "</dev/null >/dev/null 2>&1 &");
        for (int i = 0; i < 100 && RunCommand(server + "pactl list short sink-inputs").empty(); ++i)
            pumpFor(std::chrono::milliseconds(20));
    };
    const std::string pid = startServer();
    StopOnExit stopServer("'" + script + "' stop '" + base + "'");
    if (pid.empty())
        GTEST_SKIP() << "no PulseAudio daemon could be started";
    ASSERT_TRUE(openPrivateServer(base));
    std::atomic<int> returns{0};
    BASS_RecordSetServerProc([](void* n) { ++*static_cast<std::atomic<int>*>(n); }, &returns);

    FakeRecorderHost host;
    host.settings.channel = findInput("Monitor of Speakers");
    host.settings.quality = 61;
    ASSERT_GE(host.settings.channel, 0);
    playTone();
    Recorder recorder(host, folder / "tmp");
    std::filesystem::create_directories(folder / "tmp");
    recorder.ToggleRecording(false);
    ASSERT_TRUE(host.errors.empty());
    // A second of sound has come in before the server goes: the encoder's
    // count is of samples of both channels.
    ASSERT_TRUE(spinUntil([&] { return recorder.encodedSampleCount >= 2 * 44100; }, 10000))
        << "no second of sound encoded";
    RunCommand("kill -9 " + pid);
    for (int i = 0; i < 500 && host.dialogs == 0; ++i)
        pumpFor(std::chrono::milliseconds(10));

    ASSERT_EQ(host.dialogs, 1);
    EXPECT_EQ(host.notifications, std::vector<std::string>{Recorder::kDeviceLostText});
    EXPECT_FALSE(recorder.IsActive());
    const Decoded d = DecodeMp3(host.savedFile);
    EXPECT_EQ(d.channels, 2);
    // What the server had sent before it went away, written and the rest
    // held, is in the take.
    EXPECT_GT(static_cast<double>(d.Frames()) / 44100, 0.5);
    EXPECT_NEAR(ToneFrequency(d, 0), 440.0, 4.0);

    // No server: the take cannot start and leaves nothing behind.
    recorder.ToggleRecording(false);
    EXPECT_EQ(host.errors, std::vector<std::string>{"Unable to start recording."});
    EXPECT_FALSE(std::filesystem::exists(folder / "tmp/tmpfile2.mp3"));

    const std::string back = startServer();
    ASSERT_FALSE(back.empty());
    for (int i = 0; i < 500 && returns == 0; ++i)
        pumpFor(std::chrono::milliseconds(10));
    // PipeWire's pulse server may be reached before the null sink is made, so
    // the sink's monitor coming after is news of its own.
    EXPECT_GE(returns, 1) << "the return was reported";
    host.settings.channel = findInput("Monitor of Speakers");
    ASSERT_GE(host.settings.channel, 0);
    playTone();
    host.errors.clear();
    recorder.ToggleRecording(false);
    EXPECT_TRUE(host.errors.empty());
    EXPECT_TRUE(spinUntil([&] { return recorder.encodedSampleCount >= 44100; }, 10000))
        << "no half second of sound encoded after the return";
    recorder.ToggleRecording(false);
    ASSERT_EQ(host.dialogs, 2);
    const Decoded again = DecodeMp3(host.savedFile);
    // A fresh null sink hands out its first seconds in lumps: some sound is
    // enough to show that the take records.
    EXPECT_GT(static_cast<double>(again.Frames()) / 44100, 0.1);
    EXPECT_NEAR(ToneFrequency(again, 0), 440.0, 4.0);

    // Gone while a take's streams start: the start fails, and nothing is left.
    RunCommand("kill -STOP " + back);
    std::thread killer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        RunCommand("kill -9 " + back);
    });
    EXPECT_EQ(BASS_RecordStart(
                  44100, 0, [](const void*, DWORD, void*) { return true; }, nullptr),
              0u);
    killer.join();
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);

    BASS_RecordSetServerProc(nullptr, nullptr);
    BASS_RecordFree();
    BASS_SetBackend(nullptr);
}

// A private server (PulseAudio, or PipeWire where the test desktop runs it)
// whose microphone is a source of its own, as a real one is (a remap of a
// null sink's monitor), hearing 440 Hz while the speakers, a null sink made
// the default output, play 1 kHz; the two would take the sum past full scale.
TEST(RecorderPulse, MicrophoneAndSpeakersHoldBothTonesAndEitherMayGoAway) {
    TempFolder folder;
    const std::string base = folder / "pulse";
    const std::string script = std::string(TAPEWREN_SOURCE_DIR) + "/scripts/desktop.sh";
    const std::string server = "PULSE_SERVER='unix:" + base + "/run/pulse/native' ";
    const std::string pid =
        RunCommand("'" + script + "' pulse '" + base + "' >/dev/null 2>&1; cat '" + base +
                   "/run/pulse/pid' 2>/dev/null");
    StopOnExit stopServer("'" + script + "' stop '" + base + "'");
    if (pid.empty())
        GTEST_SKIP() << "no PulseAudio daemon could be started";
    const auto pactl = [&](const std::string& args) {
        std::string out = RunCommand(server + "pactl " + args + " 2>&1");
        return out.substr(0, out.find_last_not_of('\n') + 1);
    };
    const auto play = [&](int hertz, const std::string& sink) {
        RunCommand(server +
                   "setsid bash -c \"sox -q -n -r 44100 -c 2 -b 16 -e signed -t raw - "
                   "synth 60 sine " +
                   std::to_string(hertz) +
                   " vol 0.55 | pacat --latency-msec=10 --rate=44100 --channels=2 "
                   "--format=s16le -d " +
                   sink + "\" </dev/null >/dev/null 2>&1 &");
    };
    // Unplugged and plugged again, the microphone hears the same voice, on
    // and on: a second player there would add to the first in any phase.
    pactl("load-module module-null-sink sink_name=micsink rate=44100 "
          "sink_properties=device.description=Voice");
    play(440, "micsink");
    std::string microphone;
    const auto plugMicrophone = [&] {
        microphone = pactl("load-module module-remap-source master=micsink.monitor "
                           "source_name=mic source_properties=device.description=Microphone");
        pactl("set-default-source mic");
    };
    plugMicrophone();
    const std::string output = pactl("load-module module-null-sink sink_name=out rate=44100 "
                                     "sink_properties=device.description=Headphones");
    pactl("set-default-sink out");
    play(1000, "out");
    // Idle null sinks hand out their first second in lumps.
    pumpFor(std::chrono::seconds(1));

    ASSERT_TRUE(openPrivateServer(base));

    FakeRecorderHost host;
    host.settings.quality = 61;
    host.settings.volume = 100;
    std::filesystem::create_directories(folder / "tmp");
    Recorder recorder(host, folder / "tmp");
    const auto take = [&](const char* input, const std::function<void()>& midway = {},
                          int midwayMs = 2500) {
        host.settings.channel = findInput(input);
        EXPECT_GE(host.settings.channel, 0) << input;
        const int dialogs = host.dialogs;
        host.errors.clear();
        recorder.ToggleRecording(false);
        EXPECT_TRUE(host.errors.empty()) << input;
        pumpFor(std::chrono::milliseconds(midwayMs));
        if (midway)
            midway();
        for (int i = 0; i < 300 && recorder.IsActive() && midway; ++i)
            pumpFor(std::chrono::milliseconds(10));
        if (recorder.IsActive())
            recorder.ToggleRecording(false);
        EXPECT_EQ(host.dialogs, dialogs + 1) << input;
        return DecodeMp3(host.savedFile);
    };
    const Decoded voice = take("Microphone");
    const Decoded speakers = take("Monitor of Headphones");
    const Decoded both = take(CaptureMixer::kInputName);
    EXPECT_NEAR(static_cast<double>(both.Frames()) / 44100, 2.5, 0.3);
    EXPECT_EQ(ClippedSamples(both), 0u);
    for (int c = 0; c < 2; ++c) {
        EXPECT_NEAR(Decibels(ToneLevelNear(both, c, 440) / ToneLevelNear(voice, c, 440)), 0, 3);
        EXPECT_NEAR(Decibels(ToneLevelNear(both, c, 1000) / ToneLevelNear(speakers, c, 1000)), 0,
                    3);
    }
    EXPECT_EQ(pactl("list short modules").find("loopback"), std::string::npos)
        << "the user's sound setup stays as it was";
    // The volume is the microphone's alone: half on the desktop's scale is an
    // eighth of its amplitude.
    host.settings.volume = 50;
    const Decoded quieter = take(CaptureMixer::kInputName);
    host.settings.volume = 100;
    EXPECT_NEAR(Decibels(ToneLevelNear(quieter, 0, 440) / ToneLevelNear(both, 0, 440)), -18, 3);
    EXPECT_NEAR(Decibels(ToneLevelNear(quieter, 0, 1000) / ToneLevelNear(both, 0, 1000)), 0, 3);
    // A second after a pause, both devices come back.
    const Decoded resumed = take(CaptureMixer::kInputName, [&] {
        recorder.TogglePause();
        pumpFor(std::chrono::seconds(1));
        recorder.TogglePause();
    });
    // The speakers' tone follows the microphone's clock, so it may sit a little
    // off its frequency.
    const size_t resumedAt = static_cast<size_t>(2.5 * 44100);
    for (double hertz : {440.0, 1000.0})
        EXPECT_GT(ToneLevelNear(resumed, 0, hertz, resumedAt + 44100 / 2, resumed.Frames()), 0.1)
            << hertz << " Hz after the pause";

    // Unplugged mid-take, either device: the take ends, is kept and decodes.
    const Decoded unplugged =
        take(CaptureMixer::kInputName, [&] { pactl("unload-module " + microphone); });
    EXPECT_EQ(host.notifications, std::vector<std::string>{Recorder::kDeviceLostText});
    EXPECT_GT(ToneLevelNear(unplugged, 0, 1000), 0.1);
    EXPECT_GT(ToneLevelNear(unplugged, 0, 440), 0.1);
    host.notifications.clear();
    plugMicrophone();
    pumpFor(std::chrono::seconds(1));
    const Decoded silenced =
        take(CaptureMixer::kInputName, [&] { pactl("unload-module " + output); });
    EXPECT_EQ(host.notifications, std::vector<std::string>{Recorder::kDeviceLostText});
    EXPECT_GT(ToneLevelNear(silenced, 0, 440), 0.1);
    EXPECT_GT(ToneLevelNear(silenced, 0, 1000), 0.1);
    for (const Decoded* d : {&unplugged, &silenced})
        EXPECT_NEAR(static_cast<double>(d->Frames()) / 44100, 2.5, 0.3);
    // The mixer holds the first second back: a server gone within it leaves
    // it all in the take.
    host.notifications.clear();
    const Decoded killed = take(
        CaptureMixer::kInputName, [&] { RunCommand("kill -9 " + pid); }, 700);
    EXPECT_EQ(host.notifications, std::vector<std::string>{Recorder::kDeviceLostText});
    EXPECT_NEAR(static_cast<double>(killed.Frames()) / 44100, 0.7, 0.2);

    BASS_RecordFree();
    BASS_SetBackend(nullptr);
}

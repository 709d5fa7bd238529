// Takes from a microphone and the speakers at once: two devices on clocks of
// their own, mixed into one stream before the recorder sees it.
#include "AudioCheck.h"
#include "Bass.h"
#include "CaptureMixer.h"
#include "FakeRecorderHost.h"
#include "MixedCapture.h"
#include "Recorder.h"
#include "SimulatedBackend.h"
#include "SpinUntil.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {
constexpr int kMixedEntry = 2;

using Sound = std::function<void(int16_t*, uint64_t, uint32_t, uint32_t, int)>;

// A tone as a device hears it: its frame k is k / (rate x clock) seconds in.
[[maybe_unused]] Sound tone(double frequency, double amplitude, double clock = 1.0) {
    return [=](int16_t* pcm, uint64_t first, uint32_t frames, uint32_t rate, int channels) {
        for (uint32_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(first + i) / (rate * clock);
            const auto v = static_cast<int16_t>(
                std::lround(amplitude * 32767 * std::sin(2 * M_PI * frequency * t)));
            for (int c = 0; c < channels; ++c)
                pcm[i * static_cast<uint32_t>(channels) + static_cast<uint32_t>(c)] = v;
        }
    };
}

// The speakers' sound for TakeCheck, on a clock of its own, starting
// startsAt seconds into the take.
Sound toneAndClicks(double clock, double startsAt = 0) {
    return [=](int16_t* pcm, uint64_t first, uint32_t frames, uint32_t rate, int) {
        const double deviceRate = rate * clock;
        // The tone turned on from the block's exact start: a phasor is quicker than sin().
        const double step = 2 * M_PI * 997 / deviceRate;
        std::complex<double> at = std::polar(16384.0, step * static_cast<double>(first));
        const std::complex<double> turn = std::polar(1.0, step);
        auto click = static_cast<uint64_t>(
            std::ceil(startsAt + (static_cast<double>(first) - 0.5) / deviceRate));
        const auto frameOf = [&](uint64_t second) {
            return static_cast<uint64_t>(std::lround((second - startsAt) * deviceRate));
        };
        uint64_t clickFrame = frameOf(click);
        for (uint32_t i = 0; i < frames; ++i, at *= turn) {
            pcm[2 * i] = static_cast<int16_t>(std::lround(at.imag()));
            const bool clicks = first + i == clickFrame && click > 0;
            pcm[2 * i + 1] = clicks ? 16384 : 0;
            if (first + i >= clickFrame)
                clickFrame = frameOf(++click);
        }
    };
}

SimulatedBackend* installTwoDevices(SimulatedBackend::Device microphone,
                                    SimulatedBackend::Device speakers) {
    SimulatedBackend::Script script;
    script.inputs = {{"Microphone", kInputMicrophone, 60},
                     {"Monitor of Speakers", kInputWaveOutput, 100}};
    script.mixMicrophone = 0;
    script.mixSpeakers = 1;
    script.devices[0] = std::move(microphone);
    script.devices[1] = std::move(speakers);
    auto backend = std::make_unique<SimulatedBackend>(script);
    SimulatedBackend* raw = backend.get();
    BASS_SetBackend(std::move(backend));
    EXPECT_TRUE(BASS_RecordInit(-1));
    return raw;
}

// What the block callback gets over a simulated take, looked at as it comes:
// the left channel carries the speakers' continuous tone, the right one a
// click from the speakers at every whole second of real time.
struct TakeCheck {
    uint32_t rate = 16000;
    double twiceCos = 2 * std::cos(2 * M_PI * 997 / 16000);
    // The speakers' last block comes after the microphone's, and is left out.
    uint64_t end = 0;
    uint64_t frames = 0;
    int16_t previous[2] = {0, 0};
    double worstStep = 0; // the largest break in the tone, full scale 1
    uint64_t worstStepAt = 0;
    // The click of second s is looked for within a quarter second of s.
    uint64_t second = 1;
    int bestClick = 0;
    uint64_t bestClickAt = 0;
    int clicks = 0;
    double worstGap = 0;       // seconds between a click and its place on the take's clock
    std::vector<int16_t> tone; // the left channel, when asked for
    bool keepTone = false;

    static bool proc(const void* data, DWORD length, void* user) {
        auto* self = static_cast<TakeCheck*>(user);
        const auto* pcm = static_cast<const int16_t*>(data);
        for (DWORD i = 0; i + 1 < length / 2; i += 2)
            self->frame(pcm[i], pcm[i + 1]);
        return true;
    }
    void frame(int16_t left, int16_t right) {
        if (keepTone)
            tone.push_back(left);
        // A pure tone satisfies x[n] + x[n-2] = 2 cos(w) x[n-1]; a sample
        // dropped or doubled breaks it by about the tone's slope.
        if (frames >= rate && frames < end) {
            const double residual = left + previous[0] - twiceCos * previous[1];
            if (std::abs(residual) / 32768 > worstStep) {
                worstStep = std::abs(residual) / 32768;
                worstStepAt = frames;
            }
        }
        previous[0] = previous[1];
        previous[1] = left;
        const uint64_t expected = second * rate;
        if (frames + rate / 4 >= expected && std::abs(right) > bestClick) {
            bestClick = std::abs(right);
            bestClickAt = frames;
        }
        if (frames == expected + rate / 4 && frames < end) {
            if (bestClick > 4000) {
                ++clicks;
                const double gap = (static_cast<double>(bestClickAt) - expected) / rate;
                worstGap = std::max(worstGap, std::abs(gap));
            }
            bestClick = 0;
            ++second;
        }
        ++frames;
    }
};
} // namespace

// Ten minutes drift 0.6 s apart, as far as the loop is ever tested; speakers
// slower than the microphone are stretched, faster ones squeezed.
TEST(MixedTakeTest, TenMinutesOfClocksThatDifferByATenthOfAPerCentEitherWayStayTogether) {
    constexpr uint64_t seconds = 600;
    for (double clock : {1.001, 0.999}) {
        SimulatedBackend::Device microphone;
        microphone.blockMs = 20;
        SimulatedBackend::Device speakers;
        speakers.clock = clock;
        speakers.blockMs = 50;
        speakers.sound = toneAndClicks(clock);
        SimulatedBackend* sim = installTwoDevices(microphone, speakers);
        ASSERT_EQ(BASS_RecordGetInputName(kMixedEntry), std::string("Microphone and speakers"));
        ASSERT_TRUE(BASS_RecordSetInput(kMixedEntry, BASS_INPUT_ON | BASS_INPUT_LEVEL | 100));
        TakeCheck check;
        check.end = (seconds - 1) * check.rate;
        ASSERT_TRUE(BASS_RecordStart(16000, 0, &TakeCheck::proc, &check));
        sim->Play(seconds);
        ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
        BASS_ChannelStop(kRecordChannel);
        BASS_RecordFree();
        BASS_SetBackend(nullptr);

        EXPECT_NEAR(static_cast<double>(check.frames) / 16000, double(seconds), 0.02)
            << "the take is as long as the microphone's stream; speakers' clock " << clock;
        EXPECT_GE(check.clicks, int(seconds) - 2) << clock;
        EXPECT_LT(check.worstGap, 0.02) << "seconds between the speakers and the microphone";
        EXPECT_LT(check.worstStep, 0.02) << "a break in the speakers' tone at frame "
                                         << check.worstStepAt << ", clock " << clock;
    }
}

// Drift correction resamples the speakers all along: a pure tone through it
// keeps its level and gains nothing a listener could hear beside it.
TEST(MixedTakeTest, ResamplingTheSpeakersLeavesAToneCleanToMinus70Db) {
    constexpr uint32_t rate = 44100, frames = 4410, blocks = 900;
    const auto bytes = static_cast<uint32_t>(frames * 4);
    Decoded out{2, rate, {}}, original{2, rate, std::vector<int16_t>(blocks * frames * 2)};
    CaptureMixer mixer(rate, 2, [&out](const void* data, uint32_t length) {
        const auto* pcm = static_cast<const int16_t*>(data);
        out.samples.insert(out.samples.end(), pcm, pcm + length / 2);
        return true;
    });
    const std::vector<int16_t> silence(frames * 2, 0);
    tone(1000, 0.5, 1.001)(original.samples.data(), 0, blocks * frames, rate, 2);
    // In 100 ms blocks, the speakers' device 0.1 % fast: after a minute and a
    // half the ratio has long settled at the drift.
    for (uint32_t n = 0; n < blocks; ++n) {
        const int64_t end = int64_t{n + 1} * 100000;
        mixer.Feed(CaptureMixer::kMicrophone, silence.data(), bytes, end);
        mixer.Feed(CaptureMixer::kSpeakers, original.samples.data() + n * frames * 2, bytes,
                   std::llround(static_cast<double>(end) / 1.001));
    }
    const size_t at = 80 * rate;
    ASSERT_GE(out.Frames(), at + 32768);
    for (int c = 0; c < 2; ++c) {
        EXPECT_LT(WorstProduct(out, c, at, 32768, 15), -70) << "channel " << c;
        EXPECT_NEAR(Decibels(ToneLevelIn(out, c, 1000, at, at + rate) /
                             ToneLevelIn(original, c, 1000 / 1.001, at, at + rate)),
                    0, 0.1);
    }
    EXPECT_LT(WorstProduct(original, 0, at, 32768, 15), -90) << "the measure itself";
}

// A mixed capture gathers each stream's blocks over a round of the loop and
// mixes them at its end: block for block the take that each round's blocks
// fed to the mixer together make. A hole is silence of its length; a stream
// that sends a second before a round ends is mixed at once, with the other.
TEST(MixedTakeTest, GatheredRoundsMixAsTheirBlocksFedTogether) {
    constexpr uint32_t rate = 16000;
    constexpr int channels = 2;
    using Blocks = std::vector<std::vector<uint8_t>>;
    const auto into = [](Blocks& blocks) {
        return [&blocks](const void* data, uint32_t length) {
            const auto* bytes = static_cast<const uint8_t*>(data);
            blocks.emplace_back(bytes, bytes + length);
            return true;
        };
    };
    Blocks gathered, fed;
    MixedCapture capture(rate, channels, 70, into(gathered));
    CaptureMixer mixer(rate, channels, into(fed));
    mixer.SetMicrophoneVolume(70);
    std::vector<uint8_t> round[2];
    int64_t lastUsec[2] = {0, 0};
    const auto feedRound = [&] {
        for (const auto stream : {CaptureMixer::kMicrophone, CaptureMixer::kSpeakers}) {
            if (round[stream].empty())
                continue;
            mixer.Feed(stream, round[stream].data(), static_cast<uint32_t>(round[stream].size()),
                       lastUsec[stream]);
            round[stream].clear();
        }
    };
    std::mt19937 random(7);
    int64_t usec = 0;
    uint64_t frames[2] = {0, 0};
    for (int step = 0; step < 3000; ++step) {
        if (random() % 8 == 0) {
            ASSERT_TRUE(capture.RoundEnd());
            feedRound();
            continue;
        }
        const auto stream = static_cast<CaptureMixer::Stream>(random() % 2);
        // Mostly a few milliseconds, now and then more than a second.
        const auto n = static_cast<uint32_t>(1 + random() % (random() % 20 == 0 ? 20000 : 400));
        std::vector<int16_t> pcm(size_t{n} * channels);
        tone(stream == CaptureMixer::kMicrophone ? 440 : 1000, 0.5,
             stream == CaptureMixer::kMicrophone ? 1.0 : 1.001)(pcm.data(), frames[stream], n, rate,
                                                                channels);
        frames[stream] += n;
        usec += static_cast<int64_t>(random() % 20000);
        // At an odd address: a server's blocks need not be aligned.
        std::vector<uint8_t> bytes(pcm.size() * 2 + 1);
        std::memcpy(bytes.data() + 1, pcm.data(), pcm.size() * 2);
        const bool hole = random() % 40 == 0;
        const auto length = static_cast<uint32_t>(pcm.size() * 2);
        ASSERT_TRUE(capture.Block(stream, hole ? nullptr : bytes.data() + 1, length, usec));
        if (hole)
            round[stream].resize(round[stream].size() + length, 0);
        else
            round[stream].insert(round[stream].end(), bytes.begin() + 1, bytes.end());
        lastUsec[stream] = usec;
        if (round[stream].size() >= size_t{rate} * channels * 2)
            feedRound();
    }
    capture.Flush();
    feedRound();
    mixer.Flush();
    EXPECT_GT(gathered.size(), 100u);
    EXPECT_TRUE(gathered == fed) << gathered.size() << " blocks gathered, " << fed.size() << " fed";
}

// The microphone's stream is the take's clock: at its full volume, beside
// silent speakers, its frames come out exactly as they went in, in order,
// whatever the rounds gather. The speakers' blocks come a fifth of a second
// later than the microphone's of the same sound (a device of more latency):
// the mixer puts that much silence before them, their queue runs ahead, and
// the microphone's empties between the pieces of a round.
TEST(MixedTakeTest, TheMicrophonesFramesComeOutAsTheyWentInWhateverTheRounds) {
    constexpr uint32_t rate = 16000;
    constexpr int channels = 2;
    std::vector<int16_t> in, out;
    MixedCapture capture(rate, channels, 100, [&out](const void* data, uint32_t length) {
        const auto* pcm = static_cast<const int16_t*>(data);
        out.insert(out.end(), pcm, pcm + length / 2);
        return true;
    });
    std::mt19937 random(11);
    constexpr uint32_t blockFrames = rate / 100; // 10 ms
    std::vector<int16_t> block(blockFrames * channels);
    const std::vector<int16_t> silence(block.size(), 0);
    const auto bytes = static_cast<uint32_t>(block.size() * 2);
    uint64_t frames = 0;
    for (int round = 0; round < 60; ++round) {
        // From a twentieth of a second to more than the second that is mixed at once.
        const uint64_t blocks = 5 + random() % 150;
        for (uint64_t b = 0; b < blocks; ++b) {
            const bool hole = random() % 50 == 0;
            for (size_t i = 0; i < block.size(); ++i)
                block[i] = hole ? 0 : static_cast<int16_t>((frames * 7 + i * 1000) % 20000 - 10000);
            in.insert(in.end(), block.begin(), block.end());
            frames += blockFrames;
            const auto end = static_cast<int64_t>(frames * 1000000 / rate);
            ASSERT_TRUE(
                capture.Block(CaptureMixer::kSpeakers, silence.data(), bytes, end + 200000));
            ASSERT_TRUE(capture.Block(CaptureMixer::kMicrophone, hole ? nullptr : block.data(),
                                      bytes, end));
        }
        ASSERT_TRUE(capture.RoundEnd());
    }
    capture.Flush();
    ASSERT_EQ(out.size(), in.size());
    EXPECT_TRUE(out == in) << "the microphone's frames changed on their way";
}

// Two streams that start apart, one in lumps: the first second is held back
// until it is known where each stands, and the gap then closed at once, so
// that the speakers' pitch never bends for it.
TEST(MixedTakeTest, SpeakersThatStartLateInLumpsAreAlignedAfterTheFirstSecond) {
    SimulatedBackend::Device microphone;
    microphone.blockMs = 20;
    SimulatedBackend::Device speakers;
    speakers.sound = toneAndClicks(1.0, 0.1);
    speakers.startsAt = 0.1;
    speakers.blockMs = 50;
    speakers.burst = 4;
    SimulatedBackend* sim = installTwoDevices(microphone, speakers);
    ASSERT_TRUE(BASS_RecordSetInput(kMixedEntry, BASS_INPUT_ON | BASS_INPUT_LEVEL | 100));
    TakeCheck check;
    check.end = 5 * 16000;
    check.second = 2; // the first second's click is still held back
    check.keepTone = true;
    ASSERT_TRUE(BASS_RecordStart(16000, 0, &TakeCheck::proc, &check));
    sim->Play(6);
    ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    BASS_ChannelStop(kRecordChannel);
    BASS_RecordFree();
    BASS_SetBackend(nullptr);

    EXPECT_GE(check.clicks, 3);
    EXPECT_LT(check.worstGap, 0.005) << "seconds between the speakers and the microphone";
    for (size_t at = 0; at + 8000 <= 3 * 16000; at += 8000) {
        Decoded half{1, 16000, {check.tone.begin() + at, check.tone.begin() + at + 8000}};
        EXPECT_NEAR(ToneFrequency(half, 0), 997, 997 * 0.002) << at / 16000.0 << " s in";
    }
}

// The speakers' clicks, one each quarter second from 2.5 s, come out where
// they were captured, whether their stream starts 30 ms late or only after
// the microphone's has run alone for longer than the first settling holds it
// back. Their moments then jump 20 ms (the server changed its latency): a
// gap that small the loop closes, without dropping sound.
TEST(MixedTakeTest, TheSpeakersSoundComesOutWhereItWasCapturedAndASmallJumpDropsNothing) {
    constexpr uint32_t rate = 16000, block = rate / 50;
    for (const double late : {0.03, 2.0}) {
        std::vector<int16_t> out;
        CaptureMixer mixer(rate, 2, [&out](const void* data, uint32_t length) {
            const auto* pcm = static_cast<const int16_t*>(data);
            out.insert(out.end(), pcm, pcm + length / 2);
            return true;
        });
        const std::vector<int16_t> silence(block * 2, 0);
        std::vector<int16_t> speakers(block * 2);
        // A block's moment is that of its last frame.
        const auto usec = [](double seconds) { return std::llround(seconds * 1e6); };
        const auto clickAt = [&](uint64_t frame) {
            const double t = static_cast<double>(frame) / rate + late;
            return t >= 2.5 && std::abs(t * 4 - std::round(t * 4)) < 0.5 / rate;
        };
        uint64_t heard = 0;
        for (uint64_t n = 1; n <= 300; ++n) {
            const double now = static_cast<double>(n * block) / rate;
            mixer.Feed(CaptureMixer::kMicrophone, silence.data(), block * 4, usec(now));
            for (double end; (end = late + static_cast<double>(heard + block) / rate) <= now;) {
                for (uint64_t i = 0; i < block; ++i)
                    speakers[2 * i] = speakers[2 * i + 1] = clickAt(heard + i) ? 16384 : 0;
                mixer.Feed(CaptureMixer::kSpeakers, speakers.data(), block * 4,
                           usec(end > 3.2 ? end - 0.02 : end));
                heard += block;
            }
        }
        mixer.Flush();
        std::vector<double> clicks;
        for (size_t i = 0; i < out.size(); i += 2)
            if (std::abs(out[i]) > 8000 && (clicks.empty() || i / 2 > clicks.back() * rate + 100))
                clicks.push_back(static_cast<double>(i / 2) / rate);
        ASSERT_EQ(clicks.size(), 14u) << late << " s late";
        EXPECT_NEAR(clicks[2], 3, 0.002)
            << "seconds into the take; the speakers " << late << " s late";
        for (size_t i = 1; i < clicks.size(); ++i)
            EXPECT_NEAR(clicks[i] - clicks[i - 1], 0.25, 0.003)
                << "before the click at " << clicks[i] << " s; the speakers " << late << " s late";
    }
}

namespace {
// Takes through the recorder, as the user makes them, decoded by mpg123.
class MixedRecorderTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_recorder.reset();
        BASS_SetBackend(nullptr);
    }
    void devices(SimulatedBackend::Device microphone, SimulatedBackend::Device speakers) {
        m_recorder.reset();
        m_sim = installTwoDevices(std::move(microphone), std::move(speakers));
        fs::create_directories(m_folder / "tmp");
        m_host = FakeRecorderHost{};
        m_host.settings = {kMixedEntry, 61, 100, true, false}; // 44100 Hz, 128 kbps
        m_loudest = 0;
        m_recorder = std::make_unique<Recorder>(m_host, m_folder / "tmp");
        m_recorder->CreateStreams();
    }
    // Seconds of both devices, then a click that stops; a pause after each
    // but the last stretch.
    Decoded take(std::vector<double> stretches) {
        m_recorder->ToggleRecording(false);
        EXPECT_TRUE(m_recorder->IsActive());
        for (size_t i = 0; i < stretches.size(); ++i) {
            if (i > 0)
                m_recorder->TogglePause();
            m_sim->Play(stretches[i]);
            EXPECT_TRUE(m_sim->WaitUntilDrained())
                << "the simulated device still had sound to deliver";
            // The meter's reading: the highest peak since the last.
            m_loudest = std::max(m_loudest, static_cast<int>(BASS_ChannelGetLevel(1) & 0xFFFF));
            if (i + 1 < stretches.size())
                m_recorder->TogglePause();
        }
        m_recorder->ToggleRecording(false);
        return DecodeMp3(m_host.savedFile);
    }
    static SimulatedBackend::Device device(Sound sound, double clock = 1.0) {
        SimulatedBackend::Device d;
        d.sound = std::move(sound);
        d.clock = clock;
        return d;
    }

    TempFolder m_folder;
    FakeRecorderHost m_host;
    SimulatedBackend* m_sim = nullptr;
    std::unique_ptr<Recorder> m_recorder;
    int m_loudest = 0;
};

} // namespace

TEST_F(MixedRecorderTest, BothSourcesKeepTheirLevelsTheVolumeIsTheMicrophonesAndNothingClips) {
    devices(device(tone(440, 0.5)), device({}));
    const Decoded microphone = take({3.0});
    const int microphoneLevel = m_loudest;
    devices(device({}), device(tone(1000, 0.5), 1.0005));
    const Decoded speakers = take({3.0});

    devices(device(tone(440, 0.5)), device(tone(1000, 0.5), 1.0005));
    const Decoded both = take({1.5, 1.5});
    EXPECT_NEAR(both.Frames(), 3.0 * 44100, 2 * 1152 + 0.02 * 44100)
        << "the pause kept everything up to it";
    for (int c = 0; c < 2; ++c) {
        EXPECT_NEAR(Decibels(ToneLevel(both, c, 440) / ToneLevel(microphone, c, 440)), 0, 3);
        EXPECT_NEAR(Decibels(ToneLevel(both, c, 1000) / ToneLevel(speakers, c, 1000)), 0, 3);
    }
    EXPECT_GT(m_loudest, microphoneLevel) << "the level icon shows the mix";
    EXPECT_EQ(ClippedSamples(both), 0u);

    // Both at full scale: the sum would pass it twice over.
    devices(device(tone(440, 0.99)), device(tone(1000, 0.99), 1.0005));
    const Decoded loud = take({3.0});
    EXPECT_EQ(ClippedSamples(loud), 0u);
    // Clipping adds tones of its own: odd harmonics and intermodulation.
    for (double product : {3 * 440.0, 2 * 1000.0 - 440, 2 * 440.0 + 1000, 2 * 1000.0 + 440})
        EXPECT_LT(Decibels(ToneLevel(loud, 0, product) / ToneLevel(loud, 0, 440)), -40)
            << product << " Hz";

    // Half volume on the desktop's scale is an eighth of the amplitude, for
    // the microphone alone.
    devices(device(tone(440, 0.5)), device(tone(1000, 0.5), 1.0005));
    m_host.settings.volume = 50;
    const Decoded quieter = take({3.0});
    EXPECT_NEAR(Decibels(ToneLevel(quieter, 0, 440) / ToneLevel(microphone, 0, 440)), -18, 1);
    EXPECT_NEAR(Decibels(ToneLevel(quieter, 0, 1000) / ToneLevel(speakers, 0, 1000)), 0, 1);
}

TEST_F(MixedRecorderTest, EitherDeviceGoingAwayEndsTheTakeAndKeepsWhatWasRecorded) {
    for (int gone = 0; gone < 2; ++gone) {
        SCOPED_TRACE(gone == 0 ? "microphone" : "speakers");
        SimulatedBackend::Device microphone = device(tone(440, 0.5));
        SimulatedBackend::Device speakers = device(tone(1000, 0.5), 0.999);
        (gone == 0 ? microphone : speakers).vanishesAt = 2.0;
        devices(microphone, speakers);
        m_recorder->ToggleRecording(false);
        m_sim->Play(5.0);
        ASSERT_TRUE(spinUntil([&] { return m_host.dialogs == 1; }))
            << "the lost device was never reported";
        EXPECT_EQ(m_host.notifications, std::vector<std::string>{Recorder::kDeviceLostText});
        EXPECT_FALSE(m_recorder->IsActive());
        const Decoded d = DecodeMp3(m_host.savedFile);
        EXPECT_NEAR(d.Frames(), 2.0 * 44100, 2 * 1152 + 0.02 * 44100);
        EXPECT_GT(ToneLevel(d, 0, 440), 0.3);
        EXPECT_GT(ToneLevel(d, 0, 1000), 0.3);
    }
}

// Two loud tones close together, summed past full scale: the limiter's gain
// holds over their beat instead of pumping with it, which would show as a
// ripple in their level and as tones of its own either side.
TEST_F(MixedRecorderTest, TheLimiterHoldsItsGainOverTheBeatOfTwoLoudTones) {
    devices(device(tone(1000, 0.9)), device(tone(1030, 0.9)));
    const Decoded loud = take({3.0});
    const size_t window = loud.rate / 5; // whole cycles of both tones and of their beat
    double lowest = 1e9, highest = 0;
    for (size_t at = loud.rate / 2; at + window <= loud.Frames() - loud.rate / 2; at += window) {
        const double level = ToneLevelIn(loud, 0, 1000, at, at + window);
        lowest = std::min(lowest, level);
        highest = std::max(highest, level);
    }
    EXPECT_LT(Decibels(highest / lowest), 0.5) << "the gain ripples";
    for (double product : {970.0, 1060.0})
        EXPECT_LT(Decibels(ToneLevel(loud, 0, product) / ToneLevel(loud, 0, 1000)), -40)
            << product << " Hz";
}

#include "Bass.h"
#include "PeakMeter.h"
#include "SimulatedBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {
SimulatedBackend* install(SimulatedBackend::Script script) {
    auto backend = std::make_unique<SimulatedBackend>(std::move(script));
    SimulatedBackend* raw = backend.get();
    BASS_SetBackend(std::move(backend));
    return raw;
}

SimulatedBackend::Script threeInputs() {
    SimulatedBackend::Script script;
    script.inputs = {{"Microphone", kInputMicrophone, 50},
                     {"Stereo Mix", kInputAnalog, 80},
                     {"Monitor of Speakers", kInputWaveOutput, 100}};
    return script;
}

std::vector<uint8_t> stereoBlock(int16_t left, int16_t right, int frames) {
    std::vector<uint8_t> block;
    for (int i = 0; i < frames; ++i)
        for (int16_t v : {left, right}) {
            block.push_back(static_cast<uint8_t>(v & 0xff));
            block.push_back(static_cast<uint8_t>((v >> 8) & 0xff));
        }
    return block;
}

struct Counter {
    std::atomic<int> blocks{0};
    std::atomic<int> bytes{0};
    std::atomic<int> failures{0};
    std::atomic<bool> inside{false};
    bool goOn = true;
    int sleepMs = 0;
};

bool countBlock(const void*, DWORD length, void* user) {
    auto* c = static_cast<Counter*>(user);
    c->inside = true;
    if (c->sleepMs)
        std::this_thread::sleep_for(std::chrono::milliseconds(c->sleepMs));
    c->blocks++;
    c->bytes += static_cast<int>(length);
    c->inside = false;
    return c->goOn;
}

void countFailure(void* user) {
    static_cast<Counter*>(user)->failures++;
}

class BassTest : public ::testing::Test {
protected:
    void TearDown() override { BASS_SetBackend(nullptr); }
};
} // namespace

TEST_F(BassTest, VersionIsTheOneTheProgramChecks) {
    EXPECT_EQ(BASS_GetVersion() & 0xFFFF, 1u);
    EXPECT_EQ(BASS_GetVersion() >> 16, 8u);
}

TEST_F(BassTest, InputsListNamesTypesAndEndsWithNoName) {
    install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    ASSERT_TRUE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_STREQ(BASS_RecordGetInputName(0), "Microphone");
    EXPECT_STREQ(BASS_RecordGetInputName(2), "Monitor of Speakers");
    EXPECT_EQ(BASS_RecordGetInputName(3), nullptr);
    EXPECT_EQ(BASS_RecordGetInputName(-1), nullptr);
    EXPECT_EQ(BASS_RecordGetInput(0) >> 24, 0x03u);
    EXPECT_EQ(BASS_RecordGetInput(1) >> 24, 0x0Au);
    EXPECT_EQ(BASS_RecordGetInput(2) >> 24, 0x08u);
    EXPECT_EQ(BASS_RecordGetInput(3), static_cast<DWORD>(-1));
}

TEST_F(BassTest, NothingIsListedBeforeTheDeviceIsOpen) {
    install(threeInputs());
    EXPECT_EQ(BASS_RecordGetInputName(0), nullptr);
    EXPECT_EQ(BASS_RecordGetInput(0), static_cast<DWORD>(-1));
    EXPECT_FALSE(BASS_RecordSetInput(0, BASS_INPUT_OFF));
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr)) << "the output check follows the record init";
}

TEST_F(BassTest, OpeningFailsWithoutServerOrOutput) {
    auto script = threeInputs();
    script.connects = false;
    install(script);
    EXPECT_FALSE(BASS_RecordInit(-1));

    script = threeInputs();
    script.hasOutput = false;
    install(script);
    EXPECT_TRUE(BASS_RecordInit(-1));
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
}

TEST_F(BassTest, InputWordsSwitchOffAndOnWithVolume) {
    SimulatedBackend* sim = install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    int i = 0;
    while (BASS_RecordSetInput(i, 0x10000))
        ++i;
    EXPECT_EQ(i, 3) << "the off loop ends at the first refused index";
    ASSERT_TRUE(BASS_RecordSetInput(2, 0x60000 + 37));
    EXPECT_EQ(BASS_RecordGetInput(2) & 0xFFFF, 37u);
    EXPECT_EQ(BASS_RecordGetInput(2) & BASS_INPUT_OFF, 0u) << "selected";
    EXPECT_NE(BASS_RecordGetInput(0) & BASS_INPUT_OFF, 0u);
    EXPECT_EQ(sim->SelectedInput(), 2);
    EXPECT_FALSE(BASS_RecordSetInput(-1, 0x60000 + 10)) << "no input chosen";
    const auto calls = sim->Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "SetInput 2 on 37"), calls.end());
}

TEST_F(BassTest, StartFlagsChooseChannelsAndBlocksCarryTheLevel) {
    SimulatedBackend* sim = install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    Counter counter;
    sim->Push(stereoBlock(16384, -32768, 441));
    ASSERT_EQ(BASS_RecordStart(22050, 0, countBlock, &counter), kRecordChannel);
    ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    EXPECT_EQ(sim->StartedRate(), 22050u);
    EXPECT_EQ(sim->StartedChannels(), 2);
    EXPECT_EQ(counter.blocks, 1);
    EXPECT_EQ(counter.bytes, 441 * 4);
    EXPECT_EQ(BASS_ChannelGetLevel(1), 64u | (128u << 16));
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(BASS_RecordStart(22050, 0, countBlock, &counter), 0u) << "one recording at a time";
    BASS_ChannelStop(1);
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetLevel(1), 0u);

    ASSERT_EQ(BASS_RecordStart(8000, BASS_SAMPLE_MONO, countBlock, &counter), kRecordChannel);
    EXPECT_EQ(sim->StartedChannels(), 1);
    BASS_ChannelStop(1);
}

TEST_F(BassTest, PauseAndResumeFollowTheChannelState) {
    SimulatedBackend* sim = install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    EXPECT_FALSE(BASS_ChannelPause(1)) << "nothing to pause while idle";
    Counter counter;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, countBlock, &counter));
    ASSERT_TRUE(BASS_ChannelPause(1));
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PAUSED);
    sim->Push(stereoBlock(1, 1, 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(counter.blocks, 0) << "no blocks while paused";
    ASSERT_TRUE(BASS_ChannelResume(1));
    ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    EXPECT_EQ(counter.blocks, 1);
    BASS_ChannelStop(1);
}

TEST_F(BassTest, StopReturnsOnlyWhenNoCallbackRuns) {
    SimulatedBackend* sim = install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    Counter counter;
    counter.sleepMs = 30;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, countBlock, &counter));
    for (int i = 0; i < 5; ++i)
        sim->Push(stereoBlock(1, 1, 100));
    while (counter.blocks == 0 && !counter.inside)
        std::this_thread::yield();
    BASS_ChannelStop(1);
    EXPECT_FALSE(counter.inside);
    const int seen = counter.blocks;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(counter.blocks, seen) << "no block after the stop";
}

TEST_F(BassTest, CallbackReturningFalseEndsTheCaptureWithoutAFailure) {
    SimulatedBackend* sim = install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    Counter counter;
    counter.goOn = false;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, countBlock, &counter, countFailure));
    sim->Push(stereoBlock(1, 1, 10));
    sim->Push(stereoBlock(1, 1, 10));
    ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    EXPECT_EQ(counter.blocks, 1);
    EXPECT_EQ(counter.failures, 0);
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
}

TEST_F(BassTest, VanishedSourceEndsTheCaptureAndIsReportedOnce) {
    SimulatedBackend* sim = install(threeInputs());
    ASSERT_TRUE(BASS_RecordInit(-1));
    Counter counter;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, countBlock, &counter, countFailure));
    sim->Push(stereoBlock(1, 1, 10));
    sim->FailAfterQueued();
    ASSERT_TRUE(sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    for (int i = 0; i < 100 && counter.failures == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(counter.blocks, 1) << "blocks before the failure still arrive";
    EXPECT_EQ(counter.failures, 1) << "the failure never arrived";
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
    BASS_ChannelStop(1);
    EXPECT_EQ(counter.failures, 1);
}

TEST_F(BassTest, FreeIsHarmlessWhenNothingIsOpenAndClosesTheDevice) {
    SimulatedBackend* sim = install(threeInputs());
    BASS_RecordFree();
    BASS_Stop();
    BASS_Free();
    EXPECT_TRUE(sim->Calls().empty()) << "nothing was open, so nothing is closed";
    ASSERT_TRUE(BASS_RecordInit(-1));
    EXPECT_STREQ(BASS_RecordGetInputName(0), "Microphone");
    Counter counter;
    ASSERT_TRUE(BASS_RecordStart(44100, 0, countBlock, &counter));
    BASS_RecordFree();
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_RecordGetInputName(0), nullptr);
    EXPECT_EQ(sim->Calls().back(), "Disconnect");
    EXPECT_FALSE(BASS_RecordStart(44100, 0, countBlock, &counter)) << "closed until opened again";
    BASS_RecordFree();
    const auto calls = sim->Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Disconnect"), 1)
        << "a second free is a no-op";
}

TEST(PeakLevel, ScalesClampsAndMirrorsMono) {
    const int16_t mono[] = {0, 256, -256, 255};
    EXPECT_EQ(PeakLevel(mono, sizeof mono, 1), 1u | (1u << 16));
    const int16_t stereo[] = {32767, 0, -16384, 1023};
    EXPECT_EQ(PeakLevel(stereo, sizeof stereo, 2), 127u | (3u << 16));
    const int16_t full[] = {-32768, -32768};
    EXPECT_EQ(PeakLevel(full, sizeof full, 2), 128u | (128u << 16));
    EXPECT_EQ(PeakLevel(nullptr, 0, 2), 0u);

    // A long block: the peaks of each side wherever they fall, the odd last
    // sample (a left one) included.
    std::vector<int16_t> block(2007, -100);
    block[37] = -32768;
    block[500] = -8192;
    EXPECT_EQ(PeakLevel(block.data(), 4014, 2), 32u | (128u << 16));
    block.back() = 16384;
    EXPECT_EQ(PeakLevel(block.data(), 4014, 2), 64u | (128u << 16));
    block[37] = 0;
    EXPECT_EQ(PeakLevel(block.data(), 4014, 1), 64u | (64u << 16));
}

// Each channel's loudest since the last look; a look with no block in
// between keeps what the last saw, while blocks of silence read as silence.
TEST(PeakMeter, KeepsTheLoudestPerChannelUntilTheNextLook) {
    PeakMeter meter;
    meter.Raise(10 | (90u << 16));
    meter.Raise(70 | (20u << 16));
    EXPECT_EQ(meter.Look(), 70u | (90u << 16));
    EXPECT_EQ(meter.Look(), 70u | (90u << 16)) << "no block came: nothing changed";
    meter.Raise(0);
    EXPECT_EQ(meter.Look(), 0u);
    meter.Raise(128 | (128u << 16));
    meter.Reset();
    EXPECT_EQ(meter.Look(), 0u);
}

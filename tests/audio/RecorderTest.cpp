#include "Recorder.h"
#include "AudioCheck.h"
#include "Bass.h"
#include "DirectLame.h"
#include "FakeRecorderHost.h"
#include "FakeTakeWatcher.h"
#include "Mount.h"
#include "QualityPresets.h"
#include "SimulatedBackend.h"
#include "TempFolder.h"

#include "SpinUntil.h"
#include <QCoreApplication>
#include <QTranslator>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace fs = std::filesystem;

namespace {
using Take = RecorderHost::Take;
using Takes = std::vector<Take>;

// Writes to a real file but refuses everything past a number of bytes, as a
// disk that fills up would.
class FailingWriter : public FileWriter {
public:
    FailingWriter(std::unique_ptr<FileWriter> inner, size_t limit)
        : m_inner(std::move(inner)), m_left(limit) {}
    bool Write(const uint8_t* data, size_t size) override {
        const size_t n = std::min(size, m_left);
        m_left -= n;
        return m_inner->Write(data, n) && n == size;
    }
    bool Close() override { return m_inner->Close(); }

private:
    std::unique_ptr<FileWriter> m_inner;
    size_t m_left;
};

std::vector<uint8_t> asBytes(const std::vector<int16_t>& pcm) {
    std::vector<uint8_t> bytes(pcm.size() * 2);
    std::memcpy(bytes.data(), pcm.data(), bytes.size());
    return bytes;
}

// The stream a take must come out as: whole chunks straight through
// libmp3lame, the tail of less than a chunk dropped, then the flush.
std::vector<uint8_t> reference(const std::vector<int16_t>& pcm, int position, bool stereo,
                               size_t* chunkBytes = nullptr) {
    const QualityPreset& p = QualityPresets[static_cast<size_t>(position)];
    const int channels = stereo ? 2 : 1;
    DirectLame lame(static_cast<int>(p.sampleRate), channels, static_cast<int>(p.bitRate));
    std::vector<uint8_t> out;
    const size_t chunk = static_cast<size_t>(lame.FrameSize()) * static_cast<size_t>(channels);
    for (size_t at = 0; at + chunk <= pcm.size(); at += chunk) {
        const int n = lame.Encode(pcm.data() + at);
        out.insert(out.end(), lame.Output(), lame.Output() + n);
    }
    if (chunkBytes)
        *chunkBytes = out.size();
    const int n = lame.Flush();
    out.insert(out.end(), lame.Output(), lame.Output() + n);
    return out;
}

class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        SimulatedBackend::Script script;
        script.inputs = {{"Microphone", kInputMicrophone, 100},
                         {"Monitor of Speakers", kInputWaveOutput, 100}};
        auto backend = std::make_unique<SimulatedBackend>(script);
        m_sim = backend.get();
        BASS_SetBackend(std::move(backend));
        ASSERT_TRUE(BASS_RecordInit(-1));
        fs::create_directories(m_folder / "tmp");
        m_host.settings.channel = 1;
        m_host.settings.quality = 61; // 44100 Hz, 128 kbps
        m_recorder = std::make_unique<Recorder>(m_host, m_folder / "tmp");
        m_recorder->CreateStreams();
    }
    void TearDown() override {
        m_recorder.reset();
        BASS_SetBackend(nullptr);
    }

    // Starts a take, delivers the blocks, stops it; returns what was saved.
    std::vector<uint8_t> take(const std::vector<uint8_t>& pcm, const std::vector<size_t>& sizes) {
        m_recorder->ToggleRecording(false);
        EXPECT_TRUE(m_recorder->IsActive());
        size_t at = 0;
        for (size_t i = 0; at < pcm.size(); ++i) {
            const size_t n = std::min(sizes[i % sizes.size()], pcm.size() - at);
            m_sim->Push(
                {pcm.begin() + static_cast<long>(at), pcm.begin() + static_cast<long>(at + n)});
            at += n;
        }
        EXPECT_TRUE(m_sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
        m_recorder->ToggleRecording(false);
        return m_host.savedBytes;
    }

    TempFolder m_folder;
    FakeRecorderHost m_host;
    SimulatedBackend* m_sim = nullptr;
    std::unique_ptr<Recorder> m_recorder;
};
} // namespace

TEST_F(RecorderTest, AnyBlockSizesGiveTheSameStreamAsWholeChunks) {
    const size_t chunk = 1152 * 2 * 2;
    std::mt19937 random(7);
    std::vector<size_t> randomSizes;
    for (int i = 0; i < 200; ++i)
        randomSizes.push_back(std::uniform_int_distribution<size_t>(1, 3 * chunk)(random));
    const struct {
        const char* name;
        std::vector<size_t> sizes;
        double seconds;
        bool wholeChunks = false; // the take ends on a chunk boundary
    } cases[] = {
        {"one byte", {1}, 0.15},
        {"a chunk less a byte", {chunk - 1}, 1.5},
        {"k chunks and r bytes", {3 * chunk + 5}, 1.5},
        {"exactly one chunk", {chunk}, 1.0},
        {"odd sizes", {7, chunk + 3, 1, 2 * chunk - 1}, 1.5},
        {"random", randomSizes, 2.0},
        {"chunk-aligned blocks to the end", {chunk, 2 * chunk}, 1.0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int16_t> pcm = Tone(44100, 2, c.seconds);
        if (c.wholeChunks)
            pcm.resize(pcm.size() / (chunk / 2) * (chunk / 2));
        const std::vector<uint8_t> saved = take(asBytes(pcm), c.sizes);
        size_t chunkBytes = 0;
        const std::vector<uint8_t> expected = reference(pcm, 61, true, &chunkBytes);
        EXPECT_EQ(saved.size(), expected.size());
        EXPECT_TRUE(saved == expected);
        EXPECT_EQ(m_recorder->encodedByteCount, static_cast<int64_t>(chunkBytes))
            << "the count follows the chunks; the flush comes at the stop";
    }
}

TEST_F(RecorderTest, MonoAtAnotherPresetMatchesToo) {
    m_host.settings.quality = 35; // 22050 Hz, 64 kbps
    m_host.settings.stereo = false;
    const std::vector<int16_t> pcm = Tone(22050, 1, 1.0);
    const std::vector<uint8_t> saved = take(asBytes(pcm), {1001});
    EXPECT_TRUE(saved == reference(pcm, 35, false));
    EXPECT_EQ(m_sim->StartedRate(), 22050u);
    EXPECT_EQ(m_sim->StartedChannels(), 1);
}

TEST_F(RecorderTest, TakeShorterThanAChunkHoldsOnlyTheFinalOutput) {
    const std::vector<int16_t> pcm = Tone(44100, 2, 0.01);
    const std::vector<uint8_t> saved = take(asBytes(pcm), {100});
    EXPECT_TRUE(saved == reference({}, 61, true));
}

TEST_F(RecorderTest, StartSwitchesInputsAndStopRunsTheSaveSteps) {
    m_host.settings.volume = 37;
    take(asBytes(Tone(44100, 2, 0.2)), {4410});
    const auto calls = m_sim->Calls();
    const std::vector<std::string> expectedStart = {"SetInput 0 off", "SetInput 1 off",
                                                    "SetInput 1 on 37", "Start 44100 2"};
    auto first = std::find(calls.begin(), calls.end(), "SetInput 0 off");
    ASSERT_NE(first, calls.end());
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), first));
    EXPECT_EQ(m_host.calls, (std::vector<std::string>{"busy", "save", "lastdir", "ready"}));
    EXPECT_EQ(m_host.savedFile, m_folder / "tmp/tmpfile1.mp3");
    EXPECT_TRUE(m_recorder->tempFileName.empty());
    EXPECT_EQ(m_host.takes.front(), Take::Recording) << "the sign that recording began";
    EXPECT_FALSE(m_recorder->IsActive());
}

TEST_F(RecorderTest, NextTakeUsesTheSmallestFreeNumber) {
    WriteFile(m_folder / "tmp/tmpfile1.mp3", "left over");
    take(asBytes(Tone(44100, 2, 0.1)), {4410});
    EXPECT_EQ(m_host.savedFile, m_folder / "tmp/tmpfile2.mp3");
    EXPECT_EQ(ReadFile(m_folder / "tmp/tmpfile1.mp3"), "left over");
}

TEST_F(RecorderTest, FileGrowsFromTheFirstBlockAndEverySecondAfter) {
    m_host.settings.quality = 65; // 320 kbps: 40000 bytes a second
    // The file's size on disk after each write while the take runs.
    class Watched : public FailingWriter {
    public:
        Watched(const std::string& path, std::vector<off_t>& sizes)
            : FailingWriter(CreateNewFile(path), SIZE_MAX), m_path(path), m_sizes(sizes) {}
        bool Write(const uint8_t* data, size_t size) override {
            const bool ok = FailingWriter::Write(data, size);
            struct stat st {};
            if (BASS_ChannelIsActive(1) != BASS_ACTIVE_STOPPED && ::stat(m_path.c_str(), &st) == 0)
                m_sizes.push_back(st.st_size);
            return ok;
        }

    private:
        std::string m_path;
        std::vector<off_t>& m_sizes;
    };
    std::vector<off_t> sizes;
    m_recorder->SetFileFactory([&sizes](const std::string& path) -> std::unique_ptr<FileWriter> {
        return std::make_unique<Watched>(path, sizes);
    });
    for (const int channels : {2, 1}) {
        m_host.settings.stereo = channels == 2;
        sizes.clear();
        // Blocks of 0.1 s: a write is due at most one block after a second.
        // The first block is shorter than a chunk: nothing to write yet.
        const std::vector<uint8_t> saved =
            take(asBytes(Tone(44100, channels, 8.0)),
                 {size_t(200) * size_t(channels), size_t(8820) * size_t(channels)});
        ASSERT_GE(sizes.size(), 6u) << channels;
        EXPECT_GT(sizes[0], 0) << "the first block's frames are on disk at once";
        EXPECT_LT(sizes[0], 20000) << "the first block's, not the first second's";
        for (size_t i = 1; i < sizes.size(); ++i) {
            const off_t step = sizes[i] - sizes[i - 1];
            EXPECT_GT(step, 40000 - 2 * 1045) << "write " << i << ", channels " << channels;
            EXPECT_LT(step, 40000 + 8000 + 2 * 1045) << "write " << i << ", channels " << channels;
        }
        EXPECT_GT(static_cast<off_t>(saved.size()), sizes.back());
    }
    // Half a second, then what makes a whole second held (22050 frames leave
    // 162 beyond whole chunks): that second is written at once, not with the
    // next block.
    m_host.settings.stereo = true;
    sizes.clear();
    take(asBytes(Tone(44100, 2, 3.0)), {22050 * 4, (44100 - 162) * 4});
    ASSERT_GE(sizes.size(), 2u);
    EXPECT_LT(sizes[1] - sizes[0], 40000 + 2 * 1045) << "a second held, and written";
}

// A program started during a take (the mail client, a file manager) would
// keep the take's file open, and on a removable disk keep it from unmounting.
TEST_F(RecorderTest, AProgramStartedDuringATakeDoesNotHoldItsFile) {
    m_recorder->ToggleRecording(false);
    ASSERT_TRUE(m_recorder->IsActive());
    std::string held;
    FILE* child = ::popen("ls -l /proc/self/fd/", "r");
    ASSERT_NE(child, nullptr);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, child)) > 0;)
        held.append(buffer, n);
    ::pclose(child);
    m_recorder->ToggleRecording(false);
    EXPECT_NE(held.find(" -> "), std::string::npos) << held;
    EXPECT_EQ(held.find("tmpfile"), std::string::npos) << held;
}

TEST_F(RecorderTest, PauseAndResume) {
    m_recorder->TogglePause();
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED) << "nothing to pause while idle";
    m_recorder->ToggleRecording(false);
    m_recorder->TogglePause();
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PAUSED);
    m_recorder->TogglePause();
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_PLAYING) << "pause while paused resumes";
    m_recorder->TogglePause();
    m_recorder->ToggleRecording(false);
    EXPECT_EQ(m_host.dialogs, 1) << "a paused take stops like a running one";
    const auto calls = m_sim->Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Pause"), 2);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Resume"), 1);
    EXPECT_EQ(m_host.takes, (Takes{Take::Recording, Take::Paused, Take::Recording, Take::Paused}));
}

TEST_F(RecorderTest, EmailFlagIsTakenAtTheStart) {
    m_recorder->ToggleRecording(true);
    m_recorder->ToggleRecording(false);
    EXPECT_TRUE(m_host.savedEmail);
    m_recorder->ToggleRecording(false);
    m_recorder->ToggleRecording(true);
    EXPECT_FALSE(m_host.savedEmail);
}

TEST_F(RecorderTest, FailedStartsSayWhyAndLeaveNothingRunning) {
    m_host.settings.channel = -1;
    m_recorder->ToggleRecording(false);
    EXPECT_EQ(m_host.errors, std::vector<std::string>{"Recording Channel not specified."});
    EXPECT_TRUE(m_host.takes.empty());
    EXPECT_TRUE(fs::is_empty(m_folder / "tmp"));

    m_host.settings.channel = 1;
    m_host.errors.clear();
    fs::remove_all(m_folder / "tmp");
    m_recorder->ToggleRecording(false);
    EXPECT_EQ(m_host.errors, std::vector<std::string>{"Unable to create MP3 file."});
    EXPECT_EQ(m_host.takes, (Takes{Take::Recording, Take::Idle}));
    EXPECT_FALSE(m_recorder->IsActive());
}

TEST_F(RecorderTest, CaptureThatDoesNotStartLeavesNoFileAndIsGoneBeforeTheBox) {
    SimulatedBackend::Script script;
    script.inputs = {{"Mic", kInputMicrophone, 100}};
    script.startSucceeds = false;
    BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
    ASSERT_TRUE(BASS_RecordInit(-1));
    m_host.settings.channel = 0;
    bool activeDuringBox = true;
    bool fileDuringBox = true;
    int clicks = 0;
    m_host.onError = [&] {
        activeDuringBox = m_recorder->IsActive();
        fileDuringBox = !fs::is_empty(m_folder / "tmp");
        // A click on the tray while the box is up.
        if (clicks++ == 0)
            m_recorder->ToggleRecording(false);
    };
    m_recorder->ToggleRecording(false);
    EXPECT_FALSE(activeDuringBox);
    EXPECT_FALSE(fileDuringBox);
    EXPECT_EQ(m_host.errors, (std::vector<std::string>{"Unable to start recording.",
                                                       "Unable to start recording."}))
        << "the click tried a fresh take";
    EXPECT_EQ(m_host.takes, (Takes{Take::Recording, Take::Idle, Take::Recording, Take::Idle}));
    EXPECT_TRUE(fs::is_empty(m_folder / "tmp"));
    EXPECT_FALSE(m_recorder->IsActive());
    EXPECT_EQ(m_host.dialogs, 0) << "no half-started take reached the save dialog";
}

TEST_F(RecorderTest, FinalWriteThatFailsIsReportedAndTheTakeStillOffered) {
    class UnclosableWriter : public FailingWriter {
    public:
        using FailingWriter::FailingWriter;
        bool Close() override {
            FailingWriter::Close();
            return false;
        }
    };
    m_recorder->SetFileFactory([](const std::string& path) -> std::unique_ptr<FileWriter> {
        return std::make_unique<UnclosableWriter>(CreateNewFile(path), SIZE_MAX);
    });
    const std::vector<int16_t> tone = Tone(44100, 2, 0.5);
    EXPECT_TRUE(take(asBytes(tone), {4410}) == reference(tone, 61, true));
    EXPECT_EQ(m_host.errors, std::vector<std::string>{Recorder::kEndNotWrittenText});
    EXPECT_EQ(m_host.dialogs, 1);
    EXPECT_TRUE(m_host.notifications.empty());

    m_host.errors.clear();
    m_recorder->SetFileFactory([](const std::string& path) -> std::unique_ptr<FileWriter> {
        return std::make_unique<FailingWriter>(CreateNewFile(path), 1000);
    });
    take(asBytes(tone), {4410});
    EXPECT_EQ(m_host.errors, std::vector<std::string>{Recorder::kEndNotWrittenText})
        << "the flush at stop fails";
    EXPECT_EQ(m_host.savedBytes.size(), 1000u);

    // Only the pending sound's write fails; the encoder's last frames and the
    // close that follow it succeed, and must not hide the loss.
    class FailsOnce : public FailingWriter {
    public:
        using FailingWriter::FailingWriter;
        bool Write(const uint8_t* data, size_t size) override {
            // The first is the take's first frames, written as they come.
            return m_writes++ != 1 && FailingWriter::Write(data, size);
        }

    private:
        std::atomic<int> m_writes{0};
    };
    m_host.errors.clear();
    m_recorder->SetFileFactory([](const std::string& path) -> std::unique_ptr<FileWriter> {
        return std::make_unique<FailsOnce>(CreateNewFile(path), SIZE_MAX);
    });
    take(asBytes(tone), {4410});
    EXPECT_EQ(m_host.errors, std::vector<std::string>{Recorder::kEndNotWrittenText})
        << "only the pending sound was lost";
}

TEST_F(RecorderTest, FullDiskKeepsEverythingWrittenAndTheProgramGoesOn) {
    m_recorder->SetFileFactory([](const std::string& path) -> std::unique_ptr<FileWriter> {
        return std::make_unique<FailingWriter>(CreateNewFile(path), 600000);
    });
    m_host.settings.quality = 65;
    m_recorder->ToggleRecording(false);
    const std::vector<uint8_t> pcm = asBytes(Tone(44100, 2, 40.0));
    for (size_t at = 0; at < pcm.size(); at += 17640)
        m_sim->Push({pcm.begin() + static_cast<long>(at),
                     pcm.begin() + static_cast<long>(std::min(at + 17640, pcm.size()))});
    ASSERT_TRUE(spinUntil([&] { return m_host.dialogs == 1; }))
        << "the failed write was never reported";
    EXPECT_EQ(m_host.notifications, std::vector<std::string>{Recorder::kWriteFailedText});
    EXPECT_EQ(BASS_ChannelIsActive(1), BASS_ACTIVE_STOPPED);
    EXPECT_FALSE(m_recorder->IsActive());
    EXPECT_EQ(m_host.savedBytes.size(), 600000u);
    EXPECT_GT(m_recorder->encodedByteCount, 600000) << "bytes encoded up to the failure count";
    const Decoded d = DecodeMp3(m_host.savedFile);
    EXPECT_EQ(d.channels, 2);
    EXPECT_GT(d.Frames(), 44100u * 14) << "about 15 s of sound fit in 600000 bytes";
    EXPECT_NEAR(ToneFrequency(d, 0), 440, 5);

    m_recorder->SetFileFactory(&CreateNewFile);
    m_host.settings.quality = 61;
    const std::vector<int16_t> tone = Tone(44100, 2, 0.5);
    EXPECT_TRUE(take(asBytes(tone), {4410}) == reference(tone, 61, true)) << "the next take works";
}

TEST_F(RecorderTest, DiskFilledByAnotherProgramEarlyKeepsTheSoundBeforeIt) {
    const TestMount disk = TestMount::Tmpfs(m_folder / "tmp", "1m");
    ASSERT_TRUE(disk.Ok());
    m_recorder->ToggleRecording(false);
    const std::vector<uint8_t> pcm = asBytes(Tone(44100, 2, 3.0));
    const auto push = [&](size_t from, size_t to) {
        for (size_t at = from; at < to; at += 17640)
            m_sim->Push({pcm.begin() + static_cast<long>(at),
                         pcm.begin() + static_cast<long>(std::min(at + 17640, to))});
    };
    push(0, 17640 * 14); // 1.4 s
    EXPECT_TRUE(m_sim->WaitUntilDrained()) << "the simulated device still had sound to deliver";
    const std::string filler = m_folder / "tmp/filler";
    {
        std::ofstream out(filler, std::ios::binary);
        const std::vector<char> zeros(4096);
        for (int i = 0; i < 1024 && out.write(zeros.data(), zeros.size()); ++i) {
        }
    }
    push(17640 * 14, pcm.size());
    ASSERT_TRUE(spinUntil([&] { return m_host.dialogs == 1; }))
        << "the failed write was never reported";
    EXPECT_EQ(m_host.notifications, std::vector<std::string>{Recorder::kWriteFailedText});
    fs::remove(filler);
    const Decoded d = DecodeMp3(m_host.savedFile);
    EXPECT_EQ(d.channels, 2);
    EXPECT_GT(d.Frames(), 44100u * 9 / 10) << "the second written before the disk filled";
    EXPECT_NEAR(ToneFrequency(d, 0), 440, 5);
}

TEST_F(RecorderTest, VanishedDeviceEndsTheTakeAndOffersWhatWasRecorded) {
    // Told in the user's language.
    QTranslator german;
    ASSERT_TRUE(german.load(QStringLiteral(TAPEWREN_BINARY_DIR "/tapewren_de.qm")));
    QCoreApplication::installTranslator(&german);
    m_recorder->ToggleRecording(false);
    const std::vector<int16_t> pcm = Tone(44100, 2, 2.0);
    m_sim->Push(asBytes(pcm));
    m_sim->FailAfterQueued();
    ASSERT_TRUE(spinUntil([&] { return m_host.dialogs == 1; }))
        << "the lost device was never reported";
    QCoreApplication::removeTranslator(&german);
    EXPECT_EQ(
        m_host.notifications,
        std::vector<std::string>{"Aufnahme beendet: Das Aufnahmegerät ist nicht mehr verfügbar."});
    EXPECT_TRUE(m_host.savedBytes == reference(pcm, 61, true));
    EXPECT_FALSE(m_recorder->IsActive());
}

TEST_F(RecorderTest, AClickBeforeTheQueuedStopFinishesTheTakeOnce) {
    m_recorder->ToggleRecording(false);
    m_sim->Push(asBytes(Tone(44100, 2, 0.5)));
    m_sim->FailAfterQueued();
    ASSERT_TRUE(spinUntil([&] { return BASS_ChannelIsActive(1) == BASS_ACTIVE_STOPPED; }))
        << "the failed capture never stopped";
    EXPECT_TRUE(m_recorder->IsActive()) << "the take is not finished yet";
    m_recorder->ToggleRecording(false); // the user's click arrives first
    EXPECT_EQ(m_host.dialogs, 1);
    spinUntil([] { return false; }, 50);
    EXPECT_EQ(m_host.dialogs, 1) << "the queued stop finds nothing left to do";
    EXPECT_EQ(m_host.notifications.size(), 1u);
}

TEST_F(RecorderTest, VbrTakeTellsPlayersItsLength) {
    m_host.settings.vbr = true;
    take(asBytes(Tone(44100, 2, 3.0)), {8820});
    const FrameWalk walk = WalkFrames(m_host.savedBytes);
    EXPECT_EQ(VbrHeaderFrames(m_host.savedBytes), walk.frames - 1);
    EXPECT_NEAR(FfprobeDuration(m_host.savedFile), 3.0, 3 * 1152 / 44100.0);
}

TEST_F(RecorderTest, WatchersHearOfEveryStartAndEveryEnd) {
    FakeTakeWatcher watcher;
    m_recorder->AddTakeWatcher(watcher);
    using Calls = std::vector<std::string>;
    const std::vector<int16_t> tone = Tone(44100, 2, 1.0);
    take(asBytes(tone), {4410});
    EXPECT_EQ(watcher.calls, (Calls{"refusal?", "started", "ended"}));
    EXPECT_EQ(watcher.last.folder, m_folder.Path() + "tmp/");
    EXPECT_EQ(watcher.last.bitRate, 128u);
    EXPECT_FALSE(watcher.last.vbr);
    EXPECT_EQ(watcher.last.samplesPerSecond, 88200u);
    EXPECT_EQ(m_recorder->encodedSampleCount, static_cast<int64_t>(tone.size() / 2304 * 2304))
        << "whole chunks of 1152 frames";

    // The device goes, the disk fills, the program ends: each ends the take.
    watcher.calls.clear();
    m_recorder->ToggleRecording(false);
    m_sim->FailAfterQueued();
    ASSERT_TRUE(spinUntil([&] { return m_host.dialogs == 2; }))
        << "the second failure was never reported";
    m_recorder->SetFileFactory([](const std::string& path) -> std::unique_ptr<FileWriter> {
        return std::make_unique<FailingWriter>(CreateNewFile(path), 0);
    });
    m_recorder->ToggleRecording(false);
    m_sim->Push(asBytes(Tone(44100, 2, 6.0)));
    ASSERT_TRUE(spinUntil([&] { return m_host.dialogs == 3; }))
        << "the third failure was never reported";
    m_recorder->SetFileFactory(&CreateNewFile);
    m_recorder->ToggleRecording(false);
    m_recorder->TogglePause();
    EXPECT_EQ(watcher.calls.back(), "started") << "a paused take still runs";
    m_recorder.reset();
    EXPECT_EQ(watcher.calls, (Calls{"refusal?", "started", "ended", "refusal?", "started", "ended",
                                    "refusal?", "started", "ended"}));

    // Starts that fail hold nothing.
    m_recorder = std::make_unique<Recorder>(m_host, m_folder / "tmp");
    m_recorder->AddTakeWatcher(watcher);
    watcher.calls.clear();
    fs::remove_all(m_folder / "tmp");
    m_recorder->ToggleRecording(false);
    EXPECT_EQ(watcher.calls, Calls{"refusal?"});
    fs::create_directories(m_folder / "tmp");
    m_host.settings.vbr = true;
    m_host.settings.quality = 65;
    m_host.settings.stereo = false;
    watcher.refusal = "No room for this.";
    m_host.errors.clear();
    m_host.takes.clear();
    m_recorder->ToggleRecording(false);
    EXPECT_EQ(m_host.errors, Calls{"No room for this."}) << "said as a failed start";
    EXPECT_EQ(m_host.takes, (Takes{Take::Recording, Take::Idle}));
    EXPECT_TRUE(fs::is_empty(m_folder / "tmp")) << "nothing made";
    EXPECT_FALSE(m_recorder->IsActive());
    const auto calls = m_sim->Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "Start 44100 1"), 0) << "nothing started";
    EXPECT_EQ(watcher.calls, (Calls{"refusal?", "refusal?"}));
    EXPECT_EQ(watcher.last.bitRate, 320u) << "the ceiling of the variable rate";
    EXPECT_TRUE(watcher.last.vbr);
    EXPECT_EQ(watcher.last.samplesPerSecond, 44100u);
}

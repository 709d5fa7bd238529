// Every quality preset, stereo and mono, constant and variable bit rate:
// 2 s of a 440 Hz tone through TLameCoder, checked by independent tools.
#include "AudioCheck.h"
#include "LameCoder.h"
#include "QualityPresets.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <random>
#include <sstream>
#include <thread>

namespace {
struct Case {
    int position;
    bool stereo;
    bool vbr;
};

std::string describe(const Case& c) {
    std::ostringstream s;
    const QualityPreset& p = QualityPresets[static_cast<size_t>(c.position)];
    s << "preset " << c.position << " (" << p.sampleRate << " Hz, " << p.bitRate << " kbps) "
      << (c.stereo ? "stereo" : "mono") << (c.vbr ? " VBR" : " CBR");
    return s.str();
}

// Encodes as the recorder does: whole chunks only, then the flush.
bool encode(const std::string& path, const Case& c, std::string& error) {
    const RecordingParameters params = RecordingParametersFor(c.position, c.stereo, c.vbr);
    const std::vector<int16_t> pcm = Tone(params.captureRate, params.captureChannels, 2.0);
    TLameCoder coder;
    ConfigureEncoder(coder, params);
    if (coder.OpenStream() != BE_ERR_SUCCESSFUL) {
        error = "OpenStream failed";
        return false;
    }
    std::vector<uint8_t> out(coder.OutputBufferSize());
    FILE* file = std::fopen(path.c_str(), "wb");
    const size_t chunk = coder.SamplesPerChunk();
    for (size_t at = 0; at + chunk <= pcm.size(); at += chunk) {
        uint32_t count = 0;
        if (coder.EncodeChunk(pcm.data() + at, out.data(), count) != BE_ERR_SUCCESSFUL) {
            error = "EncodeChunk failed";
            return false;
        }
        std::fwrite(out.data(), 1, count, file);
    }
    uint32_t count = 0;
    coder.FinishStream(out.data(), count);
    std::fwrite(out.data(), 1, count, file);
    std::fclose(file);
    if (c.vbr && coder.WriteInfoTag(path) != BE_ERR_SUCCESSFUL) {
        error = "WriteInfoTag failed";
        return false;
    }
    coder.CloseStream();
    return true;
}

std::string check(const std::string& path, const Case& c) {
    std::string error;
    if (!encode(path, c, error))
        return error;
    std::ostringstream problems;
    const std::vector<uint8_t> bytes = ReadBytes(path);
    const FrameWalk walk = WalkFrames(bytes);
    if (walk.broken || walk.frames == 0)
        problems << " frames do not follow each other;";
    // The VBR header frame carries no audio and may go without a checksum.
    if (walk.framesWithoutCrc > (c.vbr ? 1 : 0))
        problems << " " << walk.framesWithoutCrc << " frames without CRC;";
    const Decoded d = DecodeMp3(path);
    if (d.channels != (c.stereo ? 2 : 1))
        problems << " decodes to " << d.channels << " channels;";
    const double frame = walk.samplesPerFrame;
    const double expected = 2.0 * d.rate;
    if (d.rate == 0 || std::abs(static_cast<double>(d.Frames()) - expected) > 3 * frame)
        problems << " decodes to " << d.Frames() << " samples at " << d.rate << " Hz;";
    for (int ch = 0; ch < d.channels; ++ch) {
        const double f = ToneFrequency(d, ch);
        if (std::abs(f - 440.0) > 440.0 * 0.03)
            problems << " channel " << ch << " at " << f << " Hz;";
    }
    if (c.vbr) {
        // The header frame counts the audio frames that follow it.
        if (VbrHeaderFrames(bytes) != walk.frames - 1)
            problems << " VBR header announces " << VbrHeaderFrames(bytes) << " frames of "
                     << walk.frames - 1 << ";";
        const double seconds = FfprobeDuration(path);
        if (std::abs(seconds - 2.0) > 3 * frame / d.rate)
            problems << " players would show " << seconds << " s;";
    }
    return problems.str();
}

// Each half runs as a ctest of its own, well inside its time limit.
void checkEveryPreset(bool stereo) {
    std::vector<Case> cases;
    for (int p = 0; p < kQualityPresetCount; ++p)
        for (bool vbr : {false, true})
            cases.push_back({p, stereo, vbr});
    ASSERT_EQ(cases.size(), 154u);

    TempFolder temp;
    std::atomic<size_t> next{0};
    std::mutex mutex;
    std::vector<std::string> failures;
    const auto worker = [&] {
        for (size_t i; (i = next++) < cases.size();) {
            const std::string path = temp / ("case" + std::to_string(i) + ".mp3");
            const std::string problem = check(path, cases[i]);
            std::remove(path.c_str());
            if (!problem.empty()) {
                std::lock_guard lock(mutex);
                failures.push_back(describe(cases[i]) + ":" + problem);
            }
        }
    };
    std::vector<std::thread> threads;
    const unsigned count = std::max(2u, std::thread::hardware_concurrency());
    for (unsigned t = 0; t < count; ++t)
        threads.emplace_back(worker);
    for (auto& t : threads)
        t.join();
    for (const std::string& f : failures)
        ADD_FAILURE() << f;
    EXPECT_TRUE(failures.empty()) << failures.size() << " of 154 cases failed";
}
} // namespace

TEST(EncoderMatrix, EveryStereoPresetDecodesToTheToneItWasGiven) {
    checkEveryPreset(true);
}

TEST(EncoderMatrix, EveryMonoPresetDecodesToTheToneItWasGiven) {
    checkEveryPreset(false);
}

// Noise leaves the encoder nothing to save: a variable rate runs up to its
// ceiling, never below its floor.
TEST(EncoderMatrix, VbrNoiseStaysBetweenFloorAndCeiling) {
    std::mt19937 random(16);
    std::uniform_int_distribution<int> sample(-20000, 20000);
    for (const int position : {35, 50, 61, 65, 76}) {
        const RecordingParameters params = RecordingParametersFor(position, true, true);
        SCOPED_TRACE(describe({position, true, true}));
        std::vector<int16_t> pcm(static_cast<size_t>(params.captureRate) * 2 * 3);
        for (int16_t& v : pcm)
            v = static_cast<int16_t>(sample(random));
        TLameCoder coder;
        ConfigureEncoder(coder, params);
        ASSERT_EQ(coder.OpenStream(), BE_ERR_SUCCESSFUL);
        std::vector<uint8_t> out(coder.OutputBufferSize()), mp3;
        const size_t chunk = coder.SamplesPerChunk();
        for (size_t at = 0; at + chunk <= pcm.size(); at += chunk) {
            uint32_t count = 0;
            ASSERT_EQ(coder.EncodeChunk(pcm.data() + at, out.data(), count), BE_ERR_SUCCESSFUL);
            mp3.insert(mp3.end(), out.begin(), out.begin() + count);
        }
        uint32_t count = 0;
        coder.FinishStream(out.data(), count);
        mp3.insert(mp3.end(), out.begin(), out.begin() + count);
        coder.CloseStream();
        const FrameWalk walk = WalkFrames(mp3);
        ASSERT_FALSE(walk.broken);
        ASSERT_GT(walk.frames, 10);
        // The first frame is the header's placeholder and carries no audio.
        const double seconds =
            static_cast<double>(walk.frames - 1) * walk.samplesPerFrame / walk.sampleRate;
        const double kbps =
            static_cast<double>(mp3.size() - walk.firstFrameBytes) * 8 / seconds / 1000;
        EXPECT_GE(kbps, params.bitrate);
        EXPECT_LE(kbps, params.maxBitrate + 1.0);
        if (params.maxBitrate >= 128) {
            EXPECT_GT(kbps, 3.0 * params.bitrate) << "noise asks for far more than the floor";
        }
    }
}

TEST(EncoderMatrix, InfoTagIsWrittenOnlyOverAPlaceholderFrame) {
    TempFolder temp;
    TLameCoder coder;
    coder.SetEnableVBR(true);
    ASSERT_EQ(coder.OpenStream(), BE_ERR_SUCCESSFUL);
    std::vector<uint8_t> out(coder.OutputBufferSize());
    uint32_t count = 0;
    coder.FinishStream(out.data(), count);
    WriteFile(temp / "short.mp3", "\xFF\xFB");
    EXPECT_NE(coder.WriteInfoTag(temp / "short.mp3"), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(ReadFile(temp / "short.mp3"), "\xFF\xFB") << "a short file is not extended";
    WriteFile(temp / "other.bin", std::string(4096, 'x'));
    EXPECT_NE(coder.WriteInfoTag(temp / "other.bin"), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(ReadFile(temp / "other.bin"), std::string(4096, 'x'));
    EXPECT_NE(coder.WriteInfoTag(temp / "missing.mp3"), BE_ERR_SUCCESSFUL);
}

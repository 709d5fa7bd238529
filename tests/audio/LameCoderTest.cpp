#include "LameCoder.h"
#include "QualityPresets.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <stdarg.h>
#include <stdio.h>
#include <string>
#include <utility>
#include <vector>

// lame.h declares STEREO and MONO at global scope, as our channel modes do.
namespace lame {
#include <lame/lame.h>
}
using lame::get_lame_url;
using lame::get_lame_version;

namespace {
// Reads a field of the record the way the stream interface sees it: bytes.
uint32_t field(const BE_CONFIG& config, size_t offset) {
    uint32_t value;
    std::memcpy(&value, reinterpret_cast<const uint8_t*>(&config) + offset, 4);
    return value;
}
} // namespace

TEST(LameCoder, FreshComponentOpensAt44100Hz128kbpsStereoWithCrc) {
    TLameCoder coder;
    ASSERT_EQ(coder.OpenStream(), BE_ERR_SUCCESSFUL);
    const BE_CONFIG& c = coder.Config();
    EXPECT_EQ(field(c, 0), 256u);
    EXPECT_EQ(field(c, 4), 1u);
    EXPECT_EQ(field(c, 8), 331u);
    EXPECT_EQ(field(c, 12), 44100u);
    EXPECT_EQ(field(c, 16), 0u) << "the encoder picks the output rate";
    EXPECT_EQ(field(c, 20), 0u) << "STEREO";
    EXPECT_EQ(field(c, 24), 128u);
    EXPECT_EQ(field(c, 28), 320u);
    EXPECT_EQ(field(c, 32), 0u) << "NORMAL_QUALITY";
    EXPECT_EQ(field(c, 36), 1u) << "MPEG version";
    EXPECT_EQ(field(c, 52), 1u) << "CRC";
    for (size_t offset : {40, 44, 48, 56, 60, 64, 68})
        EXPECT_EQ(field(c, offset), 0u) << "offset " << offset;
    EXPECT_EQ(field(c, 72), 4u) << "VBR quality";
    const auto* bytes = reinterpret_cast<const uint8_t*>(&c);
    for (size_t i = 76; i < sizeof c; ++i)
        ASSERT_EQ(bytes[i], 0) << "byte " << i;
    EXPECT_EQ(coder.SamplesPerChunk(), 2304u);
    EXPECT_EQ(coder.OutputBufferSize(), 1152u * 5 / 4 + 7200);
    EXPECT_EQ(coder.CloseStream(), BE_ERR_SUCCESSFUL);
}

TEST(LameCoder, ChunkIsOneFramePerChannelAndHalvesBelow32kHz) {
    TLameCoder mono;
    mono.SetMode(MONO);
    mono.SetSampleRate(22050);
    mono.SetBitrate(64);
    ASSERT_EQ(mono.OpenStream(), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(mono.SamplesPerChunk(), 576u);
    EXPECT_EQ(mono.OutputBufferSize(), 576u * 5 / 4 + 7200);
}

TEST(LameCoder, VbrWithALowPresetHasA32kbpsFloorAndCeiling) {
    for (int position : {0, 1, 2}) { // 8, 16 and 24 kbps at 8000 Hz
        TLameCoder coder;
        ConfigureEncoder(coder, RecordingParametersFor(position, true, true));
        ASSERT_EQ(coder.OpenStream(), BE_ERR_SUCCESSFUL) << position;
        EXPECT_EQ(field(coder.Config(), 24), 32u);
        EXPECT_EQ(field(coder.Config(), 28), 32u);
        EXPECT_EQ(field(coder.Config(), 64), 1u) << "VBR header";
        EXPECT_EQ(field(coder.Config(), 68), 1u) << "VBR";
    }
}

TEST(LameCoder, EnableVbrCarriesTheHeaderFlagBothWays) {
    TLameCoder coder;
    coder.SetEnableVBR(true);
    EXPECT_TRUE(coder.WriteVBRHeader());
    coder.SetEnableVBR(false);
    EXPECT_FALSE(coder.WriteVBRHeader());
    coder.SetWriteVBRHeader(true);
    EXPECT_FALSE(coder.EnableVBR()) << "the header flag alone does not switch VBR on";
}

TEST(LameCoder, VersionRecordNamesTheLibraryAndAssignCopiesItsFourBytes) {
    TLameCoder coder;
    // The library's own text, e.g. "3.100", read by a function our layer does not use.
    const std::string text = get_lame_version();
    const std::string ours = std::to_string(coder.LameVersion().MajorVersion()) + "." +
                             std::to_string(coder.LameVersion().MinorVersion());
    EXPECT_EQ(text.substr(0, ours.size()), ours);
    EXPECT_STREQ(coder.LameVersion().Record().zHomepage, get_lame_url());

    BE_VERSION record{};
    record.byDLLMajorVersion = 9;
    record.byDLLMinorVersion = 8;
    record.byMajorVersion = 7;
    record.byMinorVersion = 6;
    record.byAlphaLevel = 5;
    const TLameVersion source(record);
    TLameVersion copy;
    copy.Assign(source);
    EXPECT_EQ(copy.DLLMajorVersion(), 9);
    EXPECT_EQ(copy.DLLMinorVersion(), 8);
    EXPECT_EQ(copy.MajorVersion(), 7);
    EXPECT_EQ(copy.MinorVersion(), 6);
    EXPECT_EQ(copy.Record().byAlphaLevel, coder.LameVersion().Record().byAlphaLevel)
        << "only the four published bytes are copied";
}

TEST(LameCoder, BadRecordsAreRefusedWithTheLibrarysCodes) {
    BE_CONFIG config{};
    uint32_t samples = 7, size = 9;
    HBE_STREAM stream = nullptr;
    EXPECT_EQ(beInitStream(&config, &samples, &size, &stream), BE_ERR_INVALID_FORMAT);
    config.dwConfig = BE_CONFIG_LAME;
    config.LHV1.dwSampleRate = 44100;
    config.LHV1.nMode = 7;
    EXPECT_EQ(beInitStream(&config, &samples, &size, &stream), BE_ERR_INVALID_FORMAT_PARAMETERS);
    config.LHV1.nMode = STEREO;
    config.LHV1.dwSampleRate = 0;
    EXPECT_EQ(beInitStream(&config, &samples, &size, &stream), BE_ERR_INVALID_FORMAT_PARAMETERS);
    EXPECT_EQ(samples, 7u) << "a failed open leaves the sizes alone";
    EXPECT_EQ(stream, nullptr);

    TLameCoder coder;
    coder.SetSampleRate(0);
    EXPECT_NE(coder.OpenStream(), BE_ERR_SUCCESSFUL);
    EXPECT_EQ(coder.CloseStream(), BE_ERR_INVALID_HANDLE) << "closing what never opened is safe";
}

TEST(QualityPresets, WholeTableInSliderOrder) {
    // One line per sample rate, the bit rates in slider order.
    const std::vector<std::pair<uint32_t, std::vector<uint32_t>>> groups = {
        {8000, {8, 16, 24, 32, 40, 48, 64, 80, 96}},
        {11025, {8, 16, 24, 32, 40, 48, 64, 80, 96, 112}},
        {16000, {16, 24, 32, 40, 48, 64, 80, 96, 112, 128, 160}},
        {22050, {16, 24, 32, 40, 48, 64, 80, 96, 112, 128, 160, 192}},
        {32000, {24, 32, 40, 48, 64, 80, 96, 112, 128, 160, 192, 224}},
        {44100, {32, 40, 48, 64, 80, 96, 112, 128, 160, 192, 224, 320}},
        {48000, {40, 48, 64, 80, 96, 112, 128, 160, 192, 224, 320}},
    };
    std::vector<std::pair<uint32_t, uint32_t>> expected;
    for (const auto& [rate, kbps] : groups)
        for (uint32_t k : kbps)
            expected.emplace_back(rate, k);
    ASSERT_EQ(expected.size(), 77u);
    std::vector<std::pair<uint32_t, uint32_t>> table;
    for (const QualityPreset& p : QualityPresets)
        table.emplace_back(p.sampleRate, p.bitRate);
    EXPECT_EQ(table, expected);
    EXPECT_EQ(&QualityPresetAt(99), &QualityPresets[76]);
    EXPECT_EQ(&QualityPresetAt(-3), &QualityPresets[0]);
}

TEST(QualityPresets, HintFormats) {
    EXPECT_EQ(StartupQualityHint(12), "SampleRate: 11025 hz\rBitRate: 32 kbps");
    EXPECT_EQ(QualityHint(12), "Sample Rate: 11025 hz\r\nBit Rate:  32 kbps");
    EXPECT_EQ(QualityHint(0), "Sample Rate:  8000 hz\r\nBit Rate:   8 kbps");
    EXPECT_EQ(QualityHint(76), "Sample Rate: 48000 hz\r\nBit Rate: 320 kbps");
}

TEST(QualityPresets, RecordingParameters) {
    const RecordingParameters vbrLowest = RecordingParametersFor(0, true, true);
    EXPECT_EQ(vbrLowest.captureRate, 8000u);
    EXPECT_EQ(vbrLowest.bitrate, 32u);
    EXPECT_EQ(vbrLowest.maxBitrate, 32u);
    EXPECT_TRUE(vbrLowest.vbr);

    const RecordingParameters plain = RecordingParametersFor(12, false, false);
    EXPECT_EQ(plain.captureRate, 11025u);
    EXPECT_EQ(plain.encoderRate, 11025u);
    EXPECT_EQ(plain.captureChannels, 1);
    EXPECT_EQ(plain.mode, MONO);
    EXPECT_EQ(plain.bitrate, 32u);
    EXPECT_EQ(plain.maxBitrate, 32u);
    EXPECT_FALSE(plain.vbr);

    const RecordingParameters high = RecordingParametersFor(65, true, true);
    EXPECT_EQ(high.captureChannels, 2);
    EXPECT_EQ(high.mode, STEREO);
    EXPECT_EQ(high.bitrate, 32u);
    EXPECT_EQ(high.maxBitrate, 320u);

    TLameCoder coder;
    ConfigureEncoder(coder, high);
    EXPECT_EQ(coder.SampleRate(), 44100u);
    EXPECT_TRUE(coder.EnableVBR());
    EXPECT_TRUE(coder.WriteVBRHeader());
    EXPECT_TRUE(coder.CRC());
    EXPECT_EQ(coder.Quality(), NORMAL_QUALITY);
    EXPECT_EQ(coder.VBRQuality(), 4);
    ConfigureEncoder(coder, RecordingParametersFor(66, false, false));
    EXPECT_EQ(coder.SampleRate(), 48000u);
    EXPECT_EQ(coder.Bitrate(), 40u);
    EXPECT_FALSE(coder.WriteVBRHeader());
}

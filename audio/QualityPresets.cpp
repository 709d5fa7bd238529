#include "QualityPresets.h"

#include <QCoreApplication>

#include "LameCoder.h"

#include <algorithm>
#include <cstdio>

namespace {
// The lowest floor the encoder is given with a variable bit rate.
constexpr uint32_t kVbrFloor = 32;
} // namespace

// clang-format off
const std::array<QualityPreset, kQualityPresetCount> QualityPresets = {{
    {8000, 8}, {8000, 16}, {8000, 24}, {8000, 32}, {8000, 40}, {8000, 48}, {8000, 64},
    {8000, 80}, {8000, 96},
    {11025, 8}, {11025, 16}, {11025, 24}, {11025, 32}, {11025, 40}, {11025, 48}, {11025, 64},
    {11025, 80}, {11025, 96}, {11025, 112},
    {16000, 16}, {16000, 24}, {16000, 32}, {16000, 40}, {16000, 48}, {16000, 64}, {16000, 80},
    {16000, 96}, {16000, 112}, {16000, 128}, {16000, 160},
    {22050, 16}, {22050, 24}, {22050, 32}, {22050, 40}, {22050, 48}, {22050, 64}, {22050, 80},
    {22050, 96}, {22050, 112}, {22050, 128}, {22050, 160}, {22050, 192},
    {32000, 24}, {32000, 32}, {32000, 40}, {32000, 48}, {32000, 64}, {32000, 80}, {32000, 96},
    {32000, 112}, {32000, 128}, {32000, 160}, {32000, 192}, {32000, 224},
    {44100, 32}, {44100, 40}, {44100, 48}, {44100, 64}, {44100, 80}, {44100, 96}, {44100, 112},
    {44100, 128}, {44100, 160}, {44100, 192}, {44100, 224}, {44100, 320},
    {48000, 40}, {48000, 48}, {48000, 64}, {48000, 80}, {48000, 96}, {48000, 112}, {48000, 128},
    {48000, 160}, {48000, 192}, {48000, 224}, {48000, 320},
}};
// clang-format on

const QualityPreset& QualityPresetAt(int position) {
    return QualityPresets[static_cast<size_t>(std::clamp(position, 0, kQualityPresetCount - 1))];
}

std::string StartupQualityHint(int position) {
    const QualityPreset& p = QualityPresetAt(position);
    char text[96];
    std::snprintf(
        text, sizeof text,
        QCoreApplication::translate("QualityPresets", "SampleRate: %u hz\rBitRate: %u kbps")
            .toUtf8()
            .constData(),
        p.sampleRate, p.bitRate);
    return text;
}

std::string QualityHint(int position) {
    const QualityPreset& p = QualityPresetAt(position);
    char text[96];
    std::snprintf(
        text, sizeof text,
        QCoreApplication::translate("QualityPresets", "Sample Rate: %5u hz\r\nBit Rate: %3u kbps")
            .toUtf8()
            .constData(),
        p.sampleRate, p.bitRate);
    return text;
}

RecordingParameters RecordingParametersFor(int position, bool stereo, bool vbr) {
    const QualityPreset& p = QualityPresetAt(position);
    RecordingParameters r{};
    r.captureRate = p.sampleRate;
    r.captureChannels = stereo ? 2 : 1;
    r.encoderRate = p.sampleRate;
    r.mode = stereo ? STEREO : MONO;
    r.bitrate = vbr ? kVbrFloor : p.bitRate;
    r.maxBitrate = vbr ? std::max(p.bitRate, kVbrFloor) : p.bitRate;
    r.vbr = vbr;
    return r;
}

void ConfigureEncoder(TLameCoder& encoder, const RecordingParameters& parameters) {
    encoder.SetSampleRate(parameters.encoderRate);
    encoder.SetMode(parameters.mode);
    encoder.SetBitrate(parameters.bitrate);
    encoder.SetMaxBitrate(parameters.maxBitrate);
    encoder.SetEnableVBR(parameters.vbr); // sets WriteVBRHeader alike
}

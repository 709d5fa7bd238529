#pragma once

#include "LameEnc.h"

#include <array>
#include <cstdint>
#include <string>

class TLameCoder;

struct QualityPreset {
    uint32_t sampleRate; // Hz
    uint32_t bitRate;    // kbps
};

constexpr int kQualityPresetCount = 77;

// Indexed by the quality slider's position.
extern const std::array<QualityPreset, kQualityPresetCount> QualityPresets;

// The position clamped into the table.
const QualityPreset& QualityPresetAt(int position);

// "SampleRate: 11025 hz\rBitRate: 32 kbps": the hint as start-up sets it.
std::string StartupQualityHint(int position);
// "Sample Rate: 11025 hz\r\nBit Rate:  32 kbps": the hint while dragging.
std::string QualityHint(int position);

// What a recording is made with, fixed at its start.
struct RecordingParameters {
    uint32_t captureRate;
    int captureChannels;
    uint32_t encoderRate;
    TLameMode mode;
    uint32_t bitrate;    // the constant rate, or the floor with VBR
    uint32_t maxBitrate; // with VBR the ceiling
    bool vbr;            // EnableVBR and WriteVBRHeader alike
};

RecordingParameters RecordingParametersFor(int position, bool stereo, bool vbr);

// Sets the encoder from the parameters; its other settings keep their defaults.
void ConfigureEncoder(TLameCoder& encoder, const RecordingParameters& parameters);

#pragma once

#include "AudioCheck.h"
#include "LameCoder.h"

#include <cstdio>
#include <string>

// A short MP3 of a 440 Hz tone, made with our own encoder, to tag and move.
inline bool WriteToneMp3(const std::string& path, double seconds = 0.5) {
    const std::vector<int16_t> pcm = Tone(44100, 2, seconds);
    TLameCoder coder;
    if (coder.OpenStream() != BE_ERR_SUCCESSFUL)
        return false;
    std::vector<uint8_t> out(coder.OutputBufferSize());
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    for (size_t at = 0; at + coder.SamplesPerChunk() <= pcm.size(); at += coder.SamplesPerChunk()) {
        uint32_t count = 0;
        coder.EncodeChunk(pcm.data() + at, out.data(), count);
        std::fwrite(out.data(), 1, count, file);
    }
    uint32_t count = 0;
    coder.FinishStream(out.data(), count);
    std::fwrite(out.data(), 1, count, file);
    return std::fclose(file) == 0 && coder.CloseStream() == BE_ERR_SUCCESSFUL;
}

#pragma once

// MP3 takes made by lame, the command-line encoder, for the tests of the
// floors below audio/, which may not link our own encoder: a tone written
// here as raw samples, encoded as the recorder's takes are (stereo, CRC).

#include "AudioCheck.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

// A 440 Hz tone at half scale, 44100 Hz stereo; constant 128 kbps unless
// options (lame's own) say otherwise.
inline bool LameToneMp3(const std::string& path, double seconds = 0.5,
                        const std::string& options = "") {
    const std::vector<int16_t> pcm = Tone(44100, 2, seconds);
    const std::string wav = path + ".wav";
    {
        // A canonical WAV header: 16-bit little-endian samples, two channels.
        const auto u32 = [](uint32_t v) {
            return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        };
        const auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
        const auto bytes = static_cast<uint32_t>(pcm.size() * sizeof(int16_t));
        std::ofstream out(wav, std::ios::binary);
        out << "RIFF" << u32(36 + bytes) << "WAVEfmt " << u32(16) << u16(1) << u16(2) << u32(44100)
            << u32(44100 * 4) << u16(4) << u16(16) << "data" << u32(bytes);
        out.write(reinterpret_cast<const char*>(pcm.data()), bytes);
        if (!out)
            return false;
    }
    const int status =
        std::system(("lame --quiet -m s -p " + options + " '" + wav + "' '" + path + "'").c_str());
    std::remove(wav.c_str());
    return status == 0;
}

// A VBR take as a kill leaves it. The encoder begins the stream with a frame
// that holds nothing behind its header, and writes the Xing header into it
// only when the stream ends; lame ends its streams, so here that frame is
// emptied again. Empty when lame fails.
inline std::vector<uint8_t> LameUnfinishedVbrTake(const std::string& folder, double seconds) {
    const std::string path = folder + "/unfinished.mp3";
    if (!LameToneMp3(path, seconds, "-V 4"))
        return {};
    std::vector<uint8_t> bytes = ReadBytes(path);
    std::remove(path.c_str());
    // MPEG 1 layer III, as lame makes it at 44100 Hz.
    static const int kKbps[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                  112, 128, 160, 192, 224, 256, 320, 0};
    if (bytes.size() < 4 || bytes[0] != 0xFF || (bytes[1] & 0xFE) != 0xFA)
        return {};
    const size_t length =
        static_cast<size_t>(144000 * kKbps[bytes[2] >> 4] / 44100 + ((bytes[2] >> 1) & 1));
    if (length < 4 || length > bytes.size())
        return {};
    std::fill(bytes.begin() + 4, bytes.begin() + static_cast<long>(length), 0);
    return bytes;
}

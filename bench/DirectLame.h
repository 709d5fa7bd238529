#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// libmp3lame called straight, with the settings a recording of 44100 Hz,
// 128 kbps, stereo and CRC gives the encoder: the yardstick for our layers.
class DirectLame {
public:
    DirectLame(int rate, int channels, int kbps);
    ~DirectLame();
    DirectLame(const DirectLame&) = delete;
    DirectLame& operator=(const DirectLame&) = delete;

    int FrameSize() const;
    // One chunk of frameSize x channels values; returns the MP3 bytes made.
    int Encode(const int16_t* pcm);
    int Flush();

private:
    struct lame_global_struct* m_gf;
    int m_channels;
    std::vector<unsigned char> m_out;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// libmp3lame called straight with the settings a constant-rate recording
// gives the encoder: the yardstick for our layers, in tests and benchmarks.
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
    // The bytes of the last Encode or Flush.
    const unsigned char* Output() const { return m_out.data(); }

private:
    struct lame_global_struct* m_gf;
    int m_channels;
    std::vector<unsigned char> m_out;
};

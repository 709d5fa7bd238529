#include "DirectLame.h"

#include <lame/lame.h>

DirectLame::DirectLame(int rate, int channels, int kbps) : m_gf(lame_init()), m_channels(channels) {
    lame_set_num_channels(m_gf, channels);
    lame_set_in_samplerate(m_gf, rate);
    lame_set_mode(m_gf, channels == 1 ? MONO : STEREO);
    lame_set_out_samplerate(m_gf, 0);
    lame_set_brate(m_gf, kbps);
    lame_set_quality(m_gf, 5);
    lame_set_error_protection(m_gf, 1);
    lame_set_bWriteVbrTag(m_gf, 0);
    lame_set_original(m_gf, 0);
    lame_set_extension(m_gf, 0);
    lame_set_copyright(m_gf, 0);
    lame_set_write_id3tag_automatic(m_gf, 0);
    lame_init_params(m_gf);
    m_out.resize(static_cast<size_t>(lame_get_framesize(m_gf)) * 5 / 4 + 7200);
}

DirectLame::~DirectLame() {
    lame_close(m_gf);
}

int DirectLame::FrameSize() const {
    return lame_get_framesize(m_gf);
}

int DirectLame::Encode(const int16_t* pcm) {
    const int frames = lame_get_framesize(m_gf);
    if (m_channels == 1)
        return lame_encode_buffer(m_gf, pcm, pcm, frames, m_out.data(),
                                  static_cast<int>(m_out.size()));
    return lame_encode_buffer_interleaved(m_gf, const_cast<int16_t*>(pcm), frames, m_out.data(),
                                          static_cast<int>(m_out.size()));
}

int DirectLame::Flush() {
    return lame_encode_flush(m_gf, m_out.data(), static_cast<int>(m_out.size()));
}

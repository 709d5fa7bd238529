#include "MixedCapture.h"

MixedCapture::MixedCapture(uint32_t rate, int channels, int microphoneVolume,
                           CaptureBackend::BlockFn onBlock)
    : m_mixer(rate, channels, std::move(onBlock)),
      m_gatherLimit(size_t{rate} * static_cast<size_t>(channels) * 2) {
    m_mixer.SetMicrophoneVolume(microphoneVolume);
    // A second, and the block that passes it.
    m_mixer.ReserveTaken(m_gatherLimit + 64 * 1024);
}

bool MixedCapture::Block(Stream stream, const void* data, uint32_t length, int64_t capturedUsec) {
    m_mixer.Take(stream, data, length);
    m_capturedUsec[stream] = capturedUsec;
    if (m_mixer.TakenBytes(stream) >= m_gatherLimit)
        return RoundEnd();
    return true;
}

bool MixedCapture::RoundEnd() {
    if (m_feeding)
        return true;
    for (const Stream stream : {CaptureMixer::kMicrophone, CaptureMixer::kSpeakers}) {
        if (m_mixer.TakenBytes(stream) == 0)
            continue;
        m_feeding = true;
        const bool goOn = m_mixer.FeedTaken(stream, m_capturedUsec[stream]);
        m_feeding = false;
        if (!goOn)
            return false;
    }
    return true;
}

void MixedCapture::Flush() {
    if (!m_feeding && RoundEnd())
        m_mixer.Flush();
}

#include "CaptureMixer.h"

#include "Logging.h"

#include <speex/speex_resampler.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// How long one stream may run ahead of the other before the lagging one is
// given up for that stretch: the microphone goes on over silence, the
// speakers' oldest sound is dropped. A test sine source delivers in bursts
// of two seconds; a stream that lags longer has stalled.
constexpr double kQueueSeconds = 2.5;
// Blocks are fed in pieces of at most this, so that the queues stay
// bounded whatever sizes the server hands out (two seconds were seen).
constexpr double kPieceSeconds = 0.1;
// Drift correction only ever moves the ratio by tenths of a per cent (a few
// cents of pitch). Larger gaps, as after a stall or at a late start, are
// closed at once by dropping or inserting sound.
constexpr double kMaxAdjust = 0.005;
constexpr double kResyncSeconds = 0.05;
// Two streams seldom start at the same moment (a tenth of a second apart
// was seen), and their first blocks come in lumps and batches, each stream's
// at its own moments. The first second is held back until the envelopes have
// seen enough blocks to tell where each stream stands; then the gap is closed
// at once. Left to the loop, it would bend the speakers' pitch for seconds.
constexpr double kSettleSeconds = 1.0;
constexpr double kSettledSeconds = 0.005;
// A second-order loop on the gap between the streams: settles within a
// minute, without overshooting by more than a few milliseconds for clock
// differences up to kMaxAdjust.
constexpr double kGapGain = 0.14;   // per second
constexpr double kDriftGain = 0.01; // per second squared
// How fast a stream's envelope may fall when its blocks come late: above
// any real clock's drift (0.1 % is 1 ms/s), below a block's worth per block.
constexpr double kEnvelopeFall = 0.005;
// The ratio is a fraction over a prime, so that speex never reduces it to a
// simple one with a table of its own (an allocation at each switch), and one
// below 2^16: speex refuses changes whose phase rescaling would pass 32 bits.
// Steps of 15 ppm; the loop dithers between neighbours.
constexpr uint32_t kRatioDenominator = 65521;
// Measured on a 1 kHz tone at a drift of 0.1 %: quality 0 leaves products
// at -67 dB, quality 1 at -80 dB, quality 2 at -83 dB for half as much again
// of the resampler's time. Quality 1 keeps every product under what the MP3
// coder keeps.
constexpr int kResamplerQuality = 1;
// The limiter's ceiling, 1 dB below full scale, leaves the MP3 coder's own
// overshoot room. Its gain holds for longer than the beat of two tones or
// the pitch period of a voice, so that it does not wobble with the wave (which
// would add tones of its own), then comes back up within about half a second.
constexpr float kCeiling = 29204.0f;
constexpr double kHoldSeconds = 0.05;
constexpr double kReleaseSeconds = 0.5;
} // namespace

template <typename Sample> Sample* CaptureMixer::Queue<Sample>::Room(size_t frames) {
    const size_t need = frames * static_cast<size_t>(channels);
    if (end + need > samples.size()) {
        std::memmove(samples.data(), samples.data() + begin, (end - begin) * sizeof(Sample));
        end -= begin;
        begin = 0;
    }
    return samples.data() + end;
}

template <typename Sample> uint8_t* CaptureMixer::Queue<Sample>::TakeRoom(size_t bytes) {
    if (end * sizeof(Sample) + taken + bytes > samples.size() * sizeof(Sample)) {
        const size_t held = (end - begin) * sizeof(Sample) + taken;
        std::memmove(samples.data(), samples.data() + begin, held);
        end -= begin;
        begin = 0;
        if (held + bytes > samples.size() * sizeof(Sample))
            samples.resize(2 * ((held + bytes) / sizeof(Sample) + 1));
    }
    return reinterpret_cast<uint8_t*>(samples.data() + end) + taken;
}

template <typename Sample> void CaptureMixer::Queue<Sample>::PushSilence(size_t frames) {
    const size_t need = frames * static_cast<size_t>(channels);
    std::fill_n(Room(frames), need, Sample{0});
    end += need;
}

template <typename Sample> void CaptureMixer::Queue<Sample>::Pop(size_t frames) {
    begin += frames * static_cast<size_t>(channels);
    if (begin == end)
        Clear();
}

template <typename Sample> void CaptureMixer::Queue<Sample>::PushSilenceFront(size_t frames) {
    const size_t need = frames * static_cast<size_t>(channels);
    if (begin < need) {
        std::memmove(samples.data() + need, samples.data() + begin, (end - begin) * sizeof(Sample));
        end = end - begin + need;
        begin = need;
    }
    begin -= need;
    std::fill_n(samples.data() + begin, need, Sample{0});
}

void CaptureMixer::Clock::Observe(double seconds, uint32_t rate) {
    const double lead = frames / rate - seconds;
    envelope = seen ? std::max(LeadAt(seconds), lead) : lead;
    at = seen ? std::max(at, seconds) : seconds;
    seen = true;
}

double CaptureMixer::Clock::LeadAt(double seconds) const {
    return envelope - kEnvelopeFall * std::max(0.0, seconds - at);
}

CaptureMixer::CaptureMixer(uint32_t rate, int channels, CaptureBackend::BlockFn onBlock)
    : m_rate(rate), m_channels(channels), m_onBlock(std::move(onBlock)),
      m_capacity(static_cast<size_t>(rate * kQueueSeconds)),
      m_pieceMax(std::max<size_t>(1, static_cast<size_t>(rate * kPieceSeconds))),
      m_release(static_cast<float>(std::exp(-1.0 / (kReleaseSeconds * rate)))),
      m_holdFrames(static_cast<uint32_t>(rate * kHoldSeconds)) {
    if (rate == 0 || (channels != 1 && channels != 2))
        return;
    const auto c = static_cast<size_t>(channels);
    // Twice what is held, so that a queue is moved to its front only now and then.
    m_microphone.channels = m_speakers.channels = channels;
    m_microphone.samples.assign(2 * (m_capacity + 2 * m_pieceMax) * c, 0);
    m_speakers.samples.assign(2 * (m_capacity + 2 * m_pieceMax) * c, 0);
    m_out.assign((m_capacity + 2 * m_pieceMax) * c, 0);
    m_speakersTaken.assign(m_pieceMax * c, 0);
    int error = 0;
    m_resampler =
        speex_resampler_init_frac(static_cast<uint32_t>(channels), kRatioDenominator + 1,
                                  kRatioDenominator, rate, rate, kResamplerQuality, &error);
    if (m_resampler)
        speex_resampler_skip_zeros(m_resampler);
}

CaptureMixer::~CaptureMixer() {
    if (m_resampler)
        speex_resampler_destroy(m_resampler);
}

void CaptureMixer::SetMicrophoneVolume(int percent) {
    const double v = std::clamp(percent, 0, 100) / 100.0;
    m_microphoneGain = static_cast<float>(v * v * v);
}

bool CaptureMixer::Feed(Stream stream, const void* data, uint32_t length, int64_t capturedUsec) {
    Take(stream, data, length);
    return FeedTaken(stream, capturedUsec);
}

void CaptureMixer::ReserveTaken(size_t bytes) {
    if (!m_resampler)
        return;
    // The microphone's queue: all it may hold, and the bytes behind it.
    const size_t queue = (m_capacity + 2 * m_pieceMax) * static_cast<size_t>(m_channels);
    if (m_microphone.samples.size() < queue + (bytes + 1) / 2)
        m_microphone.samples.resize(queue + (bytes + 1) / 2);
    if (m_speakersTaken.size() < bytes / 2)
        m_speakersTaken.resize(bytes / 2);
}

void CaptureMixer::Take(Stream stream, const void* data, uint32_t length) {
    if (!m_resampler)
        return;
    if (stream == kMicrophone) {
        // Blocks need not be aligned for 16-bit reads: copied as bytes.
        uint8_t* to = m_microphone.TakeRoom(length);
        if (data)
            std::memcpy(to, data, length);
        else
            std::memset(to, 0, length);
        m_microphone.taken += length;
        return;
    }
    const size_t samples = length / 2;
    if (m_speakersTakenSamples + samples > m_speakersTaken.size())
        m_speakersTaken.resize(2 * (m_speakersTakenSamples + samples));
    float* to = m_speakersTaken.data() + m_speakersTakenSamples;
    m_speakersTakenSamples += samples;
    if (!data) {
        std::fill_n(to, samples, 0.0f);
        return;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < samples; ++i) {
        int16_t sample;
        std::memcpy(&sample, bytes + 2 * i, sizeof sample);
        to[i] = sample;
    }
}

size_t CaptureMixer::TakenBytes(Stream stream) const {
    return stream == kMicrophone ? m_microphone.taken : m_speakersTakenSamples * 2;
}

bool CaptureMixer::FeedTaken(Stream stream, int64_t capturedUsec) {
    const auto frameBytes = static_cast<size_t>(m_channels) * 2;
    const size_t frames = TakenBytes(stream) / frameBytes;
    bool goOn = !m_ended && m_resampler;
    for (size_t done = 0; goOn && done < frames;) {
        const size_t n = std::min(m_pieceMax, frames - done);
        done += n;
        // Each piece ends earlier than the block by the frames after it.
        const double seconds =
            static_cast<double>(capturedUsec) / 1e6 - static_cast<double>(frames - done) / m_rate;
        if (stream == kMicrophone)
            feedMicrophone(n, seconds);
        else
            feedSpeakers(m_speakersTaken.data() + (done - n) * static_cast<size_t>(m_channels), n,
                         seconds);
        const size_t ready = m_settled ? std::min(m_microphone.Frames(), m_speakers.Frames()) : 0;
        goOn = mixOut(ready);
    }
    // All that was taken in is gone, fed or not.
    if (stream == kMicrophone)
        m_microphone.taken = 0;
    else
        m_speakersTakenSamples = 0;
    return goOn;
}

void CaptureMixer::feedMicrophone(size_t frames, double seconds) {
    Queue<int16_t>& microphone = m_microphone;
    const size_t samples = frames * static_cast<size_t>(m_channels);
    microphone.end += samples;
    microphone.taken -= samples * sizeof(int16_t);
    m_clock[kMicrophone].frames += static_cast<double>(frames);
    m_clock[kMicrophone].Observe(seconds, m_rate);
    m_stalled[kMicrophone] = false;
    // Speakers that have not begun by now are stalled: the take goes on.
    if (microphone.Frames() > m_capacity / 2) {
        if (!m_settled && !m_clock[kSpeakers].seen)
            qCWarning(lcAudio, "The speakers' stream has not begun; the mixed take goes on");
        m_settled = true;
    }
    // The speakers gave nothing for that long: the microphone goes on over
    // silence, and the speakers' sound for that stretch, should it come
    // late, is dropped by the next resync. The take settled while this queue
    // held half as much (above), and since then each piece has mixed out as
    // much as both queues held: for this one to grow, the speakers' is empty.
    Queue<float>& speakers = m_speakers;
    if (microphone.Frames() > m_capacity) {
        const size_t gap = microphone.Frames() - speakers.Frames();
        if (!m_stalled[kSpeakers])
            qCWarning(lcAudio, "The speakers' stream has stalled; the mixed take goes on over "
                               "silence in its place");
        m_stalled[kSpeakers] = true;
        speakers.PushSilence(gap);
        m_clock[kSpeakers].frames += static_cast<double>(gap);
        m_clock[kSpeakers].Observe(seconds, m_rate);
    }
}

void CaptureMixer::feedSpeakers(const float* pcm, size_t frames, double seconds) {
    Queue<float>& speakers = m_speakers;
    auto in = static_cast<spx_uint32_t>(frames);
    auto out = static_cast<spx_uint32_t>(frames + frames / 50 + 64);
    speex_resampler_process_interleaved_float(m_resampler, pcm, &in, speakers.Room(out), &out);
    speakers.end += static_cast<size_t>(out) * static_cast<size_t>(m_channels);
    // Sound a resync gave up before it came.
    const size_t owed = std::min(m_owedFrames, speakers.Frames());
    speakers.Pop(owed);
    m_owedFrames -= owed;
    m_clock[kSpeakers].frames += out;
    m_clock[kSpeakers].Observe(seconds, m_rate);
    m_stalled[kSpeakers] = false;
    // The microphone has stalled: its clock decides, so the oldest goes.
    if (speakers.Frames() > m_capacity) {
        if (!m_stalled[kMicrophone])
            qCWarning(lcAudio, "The microphone's stream has stalled; the speakers' sound is "
                               "dropped until it comes back");
        m_stalled[kMicrophone] = true;
        dropSpeakers(speakers.Frames() - m_capacity);
    }
    m_framesSinceRatio += frames;
    steer(seconds);
}

// The oldest of the speakers' sound goes; what has not come yet goes as it comes.
void CaptureMixer::dropSpeakers(size_t frames) {
    const size_t now = std::min(frames, m_speakers.Frames());
    m_speakers.Pop(now);
    m_owedFrames += frames - now;
    m_clock[kSpeakers].frames -= static_cast<double>(frames);
    m_clock[kSpeakers].envelope -= static_cast<double>(frames) / m_rate;
}

void CaptureMixer::steer(double seconds) {
    if (!m_clock[kMicrophone].seen || !m_clock[kSpeakers].seen)
        return;
    // The resampler holds back what its filter still needs; that sound has
    // been captured and counts as there.
    const double held = speex_resampler_get_output_latency(m_resampler) / double(m_rate);
    const double gap =
        m_clock[kSpeakers].LeadAt(seconds) + held - m_clock[kMicrophone].LeadAt(seconds);
    if (m_settleUntil == 0)
        m_settleUntil = seconds + kSettleSeconds;
    if (!m_settled && seconds < m_settleUntil)
        return;
    // Once settled, all but what the loop closes unheard; after that only a
    // gap the loop cannot close.
    const double resync = m_settled ? kResyncSeconds : kSettledSeconds;
    m_settled = true;
    if (std::abs(gap) > resync) {
        const auto frames = static_cast<size_t>(std::lround(std::abs(gap) * m_rate));
        if (gap > 0) {
            dropSpeakers(frames);
        } else {
            // Sound still owed to an earlier drop is simply not dropped.
            const size_t forgiven = std::min(m_owedFrames, frames);
            m_owedFrames -= forgiven;
            Queue<float>& speakers = m_speakers;
            const size_t room = m_capacity + m_pieceMax - std::min(m_capacity, speakers.Frames());
            const size_t n = std::min(frames - forgiven, room);
            speakers.PushSilenceFront(n);
            m_clock[kSpeakers].frames += static_cast<double>(forgiven + n);
            m_clock[kSpeakers].envelope += static_cast<double>(forgiven + n) / m_rate;
        }
        return;
    }
    const double dt = m_steered ? std::clamp(seconds - m_lastSteer, 0.0, 1.0) : 0.0;
    m_steered = true;
    m_lastSteer = seconds;
    m_integral =
        std::clamp(m_integral + gap * dt, -kMaxAdjust / kDriftGain, kMaxAdjust / kDriftGain);
    const double adjust =
        std::clamp(kGapGain * gap + kDriftGain * m_integral, -kMaxAdjust, kMaxAdjust);
    // Speex works out its filter afresh at every change: a few a second at most.
    if (m_framesSinceRatio >= m_pieceMax) {
        m_framesSinceRatio = 0;
        applyRatio(1.0 + adjust);
    }
}

void CaptureMixer::applyRatio(double ratio) {
    // Speakers' frames taken per frame given: ahead, they are taken faster.
    auto numerator = static_cast<uint32_t>(std::lround(ratio * kRatioDenominator));
    if (numerator == kRatioDenominator)
        ++numerator;
    if (ratio == m_ratio)
        return;
    m_ratio = ratio;
    speex_resampler_set_rate_frac(m_resampler, numerator, kRatioDenominator, m_rate, m_rate);
}

bool CaptureMixer::mixOut(size_t frames) {
    if (frames == 0)
        return true;
    const size_t samples = frames * static_cast<size_t>(m_channels);
    const int16_t* microphone = m_microphone.samples.data() + m_microphone.begin;
    const float* speakers = m_speakers.samples.data() + m_speakers.begin;
    int16_t* out = m_out.data();
    float envelope = m_limiterEnvelope;
    uint32_t hold = m_hold;
    // A sum of two loud sources would pass full scale: a peak limiter with
    // an instant attack, the same gain on both channels so that the stereo
    // picture stays, and below the ceiling no change at all, so that each
    // source keeps its level when the other is quiet.
    for (size_t i = 0; i < samples; i += static_cast<size_t>(m_channels)) {
        float v[2];
        float peak = 0;
        for (int c = 0; c < m_channels; ++c) {
            v[c] = microphone[i + static_cast<size_t>(c)] * m_microphoneGain +
                   speakers[i + static_cast<size_t>(c)];
            peak = std::max(peak, std::abs(v[c]));
        }
        if (peak >= envelope) {
            envelope = peak;
            hold = m_holdFrames;
        } else if (hold > 0) {
            --hold;
        } else {
            envelope = std::max(peak, envelope * m_release);
        }
        const float gain = envelope > kCeiling ? kCeiling / envelope : 1.0f;
        // Within the ceiling now: rounded half away from zero, inline, where
        // lrint() would be a call into libm for every sample.
        for (int c = 0; c < m_channels; ++c) {
            const float x = v[c] * gain;
            out[i + static_cast<size_t>(c)] = static_cast<int16_t>(x >= 0 ? x + 0.5f : x - 0.5f);
        }
    }
    m_limiterEnvelope = envelope;
    m_hold = hold;
    m_microphone.Pop(frames);
    m_speakers.Pop(frames);
    if (!m_onBlock(out, static_cast<uint32_t>(samples * 2))) {
        m_ended = true;
        return false;
    }
    return true;
}

bool CaptureMixer::Flush() {
    if (m_ended || !m_resampler)
        return false;
    if (m_speakers.Frames() < m_microphone.Frames())
        m_speakers.PushSilence(m_microphone.Frames() - m_speakers.Frames());
    return mixOut(m_microphone.Frames());
}

void CaptureMixer::Restart() {
    m_microphone.Clear();
    m_speakers.Clear();
    m_clock[kMicrophone] = {};
    m_clock[kSpeakers] = {};
    m_stalled[kMicrophone] = m_stalled[kSpeakers] = false;
    m_steered = false;
    m_settleUntil = 0;
    m_settled = false;
    m_owedFrames = 0;
    if (m_resampler) {
        speex_resampler_reset_mem(m_resampler);
        speex_resampler_skip_zeros(m_resampler);
    }
}

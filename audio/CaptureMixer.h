#pragma once

#include "CaptureBackend.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <vector>

struct SpeexResamplerState_;

// One take from two devices at once, a microphone and the monitor of the
// speakers: each is captured by a record stream of its own, at the take's
// rate and channels, and this mixes them into the one stream that the block
// callback sees.
//
// The two devices run on clocks of their own, which part by up to a few
// tenths of a per cent. The microphone's stream is the take's clock; the
// speakers' stream is resampled to it, with a ratio steered by how far apart
// the two streams' positions are at the same moment. The moments come with
// the blocks: block sizes alone would put a whole block of error into every
// reading.
//
// A backend that offers the entry opens both record streams at the take's
// rate and channels and feeds each one's blocks here, itself or through a
// MixedCapture, which gathers them a round at a time; the level it reports
// is that of the mixed blocks. Before a pause or a stop takes effect it
// drains both streams, then calls Flush(); on resuming, Restart(). When
// either stream fails, the take ends as for one input: Flush(), then the
// failure callback, once.
//
// Not thread-safe: its calls run one at a time, on the capture thread or
// with it held, as a backend's block callbacks do.
class CaptureMixer {
public:
    enum Stream { kMicrophone = 0, kSpeakers = 1 };
    // The entry a backend adds at the end of its inputs when it can offer both;
    // the lists translate it where they show it.
    static constexpr const char* kInputName =
        QT_TRANSLATE_NOOP("InputChoice", "Microphone and speakers");
    static constexpr uint32_t kInputType = kInputMicrophone;

    CaptureMixer(uint32_t rate, int channels, CaptureBackend::BlockFn onBlock);
    ~CaptureMixer();
    CaptureMixer(const CaptureMixer&) = delete;
    CaptureMixer& operator=(const CaptureMixer&) = delete;

    // False when the resampler could not be made: the take must not start.
    bool Ready() const { return m_resampler != nullptr; }
    // The recording volume on the desktop's scale (cubic: 50 % is x0.125);
    // it applies to the microphone alone. The speakers' share is the monitor
    // as the user hears it.
    void SetMicrophoneVolume(int percent);
    // A block of whole frames of 16-bit PCM of one stream, whose last frame
    // was captured at capturedUsec on a monotonic clock: Take(), then
    // FeedTaken(). False once the block callback has asked to end the
    // capture; nothing is handed over after that.
    bool Feed(Stream stream, const void* data, uint32_t length, int64_t capturedUsec);
    // Takes in a block of whole frames of one stream, to be fed later with
    // the blocks taken after it; null data is silence of its length. This is
    // the one copy of a block: the microphone's bytes go straight to the end
    // of its queue, the speakers' as floats to the resampler's input.
    void Take(Stream stream, const void* data, uint32_t length);
    // Bytes of the stream taken in and not yet fed.
    size_t TakenBytes(Stream stream) const;
    // Feeds all that the stream has taken in, as one block whose last frame
    // was captured at capturedUsec; returns as Feed().
    bool FeedTaken(Stream stream, int64_t capturedUsec);
    // Room for this many bytes of each stream to be taken in before they are
    // fed, so that Take() does not allocate on the capture thread.
    void ReserveTaken(size_t bytes);
    // Hands over every microphone frame still held, with the speakers' sound
    // for it or silence: before a pause, a stop or a failure takes effect.
    bool Flush();
    // After a pause both streams begin again at the same moment; the clocks'
    // measured difference is kept.
    void Restart();

private:
    template <typename Sample> struct Queue {
        std::vector<Sample> samples;
        size_t begin = 0, end = 0; // in samples
        // Bytes taken in past the end and not yet fed (the microphone's):
        // what is fed next is in place already. Room() and PushSilence()
        // are for a queue that takes nothing in.
        size_t taken = 0;
        int channels = 2;
        size_t Frames() const { return (end - begin) / static_cast<size_t>(channels); }
        Sample* Room(size_t frames);
        uint8_t* TakeRoom(size_t bytes);
        void PushSilence(size_t frames);
        void Pop(size_t frames);
        void PushSilenceFront(size_t frames);
        // What was fed goes; what was taken in stays.
        void Clear() {
            begin = end;
            if (taken == 0)
                begin = end = 0;
        }
    };
    // Where a stream stands against the monotonic clock: the upper envelope of
    // (frames so far / rate - time of capture). Blocks that come late pull it
    // down only slowly, so bursts and scheduling delays hardly move it.
    struct Clock {
        double frames = 0;
        double envelope = 0;
        double at = 0; // seconds
        bool seen = false;
        void Observe(double seconds, uint32_t rate);
        double LeadAt(double seconds) const;
    };

    // The microphone's next frames, taken in already.
    void feedMicrophone(size_t frames, double seconds);
    void feedSpeakers(const float* pcm, size_t frames, double seconds);
    void steer(double seconds);
    void applyRatio(double ratio);
    bool mixOut(size_t frames);
    void dropSpeakers(size_t frames);

    uint32_t m_rate;
    int m_channels;
    CaptureBackend::BlockFn m_onBlock;
    SpeexResamplerState_* m_resampler = nullptr;
    size_t m_capacity; // frames a queue holds at most
    size_t m_pieceMax; // frames of a block fed at a time
    Queue<int16_t> m_microphone;
    // Already on the microphone's clock; the resampler works in floats, and
    // the mix takes them as they are.
    Queue<float> m_speakers;
    Clock m_clock[2];
    // Told once until the stream comes back.
    bool m_stalled[2] = {false, false};
    std::vector<int16_t> m_out;
    // The speakers' sound taken in and not yet fed, in floats for the resampler.
    std::vector<float> m_speakersTaken;
    size_t m_speakersTakenSamples = 0;
    float m_microphoneGain = 1.0f;
    float m_limiterEnvelope = 0;
    float m_release;
    uint32_t m_holdFrames;
    uint32_t m_hold = 0;
    double m_integral = 0;
    double m_lastSteer = 0;
    double m_ratio = 1.0;
    size_t m_framesSinceRatio = 0;
    bool m_steered = false;
    double m_settleUntil = 0; // seconds; 0 until both streams are seen
    bool m_settled = false;
    size_t m_owedFrames = 0; // of the speakers', still to be dropped
    bool m_ended = false;
};

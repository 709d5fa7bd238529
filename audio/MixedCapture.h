#pragma once

#include "CaptureBackend.h"
#include "CaptureMixer.h"

#include <cstddef>
#include <cstdint>

// The capture of a take from "Microphone and speakers": the blocks of its two
// record streams, gathered as the server hands them out, and mixed a round
// of the capture loop at a time. The server hands out pieces of a couple of
// milliseconds, and each fed alone would pay the resampler's, the mix's and
// the encoder's overhead of a call.
//
// A block is copied once here: into the mixer, where it waits for the
// round's end (CaptureMixer::Take()). The mixed blocks, with their level, go
// to the take's block callback.
//
// Not thread-safe: it runs where the backend's block callbacks run, on the
// capture thread or with it held. The block callback may end the capture
// from inside a call here: the object must outlive that call.
class MixedCapture {
public:
    using Stream = CaptureMixer::Stream;

    // microphoneVolume: see CaptureMixer::SetMicrophoneVolume().
    MixedCapture(uint32_t rate, int channels, int microphoneVolume,
                 CaptureBackend::BlockFn onBlock);

    // False when the mixer could not be made: the take must not start.
    bool Ready() const { return m_mixer.Ready(); }
    // A block of one stream as the server hands it out, in whole frames,
    // captured at capturedUsec on a monotonic clock. Null data is a hole in
    // the stream: silence of its length, so that the two stay in step. A
    // stream that keeps sending leaves no round end: a second of it is mixed
    // at once. False when the take's block callback asked to end the take.
    bool Block(Stream stream, const void* data, uint32_t length, int64_t capturedUsec);
    // A round of the loop has ended: what it gathered is mixed, the
    // microphone's first (its stream is the take's clock). False as Block().
    bool RoundEnd();
    // Before a pause or a stop takes effect: the microphone's last frames,
    // with the speakers' sound for them, go into the take. They were captured
    // before it.
    void Flush();
    // Both streams begin again together; the mixer keeps what it learnt of
    // the clocks.
    void Restart() { m_mixer.Restart(); }

private:
    CaptureMixer m_mixer;
    size_t m_gatherLimit; // bytes of one stream: a second's
    // When each stream's last block came.
    int64_t m_capturedUsec[2] = {0, 0};
    // Inside the mixer, whose block callback may stop the capture.
    bool m_feeding = false;
};

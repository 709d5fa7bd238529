#pragma once

// The level meter of a capture: the peak of each block, and the loudest of
// them between two looks.

#include <atomic>
#include <cstdint>

// Peak level of a block of 16-bit PCM, 0..128 per channel, as the capture
// functions report it. In mono both halves carry the same value.
uint32_t PeakLevel(const void* data, uint32_t length, int channels);
// What CaptureBackend::Level() reports: the highest peak per channel of the blocks since the
// last look, or, when none came in between, what the last look saw. Blocks
// come in batches and looks at a pace of their own: a look between two
// batches is no silence.
class PeakMeter {
public:
    // A block's PeakLevel(); from any thread.
    void Raise(uint32_t level);
    // One reader at a time.
    uint32_t Look();
    void Reset();

private:
    // Bit 15, above any level, marks that a block came.
    static constexpr uint32_t kCame = 0x8000;
    std::atomic<uint32_t> m_peak{0};
    std::atomic<uint32_t> m_seen{0};
};

#include "PeakMeter.h"

#include <algorithm>
#include <bit>
#include <cstring>

uint32_t PeakLevel(const void* data, uint32_t length, int channels) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    const auto sampleAt = [bytes](uint32_t i) {
        return static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    };
    const uint32_t count = length / 2;
    // Every block of a take passes here: lanes of plain 16-bit highs and lows
    // let the compiler use vector instructions. Lanes alternate left and
    // right; a magnitude of -32768 fits in int only, taken at the end.
    constexpr uint32_t kLanes = 16;
    int16_t high[kLanes] = {};
    int16_t low[kLanes] = {};
    uint32_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        int16_t samples[kLanes];
        if constexpr (std::endian::native == std::endian::little)
            std::memcpy(samples, bytes + 2 * i, sizeof samples);
        else
            for (uint32_t lane = 0; lane < kLanes; ++lane)
                samples[lane] = sampleAt(i + lane);
        for (uint32_t lane = 0; lane < kLanes; ++lane) {
            high[lane] = std::max(high[lane], samples[lane]);
            low[lane] = std::min(low[lane], samples[lane]);
        }
    }
    int peak[2] = {0, 0};
    for (uint32_t lane = 0; lane < kLanes; ++lane)
        peak[lane & 1] = std::max({peak[lane & 1], int{high[lane]}, -int{low[lane]}});
    for (; i < count; ++i) {
        const int value = sampleAt(i);
        peak[i & 1] = std::max(peak[i & 1], value < 0 ? -value : value);
    }
    if (channels != 2)
        peak[0] = peak[1] = std::max(peak[0], peak[1]);
    const auto scale = [](int p) { return static_cast<uint32_t>(std::min(p * 128 / 32768, 128)); };
    return scale(peak[0]) | (scale(peak[1]) << 16);
}

void PeakMeter::Raise(uint32_t level) {
    level |= kCame;
    uint32_t peak = m_peak.load(std::memory_order_relaxed);
    for (;;) {
        const uint32_t high =
            std::max(peak & 0xFFFF, level & 0xFFFF) | (std::max(peak >> 16, level >> 16) << 16);
        if (high == peak || m_peak.compare_exchange_weak(peak, high, std::memory_order_relaxed))
            return;
    }
}

uint32_t PeakMeter::Look() {
    const uint32_t peak = m_peak.exchange(0, std::memory_order_relaxed);
    if (peak & kCame)
        m_seen.store(peak & ~kCame, std::memory_order_relaxed);
    return m_seen.load(std::memory_order_relaxed);
}

void PeakMeter::Reset() {
    m_peak = 0;
    m_seen = 0;
}

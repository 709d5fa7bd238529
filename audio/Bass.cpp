#include "Bass.h"

#include "PulseBackend.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

namespace {
struct Library {
    std::unique_ptr<CaptureBackend> backend;
    bool recordOpen = false;
    bool outputOpen = false;
    std::vector<CaptureInput> inputs;
};

Library& lib() {
    static Library library;
    return library;
}

void refreshInputs() {
    lib().inputs = BASS_Backend().Inputs();
}

bool validInput(int input) {
    return lib().recordOpen && input >= 0 && input < static_cast<int>(lib().inputs.size());
}
} // namespace

void BASS_SetBackend(std::unique_ptr<CaptureBackend> backend) {
    if (lib().backend) {
        lib().backend->Stop();
        lib().backend->Disconnect();
    }
    lib() = Library{};
    lib().backend = std::move(backend);
}

CaptureBackend& BASS_Backend() {
    if (!lib().backend)
        lib().backend = std::make_unique<PulseBackend>();
    return *lib().backend;
}

DWORD BASS_GetVersion() {
    return BASS_VERSION;
}

BOOL BASS_RecordInit(int) {
    if (lib().recordOpen)
        return 1;
    if (!BASS_Backend().Connect())
        return 0;
    lib().recordOpen = true;
    refreshInputs();
    return 1;
}

BOOL BASS_Init(int, DWORD, DWORD, void*) {
    lib().outputOpen = lib().recordOpen && BASS_Backend().HasOutputDevice();
    return lib().outputOpen ? 1 : 0;
}

const char* BASS_RecordGetInputName(int input) {
    if (input == 0 && lib().recordOpen)
        refreshInputs();
    return validInput(input) ? lib().inputs[static_cast<size_t>(input)].name.c_str() : nullptr;
}

DWORD BASS_RecordGetInput(int input) {
    if (input == 0 && lib().recordOpen)
        refreshInputs();
    if (!validInput(input))
        return static_cast<DWORD>(-1);
    const CaptureInput& info = lib().inputs[static_cast<size_t>(input)];
    const DWORD off = BASS_Backend().SelectedInput() == input ? 0 : BASS_INPUT_OFF;
    return (info.type << 24) | off | static_cast<DWORD>(std::clamp(info.volume, 0, 100));
}

BOOL BASS_RecordSetInput(int input, DWORD setting) {
    if (!validInput(input))
        return 0;
    std::optional<bool> on;
    if (setting & BASS_INPUT_OFF)
        on = false;
    else if (setting & BASS_INPUT_ON)
        on = true;
    std::optional<int> volume;
    if (setting & BASS_INPUT_LEVEL)
        volume = std::clamp(static_cast<int>(setting & 0xFFFF), 0, 100);
    if (!BASS_Backend().SetInput(input, on, volume))
        return 0;
    if (volume)
        lib().inputs[static_cast<size_t>(input)].volume = *volume;
    return 1;
}

HRECORD BASS_RecordStart(DWORD freq, DWORD flags, RECORDPROC proc, void* user,
                         RECORDFAILPROC failProc) {
    if (!lib().recordOpen || !proc || BASS_Backend().State() != BASS_ACTIVE_STOPPED)
        return 0;
    const int channels = (flags & BASS_SAMPLE_MONO) ? 1 : 2;
    const bool started = BASS_Backend().Start(
        freq, channels, flags >> 16,
        [proc, user](const void* data, uint32_t length) { return proc(data, length, user); },
        [failProc, user] {
            if (failProc)
                failProc(user);
        });
    return started ? kRecordChannel : 0;
}

void BASS_RecordSetServerProc(RECORDSERVERPROC proc, void* user) {
    if (!proc) {
        if (lib().backend)
            lib().backend->SetInputsChangedHandler(nullptr);
        return;
    }
    BASS_Backend().SetInputsChangedHandler([proc, user] { proc(user); });
}

void BASS_RecordGuardVolumes() {
    BASS_Backend().GuardVolumes();
}

void BASS_RecordKeepVolumes() {
    BASS_Backend().KeepVolumes();
}

DWORD BASS_ChannelGetLevel(DWORD handle) {
    if (handle != kRecordChannel)
        return static_cast<DWORD>(-1);
    return BASS_Backend().State() == BASS_ACTIVE_STOPPED ? 0 : BASS_Backend().Level();
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    if (handle != kRecordChannel || !lib().backend)
        return BASS_ACTIVE_STOPPED;
    return static_cast<DWORD>(lib().backend->State());
}

BOOL BASS_ChannelPause(DWORD handle) {
    if (BASS_ChannelIsActive(handle) != BASS_ACTIVE_PLAYING &&
        BASS_ChannelIsActive(handle) != BASS_ACTIVE_STALLED)
        return 0;
    BASS_Backend().Pause();
    return 1;
}

BOOL BASS_ChannelResume(DWORD handle) {
    if (BASS_ChannelIsActive(handle) != BASS_ACTIVE_PAUSED)
        return 0;
    BASS_Backend().Resume();
    return 1;
}

BOOL BASS_ChannelStop(DWORD handle) {
    if (handle != kRecordChannel || !lib().backend)
        return 0;
    lib().backend->Stop();
    return 1;
}

BOOL BASS_RecordFree() {
    if (lib().backend) {
        lib().backend->Stop();
        if (lib().recordOpen)
            lib().backend->Disconnect();
    }
    lib().recordOpen = false;
    lib().inputs.clear();
    return 1;
}

BOOL BASS_Stop() {
    return 1;
}

BOOL BASS_Free() {
    lib().outputOpen = false;
    return 1;
}

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

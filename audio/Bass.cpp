#include "Bass.h"

#include "PulseBackend.h"

#include <algorithm>
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

// The capture functions' code for a capture's state.
DWORD activeCode(CaptureState state) {
    switch (state) {
    case CaptureState::Recording:
        return BASS_ACTIVE_PLAYING;
    case CaptureState::Stalled:
        return BASS_ACTIVE_STALLED;
    case CaptureState::Paused:
        return BASS_ACTIVE_PAUSED;
    case CaptureState::Stopped:
        break;
    }
    return BASS_ACTIVE_STOPPED;
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
    if (!lib().recordOpen || !proc || BASS_Backend().State() != CaptureState::Stopped)
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
    return BASS_Backend().State() == CaptureState::Stopped ? 0 : BASS_Backend().Level();
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    if (handle != kRecordChannel || !lib().backend)
        return BASS_ACTIVE_STOPPED;
    return activeCode(lib().backend->State());
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

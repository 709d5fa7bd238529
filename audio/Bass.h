#pragma once

// The capture functions the recorder, the tray and the wizard are written
// against. They keep the names and meanings of the capture library the
// program was first built on, so that every caller reads the same on any
// sound system; a CaptureBackend does the real work.

#include "CaptureBackend.h"

#include <cstdint>
#include <memory>

using DWORD = uint32_t;
using BOOL = int;
using HRECORD = DWORD;

// Returns false to end the recording.
using RECORDPROC = bool (*)(const void* buffer, DWORD length, void* user);
// The recording ended because its source or the sound server went away.
using RECORDFAILPROC = void (*)(void* user);
// An input came or went, or the sound server came back after it had gone
// away; read the inputs again.
using RECORDSERVERPROC = void (*)(void* user);

constexpr DWORD BASS_VERSION = 0x00080001;
constexpr DWORD BASS_INPUT_OFF = 0x10000;
constexpr DWORD BASS_INPUT_ON = 0x20000;
constexpr DWORD BASS_INPUT_LEVEL = 0x40000;
constexpr DWORD BASS_SAMPLE_MONO = 2;
// What BASS_ChannelIsActive() returns: a code for each CaptureState.
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_STALLED = 2;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;
constexpr HRECORD kRecordChannel = 1;

DWORD BASS_GetVersion();
BOOL BASS_RecordInit(int device);
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window);
// Valid until the list is read again from input 0.
const char* BASS_RecordGetInputName(int input);
DWORD BASS_RecordGetInput(int input);
BOOL BASS_RecordSetInput(int input, DWORD setting);
// The high word of flags is the period: how many milliseconds apart blocks
// are to be handed over, held back and then together (0: each as it comes);
// the sound system may space them otherwise (CaptureBackend::Start()).
constexpr DWORD MAKELONG(DWORD low, DWORD high) {
    return (low & 0xFFFF) | (high << 16);
}
HRECORD BASS_RecordStart(DWORD freq, DWORD flags, RECORDPROC proc, void* user,
                         RECORDFAILPROC failProc = nullptr);
// Called from the capture thread; null to stop being told.
void BASS_RecordSetServerProc(RECORDSERVERPROC proc, void* user);
// Volumes set from now on are put back as they were should the program end
// before BASS_RecordKeepVolumes(), however it ends (SIGKILL included).
void BASS_RecordGuardVolumes();
void BASS_RecordKeepVolumes();
DWORD BASS_ChannelGetLevel(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
BOOL BASS_ChannelPause(DWORD handle);
BOOL BASS_ChannelResume(DWORD handle);
BOOL BASS_ChannelStop(DWORD handle);
BOOL BASS_RecordFree();
BOOL BASS_Stop();
BOOL BASS_Free();

// The sound system behind the functions above. The default is PulseAudio;
// tests install a simulated one. Replacing it closes the previous one.
void BASS_SetBackend(std::unique_ptr<CaptureBackend> backend);
CaptureBackend& BASS_Backend();

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Input type codes, as the capture functions report them in the top 8 bits.
enum InputType : uint32_t {
    kInputLine = 0x02,
    kInputMicrophone = 0x03,
    kInputWaveOutput = 0x08, // what the computer plays: a monitor of an output
    kInputAnalog = 0x0A,
};

// Where a capture stands. Bass.h's BASS_ACTIVE_* codes name the same states
// for the capture functions' callers.
enum class CaptureState {
    Stopped = 0,
    Recording = 1,
    Stalled = 2, // waiting for its source; no backend reports it so far
    Paused = 3,
};

struct CaptureInput {
    std::string name;
    uint32_t type = kInputAnalog;
    int volume = 100; // percent
};

// What a sound system must offer for recording. Blocks arrive on the
// backend's own thread, one at a time; Stop() and Disconnect() return only
// when no block callback runs and none will.
class CaptureBackend {
public:
    // Returns false to end the capture.
    using BlockFn = std::function<bool(const void* data, uint32_t length)>;
    // The capture ended on its own (source or server gone). Runs once, on the
    // backend's thread, after the last block.
    using FailFn = std::function<void()>;

    // The inputs may differ now: one came or went (a device plugged in or
    // out, an output added or removed), or the sound server came back after
    // it had gone away. Runs on the backend's thread.
    using InputsChangedFn = std::function<void()>;

    virtual ~CaptureBackend() = default;

    virtual bool Connect() = 0;
    virtual bool HasOutputDevice() = 0;
    virtual std::vector<CaptureInput> Inputs() = 0;
    // Selects or deselects an input for our capture and optionally sets its
    // volume. False when no such input exists.
    virtual bool SetInput(int index, std::optional<bool> on, std::optional<int> volume) = 0;
    // The selected input, -1 when none is.
    virtual int SelectedInput() const = 0;
    // periodMs: how far apart the caller would have blocks handed over, held
    // back and then one after another, which saves wake-ups; 0 hands each
    // over as it comes. A backend may space them otherwise where its sound
    // server needs it. On PulseAudio, PulseBackend's rounds hold two fills of
    // the server's ring of about 32 KB when one period of sound would overflow it
    // (CD-quality stereo at 250 ms: rounds 352 ms apart, each with a catch-up
    // 5 ms after it), are 100 ms apart at most for a mixed take, and follow
    // each other at once while the capture is behind (RoundPacer). Its first
    // block of a start or a resume comes as soon as the server sends it.
    virtual bool Start(uint32_t rate, int channels, uint32_t periodMs, BlockFn onBlock,
                       FailFn onFail) = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    virtual void Stop() = 0;
    virtual CaptureState State() const = 0;
    // The highest peak since the last call, per channel: left in the low 16
    // bits, right in the high. A block of a few milliseconds can miss the
    // crest of a low tone; over everything since the last reading, a steady
    // tone reads steady.
    virtual uint32_t Level() = 0;
    virtual void Disconnect() = 0;
    // Kept across Disconnect() and Connect().
    virtual void SetInputsChangedHandler(InputsChangedFn onChange) = 0;
    // From now until KeepVolumes(), an input whose volume SetInput() changes
    // gets back the volume it had before, should the program end in any
    // other way: a signal, a crash, even SIGKILL. Kept across Disconnect()
    // and Connect().
    virtual void GuardVolumes() = 0;
    // The changed volumes are wanted: they stay.
    virtual void KeepVolumes() = 0;
};

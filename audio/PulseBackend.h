#pragma once

#include "CaptureBackend.h"
#include "PeakMeter.h"
#include "PulseConnection.h"
#include "PulseLoop.h"
#include "PulseSources.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CaptureMixer;
class PulseRecordStream;
class VolumeGuard;
struct pa_sample_spec;

// Recording through the PulseAudio client API (PipeWire desktops serve it
// too). The sound server's sources, monitors included, are the inputs, and
// after them "Microphone and speakers": the default microphone and the
// monitor of the default output, each on a record stream of its own, mixed
// into one.
class PulseBackend : public CaptureBackend {
public:
    PulseBackend();
    ~PulseBackend() override;

    bool Connect() override;
    bool HasOutputDevice() override;
    std::vector<CaptureInput> Inputs() override;
    bool SetInput(int index, std::optional<bool> on, std::optional<int> volume) override;
    int SelectedInput() const override;
    bool Start(uint32_t rate, int channels, uint32_t periodMs, BlockFn onBlock,
               FailFn onFail) override;
    void Pause() override;
    void Resume() override;
    void Stop() override;
    CaptureState State() const override { return m_state.load(); }
    uint32_t Level() override { return m_level.Look(); }
    void Disconnect() override;
    void SetInputsChangedHandler(InputsChangedFn onChange) override;
    void GuardVolumes() override;
    void KeepVolumes() override;

private:
    void onStreamState(PulseRecordStream& stream);
    void onStreamRead(PulseRecordStream& stream, size_t readable);

    // The index of "Microphone and speakers", -1 when the server lacks a
    // microphone or a monitor.
    int mixedInput() const;
    std::unique_ptr<PulseRecordStream> openStream(const char* device, const pa_sample_spec& format);
    bool owns(const PulseRecordStream* stream) const {
        return stream && (stream == m_stream.get() || stream == m_speakers.get());
    }
    void onRoundEnd();
    // False when the take's block callback asked to end it.
    bool feedGathered();
    void flushMixer();
    void endCapture(bool failed);
    void corkAndDrain();
    void releaseStream();

    PulseConnection m_connection;
    PulseSources m_sources;
    // The one record stream, or the microphone's in a mixed take.
    std::unique_ptr<PulseRecordStream> m_stream;
    std::unique_ptr<PulseRecordStream> m_speakers;
    std::unique_ptr<CaptureMixer> m_mixer;
    // Inside the mixer, whose block callback may stop the capture.
    bool m_feeding = false;
    // A mixed take's blocks, gathered per stream over a round of the loop and
    // fed to the mixer together: the server hands out pieces of a couple of
    // milliseconds, and each fed alone would pay the resampler's, the mix's
    // and the encoder's overhead of a call.
    struct Gathered {
        std::vector<uint8_t> bytes;
        int64_t capturedUsec = 0; // when its last block came
    };
    Gathered m_gathered[2];
    size_t m_gatherLimit = 0; // bytes: a second's
    RoundPacer m_pacer;
    bool m_mixSelected = false;
    int m_mixVolume = 100;
    std::vector<std::unique_ptr<PulseRecordStream>> m_retired;
    std::vector<std::unique_ptr<CaptureMixer>> m_retiredMixers;
    std::unique_ptr<VolumeGuard> m_guard;
    bool m_guarding = false;
    int m_selected = -1;
    int m_channels = 2;
    // Bytes handed over, and whether a pause or stop is taking in the last.
    uint64_t m_delivered = 0;
    bool m_draining = false;
    BlockFn m_onBlock;
    FailFn m_onFail;
    std::atomic<CaptureState> m_state{CaptureState::Stopped};
    PeakMeter m_level;
};

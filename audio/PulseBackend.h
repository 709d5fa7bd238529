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

class MixedCapture;
class PulseRecordStream;
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
    void endCapture(bool failed);
    void corkAndDrain();
    void releaseStream();

    PulseConnection m_connection;
    PulseSources m_sources;
    // The one record stream, or the microphone's in a mixed take.
    std::unique_ptr<PulseRecordStream> m_stream;
    std::unique_ptr<PulseRecordStream> m_speakers;
    // A take from "Microphone and speakers".
    std::unique_ptr<MixedCapture> m_mixed;
    RoundPacer m_pacer;
    bool m_mixSelected = false;
    int m_mixVolume = 100;
    std::vector<std::unique_ptr<PulseRecordStream>> m_retired;
    std::vector<std::unique_ptr<MixedCapture>> m_retiredMixed;
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

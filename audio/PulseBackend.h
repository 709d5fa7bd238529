#pragma once

#include "CaptureBackend.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CaptureMixer;
class PulseLoop;
class VolumeGuard;
struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_sample_spec;
struct pa_source_info;
struct pa_mainloop_api;
struct pa_time_event;
struct timeval;

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
    int State() const override { return m_state.load(); }
    uint32_t Level() const override { return m_level.load(); }
    void Disconnect() override;
    void SetInputsChangedHandler(InputsChangedFn onChange) override;
    void GuardVolumes() override;
    void KeepVolumes() override;

    struct Source {
        uint32_t index = 0;
        std::string name;
        // The server's own volume of each channel, to give it back exactly.
        std::vector<uint32_t> volumes;
        CaptureInput input;
    };
    static uint32_t ClassifySource(const pa_source_info& info);

private:
    static void onContextState(pa_context* context, void* self);
    static void onStreamState(pa_stream* stream, void* self);
    static void onStreamRead(pa_stream* stream, size_t bytes, void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const timeval* when,
                        void* self);

    bool newContext();
    void dropContext();
    void scheduleReconnect(uint64_t delayUsec);
    void subscribe();
    void notifyInputsChanged();
    // With the loop locked, outside its thread: true once the operation has
    // run its course, false when the server did not answer in time.
    bool await(pa_operation* operation);
    // The server has not answered a request; until it answers again, calls
    // that would wait for it fail at once.
    void markStalled();
    bool responsive() const;
    bool readSources();
    // The index of "Microphone and speakers", -1 when the server lacks a
    // microphone or a monitor.
    int mixedInput() const;
    // The sources a mixed take records: the default source unless it is a
    // monitor, and the monitor of the default sink.
    bool findMixedSources(std::string& microphone, std::string& speakers);
    pa_stream* openStream(const char* device, const pa_sample_spec& format);
    bool owns(const pa_stream* stream) const {
        return stream && (stream == m_stream || stream == m_speakers);
    }
    void flushMixer();
    void endCapture(bool failed);
    void corkAndDrain();
    void releaseStream();
    bool inLoopThread() const;

    std::unique_ptr<PulseLoop> m_loop;
    pa_context* m_context = nullptr;
    // The one record stream, or the microphone's in a mixed take.
    pa_stream* m_stream = nullptr;
    pa_stream* m_speakers = nullptr;
    std::unique_ptr<CaptureMixer> m_mixer;
    // Inside the mixer, whose block callback may stop the capture.
    bool m_feeding = false;
    bool m_mixSelected = false;
    int m_mixVolume = 100;
    std::vector<pa_stream*> m_retired;
    std::vector<std::unique_ptr<CaptureMixer>> m_retiredMixers;
    pa_time_event* m_retry = nullptr;
    // Set once the first connection stood: later losses are retried.
    bool m_established = false;
    bool m_reconnecting = false;
    std::string m_server;
    InputsChangedFn m_onChange;
    bool m_stalled = false;
    pa_operation* m_probe = nullptr;
    std::unique_ptr<VolumeGuard> m_guard;
    bool m_guarding = false;
    std::vector<Source> m_sources;
    int m_selected = -1;
    int m_channels = 2;
    uint32_t m_periodMs = 0;
    // Bytes handed over, and whether a pause or stop is taking in the last.
    uint64_t m_delivered = 0;
    bool m_draining = false;
    BlockFn m_onBlock;
    FailFn m_onFail;
    std::atomic<int> m_state{0};
    std::atomic<uint32_t> m_level{0};
};

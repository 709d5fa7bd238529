#include "PulseBackend.h"

#include "CaptureMixer.h"
#include "PulseLoop.h"
#include "VolumeGuard.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>

namespace {
// Blocks per second are wake-ups of the capture thread, which cost battery on
// a laptop; a tenth of a second is still below what a person notices at stop
// or pause. The server's default fragment, two seconds, would also hold the
// first block back that long. A monitor ignores it and sends at the pace of
// its players; the period given to Start() gathers those.
constexpr uint32_t kFragmentMs = 100;
// How often a lost sound server is looked for, and how long a connection
// may take to get through its handshake before it is tried afresh.
constexpr pa_usec_t kRetryUsec = 500 * PA_USEC_PER_MSEC;
constexpr pa_usec_t kHandshakeUsec = 3 * PA_USEC_PER_SEC;
// The longest the program waits for the server: a server stopped or hung
// (measured: 42 s under kill -STOP) must not freeze the tray, the hot keys
// and the signals, which all run on the thread that asks. A server that
// works answers in milliseconds.
constexpr auto kAnswerWait = std::chrono::milliseconds(1500);
constexpr auto kConnectWait = std::chrono::seconds(2);

class LoopLock {
public:
    LoopLock(const std::unique_ptr<PulseLoop>& loop, bool needed)
        : m_loop(needed ? loop.get() : nullptr) {
        if (m_loop)
            m_loop->Lock();
    }
    ~LoopLock() {
        if (m_loop)
            m_loop->Unlock();
    }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    PulseLoop* m_loop;
};

bool containsWord(const char* text, const char* word) {
    if (!text)
        return false;
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(word) != std::string::npos;
}

struct SourceQuery {
    PulseLoop* loop;
    std::vector<PulseBackend::Source>* sources;
};

struct SinkQuery {
    PulseLoop* loop;
    int count = 0;
};

struct SuccessQuery {
    PulseLoop* loop;
    bool ok = false;
};

struct NameQuery {
    PulseLoop* loop;
    std::string first = {}, second = {};
};

int64_t nowUsec() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
} // namespace

PulseBackend::PulseBackend() = default;

PulseBackend::~PulseBackend() {
    Disconnect();
}

bool PulseBackend::await(pa_operation* operation) {
    if (!operation)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerWait;
    while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING &&
           m_loop->WaitUntil(deadline)) {
    }
    const bool done = pa_operation_get_state(operation) == PA_OPERATION_DONE;
    if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING) {
        // Its callback points into the caller's frame.
        pa_operation_cancel(operation);
        markStalled();
    }
    pa_operation_unref(operation);
    return done;
}

void PulseBackend::markStalled() {
    m_stalled = true;
    if (m_probe || !m_context)
        return;
    // The first answer after the silence tells that the server is back.
    m_probe = pa_context_get_server_info(
        m_context,
        [](pa_context*, const pa_server_info*, void* self) {
            auto* backend = static_cast<PulseBackend*>(self);
            backend->m_stalled = false;
            pa_operation_unref(backend->m_probe);
            backend->m_probe = nullptr;
        },
        this);
}

bool PulseBackend::responsive() const {
    return m_context && !m_stalled && pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

bool PulseBackend::inLoopThread() const {
    return m_loop && m_loop->InThread();
}

uint32_t PulseBackend::ClassifySource(const pa_source_info& info) {
    if (info.monitor_of_sink != PA_INVALID_INDEX)
        return kInputWaveOutput;
    const char* port = info.active_port ? info.active_port->name : nullptr;
    const char* portDescription = info.active_port ? info.active_port->description : nullptr;
    const char* formFactor = pa_proplist_gets(info.proplist, PA_PROP_DEVICE_FORM_FACTOR);
    // Port types exist since libpulse 14; names and form factors cover older servers.
    const uint32_t portType = info.active_port ? info.active_port->type : 0;
    if (portType == PA_DEVICE_PORT_TYPE_MIC || portType == PA_DEVICE_PORT_TYPE_HEADSET ||
        portType == PA_DEVICE_PORT_TYPE_HANDSET || containsWord(port, "mic") ||
        containsWord(portDescription, "mic") || containsWord(formFactor, "microphone") ||
        containsWord(formFactor, "headset") || containsWord(formFactor, "webcam"))
        return kInputMicrophone;
    if (portType == PA_DEVICE_PORT_TYPE_LINE || containsWord(port, "line") ||
        containsWord(portDescription, "line"))
        return kInputLine;
    return kInputAnalog;
}

void PulseBackend::onContextState(pa_context* context, void* self) {
    auto* backend = static_cast<PulseBackend*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
        if (backend->m_stream)
            backend->endCapture(true);
        // The server may come back (a crash, a restart, an update).
        if (backend->m_established)
            backend->scheduleReconnect(kRetryUsec);
    } else if (state == PA_CONTEXT_READY) {
        backend->subscribe();
        if (backend->m_reconnecting) {
            backend->m_reconnecting = false;
            backend->notifyInputsChanged();
        }
    }
    backend->m_loop->Signal();
}

void PulseBackend::subscribe() {
    // Only inputs that come and go: a change of volume, ours included, is no news.
    pa_context_set_subscribe_callback(
        m_context,
        [](pa_context*, pa_subscription_event_type_t type, uint32_t, void* self) {
            const auto kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
            if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SOURCE &&
                (kind == PA_SUBSCRIPTION_EVENT_NEW || kind == PA_SUBSCRIPTION_EVENT_REMOVE))
                static_cast<PulseBackend*>(self)->notifyInputsChanged();
        },
        this);
    if (pa_operation* operation =
            pa_context_subscribe(m_context, PA_SUBSCRIPTION_MASK_SOURCE, nullptr, nullptr))
        pa_operation_unref(operation);
}

void PulseBackend::notifyInputsChanged() {
    if (m_onChange)
        m_onChange();
}

void PulseBackend::scheduleReconnect(uint64_t delayUsec) {
    m_reconnecting = true;
    pa_mainloop_api* api = m_loop->Api();
    timeval when{};
    pa_timeval_add(pa_gettimeofday(&when), delayUsec);
    if (m_retry)
        api->time_restart(m_retry, &when);
    else
        m_retry = api->time_new(api, &when, &PulseBackend::onRetry, this);
}

// PA_CONTEXT_NOFAIL would wait for the server only where it announces
// itself on D-Bus, so a dead context is replaced on a timer instead.
void PulseBackend::onRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*, void* self) {
    auto* backend = static_cast<PulseBackend*>(self);
    api->time_free(event);
    backend->m_retry = nullptr;
    pa_context* context = backend->m_context;
    if (context && pa_context_get_state(context) == PA_CONTEXT_READY)
        return;
    // Also a connection still stuck in its handshake is started again: a
    // server that was starting up may never answer it.
    backend->scheduleReconnect(backend->newContext() ? kHandshakeUsec : kRetryUsec);
}

void PulseBackend::dropContext() {
    if (m_probe) {
        pa_operation_cancel(m_probe);
        pa_operation_unref(m_probe);
        m_probe = nullptr;
    }
    m_stalled = false;
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

bool PulseBackend::newContext() {
    dropContext();
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Tapewren");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "tapewren");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "audio-input-microphone");
    m_context = pa_context_new_with_proplist(m_loop->Api(), "Tapewren", props);
    pa_proplist_free(props);
    if (!m_context)
        return false;
    pa_context_set_state_callback(m_context, &PulseBackend::onContextState, this);
    // Back to the server first found, not to whatever the environment names now.
    const char* server = m_server.empty() ? nullptr : m_server.c_str();
    return pa_context_connect(m_context, server, PA_CONTEXT_NOFLAGS, nullptr) >= 0;
}

void PulseBackend::SetInputsChangedHandler(InputsChangedFn onChange) {
    LoopLock lock(m_loop, m_loop && !inLoopThread());
    m_onChange = std::move(onChange);
}

void PulseBackend::GuardVolumes() {
    LoopLock lock(m_loop, m_loop && !inLoopThread());
    m_guarding = true;
}

void PulseBackend::KeepVolumes() {
    LoopLock lock(m_loop, m_loop && !inLoopThread());
    m_guarding = false;
    if (m_guard)
        m_guard->Keep();
    m_guard.reset();
}

void PulseBackend::onStreamState(pa_stream* stream, void* self) {
    auto* backend = static_cast<PulseBackend*>(self);
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if ((state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) && backend->m_state != 0)
        backend->endCapture(true);
    backend->m_loop->Signal();
}

void PulseBackend::onStreamRead(pa_stream* stream, size_t readable, void* self) {
    auto* backend = static_cast<PulseBackend*>(self);
    const auto which =
        stream == backend->m_speakers ? CaptureMixer::kSpeakers : CaptureMixer::kMicrophone;
    // Only what was there when the call came, and nothing while another
    // thread waits for the lock: libpulse calls again for every block it
    // reads, and a callback slower than the capture would otherwise keep the
    // loop locked for good, with Pause() or Stop() never getting in. What is
    // left waits in the stream for the next call.
    while (backend->owns(stream) && readable > 0 && !backend->m_loop->Contended()) {
        const void* data = nullptr;
        size_t length = 0;
        if (pa_stream_peek(stream, &data, &length) < 0) {
            backend->endCapture(true);
            return;
        }
        if (length == 0)
            return;
        bool goOn = true;
        const auto bytes = static_cast<uint32_t>(length);
        const bool deliver = backend->m_state == 1 && (data || backend->m_mixer);
        // While paused, what was in flight is dropped.
        if (deliver && backend->m_mixer) {
            // A hole is silence of its length: the two streams must stay in step.
            std::vector<uint8_t> silence(data ? 0 : length);
            backend->m_feeding = true;
            goOn = backend->m_mixer->Feed(which, data ? data : silence.data(), bytes, nowUsec());
            backend->m_feeding = false;
        } else if (deliver) {
            // A hole of one input carries no samples.
            backend->m_level = PeakLevel(data, bytes, backend->m_channels);
            goOn = backend->m_onBlock(data, bytes);
        }
        if (deliver) {
            backend->m_delivered += bytes;
            // Once the first block is in, the rest may come in batches.
            if (!backend->m_draining)
                backend->m_loop->SetBatchInterval(std::chrono::milliseconds(backend->m_periodMs));
        }
        // The callback may have stopped the capture itself.
        if (!backend->owns(stream))
            return;
        pa_stream_drop(stream);
        readable -= std::min(readable, length);
        if (!goOn) {
            backend->endCapture(false);
            return;
        }
    }
}

bool PulseBackend::Connect() {
    if (m_context)
        return true;
    m_loop = std::make_unique<PulseLoop>();
    m_established = false;
    m_reconnecting = false;
    m_server.clear();
    if (!newContext() || !m_loop->Start()) {
        Disconnect();
        return false;
    }
    bool ready = false;
    {
        LoopLock lock(m_loop, true);
        const auto deadline = std::chrono::steady_clock::now() + kConnectWait;
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(m_context);
            if (state == PA_CONTEXT_READY) {
                ready = true;
                break;
            }
            if (!PA_CONTEXT_IS_GOOD(state) || !m_loop->WaitUntil(deadline))
                break;
        }
        if (ready && readSources()) {
            const char* server = pa_context_get_server(m_context);
            m_server = server ? server : "";
        }
        m_established = ready && !m_stalled && !m_sources.empty();
    }
    if (!m_established) {
        Disconnect();
        return false;
    }
    return true;
}

bool PulseBackend::readSources() {
    std::vector<Source> sources;
    SourceQuery query{m_loop.get(), &sources};
    const bool answered = await(pa_context_get_source_info_list(
        m_context,
        [](pa_context*, const pa_source_info* info, int eol, void* data) {
            auto* q = static_cast<SourceQuery*>(data);
            if (eol || !info) {
                q->loop->Signal();
                return;
            }
            Source source;
            source.index = info->index;
            source.name = info->name ? info->name : "";
            source.volumes.assign(info->volume.values, info->volume.values + info->volume.channels);
            source.input.name = info->description ? info->description : source.name;
            source.input.type = ClassifySource(*info);
            const pa_volume_t average = pa_cvolume_avg(&info->volume);
            source.input.volume = static_cast<int>(
                (static_cast<uint64_t>(average) * 100 + PA_VOLUME_NORM / 2) / PA_VOLUME_NORM);
            q->sources->push_back(std::move(source));
        },
        &query));
    // Half a list is no list: the one we had stays.
    if (!answered)
        return false;
    std::sort(sources.begin(), sources.end(),
              [](const Source& a, const Source& b) { return a.index < b.index; });
    // Keep the selection on the same source when the list changes under us.
    const std::string selectedName =
        m_selected >= 0 && m_selected < static_cast<int>(m_sources.size())
            ? m_sources[static_cast<size_t>(m_selected)].name
            : std::string();
    m_sources = std::move(sources);
    m_selected = -1;
    for (size_t i = 0; i < m_sources.size(); ++i)
        if (!selectedName.empty() && m_sources[i].name == selectedName)
            m_selected = static_cast<int>(i);
    return true;
}

bool PulseBackend::HasOutputDevice() {
    if (!m_loop)
        return false;
    // The loop thread replaces the context when the server comes back.
    LoopLock lock(m_loop, !inLoopThread());
    if (!responsive())
        return false;
    SinkQuery query{m_loop.get()};
    await(pa_context_get_sink_info_list(
        m_context,
        [](pa_context*, const pa_sink_info* info, int eol, void* data) {
            auto* q = static_cast<SinkQuery*>(data);
            if (eol || !info)
                q->loop->Signal();
            else
                ++q->count;
        },
        &query));
    return query.count > 0;
}

std::vector<CaptureInput> PulseBackend::Inputs() {
    if (!m_loop)
        return {};
    LoopLock lock(m_loop, !inLoopThread());
    // A server that does not answer leaves the list as it was last read.
    if (responsive() && !inLoopThread())
        readSources();
    std::vector<CaptureInput> inputs;
    for (const Source& source : m_sources)
        inputs.push_back(source.input);
    if (mixedInput() >= 0)
        inputs.push_back({CaptureMixer::kInputName, CaptureMixer::kInputType, m_mixVolume});
    return inputs;
}

int PulseBackend::mixedInput() const {
    const auto monitor = [](const Source& s) { return s.input.type == kInputWaveOutput; };
    const bool offered = std::any_of(m_sources.begin(), m_sources.end(), monitor) &&
                         !std::all_of(m_sources.begin(), m_sources.end(), monitor);
    return offered ? static_cast<int>(m_sources.size()) : -1;
}

// The list and the choice change only on the thread that asks.
int PulseBackend::SelectedInput() const {
    return m_mixSelected ? mixedInput() : m_selected;
}

bool PulseBackend::SetInput(int index, std::optional<bool> on, std::optional<int> volume) {
    if (!m_loop)
        return false;
    LoopLock lock(m_loop, !inLoopThread());
    if (index >= 0 && index == mixedInput()) {
        if (on) {
            m_mixSelected = *on;
            if (*on)
                m_selected = -1;
        }
        // The microphone's share in the mix, applied to the samples: the
        // devices themselves stay as the user set them.
        if (volume)
            m_mixVolume = std::clamp(*volume, 0, 100);
        return true;
    }
    if (index < 0 || index >= static_cast<int>(m_sources.size()))
        return false;
    Source& source = m_sources[static_cast<size_t>(index)];
    // Switching off only deselects: other programs may be using the source.
    if (on)
        m_selected = *on ? index : (m_selected == index ? -1 : m_selected);
    if (on && *on)
        m_mixSelected = false;
    if (!volume)
        return true;
    if (!m_context || (!inLoopThread() && !responsive()))
        return false;
    if (m_guarding) {
        if (!m_guard)
            m_guard = std::make_unique<VolumeGuard>(m_server);
        m_guard->Remember(source.name, source.volumes);
    }
    pa_cvolume cv;
    // The source's own channel count: a stereo volume on a mono source is refused.
    pa_cvolume_set(&cv, static_cast<unsigned>(std::max<size_t>(source.volumes.size(), 1)),
                   static_cast<pa_volume_t>(static_cast<uint64_t>(PA_VOLUME_NORM) * *volume / 100));
    if (inLoopThread()) {
        // From a block callback: the loop cannot wait for its own reply, so
        // the change is sent without one.
        pa_operation* operation =
            pa_context_set_source_volume_by_index(m_context, source.index, &cv, nullptr, nullptr);
        if (!operation)
            return false;
        pa_operation_unref(operation);
        source.input.volume = *volume;
        return true;
    }
    SuccessQuery query{m_loop.get()};
    await(pa_context_set_source_volume_by_index(
        m_context, source.index, &cv,
        [](pa_context*, int success, void* data) {
            auto* q = static_cast<SuccessQuery*>(data);
            q->ok = success != 0;
            q->loop->Signal();
        },
        &query));
    if (query.ok)
        source.input.volume = *volume;
    return query.ok;
}

bool PulseBackend::findMixedSources(std::string& microphone, std::string& speakers) {
    NameQuery defaults{m_loop.get()};
    if (!await(pa_context_get_server_info(
            m_context,
            [](pa_context*, const pa_server_info* info, void* data) {
                auto* q = static_cast<NameQuery*>(data);
                if (info && info->default_sink_name)
                    q->first = info->default_sink_name;
                if (info && info->default_source_name)
                    q->second = info->default_source_name;
                q->loop->Signal();
            },
            &defaults)))
        return false;
    NameQuery monitor{m_loop.get()};
    if (!defaults.first.empty() &&
        !await(pa_context_get_sink_info_by_name(
            m_context, defaults.first.c_str(),
            [](pa_context*, const pa_sink_info* info, int eol, void* data) {
                auto* q = static_cast<NameQuery*>(data);
                if (!eol && info && info->monitor_source_name)
                    q->first = info->monitor_source_name;
                if (eol)
                    q->loop->Signal();
            },
            &monitor)))
        return false;
    microphone.clear();
    speakers.clear();
    for (const Source& source : m_sources) {
        const bool isMonitor = source.input.type == kInputWaveOutput;
        if (isMonitor && (source.name == monitor.first || speakers.empty()))
            speakers = source.name;
        // Where the default source is a monitor, the first microphone there is.
        if (!isMonitor && (source.name == defaults.second || microphone.empty()))
            microphone = source.name;
    }
    return !microphone.empty() && !speakers.empty();
}

pa_stream* PulseBackend::openStream(const char* device, const pa_sample_spec& format) {
    pa_stream* stream = pa_stream_new(m_context, "Recording", &format, nullptr);
    if (!stream)
        return nullptr;
    pa_stream_set_state_callback(stream, &PulseBackend::onStreamState, this);
    pa_stream_set_read_callback(stream, &PulseBackend::onStreamRead, this);
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);
    attr.fragsize =
        static_cast<uint32_t>(pa_usec_to_bytes(kFragmentMs * PA_USEC_PER_MSEC, &format));
    // The chosen input or nothing: when it goes away the take ends and the user
    // is told, rather than the server quietly recording another source.
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                      (device ? PA_STREAM_DONT_MOVE : 0));
    if (pa_stream_connect_record(stream, device, &attr, flags) < 0) {
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        pa_stream_unref(stream);
        return nullptr;
    }
    return stream;
}

bool PulseBackend::Start(uint32_t rate, int channels, uint32_t periodMs, BlockFn onBlock,
                         FailFn onFail) {
    if (!m_loop || (channels != 1 && channels != 2) || rate == 0)
        return false;
    LoopLock lock(m_loop, !inLoopThread());
    if (m_stream || !responsive() || inLoopThread())
        return false;
    m_retiredMixers.clear();
    const pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, rate, static_cast<uint8_t>(channels)};
    m_channels = channels;
    m_periodMs = periodMs;
    m_onBlock = std::move(onBlock);
    m_onFail = std::move(onFail);
    m_level = 0;
    m_delivered = 0;
    const bool mixed = m_mixSelected && mixedInput() >= 0;
    std::string microphone, speakers;
    if (mixed) {
        if (!findMixedSources(microphone, speakers))
            return false;
        m_mixer = std::make_unique<CaptureMixer>(rate, channels,
                                                 [this](const void* data, uint32_t length) {
                                                     m_level = PeakLevel(data, length, m_channels);
                                                     return m_onBlock(data, length);
                                                 });
        if (!m_mixer->Ready()) {
            m_mixer.reset();
            return false;
        }
        m_mixer->SetMicrophoneVolume(m_mixVolume);
    }
    const char* device = mixed             ? microphone.c_str()
                         : m_selected >= 0 ? m_sources[static_cast<size_t>(m_selected)].name.c_str()
                                           : nullptr;
    m_stream = openStream(device, sampleSpec);
    if (mixed && m_stream)
        m_speakers = openStream(speakers.c_str(), sampleSpec);
    if (!m_stream || (mixed && !m_speakers)) {
        releaseStream();
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + kAnswerWait;
    for (;;) {
        const pa_stream_state_t state = pa_stream_get_state(m_stream);
        const pa_stream_state_t second = m_speakers ? pa_stream_get_state(m_speakers) : state;
        if (state == PA_STREAM_READY && second == PA_STREAM_READY)
            break;
        if (!PA_STREAM_IS_GOOD(state) || !PA_STREAM_IS_GOOD(second)) {
            releaseStream();
            return false;
        }
        if (!m_loop->WaitUntil(deadline)) {
            releaseStream();
            markStalled();
            return false;
        }
    }
    m_state = 1;
    return true;
}

void PulseBackend::Pause() {
    if (!m_loop)
        return;
    // The loop thread may end the stream at any moment: look at it locked.
    LoopLock lock(m_loop, !inLoopThread());
    if (!m_stream || m_state != 1)
        return;
    corkAndDrain();
    // The capture may have ended meanwhile.
    if (m_stream && m_state == 1) {
        flushMixer();
        m_state = 3;
    }
}

void PulseBackend::Resume() {
    if (!m_loop)
        return;
    LoopLock lock(m_loop, !inLoopThread());
    if (!m_stream || m_state != 3)
        return;
    // Both streams begin again together; the mixer keeps what it learnt of the clocks.
    if (m_mixer)
        m_mixer->Restart();
    m_state = 1;
    for (pa_stream* stream : {m_stream, m_speakers})
        if (stream)
            pa_operation_unref(pa_stream_cork(stream, 0, nullptr, nullptr));
}

void PulseBackend::Stop() {
    if (!m_loop)
        return;
    // Blocks are delivered with the loop locked: once we hold the lock, no
    // callback runs, and after the stream is released none will.
    LoopLock lock(m_loop, !inLoopThread());
    if (m_stream && m_state == 1) {
        corkAndDrain();
        flushMixer();
    }
    releaseStream();
    m_state = 0;
}

// The microphone's last frames, with the speakers' sound for them, go into
// the take before a pause or stop takes effect: they were captured before it.
void PulseBackend::flushMixer() {
    if (m_mixer && !m_feeding)
        m_mixer->Flush();
}

// Blocks still on their way were captured before the click: held back for
// the period, in flight, or kept by the server while we were not reading.
// They are handed over before a pause or a stop takes effect, so that the
// take keeps the sound up to it. The server answers the cork at once, and
// sends what it kept for us after its answer, as fast as it is read: a
// moment without a block means all is in. A server that does not answer
// gets a second.
void PulseBackend::corkAndDrain() {
    using namespace std::chrono;
    pa_stream* const streams[] = {m_stream, m_speakers};
    if (inLoopThread() || m_stalled) {
        for (pa_stream* stream : streams)
            if (stream)
                pa_operation_unref(pa_stream_cork(stream, 1, nullptr, nullptr));
        return;
    }
    m_draining = true;
    m_loop->SetBatchInterval(milliseconds(0));
    std::vector<pa_operation*> operations;
    for (pa_stream* stream : streams)
        if (stream)
            if (pa_operation* operation = pa_stream_cork(
                    stream, 1,
                    [](pa_stream*, int, void* loop) { static_cast<PulseLoop*>(loop)->Signal(); },
                    m_loop.get()))
                operations.push_back(operation);
    const auto running = [&] {
        return std::any_of(operations.begin(), operations.end(), [](pa_operation* operation) {
            return pa_operation_get_state(operation) == PA_OPERATION_RUNNING;
        });
    };
    const auto deadline = steady_clock::now() + seconds(1);
    while (running() && m_loop->WaitUntil(deadline)) {
    }
    if (!operations.empty() && !running()) {
        for (uint64_t seen = ~uint64_t{0}; seen != m_delivered && m_stream;) {
            seen = m_delivered;
            const auto quiet = std::min(deadline, steady_clock::now() + milliseconds(20));
            while (m_loop->WaitUntil(quiet)) {
            }
            if (steady_clock::now() >= deadline)
                break;
        }
    } else if (!operations.empty()) {
        markStalled();
    }
    for (pa_operation* operation : operations) {
        if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
            pa_operation_cancel(operation);
        pa_operation_unref(operation);
    }
    m_draining = false;
}

void PulseBackend::endCapture(bool failed) {
    const bool wasActive = m_state != 0;
    const bool wasRecording = m_state == 1;
    m_state = 0;
    // What the mixer holds of a take that ended on its own was captured.
    if (failed && wasRecording)
        flushMixer();
    releaseStream();
    if (failed && wasActive && m_onFail)
        m_onFail();
}

void PulseBackend::releaseStream() {
    if (m_loop)
        m_loop->SetBatchInterval(std::chrono::milliseconds(0));
    for (pa_stream** slot : {&m_stream, &m_speakers}) {
        pa_stream* stream = *slot;
        if (!stream)
            continue;
        *slot = nullptr;
        pa_stream_set_read_callback(stream, nullptr, nullptr);
        pa_stream_set_state_callback(stream, nullptr, nullptr);
        if (PA_STREAM_IS_GOOD(pa_stream_get_state(stream)))
            pa_stream_disconnect(stream);
        // Inside one of its own callbacks the stream must outlive the call.
        m_retired.push_back(stream);
    }
    // So must the mixer, whose block callback may be what ends the take.
    if (m_mixer)
        m_retiredMixers.push_back(std::move(m_mixer));
    if (inLoopThread())
        return;
    for (pa_stream* old : m_retired)
        pa_stream_unref(old);
    m_retired.clear();
    m_retiredMixers.clear();
}

void PulseBackend::Disconnect() {
    if (!m_loop)
        return;
    if (inLoopThread()) {
        // Cannot stop the loop from inside it; the destructor finishes the job.
        releaseStream();
        m_state = 0;
        return;
    }
    m_loop->Lock();
    releaseStream();
    m_state = 0;
    if (m_retry) {
        pa_mainloop_api* api = m_loop->Api();
        api->time_free(m_retry);
        m_retry = nullptr;
    }
    m_established = false;
    m_reconnecting = false;
    dropContext();
    m_loop->Unlock();
    m_loop->Stop();
    m_loop.reset();
    m_sources.clear();
    m_selected = -1;
    m_mixSelected = false;
}

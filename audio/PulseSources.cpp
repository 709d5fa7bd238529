#include "PulseSources.h"

#include "Logging.h"
#include "PulseConnection.h"
#include "PulseLoop.h"
#include "VolumeGuard.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {
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
    std::vector<PulseSources::Source>* sources;
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
} // namespace

uint32_t PulseSources::ClassifySource(const pa_source_info& info) {
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

bool PulseSources::Read(int& selected) {
    std::vector<Source> sources;
    SourceQuery query{m_connection.Loop(), &sources};
    const bool answered = m_connection.Await(pa_context_get_source_info_list(
        m_connection.Context(),
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
            source.pipeWire = info->driver && std::strstr(info->driver, "PipeWire");
            const pa_volume_t average = pa_cvolume_avg(&info->volume);
            source.input.volume = static_cast<int>(
                (static_cast<uint64_t>(average) * 100 + PA_VOLUME_NORM / 2) / PA_VOLUME_NORM);
            q->sources->push_back(std::move(source));
        },
        &query));
    // Half a list is no list: the one we had stays.
    if (!answered) {
        qCWarning(lcAudio, "The sound server did not list its sources; the last list stays");
        return false;
    }
    std::sort(sources.begin(), sources.end(),
              [](const Source& a, const Source& b) { return a.index < b.index; });
    // Keep the selection on the same source when the list changes under us.
    const std::string selectedName = selected >= 0 && selected < Count()
                                         ? m_sources[static_cast<size_t>(selected)].name
                                         : std::string();
    m_sources = std::move(sources);
    selected = -1;
    for (size_t i = 0; i < m_sources.size(); ++i)
        if (!selectedName.empty() && m_sources[i].name == selectedName)
            selected = static_cast<int>(i);
    return true;
}

PulseSources::PulseSources(PulseConnection& connection) : m_connection(connection) {}

PulseSources::~PulseSources() = default;

void PulseSources::GuardVolumes() {
    m_guarding = true;
}

void PulseSources::KeepVolumes() {
    m_guarding = false;
    if (m_guard)
        m_guard->Keep();
    m_guard.reset();
}

bool PulseSources::SetVolume(int index, int percent) {
    Source& source = At(index);
    const bool inLoopThread = m_connection.InLoopThread();
    pa_context* context = m_connection.Context();
    if (!context || (!inLoopThread && !m_connection.Responsive()))
        return volumeSet(source, false);
    if (m_guarding) {
        if (!m_guard)
            m_guard = std::make_unique<VolumeGuard>(m_connection.Server());
        m_guard->Remember(source.name, source.volumes);
    }
    pa_cvolume cv;
    // The source's own channel count: a stereo volume on a mono source is refused.
    pa_cvolume_set(&cv, static_cast<unsigned>(std::max<size_t>(source.volumes.size(), 1)),
                   static_cast<pa_volume_t>(static_cast<uint64_t>(PA_VOLUME_NORM) * percent / 100));
    if (inLoopThread) {
        // From a block callback: the loop cannot wait for its own reply, so
        // the change is sent without one.
        pa_operation* operation =
            pa_context_set_source_volume_by_index(context, source.index, &cv, nullptr, nullptr);
        if (!operation)
            return volumeSet(source, false);
        pa_operation_unref(operation);
        source.input.volume = percent;
        return volumeSet(source, true);
    }
    SuccessQuery query{m_connection.Loop()};
    m_connection.Await(pa_context_set_source_volume_by_index(
        context, source.index, &cv,
        [](pa_context*, int success, void* data) {
            auto* q = static_cast<SuccessQuery*>(data);
            q->ok = success != 0;
            q->loop->Signal();
        },
        &query));
    if (query.ok)
        source.input.volume = percent;
    return volumeSet(source, query.ok);
}

// Told once until a change goes through: the optimizer may try at every block.
bool PulseSources::volumeSet(const Source& source, bool ok) {
    if (!ok && !m_volumeFailing)
        qCWarning(lcAudio, "Could not set the volume of %s", source.name.c_str());
    m_volumeFailing = !ok;
    return ok;
}

bool PulseSources::HasOutputDevice() {
    if (!m_connection.Loop())
        return false;
    // The loop thread replaces the context when the server comes back.
    LoopLock lock(m_connection);
    if (!m_connection.Responsive())
        return false;
    SinkQuery query{m_connection.Loop()};
    m_connection.Await(pa_context_get_sink_info_list(
        m_connection.Context(),
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

bool PulseSources::FindMixed(std::string& microphone, std::string& speakers) {
    NameQuery defaults{m_connection.Loop()};
    if (!m_connection.Await(pa_context_get_server_info(
            m_connection.Context(),
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
    NameQuery monitor{m_connection.Loop()};
    if (!defaults.first.empty() &&
        !m_connection.Await(pa_context_get_sink_info_by_name(
            m_connection.Context(), defaults.first.c_str(),
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

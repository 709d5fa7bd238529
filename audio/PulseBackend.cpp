#include "PulseBackend.h"

#include "CaptureMixer.h"
#include "Logging.h"
#include "MixedCapture.h"
#include "PulseLoop.h"
#include "PulseRecordStream.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>

PulseBackend::PulseBackend()
    : m_connection([this] {
          if (m_stream)
              endCapture(true);
      }),
      m_sources(m_connection) {}

PulseBackend::~PulseBackend() {
    Disconnect();
}

void PulseBackend::SetInputsChangedHandler(InputsChangedFn onChange) {
    m_connection.SetInputsChangedHandler(std::move(onChange));
}

void PulseBackend::GuardVolumes() {
    LoopLock lock(m_connection);
    m_sources.GuardVolumes();
}

void PulseBackend::KeepVolumes() {
    LoopLock lock(m_connection);
    m_sources.KeepVolumes();
}

void PulseBackend::onStreamState(PulseRecordStream& stream) {
    if (stream.Ended() && m_state != CaptureState::Stopped)
        endCapture(true);
}

void PulseBackend::onStreamRead(PulseRecordStream& stream, size_t readable) {
    const auto which =
        &stream == m_speakers.get() ? CaptureMixer::kSpeakers : CaptureMixer::kMicrophone;
    // Only what was there when the call came, and nothing while another
    // thread waits for the lock: libpulse calls again for every block it
    // reads, and a callback slower than the capture would otherwise keep the
    // loop locked for good, with Pause() or Stop() never getting in. What is
    // left waits in the stream for the next call.
    while (owns(&stream) && readable > 0 && !m_connection.Loop()->Contended()) {
        const void* data = nullptr;
        size_t length = 0;
        if (!stream.Peek(data, length)) {
            qCWarning(lcAudio, "Reading the record stream failed");
            endCapture(true);
            return;
        }
        if (length == 0)
            return;
        bool goOn = true;
        const auto bytes = static_cast<uint32_t>(length);
        const bool deliver = m_state == CaptureState::Recording && (data || m_mixed);
        // While paused, what was in flight is dropped.
        if (deliver && m_mixed) {
            goOn = m_mixed->Block(which, data, bytes, MonotonicMicroseconds());
        } else if (deliver) {
            // A hole of one input carries no samples.
            m_level.Raise(PeakLevel(data, bytes, m_channels));
            goOn = m_onBlock(data, bytes);
        }
        if (deliver)
            m_delivered += bytes;
        // The callback may have stopped the capture itself.
        if (!owns(&stream))
            return;
        stream.Drop();
        readable -= std::min(readable, length);
        if (!goOn) {
            endCapture(false);
            return;
        }
    }
}

bool PulseBackend::Connect() {
    if (m_connection.Context())
        return true;
    bool established = false;
    if (m_connection.Open()) {
        LoopLock lock(m_connection);
        const bool ready = m_connection.WaitReady();
        if (ready && m_sources.Read(m_selected))
            m_connection.RememberServer();
        established = ready && !m_connection.Stalled() && m_sources.Count() > 0;
        m_connection.SetEstablished(established);
    }
    if (!established) {
        qCWarning(lcAudio, "Could not connect to the sound server, or it offers nothing to record");
        Disconnect();
        return false;
    }
    qCDebug(lcAudio, "Connected to the sound server %s: %d sources", m_connection.Server().c_str(),
            m_sources.Count());
    return true;
}

bool PulseBackend::HasOutputDevice() {
    return m_sources.HasOutputDevice();
}

std::vector<CaptureInput> PulseBackend::Inputs() {
    if (!m_connection.Loop())
        return {};
    LoopLock lock(m_connection);
    // A server that does not answer leaves the list as it was last read.
    if (m_connection.Responsive() && !m_connection.InLoopThread())
        m_sources.Read(m_selected);
    std::vector<CaptureInput> inputs;
    for (const PulseSources::Source& source : m_sources.List())
        inputs.push_back(source.input);
    if (mixedInput() >= 0)
        inputs.push_back({CaptureMixer::kInputName, CaptureMixer::kInputType, m_mixVolume});
    return inputs;
}

int PulseBackend::mixedInput() const {
    const auto& sources = m_sources.List();
    const auto monitor = [](const PulseSources::Source& s) {
        return s.input.type == kInputWaveOutput;
    };
    const bool offered = std::any_of(sources.begin(), sources.end(), monitor) &&
                         !std::all_of(sources.begin(), sources.end(), monitor);
    return offered ? static_cast<int>(sources.size()) : -1;
}

// The list and the choice change only on the thread that asks.
int PulseBackend::SelectedInput() const {
    return m_mixSelected ? mixedInput() : m_selected;
}

bool PulseBackend::SetInput(int index, std::optional<bool> on, std::optional<int> volume) {
    if (!m_connection.Loop())
        return false;
    LoopLock lock(m_connection);
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
    if (index < 0 || index >= m_sources.Count())
        return false;
    // Switching off only deselects: other programs may be using the source.
    if (on)
        m_selected = *on ? index : (m_selected == index ? -1 : m_selected);
    if (on && *on)
        m_mixSelected = false;
    if (!volume)
        return true;
    return m_sources.SetVolume(index, *volume);
}

std::unique_ptr<PulseRecordStream> PulseBackend::openStream(const char* device,
                                                            const pa_sample_spec& format) {
    return PulseRecordStream::Open(
        m_connection, device, format, [this](PulseRecordStream& s) { onStreamState(s); },
        [this](PulseRecordStream& s, size_t readable) { onStreamRead(s, readable); });
}

bool PulseBackend::Start(uint32_t rate, int channels, uint32_t periodMs, BlockFn onBlock,
                         FailFn onFail) {
    PulseLoop* loop = m_connection.Loop();
    if (!loop || (channels != 1 && channels != 2) || rate == 0)
        return false;
    LoopLock lock(m_connection);
    if (m_stream || m_connection.InLoopThread())
        return false;
    if (!m_connection.Responsive()) {
        qCWarning(lcAudio, "The sound server does not answer: the capture does not start");
        return false;
    }
    m_retiredMixed.clear();
    const pa_sample_spec sampleSpec{PA_SAMPLE_S16LE, rate, static_cast<uint8_t>(channels)};
    m_channels = channels;
    m_onBlock = std::move(onBlock);
    m_onFail = std::move(onFail);
    m_level.Reset();
    m_delivered = 0;
    const bool mixed = m_mixSelected && mixedInput() >= 0;
    std::string microphone, speakers;
    if (mixed) {
        if (!m_sources.FindMixed(microphone, speakers)) {
            qCWarning(lcAudio, "No microphone and speakers' monitor found for a mixed take");
            return false;
        }
        m_mixed = std::make_unique<MixedCapture>(
            rate, channels, m_mixVolume, [this](const void* data, uint32_t length) {
                m_level.Raise(PeakLevel(data, length, m_channels));
                return m_onBlock(data, length);
            });
        if (!m_mixed->Ready()) {
            qCWarning(lcAudio, "Could not make the mixer of a mixed take");
            m_mixed.reset();
            return false;
        }
    }
    const char* device = mixed             ? microphone.c_str()
                         : m_selected >= 0 ? m_sources.At(m_selected).name.c_str()
                                           : nullptr;
    m_stream = openStream(device, sampleSpec);
    if (mixed && m_stream)
        m_speakers = openStream(speakers.c_str(), sampleSpec);
    if (!m_stream || (mixed && !m_speakers)) {
        releaseStream();
        return false;
    }
    const auto deadline = std::chrono::steady_clock::now() + PulseConnection::kAnswerWait;
    for (;;) {
        // A server that went away while we waited has taken the streams with it.
        if (!m_stream)
            return false;
        if (m_stream->Ready() && (!m_speakers || m_speakers->Ready()))
            break;
        if (!m_stream->Good() || (m_speakers && !m_speakers->Good())) {
            releaseStream();
            return false;
        }
        if (!loop->WaitUntil(deadline)) {
            releaseStream();
            m_connection.MarkStalled();
            return false;
        }
    }
    // PulseAudio's ring (RoundPacer); PipeWire's pulse server has none. Every
    // source of a server names the same driver.
    const bool ringed = m_sources.Count() == 0 || !m_sources.At(0).pipeWire;
    m_pacer.Begin(*loop, periodMs, double(rate) * channels * 2 * (mixed ? 2 : 1), ringed, mixed);
    loop->SetRoundEndHandler([this] { onRoundEnd(); });
    m_state = CaptureState::Recording;
    qCDebug(lcAudio, "Capture started: %u Hz, %d channels%s, rounds %u ms apart (0: none)", rate,
            channels, mixed ? ", microphone and speakers" : "", m_pacer.PeriodMs());
    return true;
}

// What a round gathered of a mixed take is mixed; then the pace of the next
// round is set.
void PulseBackend::onRoundEnd() {
    if (m_mixed && !m_mixed->RoundEnd()) {
        endCapture(false);
        return;
    }
    m_pacer.RoundEnd(m_delivered, !m_draining && m_state == CaptureState::Recording);
}

void PulseBackend::Pause() {
    if (!m_connection.Loop())
        return;
    // The loop thread may end the stream at any moment: look at it locked.
    LoopLock lock(m_connection);
    if (!m_stream || m_state != CaptureState::Recording)
        return;
    corkAndDrain();
    // The capture may have ended meanwhile.
    if (m_stream && m_state == CaptureState::Recording) {
        if (m_mixed)
            m_mixed->Flush();
        m_state = CaptureState::Paused;
        qCDebug(lcAudio, "Capture paused");
    }
}

void PulseBackend::Resume() {
    if (!m_connection.Loop())
        return;
    LoopLock lock(m_connection);
    if (!m_stream || m_state != CaptureState::Paused)
        return;
    if (m_mixed)
        m_mixed->Restart();
    m_state = CaptureState::Recording;
    m_pacer.Resume();
    qCDebug(lcAudio, "Capture resumed");
    for (PulseRecordStream* stream : {m_stream.get(), m_speakers.get()})
        if (stream)
            stream->Cork(false);
}

void PulseBackend::Stop() {
    if (!m_connection.Loop())
        return;
    // Blocks are delivered with the loop locked: once we hold the lock, no
    // callback runs, and after the stream is released none will.
    LoopLock lock(m_connection);
    if (m_stream && m_state == CaptureState::Recording) {
        corkAndDrain();
        if (m_mixed)
            m_mixed->Flush();
    }
    if (m_state != CaptureState::Stopped)
        qCDebug(lcAudio, "Capture stopped");
    releaseStream();
    m_state = CaptureState::Stopped;
}

void PulseBackend::corkAndDrain() {
    m_draining = true;
    PulseRecordStream::CorkAndDrain(m_connection, m_stream.get(), m_speakers.get(),
                                    [this]() -> std::optional<uint64_t> {
                                        if (!m_stream)
                                            return std::nullopt;
                                        return m_delivered;
                                    });
    m_draining = false;
}

void PulseBackend::endCapture(bool failed) {
    const bool wasActive = m_state != CaptureState::Stopped;
    const bool wasRecording = m_state == CaptureState::Recording;
    m_state = CaptureState::Stopped;
    // What the mixer holds of a take that ended on its own was captured.
    if (failed && wasRecording && m_mixed)
        m_mixed->Flush();
    releaseStream();
    if (failed && wasActive)
        qCWarning(lcAudio, "The capture ended on its own; the take keeps what came before");
    if (failed && wasActive && m_onFail)
        m_onFail();
}

void PulseBackend::releaseStream() {
    m_pacer.End();
    if (PulseLoop* loop = m_connection.Loop())
        loop->SetRoundEndHandler(nullptr);
    for (std::unique_ptr<PulseRecordStream>* slot : {&m_stream, &m_speakers}) {
        if (!*slot)
            continue;
        (*slot)->Retire();
        // Inside one of its own callbacks the stream must outlive the call.
        m_retired.push_back(std::move(*slot));
    }
    // So must the mixed capture, whose block callback may be what ends the take.
    if (m_mixed)
        m_retiredMixed.push_back(std::move(m_mixed));
    if (m_connection.InLoopThread())
        return;
    m_retired.clear();
    m_retiredMixed.clear();
}

void PulseBackend::Disconnect() {
    if (!m_connection.Loop())
        return;
    if (m_connection.InLoopThread()) {
        // Cannot stop the loop from inside it; the destructor finishes the job.
        releaseStream();
        m_state = CaptureState::Stopped;
        return;
    }
    {
        LoopLock lock(m_connection);
        releaseStream();
        m_state = CaptureState::Stopped;
        m_connection.Drop();
    }
    m_connection.Close();
    m_sources.Clear();
    m_selected = -1;
    m_mixSelected = false;
}

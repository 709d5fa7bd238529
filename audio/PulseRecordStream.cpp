#include "PulseRecordStream.h"

#include "Logging.h"
#include "PulseConnection.h"
#include "PulseLoop.h"

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {
// Blocks per second are wake-ups of the capture thread, which cost battery on
// a laptop; a tenth of a second is still below what a person notices at stop
// or pause. The server's default fragment, two seconds, would also hold the
// first block back that long. A monitor ignores it and sends at the pace of
// its players; the loop's rounds (RoundPacer) gather those.
constexpr uint32_t kFragmentMs = 100;

const char* errorOf(pa_context* context) {
    return pa_strerror(pa_context_errno(context));
}
} // namespace

PulseRecordStream::PulseRecordStream(PulseConnection& connection, pa_stream* stream,
                                     StateFn onState, ReadFn onRead)
    : m_connection(connection), m_stream(stream), m_onState(std::move(onState)),
      m_onRead(std::move(onRead)) {}

std::unique_ptr<PulseRecordStream> PulseRecordStream::Open(PulseConnection& connection,
                                                           const char* device,
                                                           const pa_sample_spec& format,
                                                           StateFn onState, ReadFn onRead) {
    const std::string shown = device ? device : "the default source";
    pa_stream* stream = pa_stream_new(connection.Context(), "Recording", &format, nullptr);
    if (!stream) {
        qCWarning(lcAudio, "Could not make a record stream for %s: %s", shown.c_str(),
                  errorOf(connection.Context()));
        return nullptr;
    }
    std::unique_ptr<PulseRecordStream> owner(
        new PulseRecordStream(connection, stream, std::move(onState), std::move(onRead)));
    owner->m_device = shown;
    pa_stream_set_state_callback(stream, &PulseRecordStream::onState, owner.get());
    pa_stream_set_read_callback(stream, &PulseRecordStream::onRead, owner.get());
    pa_buffer_attr attr;
    std::memset(&attr, 0xff, sizeof attr);
    attr.fragsize =
        static_cast<uint32_t>(pa_usec_to_bytes(kFragmentMs * PA_USEC_PER_MSEC, &format));
    // The chosen input or nothing: when it goes away the take ends and the user
    // is told, rather than the server quietly recording another source.
    const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_ADJUST_LATENCY |
                                                      (device ? PA_STREAM_DONT_MOVE : 0));
    if (pa_stream_connect_record(stream, device, &attr, flags) < 0) {
        qCWarning(lcAudio, "Could not record from %s: %s", shown.c_str(),
                  errorOf(connection.Context()));
        return nullptr;
    }
    return owner;
}

PulseRecordStream::~PulseRecordStream() {
    Retire();
    pa_stream_unref(m_stream);
}

void PulseRecordStream::Retire() {
    if (m_retired)
        return;
    m_retired = true;
    pa_stream_set_read_callback(m_stream, nullptr, nullptr);
    pa_stream_set_state_callback(m_stream, nullptr, nullptr);
    if (Good())
        pa_stream_disconnect(m_stream);
}

bool PulseRecordStream::Ready() const {
    return pa_stream_get_state(m_stream) == PA_STREAM_READY;
}

bool PulseRecordStream::Good() const {
    return PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream));
}

bool PulseRecordStream::Ended() const {
    const pa_stream_state_t state = pa_stream_get_state(m_stream);
    return state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED;
}

bool PulseRecordStream::Peek(const void*& data, size_t& length) {
    return pa_stream_peek(m_stream, &data, &length) >= 0;
}

void PulseRecordStream::Drop() {
    pa_stream_drop(m_stream);
}

void PulseRecordStream::Cork(bool corked) {
    if (pa_operation* operation = pa_stream_cork(m_stream, corked ? 1 : 0, nullptr, nullptr))
        pa_operation_unref(operation);
    else
        qCWarning(lcAudio, "Could not %s the record stream: %s", corked ? "pause" : "resume",
                  errorOf(pa_stream_get_context(m_stream)));
}

void PulseRecordStream::onState(pa_stream* handle, void* self) {
    auto* stream = static_cast<PulseRecordStream*>(self);
    const pa_stream_state_t state = pa_stream_get_state(handle);
    if (state == PA_STREAM_READY) {
        // The server's choice, where the default source was asked for.
        if (const char* device = pa_stream_get_device_name(handle))
            stream->m_device = device;
        qCDebug(lcAudio, "Recording from %s", stream->m_device.c_str());
    } else if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED) {
        qCWarning(lcAudio,
                  "The record stream from %s ended (%s): its source went away, or "
                  "the server dropped it",
                  stream->m_device.c_str(), errorOf(pa_stream_get_context(handle)));
    }
    stream->m_onState(*stream);
    stream->m_connection.Loop()->Signal();
}

void PulseRecordStream::onRead(pa_stream*, size_t readable, void* self) {
    auto* stream = static_cast<PulseRecordStream*>(self);
    stream->m_onRead(*stream, readable);
}

// Blocks still on their way were captured before the click: held back for
// the period, in flight, or kept by the server while we were not reading.
// They are handed over before a pause or a stop takes effect, so that the
// take keeps the sound up to it. The server answers the cork at once, and
// sends what it kept for us after its answer, as fast as it is read: a
// moment without a block means all is in. A server that does not answer
// gets a second.
void PulseRecordStream::CorkAndDrain(PulseConnection& connection, PulseRecordStream* first,
                                     PulseRecordStream* second, const DeliveredFn& delivered) {
    using namespace std::chrono;
    PulseRecordStream* const streams[] = {first, second};
    if (connection.InLoopThread() || connection.Stalled()) {
        for (PulseRecordStream* stream : streams)
            if (stream)
                stream->Cork(true);
        return;
    }
    PulseLoop* const mainLoop = connection.Loop();
    mainLoop->SetBatchInterval(milliseconds(0));
    std::vector<pa_operation*> operations;
    for (PulseRecordStream* stream : streams)
        if (stream)
            if (pa_operation* operation = pa_stream_cork(
                    stream->m_stream, 1,
                    [](pa_stream*, int, void* loop) { static_cast<PulseLoop*>(loop)->Signal(); },
                    mainLoop))
                operations.push_back(operation);
    const auto running = [&] {
        return std::any_of(operations.begin(), operations.end(), [](pa_operation* operation) {
            return pa_operation_get_state(operation) == PA_OPERATION_RUNNING;
        });
    };
    const auto deadline = steady_clock::now() + seconds(1);
    while (running() && mainLoop->WaitUntil(deadline)) {
    }
    if (!operations.empty() && !running()) {
        for (std::optional<uint64_t> seen, now = delivered(); now && now != seen;
             now = delivered()) {
            seen = now;
            const auto quiet = std::min(deadline, steady_clock::now() + milliseconds(20));
            while (mainLoop->WaitUntil(quiet)) {
            }
            if (steady_clock::now() >= deadline) {
                qCWarning(lcAudio, "The server still sent sound a second after the pause or "
                                   "stop; the take keeps what came by then");
                break;
            }
        }
    } else if (!operations.empty()) {
        connection.MarkStalled();
    }
    for (pa_operation* operation : operations) {
        if (pa_operation_get_state(operation) == PA_OPERATION_RUNNING)
            pa_operation_cancel(operation);
        pa_operation_unref(operation);
    }
}

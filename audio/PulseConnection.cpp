#include "PulseConnection.h"

#include "Logging.h"
#include "PulseLoop.h"

#include <pulse/pulseaudio.h>

namespace {
// How often a lost sound server is looked for, and how long a connection
// may take to get through its handshake before it is tried afresh.
constexpr pa_usec_t kRetryUsec = 500 * PA_USEC_PER_MSEC;
constexpr pa_usec_t kHandshakeUsec = 3 * PA_USEC_PER_SEC;
} // namespace

LoopLock::LoopLock(const PulseConnection& connection)
    : m_loop(connection.InLoopThread() ? nullptr : connection.Loop()) {
    if (m_loop)
        m_loop->Lock();
}

LoopLock::~LoopLock() {
    if (m_loop)
        m_loop->Unlock();
}

PulseConnection::PulseConnection(LostFn onLost) : m_onLost(std::move(onLost)) {}

PulseConnection::~PulseConnection() = default;

bool PulseConnection::Await(pa_operation* operation) {
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
        MarkStalled();
    }
    pa_operation_unref(operation);
    return done;
}

void PulseConnection::MarkStalled() {
    if (!m_stalled)
        qCWarning(lcAudio,
                  "The sound server did not answer within %lld ms; requests that wait for it "
                  "fail at once until it answers again",
                  static_cast<long long>(kAnswerWait.count()));
    m_stalled = true;
    if (m_probe || !m_context)
        return;
    // The first answer after the silence tells that the server is back.
    m_probe = pa_context_get_server_info(
        m_context,
        [](pa_context*, const pa_server_info*, void* self) {
            auto* connection = static_cast<PulseConnection*>(self);
            qCDebug(lcAudio, "The sound server answers again");
            connection->m_stalled = false;
            pa_operation_unref(connection->m_probe);
            connection->m_probe = nullptr;
        },
        this);
}

bool PulseConnection::Responsive() const {
    return m_context && !m_stalled && pa_context_get_state(m_context) == PA_CONTEXT_READY;
}

bool PulseConnection::InLoopThread() const {
    return m_loop && m_loop->InThread();
}

void PulseConnection::onContextState(pa_context* context, void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
        // Once: a server that stays away fails every attempt to reconnect.
        if (connection->m_established && !connection->m_reconnecting)
            qCWarning(lcAudio, "Lost the connection to the sound server (%s); reconnecting",
                      pa_strerror(pa_context_errno(context)));
        connection->m_onLost();
        // The server may come back (a crash, a restart, an update).
        if (connection->m_established)
            connection->scheduleReconnect(kRetryUsec);
    } else if (state == PA_CONTEXT_READY) {
        connection->subscribe();
        if (connection->m_reconnecting) {
            qCDebug(lcAudio, "Reconnected to the sound server");
            connection->m_reconnecting = false;
            connection->notifyInputsChanged();
        }
    }
    connection->m_loop->Signal();
}

void PulseConnection::subscribe() {
    // Only inputs that come and go: a change of volume, ours included, is no news.
    pa_context_set_subscribe_callback(
        m_context,
        [](pa_context*, pa_subscription_event_type_t type, uint32_t, void* self) {
            const auto kind = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
            if ((type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK) == PA_SUBSCRIPTION_EVENT_SOURCE &&
                (kind == PA_SUBSCRIPTION_EVENT_NEW || kind == PA_SUBSCRIPTION_EVENT_REMOVE))
                static_cast<PulseConnection*>(self)->notifyInputsChanged();
        },
        this);
    if (pa_operation* operation =
            pa_context_subscribe(m_context, PA_SUBSCRIPTION_MASK_SOURCE, nullptr, nullptr))
        pa_operation_unref(operation);
}

void PulseConnection::notifyInputsChanged() {
    if (m_onChange)
        m_onChange();
}

void PulseConnection::SetInputsChangedHandler(ChangedFn onChange) {
    LoopLock lock(*this);
    m_onChange = std::move(onChange);
}

void PulseConnection::scheduleReconnect(uint64_t delayUsec) {
    m_reconnecting = true;
    pa_mainloop_api* api = m_loop->Api();
    timeval when{};
    pa_timeval_add(pa_gettimeofday(&when), delayUsec);
    if (m_retry)
        api->time_restart(m_retry, &when);
    else
        m_retry = api->time_new(api, &when, &PulseConnection::onRetry, this);
}

// PA_CONTEXT_NOFAIL would wait for the server only where it announces
// itself on D-Bus, so a dead context is replaced on a timer instead.
void PulseConnection::onRetry(pa_mainloop_api* api, pa_time_event* event, const timeval*,
                              void* self) {
    auto* connection = static_cast<PulseConnection*>(self);
    api->time_free(event);
    connection->m_retry = nullptr;
    pa_context* context = connection->m_context;
    if (context && pa_context_get_state(context) == PA_CONTEXT_READY)
        return;
    // Also a connection still stuck in its handshake is started again: a
    // server that was starting up may never answer it.
    connection->scheduleReconnect(connection->newContext() ? kHandshakeUsec : kRetryUsec);
}

void PulseConnection::dropContext() {
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

bool PulseConnection::newContext() {
    dropContext();
    pa_proplist* props = pa_proplist_new();
    pa_proplist_sets(props, PA_PROP_APPLICATION_NAME, "Tapewren");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ID, "tapewren");
    pa_proplist_sets(props, PA_PROP_APPLICATION_ICON_NAME, "audio-input-microphone");
    m_context = pa_context_new_with_proplist(m_loop->Api(), "Tapewren", props);
    pa_proplist_free(props);
    if (!m_context)
        return false;
    pa_context_set_state_callback(m_context, &PulseConnection::onContextState, this);
    // Back to the server first found, not to whatever the environment names now.
    const char* server = m_server.empty() ? nullptr : m_server.c_str();
    return pa_context_connect(m_context, server, PA_CONTEXT_NOFLAGS, nullptr) >= 0;
}

bool PulseConnection::Open() {
    m_loop = std::make_unique<PulseLoop>();
    m_established = false;
    m_reconnecting = false;
    m_server.clear();
    if (!newContext()) {
        qCWarning(lcAudio, "Could not begin a connection to the sound server: %s",
                  m_context ? pa_strerror(pa_context_errno(m_context)) : "no context");
        return false;
    }
    return m_loop->Start();
}

bool PulseConnection::WaitReady() {
    const auto deadline = std::chrono::steady_clock::now() + kConnectWait;
    for (;;) {
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (state == PA_CONTEXT_READY)
            return true;
        if (!PA_CONTEXT_IS_GOOD(state) || !m_loop->WaitUntil(deadline))
            return false;
    }
}

void PulseConnection::RememberServer() {
    const char* server = pa_context_get_server(m_context);
    m_server = server ? server : "";
}

void PulseConnection::Drop() {
    if (m_retry) {
        pa_mainloop_api* api = m_loop->Api();
        api->time_free(m_retry);
        m_retry = nullptr;
    }
    m_established = false;
    m_reconnecting = false;
    dropContext();
}

void PulseConnection::Close() {
    m_loop->Stop();
    m_loop.reset();
}

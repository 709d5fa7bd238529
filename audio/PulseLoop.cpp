#include "PulseLoop.h"

#include "Logging.h"

#include <pulse/mainloop.h>

#include <poll.h>
#include <pthread.h>

#include <algorithm>

using std::chrono::milliseconds;
using std::chrono::steady_clock;

int64_t MonotonicMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

PulseLoop::PulseLoop() : m_loop(pa_mainloop_new()) {
    pa_mainloop_set_poll_func(m_loop, &PulseLoop::poll, this);
}

PulseLoop::~PulseLoop() {
    Stop();
    pa_mainloop_free(m_loop);
}

bool PulseLoop::Start() {
    if (m_thread.joinable())
        return true;
    try {
        m_thread = std::thread([this] { run(); });
    } catch (const std::system_error& error) {
        qCWarning(lcAudio, "Could not start the sound server's thread: %s", error.what());
        return false;
    }
    return true;
}

void PulseLoop::run() {
    // Before any callback runs: they ask whether they are on this thread.
    m_threadId = std::this_thread::get_id();
    pthread_setname_np(pthread_self(), "tapewren-pulse");
    std::lock_guard<std::recursive_mutex> lock(m_mutex);
    m_lastRound = steady_clock::now();
    int result = 0;
    pa_mainloop_run(m_loop, &result);
}

void PulseLoop::Stop() {
    if (!m_thread.joinable())
        return;
    Lock();
    pa_mainloop_quit(m_loop, 0);
    Unlock();
    m_thread.join();
    m_threadId = std::thread::id();
}

pa_mainloop_api* PulseLoop::Api() {
    return pa_mainloop_get_api(m_loop);
}

void PulseLoop::Lock() {
    if (!InThread()) {
        {
            std::lock_guard<std::mutex> guard(m_sleepMutex);
            ++m_outsiders;
        }
        m_wake.notify_one();
        ++m_lockWaiters;
        m_mutex.lock();
        --m_lockWaiters;
        return;
    }
    m_mutex.lock();
}

void PulseLoop::Unlock() {
    m_mutex.unlock();
    if (!InThread()) {
        std::lock_guard<std::mutex> guard(m_sleepMutex);
        --m_outsiders;
    }
}

void PulseLoop::Wait() {
    m_signal.wait(m_mutex);
}

bool PulseLoop::WaitUntil(std::chrono::steady_clock::time_point deadline) {
    return m_signal.wait_until(m_mutex, deadline) == std::cv_status::no_timeout;
}

void PulseLoop::Signal() {
    m_signal.notify_all();
}

bool PulseLoop::InThread() const {
    return std::this_thread::get_id() == m_threadId.load();
}

int PulseLoop::poll(pollfd* fds, unsigned long count, int timeoutMs, void* self) {
    auto* loop = static_cast<PulseLoop*>(self);
    loop->m_mutex.unlock();
    // libpulse takes in one message from the socket per round. PulseAudio
    // hands a local client its sound through shared memory, which a round
    // empties; PipeWire sends every block as a message of its own. So a round
    // that found work is followed by the next at once, without a sleep, until
    // nothing waits: rounds a batch interval apart would read fewer blocks
    // than the server sends, and it drops what it still holds at the stop
    // (measured: a 12 s take from a monitor kept 8.7 s).
    int result = 0;
    if (loop->m_busyRounds > 0 && loop->m_busyRounds < kMaxBusyRounds)
        result = ::poll(fds, count, 0);
    if (result > 0) {
        ++loop->m_busyRounds;
    } else {
        if (timeoutMs != 0) {
            loop->m_mutex.lock();
            // A copy: the handler may end the capture, which clears it.
            if (const std::function<void()> handler = loop->m_roundEnd)
                handler();
            loop->m_mutex.unlock();
        }
        result = ::poll(fds, count, loop->sleepBeforePoll(timeoutMs));
        loop->m_busyRounds = result > 0 ? 1 : 0;
    }
    loop->m_lastRound = steady_clock::now();
    while (loop->m_lockWaiters > 0)
        std::this_thread::yield();
    loop->m_mutex.lock();
    return result;
}

int PulseLoop::sleepBeforePoll(int timeoutMs) {
    const long batch = m_batch.load();
    // A timeout of 0: work is waiting already.
    if (batch <= 0 || timeoutMs == 0)
        return timeoutMs;
    const auto start = steady_clock::now();
    auto until = m_lastRound + milliseconds(batch);
    if (timeoutMs > 0)
        until = std::min(until, start + milliseconds(timeoutMs));
    {
        std::unique_lock<std::mutex> lock(m_sleepMutex);
        m_wake.wait_until(lock, until, [this] { return m_outsiders > 0; });
    }
    if (timeoutMs < 0)
        return -1;
    const auto slept =
        std::chrono::duration_cast<milliseconds>(steady_clock::now() - start).count();
    return static_cast<int>(std::max<long long>(0, timeoutMs - slept));
}

void RoundPacer::Begin(PulseLoop& loop, uint32_t periodMs, double bytesPerSecond, bool ringed,
                       bool mixed) {
    m_loop = &loop;
    m_periodMs = periodMs;
    m_bytesPerSecond = bytesPerSecond;
    // Two streams fill the ring twice as fast, and a device that goes away
    // takes what the server still holds of it along.
    const double ringSeconds = kRingBytes / m_bytesPerSecond;
    if (ringed && mixed) {
        m_periodMs = std::min(m_periodMs, kMixedPeriodMs);
    } else if (ringed && m_periodMs > 1000 * ringSeconds) {
        // A round of one stream that overflows the ring needs a catch-up
        // anyway: let it hold two ring-fulls, and the loop wakes less often
        // for the same sound (CD-quality stereo: rounds 352 ms apart, each
        // with its catch-up: about 5 wake-ups a second, not 8).
        m_periodMs = std::max(m_periodMs, static_cast<uint32_t>(1000 * 2 * ringSeconds * 0.95));
    }
    m_roundDelivered = 0;
    m_roundAt = MonotonicMicroseconds();
    m_firstPending = true;
}

void RoundPacer::Resume() {
    m_firstPending = true;
    if (m_loop)
        m_loop->SetBatchInterval(milliseconds(0));
}

void RoundPacer::RoundEnd(uint64_t delivered, bool pacing) {
    const int64_t now = MonotonicMicroseconds();
    const double sound = double(delivered - m_roundDelivered) / m_bytesPerSecond;
    const double elapsed = double(now - m_roundAt) / 1e6;
    m_roundDelivered = delivered;
    m_roundAt = now;
    // A pause or a stop takes in what is on its way without waiting; the first
    // block of a start or a resume is handed over as it comes.
    if (!pacing || (m_firstPending && sound == 0))
        return;
    m_firstPending = false;
    const bool behind = sound > 0 && sound < elapsed * 0.75;
    m_loop->SetBatchInterval(milliseconds(behind ? kCatchUpMs : m_periodMs));
}

void RoundPacer::End() {
    if (m_loop)
        m_loop->SetBatchInterval(milliseconds(0));
    m_loop = nullptr;
}

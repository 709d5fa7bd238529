#include "PulseLoop.h"

#include <pulse/mainloop.h>

#include <poll.h>
#include <pthread.h>

#include <algorithm>

using std::chrono::milliseconds;
using std::chrono::steady_clock;

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
    } catch (const std::system_error&) {
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

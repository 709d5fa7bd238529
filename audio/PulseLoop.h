#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

struct pa_mainloop;
struct pa_mainloop_api;
struct pollfd;

// A libpulse main loop on a thread of its own, locked and waited on as
// pa_threaded_mainloop is, that can take the server's messages in batches.
//
// A recorder of a monitor gets a message at the pace of whoever plays into
// the output: a player asking for 10 ms of latency makes it about 500 a
// second, each a wake-up of this thread. With a batch interval set, the
// thread sleeps that long between rounds and then takes in all that came
// meanwhile, in order, one callback each as before: a tenth of the wake-ups
// for the same sound. Any other thread that takes the lock cuts the sleep
// short and keeps it off until it lets go, so that its requests and the
// server's answers are not held back.
class PulseLoop {
public:
    PulseLoop();
    ~PulseLoop();
    PulseLoop(const PulseLoop&) = delete;
    PulseLoop& operator=(const PulseLoop&) = delete;

    bool Start();
    // Ends the thread; not from the thread itself, nor with the lock held.
    void Stop();
    pa_mainloop_api* Api();

    // Recursive, as callbacks call back into code that locks.
    void Lock();
    void Unlock();
    // With the lock held once, outside the loop's thread: lets go of it until
    // Signal() is called from a callback.
    void Wait();
    // As Wait(), but for no longer than until the deadline: false then.
    bool WaitUntil(std::chrono::steady_clock::time_point deadline);
    void Signal();
    bool InThread() const;
    // Another thread waits for the lock: a callback should return soon.
    bool Contended() const { return m_lockWaiters.load() > 0; }

    // 0 takes each message as it comes.
    void SetBatchInterval(std::chrono::milliseconds interval) { m_batch = interval.count(); }
    // Runs on the loop's thread, locked, whenever the loop has taken in all
    // that was waiting and is about to sleep: what callbacks gathered from
    // many small messages is then handled once a round. Set and cleared with
    // the lock held.
    void SetRoundEndHandler(std::function<void()> handler) { m_roundEnd = std::move(handler); }

private:
    static int poll(pollfd* fds, unsigned long count, int timeoutMs, void* self);
    void run();
    // Up to the batch interval after the last round, or less when a timer is
    // due sooner or another thread wants in. Returns the poll's timeout left.
    int sleepBeforePoll(int timeoutMs);

    pa_mainloop* m_loop;
    std::thread m_thread;
    std::atomic<std::thread::id> m_threadId;
    std::recursive_mutex m_mutex;
    std::condition_variable_any m_signal;
    std::atomic<long> m_batch{0};
    std::function<void()> m_roundEnd;
    std::chrono::steady_clock::time_point m_lastRound;
    // Rounds in a row that found work; past the limit the loop sleeps again,
    // so that a descriptor that stays ready cannot keep it spinning.
    static constexpr int kMaxBusyRounds = 256;
    int m_busyRounds = 0;
    // Other threads inside Lock()..Unlock(), waits included.
    std::mutex m_sleepMutex;
    std::condition_variable m_wake;
    int m_outsiders = 0;
    // Other threads waiting for the lock right now. The loop lets them in
    // first: a busy loop would otherwise take its lock straight back, and a
    // pause or a stop could wait for as long as the sound keeps coming.
    std::atomic<int> m_lockWaiters{0};
};

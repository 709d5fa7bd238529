#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

struct pa_mainloop;
struct pa_mainloop_api;
struct pollfd;

// The steady clock in microseconds, as capture rounds are timed.
int64_t MonotonicMicroseconds();

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
    std::chrono::milliseconds BatchInterval() const {
        return std::chrono::milliseconds(m_batch.load());
    }
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

// How far apart a capture's rounds on the loop are: the loop's batch interval,
// set afresh at each round's end.
//
// PulseAudio hands a local client its sound through a ring of about 32 KB: a
// fifth of a second of CD-quality stereo, a tenth for the two streams of a
// mixed take. What does not fit waits in the server, which sends it as soon as
// the ring has room, and loses it should the stream fail. So a round that took
// in less sound than the time since the last is followed by another at once;
// otherwise the loop sleeps for the period. PipeWire's pulse server has no
// such ring: it sends over the socket, in order, as the sound comes.
class RoundPacer {
public:
    // A capture starts on the loop, with the period its caller asked for (see
    // CaptureBackend::Start()), the bytes a second of all its streams
    // together, whether its server has the ring, and whether it has two
    // streams. Its first block is handed over as it comes.
    void Begin(PulseLoop& loop, uint32_t periodMs, double bytesPerSecond, bool ringed, bool mixed);
    // The period the rounds keep when the capture is not behind.
    uint32_t PeriodMs() const { return m_periodMs; }
    // After a pause: the first block is handed over as it comes again.
    void Resume();
    // At the end of a round, with the bytes handed over since Begin().
    // Without `pacing` (a pause or a stop takes in what is on its way, or the
    // capture does not record) the loop keeps the interval it has.
    void RoundEnd(uint64_t delivered, bool pacing);
    // The capture has ended: every message is taken as it comes again.
    void End();

private:
    static constexpr int kCatchUpMs = 5;
    static constexpr uint32_t kMixedPeriodMs = 100;
    static constexpr double kRingBytes = 32768; // of sound

    PulseLoop* m_loop = nullptr;
    uint32_t m_periodMs = 0;
    double m_bytesPerSecond = 1;
    // What the last round took in, to tell whether the server still holds
    // sound back.
    uint64_t m_roundDelivered = 0;
    int64_t m_roundAt = 0; // microseconds
    bool m_firstPending = false;
};

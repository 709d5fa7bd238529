#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class PulseLoop;
struct pa_context;
struct pa_operation;
struct pa_mainloop_api;
struct pa_time_event;
struct timeval;

// The client's connection to the sound server: a context on a loop thread of
// its own, made anew while the server is away, and waits for the server that
// give up rather than freeze the thread that asks.
class PulseConnection {
public:
    // The longest the program waits for the server: a server stopped or hung
    // (measured: 42 s under kill -STOP) must not freeze the tray, the hot keys
    // and the signals, which all run on the thread that asks. A server that
    // works answers in milliseconds.
    static constexpr auto kAnswerWait = std::chrono::milliseconds(1500);
    static constexpr auto kConnectWait = std::chrono::seconds(2);

    // Runs on the loop's thread when the context fails or ends.
    using LostFn = std::function<void()>;
    using ChangedFn = std::function<void()>;

    explicit PulseConnection(LostFn onLost);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // A new loop with a context connecting on it; false when either fails.
    bool Open();
    // With the loop locked: true once the context is ready, false when it
    // failed or kConnectWait passed.
    bool WaitReady();
    // A server lost later is looked for where this one is, not wherever the
    // environment names then.
    void RememberServer();
    void SetEstablished(bool established) { m_established = established; }
    // With the loop locked: no retry any more, and no context.
    void Drop();
    // Ends the loop; not from its thread, nor with the lock held.
    void Close();

    PulseLoop* Loop() const { return m_loop.get(); }
    pa_context* Context() const { return m_context; }
    const std::string& Server() const { return m_server; }
    bool InLoopThread() const;
    // Kept across Close() and Open().
    void SetInputsChangedHandler(ChangedFn onChange);

    // With the loop locked, outside its thread: true once the operation has
    // run its course, false when the server did not answer in time.
    bool Await(pa_operation* operation);
    // The server has not answered a request; until it answers again, calls
    // that would wait for it fail at once.
    void MarkStalled();
    bool Stalled() const { return m_stalled; }
    bool Responsive() const;

private:
    static void onContextState(pa_context* context, void* self);
    static void onRetry(pa_mainloop_api* api, pa_time_event* event, const timeval* when,
                        void* self);

    bool newContext();
    void dropContext();
    void scheduleReconnect(uint64_t delayUsec);
    void subscribe();
    void notifyInputsChanged();

    LostFn m_onLost;
    std::unique_ptr<PulseLoop> m_loop;
    pa_context* m_context = nullptr;
    pa_time_event* m_retry = nullptr;
    // Set once the first connection stood: later losses are retried.
    bool m_established = false;
    bool m_reconnecting = false;
    std::string m_server;
    ChangedFn m_onChange;
    bool m_stalled = false;
    pa_operation* m_probe = nullptr;
};

// Holds the loop's lock where there is a loop and the caller is not on its
// thread, which holds it already.
class LoopLock {
public:
    explicit LoopLock(const PulseConnection& connection);
    ~LoopLock();
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    PulseLoop* m_loop;
};

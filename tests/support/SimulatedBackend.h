#pragma once

#include "CaptureBackend.h"
#include "CaptureMixer.h"
#include "PeakMeter.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A sound system in the process, for deterministic tests: scripted inputs,
// scripted blocks delivered on a thread of its own like a real server's, and
// a log of every call made to it.
class SimulatedBackend : public CaptureBackend {
public:
    // A device of a take from two at once. Its frame k is what it heard
    // k / (rate x clock) seconds into the take: a clock of 1.001 runs 0.1 % fast.
    struct Device {
        double clock = 1.0;
        uint32_t blockMs = 100;
        // Seconds into the take at which its first block comes; its frame 0
        // is the sound of that moment.
        double startsAt = 0;
        // Blocks that come together, at the moment the last of them is due.
        uint32_t burst = 1;
        // Seconds into the take at which it goes away; negative: never.
        double vanishesAt = -1;
        // Fills frames [first, first + frames) of its sound, interleaved;
        // silence when empty.
        std::function<void(int16_t* pcm, uint64_t first, uint32_t frames, uint32_t rate,
                           int channels)>
            sound;
    };
    struct Script {
        bool connects = true;
        bool hasOutput = true;
        bool startSucceeds = true;
        std::vector<CaptureInput> inputs;
        // With both set, an entry after the inputs records these two at once.
        int mixMicrophone = -1;
        int mixSpeakers = -1;
        Device devices[2]; // microphone, speakers
    };

    SimulatedBackend();
    explicit SimulatedBackend(Script script);
    ~SimulatedBackend() override;

    bool Connect() override;
    bool HasOutputDevice() override;
    std::vector<CaptureInput> Inputs() override;
    bool SetInput(int index, std::optional<bool> on, std::optional<int> volume) override;
    int SelectedInput() const override;
    bool Start(uint32_t rate, int channels, uint32_t periodMs, BlockFn onBlock,
               FailFn onFail) override;
    void Pause() override;
    void Resume() override;
    void Stop() override;
    CaptureState State() const override;
    uint32_t Level() override;
    void Disconnect() override;
    void SetInputsChangedHandler(InputsChangedFn onChange) override;
    void GuardVolumes() override;
    void KeepVolumes() override;

    // Queues a block for delivery; blocks queued before Start wait for it.
    void Push(std::vector<uint8_t> block);
    // Ends the capture as a vanished source would, after the queued blocks.
    void FailAfterQueued();
    // A two-device take: the devices run this many seconds more, their
    // blocks handed over in the order they are due, as fast as taken.
    void Play(double seconds);
    // Waits until every queued block was delivered, or every block played
    // (or the capture ended): false if that has not happened within 15 s
    // (stretched by TAPEWREN_TEST_TIME_SCALE), below every test's own limit.
    [[nodiscard]] bool WaitUntilDrained();
    // The server went away and came back with these inputs; the selection
    // follows its input by name, as the real server's does.
    void Reconnect(std::vector<CaptureInput> inputs);
    // Inputs came or went while connected; the selection follows by name.
    void ChangeInputs(std::vector<CaptureInput> inputs);

    // "Connect", "SetInput 2 on 37", "Start 44100 2", "Stop"...
    std::vector<std::string> Calls() const;
    uint32_t StartedRate() const;
    int StartedChannels() const;

private:
    void run();
    void runMixed(std::unique_lock<std::mutex>& lock);
    int mixedInput() const;
    void flushMixed(std::unique_lock<std::mutex>& lock);
    // Ends the capture as a vanished source does.
    void fail(std::unique_lock<std::mutex>& lock);
    void log(std::string call);
    void joinThread(std::unique_lock<std::mutex>& lock);

    Script m_script;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_thread;
    std::thread::id m_threadId;
    std::deque<std::vector<uint8_t>> m_queue;
    std::vector<std::string> m_calls;
    BlockFn m_onBlock;
    FailFn m_onFail;
    void replaceInputs(std::vector<CaptureInput> inputs);

    InputsChangedFn m_onChange;
    bool m_connected = false;
    bool m_failPending = false;
    bool m_stopRequested = false;
    bool m_inCallback = false;
    int m_selected = -1;
    CaptureState m_state = CaptureState::Stopped;
    int m_channels = 2;
    uint32_t m_rate = 0;
    PeakMeter m_level;
    // The take from two devices, when the entry for it is recording.
    std::unique_ptr<CaptureMixer> m_mixer;
    int m_mixVolume = 100;
    double m_played = 0; // seconds of the take delivered
    double m_playUntil = 0;
};

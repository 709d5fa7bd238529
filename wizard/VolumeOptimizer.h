#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <string>

// What the volume search needs from the window. Every call comes on the
// window's thread; the window implements it, tests fake it.
class OptimizerHost {
public:
    virtual ~OptimizerHost() = default;
    virtual void ShowError(const std::string& text) = 0;
    // Halves of the latest level, 0..128, for the green bars.
    virtual void ShowLevels(int left, int right) = 0;
    // The volume last sent to the chosen input, for the blue bar.
    virtual void ShowVolume(int percent) = 0;
};

// Finds a recording volume: records the chosen input from 100 % and lowers
// its volume by one point for every block whose left level is above 120.
// The block handler runs on the capture thread and never waits for the
// window: it keeps its state in atomics and asks for a refresh by a queued
// call, which the window's thread carries out at most about 30 times a second.
class VolumeOptimizer : public QObject {
    Q_OBJECT
public:
    static constexpr int kStartVolume = 100;
    static constexpr int kLowestVolume = 1;
    static constexpr uint32_t kTooLoud = 120; // left level above this lowers the volume
    static constexpr uint32_t kCaptureRate = 44100;
    static constexpr int kRefreshMs = 33;
    static constexpr const char* kNoDeviceText =
        QT_TRANSLATE_NOOP("VolumeOptimizer", "Unable to start the default recording device.");
    static constexpr const char* kNoChannelText =
        QT_TRANSLATE_NOOP("VolumeOptimizer", "Unable to start the selected channel.");

    explicit VolumeOptimizer(OptimizerHost& host, QObject* parent = nullptr);
    // Ends a running search, so that no block is handled by a dead object.
    ~VolumeOptimizer() override;

    // Ends the running search and starts a new one from 100 on the input
    // (-1: none chosen, passed on as it is).
    void ComboRecChannelChange(int channel);
    // Ends the search and gives the chosen input the volume picked by hand.
    void Settle(int percent);
    // The volume last sent; 1 before any search.
    int Volume() const { return m_volume.load(); }
    int Channel() const { return m_channel.load(); }

    // Called by the capture functions for every block.
    bool OptimizerBlockHandler();

private:
    static bool recordProc(const void* block, uint32_t length, void* user);
    void requestRefresh();
    void refresh();

    OptimizerHost& m_host;
    std::atomic<int> m_volume{kLowestVolume};
    std::atomic<int> m_channel{-1};
    std::atomic<int> m_left{0};
    std::atomic<int> m_right{0};
    std::atomic<bool> m_refreshPending{false};
    bool m_searching = false;
    QElapsedTimer m_lastRefresh;
    QTimer m_refreshTimer;
};

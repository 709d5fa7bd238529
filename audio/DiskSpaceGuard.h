#pragma once

#include "Recorder.h"
#include "TakeWatcher.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// How fast a take fills its disk.
struct TakeRate {
    uint32_t bitRate = 0; // kbps: the constant rate, or the ceiling of a variable one
    bool vbr = false;
    int64_t bytesSoFar = 0;
    double secondsSoFar = 0; // of sound
};

// MP3 bytes a second. A constant rate is its kilobits (of 1000 bits) over
// eight; a variable one is judged by what it has written over the sound it
// took, and by its ceiling until there is enough sound to judge by.
double BytesPerSecond(const TakeRate& rate);
// Minutes of recording that the free bytes hold at that rate.
double MinutesLeft(uint64_t freeBytes, const TakeRate& rate);
// A variable rate is judged by its ceiling before this much sound.
constexpr double kVbrJudgedAfterSeconds = 5;

// What a user may still write in the folder's file system (root's reserve
// left out); nothing when it cannot be read.
std::optional<uint64_t> FreeDiskBytes(const std::string& folder);

// Refuses a take that would not last a minute, and warns twice while one
// runs: at ten minutes left and at one. The free space is read every few
// seconds on the GUI thread, never in the capture callback; a disk that
// fills up anyway ends the take as any failed write does, and it is kept.
class DiskSpaceGuard : public QObject, public TakeWatcher {
    Q_OBJECT
public:
    using FreeSpace = std::function<std::optional<uint64_t>(const std::string& folder)>;

    DiskSpaceGuard(const Recorder& recorder, RecorderHost& host,
                   FreeSpace freeSpace = &FreeDiskBytes);

    std::string Refusal(const TakeInfo& take) override;
    void TakeStarted(const TakeInfo& take) override;
    void TakeEnded() override;
    // The timer's; tests call it.
    void Check();

    static constexpr int kCheckIntervalMs = 2000;
    static constexpr double kWarnMinutes = 10;
    static constexpr double kLastMinutes = 1;
    // The first warning, with whole minutes left (1 to 9).
    static std::string LowSpaceText(int minutes);
    static constexpr const char* kLastMinuteText = QT_TRANSLATE_NOOP(
        "DiskSpaceGuard", "Low disk space: room for less than a minute of recording.");
    static std::string RefusalText(const std::string& folder);

private:
    const Recorder& m_recorder;
    RecorderHost& m_host;
    FreeSpace m_freeSpace;
    QTimer m_timer;
    TakeInfo m_take;
    bool m_warned = false;
    bool m_lastWarned = false;
    bool m_unreadableTold = false;
};

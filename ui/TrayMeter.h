#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <utility>

class Recorder;
class TCoolTrayIcon;

// The tray's hint while a take runs: its time and size, the input, the
// quality preset and the volume.
QString RecordingHint(const Recorder& recorder, const QString& source, int quality, int volume);

// The tray icon while a take runs: the level meter and the hint's time and
// size, from one timer on the GUI thread rather than a call per captured
// block from the capture thread.
class TrayMeter : public QObject {
    Q_OBJECT
public:
    // Four looks a second: a meter that reads the loudest since its last look
    // misses nothing, and each look is a wake-up of this thread.
    static constexpr int kMeterIntervalMs = 250;

    // hint: the tray's hint as it reads now.
    TrayMeter(TCoolTrayIcon& icon, const Recorder& recorder, std::function<QString()> hint,
              QObject* parent = nullptr);

    // The icon shows index; the level icons (below the idle one) run the meter.
    void ShowIcon(int index);
    void RefreshHint();
    void Stop() { m_timer.stop(); }

private:
    void tick();

    TCoolTrayIcon& m_icon;
    const Recorder& m_recorder;
    std::function<QString()> m_hint;
    QTimer m_timer{this};                            // a child, so that tests find it
    std::pair<int64_t, int64_t> m_hintShown{-1, -1}; // the time and size the hint shows
};

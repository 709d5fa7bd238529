#include "TrayMeter.h"

#include "Bass.h"
#include "Common.h"
#include "QualityPresets.h"
#include "Recorder.h"
#include "TCoolTrayIcon.h"
#include "TrayImages.h"

#include <QCoreApplication>

QString RecordingHint(const Recorder& recorder, const QString& source, int quality, int volume) {
    const QualityPreset& preset = QualityPresetAt(quality);
    const auto elapsed = static_cast<int32_t>(TickCount() - recorder.recordStartTick);
    // One text, so that a translation may order it as its language wants;
    // the values go in at once, so a "%1" in the input's name stays text.
    return QCoreApplication::translate("TFormMain",
                                       "Tapewren(TM)\r\nTotal Time: %1\r\nFile Size: %2 KB\r\n"
                                       "Source: %3\r\nQuality: %4 hz / %5 kbps\r\nVolume: %6")
        .arg(QString::fromStdString(FormatDuration(elapsed)),
             QString::number(recorder.encodedByteCount / 1024), source,
             QString::number(preset.sampleRate), QString::number(preset.bitRate),
             PercentText(volume));
}

TrayMeter::TrayMeter(TCoolTrayIcon& icon, const Recorder& recorder, std::function<QString()> hint,
                     QObject* parent)
    : QObject(parent), m_icon(icon), m_recorder(recorder), m_hint(std::move(hint)) {
    m_timer.setInterval(kMeterIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TrayMeter::tick);
}

void TrayMeter::ShowIcon(int index) {
    m_icon.SetIconIndex(index);
    // The hint follows the state; while recording it counts the time too.
    if (index < kIdleIcon)
        m_timer.start();
    else
        m_timer.stop();
    RefreshHint();
}

void TrayMeter::RefreshHint() {
    m_icon.SetHint(m_hint());
}

void TrayMeter::tick() {
    m_icon.SetLevelIconIndex(LevelIconIndex(BASS_ChannelGetLevel(kRecordChannel)));
    // Building the hint costs more than the rest of the tick, and its time and
    // size change about once a second.
    const auto elapsed = static_cast<int32_t>(TickCount() - m_recorder.recordStartTick);
    const std::pair shown{RoundedSeconds(elapsed), m_recorder.encodedByteCount / 1024};
    if (shown == m_hintShown)
        return;
    m_hintShown = shown;
    RefreshHint();
}

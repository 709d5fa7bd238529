#include "StartupBalloon.h"

#include "TJvApplicationHotKey.h"

#include <QCoreApplication>

#include <limits>

StartupBalloon::StartupBalloon(const TJvApplicationHotKey& record,
                               const TJvApplicationHotKey& pause, int& popupShowCount,
                               std::function<void()> tell, QObject* parent)
    : QObject(parent), m_record(record), m_pause(pause), m_popupShowCount(popupShowCount),
      m_tell(std::move(tell)) {
    m_bound.setSingleShot(true);
    m_bound.setInterval(kKeysAnswerMs);
    connect(&m_bound, &QTimer::timeout, this, [this] {
        if (m_state == State::WaitingKeys)
            showNow();
    });
}

void StartupBalloon::Request() {
    if (keysPending() && !m_waited) {
        m_waited = true;
        m_state = State::WaitingKeys;
        m_bound.start();
        return;
    }
    showNow();
}

void StartupBalloon::KeySettled() {
    if (keysPending())
        return;
    switch (m_state) {
    case State::WaitingKeys:
        m_bound.stop();
        showNow();
        break;
    case State::ToldPending:
        m_state = State::Idle;
        m_tell();
        break;
    case State::Idle:
        break;
    }
}

bool StartupBalloon::keysPending() const {
    return HotKeysPending(m_record, m_pause);
}

void StartupBalloon::showNow() {
    m_state = keysPending() ? State::ToldPending : State::Idle;
    using Key = TJvApplicationHotKey::State;
    if (CountStartupBalloon(m_popupShowCount,
                            m_record.Status() == Key::Set && m_pause.Status() == Key::Set))
        m_tell();
}

QString StartupBalloonText(const QString& hotKeyStatus, bool menuOnClick) {
    if (menuOnClick)
        return QCoreApplication::translate("TFormMain",
                                           "Click for the menu: its first item records/stops\r\n%1"
                                           "\r\nIts Config item configures.")
            .arg(hotKeyStatus);
    return QCoreApplication::translate("TFormMain",
                                       "Single click to record/stop\r\n%1\r\nDouble-click to "
                                       "configure,\r\nRight click to get a menu.")
        .arg(hotKeyStatus);
}

QString StartupBalloonSummary(const TJvApplicationHotKey& record,
                              const TJvApplicationHotKey& pause) {
    // Not named tr: lupdate would take it for QObject's and miss the texts.
    const auto translated = [](const char* text) {
        return QCoreApplication::translate("TFormMain", text);
    };
    using Key = TJvApplicationHotKey::State;
    if (HotKeysPending(record, pause))
        return translated(QT_TRANSLATE_NOOP("TFormMain", "Tapewren: waiting for the hotkeys"));
    const bool recordSet = record.Status() == Key::Set, pauseSet = pause.Status() == Key::Set;
    if (recordSet && pauseSet)
        return translated(QT_TRANSLATE_NOOP("TFormMain", "Tapewren: hotkeys %1 and %2"))
            .arg(record.Text(), pause.Text());
    if (recordSet)
        return translated(
                   QT_TRANSLATE_NOOP("TFormMain", "Tapewren: only the Record/Stop hotkey %1"))
            .arg(record.Text());
    if (pauseSet)
        return translated(
                   QT_TRANSLATE_NOOP("TFormMain", "Tapewren: only the Pause/Resume hotkey %1"))
            .arg(pause.Text());
    // Why goes in the lines below: a banner cuts the summary at about 45
    // characters (GNOME's).
    return translated(QT_TRANSLATE_NOOP("TFormMain", "Tapewren: no hotkeys"));
}

bool CountStartupBalloon(int& popupShowCount, bool bothKeysSet) {
    if (popupShowCount >= 6 && bothKeysSet)
        return false;
    // The count comes from the settings file, which may hold any number.
    if (popupShowCount < std::numeric_limits<int>::max())
        ++popupShowCount;
    return true;
}

#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

class TJvApplicationHotKey;

// When the start-up balloon shows. The desktop's word on the hot keys comes
// soon after the start, and a portal may first ask the user: the balloon
// waits until every key has settled, or kKeysAnswerMs at most, so as to say
// once what is true. Should a key settle only after that, it is told again.
class StartupBalloon : public QObject {
    Q_OBJECT
public:
    static constexpr int kKeysAnswerMs = 2000;
    enum class State {
        Idle,        // not asked for, or told with every key settled
        WaitingKeys, // asked for; waiting for the keys, within the bound
        ToldPending, // told before every key had settled: to be told again
    };

    // tell: shows the balloon. popupShowCount: the starts it was shown at,
    // for its count rule.
    StartupBalloon(const TJvApplicationHotKey& record, const TJvApplicationHotKey& pause,
                   int& popupShowCount, std::function<void()> tell, QObject* parent = nullptr);

    // At once when the keys have settled, else when they have or at the bound.
    void Request();
    // A key has settled.
    void KeySettled();
    State CurrentState() const { return m_state; }

private:
    bool keysPending() const;
    void showNow();

    const TJvApplicationHotKey& m_record;
    const TJvApplicationHotKey& m_pause;
    int& m_popupShowCount;
    std::function<void()> m_tell;
    State m_state = State::Idle;
    bool m_waited = false; // the bound is given once a run
    QTimer m_bound{this};
};

// What the balloon says, with the keys' lines as HotKeyStatusLines() gives them.
// menuOnClick: the tray opens the menu on a click (GNOME's AppIndicator).
QString StartupBalloonText(const QString& hotKeyStatus, bool menuOnClick = false);
// Its point in one line, for notification banners that show nothing else:
// which keys work.
QString StartupBalloonSummary(const TJvApplicationHotKey& record,
                              const TJvApplicationHotKey& pause);
// The balloon's count rule: shown the first six starts, and at every start
// while a key does not work. Counts the showing; false when it stays hidden.
bool CountStartupBalloon(int& popupShowCount, bool bothKeysSet);

#include "TJvApplicationHotKey.h"

#include <QCoreApplication>

namespace {
int g_nextId = 0;
}

TJvApplicationHotKey::TJvApplicationHotKey(HotKeyBackend& backend) : m_backend(backend) {}

TJvApplicationHotKey::TJvApplicationHotKey(HotKeyBackend& backend, TShortCut shortcut,
                                           std::string name, std::function<void()> onHotKey)
    : Name(std::move(name)), OnHotKey(std::move(onHotKey)), m_backend(backend), m_hotKey(shortcut) {
}

TJvApplicationHotKey::~TJvApplicationHotKey() {
    SetActive(false);
}

void TJvApplicationHotKey::ResetIdentifierCounterForTests() {
    g_nextId = 0;
}

void TJvApplicationHotKey::SetHotKey(TShortCut shortcut) {
    if (shortcut == m_hotKey)
        return;
    const bool wasActive = m_active;
    SetActive(false);
    m_hotKey = shortcut;
    SetActive(wasActive);
}

void TJvApplicationHotKey::SetActive(bool active) {
    if (active == m_active)
        return;
    if (!active) {
        m_backend.Unregister(m_id);
        m_active = false;
        return;
    }
    m_id = g_nextId++;
    m_outcome.reset();
    for (;;) {
        if (m_backend.Register(m_id, m_hotKey, Name)) {
            m_active = true;
            return;
        }
        const TShortCut before = m_hotKey;
        if (OnHotKeyRegisterFailed)
            OnHotKeyRegisterFailed(m_hotKey);
        if (m_hotKey == before)
            break;
    }
    HotKeyBackend::Outcome refused;
    refused.why = m_backend.WhyNot();
    m_outcome = refused;
}

void TJvApplicationHotKey::Dispatch(int id) {
    if (m_active && id == m_id && OnHotKey)
        OnHotKey();
}

void TJvApplicationHotKey::Settle(int id, const HotKeyBackend::Outcome& outcome) {
    if (m_active && id == m_id)
        m_outcome = outcome;
}

TJvApplicationHotKey::State TJvApplicationHotKey::Status() const {
    if (!m_active)
        return State::Failed;
    if (!m_backend.SettlesLater())
        return State::Set;
    if (!m_outcome)
        return State::Pending;
    return m_outcome->bound ? State::Set : State::Failed;
}

QString TJvApplicationHotKey::Text() const {
    if (m_outcome && !m_outcome->trigger.empty())
        return QString::fromStdString(m_outcome->trigger);
    return ShortCutToText(m_hotKey);
}

namespace {
// One key's line in each of its states, as whole sentences for translators.
struct KeyTexts {
    const char* set;
    const char* failed;
    const char* failedWhy;
    const char* pending;
};
constexpr KeyTexts kRecordTexts{
    QT_TRANSLATE_NOOP("TFormMain", "Record/Stop hotkey: %1"),
    QT_TRANSLATE_NOOP("TFormMain", "Failed to set hotkey for [Record/Stop]."),
    QT_TRANSLATE_NOOP("TFormMain", "Failed to set hotkey for [Record/Stop]. (%1)"),
    QT_TRANSLATE_NOOP("TFormMain", "Record/Stop hotkey: waiting for the desktop")};
constexpr KeyTexts kPauseTexts{
    QT_TRANSLATE_NOOP("TFormMain", "Pause/Resume hotkey: %1"),
    QT_TRANSLATE_NOOP("TFormMain", "Failed to set hotkey for [Pause/Resume]"),
    QT_TRANSLATE_NOOP("TFormMain", "Failed to set hotkey for [Pause/Resume] (%1)"),
    QT_TRANSLATE_NOOP("TFormMain", "Pause/Resume hotkey: waiting for the desktop")};

QString statusLine(const TJvApplicationHotKey& key, const KeyTexts& texts) {
    // The main window's texts, translated where it is. Not named tr: lupdate
    // would take it for QObject's.
    const auto translated = [](const char* text) {
        return QCoreApplication::translate("TFormMain", text);
    };
    switch (key.Status()) {
    case TJvApplicationHotKey::State::Set:
        return translated(texts.set).arg(key.Text());
    case TJvApplicationHotKey::State::Pending:
        return translated(texts.pending);
    case TJvApplicationHotKey::State::Failed:
        break;
    }
    return key.Why().isEmpty() ? translated(texts.failed)
                               : translated(texts.failedWhy).arg(key.Why());
}
} // namespace

QString HotKeyStatusLines(const TJvApplicationHotKey& record, const TJvApplicationHotKey& pause) {
    return statusLine(record, kRecordTexts) + QStringLiteral("\r\n") +
           statusLine(pause, kPauseTexts);
}

bool HotKeysPending(const TJvApplicationHotKey& record, const TJvApplicationHotKey& pause) {
    return record.Status() == TJvApplicationHotKey::State::Pending ||
           pause.Status() == TJvApplicationHotKey::State::Pending;
}

void ListenToHotKeys(HotKeyBackend& backend, TJvApplicationHotKey& record,
                     TJvApplicationHotKey& pause, std::function<void()> settled) {
    backend.SetSettledHandler([&record, &pause, settled = std::move(settled)](
                                  int id, const HotKeyBackend::Outcome& outcome) {
        record.Settle(id, outcome);
        pause.Settle(id, outcome);
        settled();
    });
    backend.SetPressedHandler([&record, &pause](int id) {
        record.Dispatch(id);
        pause.Dispatch(id);
    });
}

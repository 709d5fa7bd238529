#include "TJvApplicationHotKey.h"

namespace {
int g_nextId = 0;
}

TJvApplicationHotKey::TJvApplicationHotKey(HotKeyBackend& backend) : m_backend(backend) {}

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
        if (!OnHotKeyRegisterFailed)
            return;
        const TShortCut before = m_hotKey;
        OnHotKeyRegisterFailed(m_hotKey);
        if (m_hotKey == before)
            return;
    }
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

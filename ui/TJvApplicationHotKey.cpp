#include "TJvApplicationHotKey.h"

namespace {
int g_nextId = 0;
}

QString ShortCutToText(TShortCut shortcut) {
    QString text;
    if (shortcut & 0x2000)
        text += QStringLiteral("Shift+");
    if (shortcut & 0x4000)
        text += QStringLiteral("Ctrl+");
    if (shortcut & 0x8000)
        text += QStringLiteral("Alt+");
    const int key = shortcut & 0xFF;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        text += QChar(key);
    else if (key >= 0x70 && key <= 0x87)
        text += QStringLiteral("F%1").arg(key - 0x6F);
    else if (key != 0)
        text += QStringLiteral("#%1").arg(key);
    return text;
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

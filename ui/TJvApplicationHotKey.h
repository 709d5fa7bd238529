#pragma once

#include "HotKeyBackend.h"
#include "ShortCut.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// One system-wide hot key of the main window.
class TJvApplicationHotKey {
public:
    explicit TJvApplicationHotKey(HotKeyBackend& backend);
    TJvApplicationHotKey(HotKeyBackend& backend, TShortCut shortcut, std::string name,
                         std::function<void()> onHotKey);
    ~TJvApplicationHotKey();
    TJvApplicationHotKey(const TJvApplicationHotKey&) = delete;
    TJvApplicationHotKey& operator=(const TJvApplicationHotKey&) = delete;

    TShortCut HotKey() const { return m_hotKey; }
    // Re-registers with the new key if it was active.
    void SetHotKey(TShortCut shortcut);
    bool Active() const { return m_active; }
    void SetActive(bool active);
    int Id() const { return m_id; }

    // What the key does, for desktops that list the keys they bind.
    std::string Name;
    std::function<void()> OnHotKey;
    // May change HotKey; registration is retried while it does.
    std::function<void(TShortCut& shortcut)> OnHotKeyRegisterFailed;

    // A press of the key registered under this identifier.
    void Dispatch(int id);

    // Whether the key works: registered, and where the desktop binds keys
    // itself, bound by it. Pending until the desktop has said.
    enum class State { Set, Failed, Pending };
    State Status() const;
    // The key as the desktop shows it (the user may have chosen another).
    QString Text() const;
    // Why the desktop did not bind it, when it did not.
    QString Why() const { return QString::fromStdString(m_outcome ? m_outcome->why : ""); }
    // The desktop's word on the key registered under this identifier.
    void Settle(int id, const HotKeyBackend::Outcome& outcome);

    // Identifiers come from one counter for the whole process.
    static void ResetIdentifierCounterForTests();

private:
    HotKeyBackend& m_backend;
    TShortCut m_hotKey = 0;
    bool m_active = false;
    int m_id = -1;
    std::optional<HotKeyBackend::Outcome> m_outcome;
};

// The keys' lines of the start-up balloon: a key is named as set only once
// the desktop holds it bound.
QString HotKeyStatusLines(const TJvApplicationHotKey& record, const TJvApplicationHotKey& pause);
// The desktop has yet to say whether it binds either key.
bool HotKeysPending(const TJvApplicationHotKey& record, const TJvApplicationHotKey& pause);
// Both keys hear the backend's word on their settling and their presses;
// settled runs after each key has heard its word.
void ListenToHotKeys(HotKeyBackend& backend, TJvApplicationHotKey& record,
                     TJvApplicationHotKey& pause, std::function<void()> settled);

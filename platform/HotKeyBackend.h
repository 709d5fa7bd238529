#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// System-wide keys: registered under an identifier, reported by it. The real
// ones grab keys on the X11 root window, or ask the desktop's shortcut portal
// (Wayland); tests use a fake.
class HotKeyBackend {
public:
    using PressedFn = std::function<void(int id)>;
    virtual ~HotKeyBackend() = default;
    // shortcut: a key code in the low 8 bits (letters and digits as their
    // upper-case character), 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt. name: what
    // the key does, for desktops that list the keys they bind. False when
    // another program holds the key or there is no way to register.
    virtual bool Register(int id, uint16_t shortcut, const std::string& name) = 0;
    virtual void Unregister(int id) = 0;
    // Why the last Register failed, in the user's language.
    virtual std::string WhyNot() const { return {}; }
    // Presses arrive on the GUI thread; a held key is reported once.
    void SetPressedHandler(PressedFn handler) { m_pressed = std::move(handler); }

    // Where the desktop binds the keys itself, later and perhaps after asking
    // the user (the shortcut portal), Register's true is only a request: the
    // outcome of each key comes here, on the GUI thread, and again whenever
    // the user changes the key in the desktop's settings.
    struct Outcome {
        bool bound = false;
        std::string trigger; // as the desktop shows it; empty: ours
        std::string why;     // when not bound
    };
    using SettledFn = std::function<void(int id, const Outcome& outcome)>;
    virtual bool SettlesLater() const { return false; }
    void SetSettledHandler(SettledFn handler) { m_settled = std::move(handler); }

    // Where the desktop binds keys only to commands set in its own keyboard
    // settings (GNOME before 48): whether the program's keys can be added
    // there, and adding them, each running "tapewren <command>" as
    // PortalShortcutId() names it. Returns what went wrong, a line a key, in
    // the user's language; empty when every key was added. Register then
    // finds them.
    struct CommandKey {
        uint16_t shortcut = 0;
        std::string name;
    };
    virtual bool OffersCommandKeys() const { return false; }
    virtual std::string AddCommandKeys(const std::vector<CommandKey>&) { return {}; }

protected:
    void Pressed(int id) {
        if (m_pressed)
            m_pressed(id);
    }
    void Settled(int id, const Outcome& outcome) {
        if (m_settled)
            m_settled(id, outcome);
    }

private:
    PressedFn m_pressed;
    SettledFn m_settled;
};

// The desktop's: the shortcut portal on Wayland (or wherever there is no X11
// to grab keys on) when the session bus offers one, else X11 grabs in an X11
// session; otherwise every registration fails, with the reason.
std::unique_ptr<HotKeyBackend> CreateSystemHotKeys();
// X11 grabs; null where the program does not run on X11.
std::unique_ptr<HotKeyBackend> CreateX11HotKeys();
// GNOME's custom keyboard shortcuts, which run commands; null where GNOME's
// settings schemas are missing or settings would not be kept (no dconf).
std::unique_ptr<HotKeyBackend> CreateGnomeKeys();

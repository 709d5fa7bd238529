#pragma once

#include <cstdint>
#include <functional>
#include <memory>

// System-wide keys: registered under an identifier, reported by it. The
// real one grabs keys on the X11 root window; tests use a fake.
class HotKeyBackend {
public:
    using PressedFn = std::function<void(int id)>;
    virtual ~HotKeyBackend() = default;
    // shortcut: a key code in the low 8 bits (letters and digits as their
    // upper-case character), 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt. False
    // when another program holds the key or there is no way to register.
    virtual bool Register(int id, uint16_t shortcut) = 0;
    virtual void Unregister(int id) = 0;
    // Presses arrive on the GUI thread; a held key is reported once.
    void SetPressedHandler(PressedFn handler) { m_pressed = std::move(handler); }

protected:
    void Pressed(int id) {
        if (m_pressed)
            m_pressed(id);
    }

private:
    PressedFn m_pressed;
};

// X11 where the desktop runs on it; elsewhere every registration fails.
std::unique_ptr<HotKeyBackend> CreateSystemHotKeys();

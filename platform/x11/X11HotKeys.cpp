#include "HotKeyBackend.h"
#include "Logging.h"
#include "ShortCut.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <map>
#include <vector>
#include <xcb/xcb.h>

namespace {
constexpr uint16_t kShift = 0x2000, kCtrl = 0x4000, kAlt = 0x8000;

class X11HotKeys : public HotKeyBackend, public QAbstractNativeEventFilter {
public:
    explicit X11HotKeys(xcb_connection_t* connection) : m_connection(connection) {
        const xcb_setup_t* setup = xcb_get_setup(m_connection);
        m_root = xcb_setup_roots_iterator(setup).data->root;
        m_minKeycode = setup->min_keycode;
        m_maxKeycode = setup->max_keycode;
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~X11HotKeys() override {
        for (const auto& entry : m_keys)
            ungrab(entry.second);
        xcb_flush(m_connection);
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool Register(int id, uint16_t shortcut, const std::string&) override {
        Key key;
        key.keycode = keycodeFor(shortcut & 0xFF);
        if (key.keycode == 0) {
            qCWarning(lcPlatform, "hot keys: no key of this keyboard makes %s",
                      qPrintable(ShortCutToText(shortcut & 0xFF)));
            m_whyNot = QCoreApplication::translate("HotKeys", "no key of this keyboard makes it")
                           .toStdString();
            return false;
        }
        key.modifiers = static_cast<uint16_t>(((shortcut & kShift) ? XCB_MOD_MASK_SHIFT : 0) |
                                              ((shortcut & kCtrl) ? XCB_MOD_MASK_CONTROL : 0) |
                                              ((shortcut & kAlt) ? XCB_MOD_MASK_1 : 0));
        // NumLock and CapsLock change the modifier state; grab every mix.
        std::vector<xcb_void_cookie_t> cookies;
        for (uint16_t locks : lockVariants())
            cookies.push_back(xcb_grab_key_checked(m_connection, 1, m_root, key.modifiers | locks,
                                                   key.keycode, XCB_GRAB_MODE_ASYNC,
                                                   XCB_GRAB_MODE_ASYNC));
        bool ok = true;
        for (xcb_void_cookie_t cookie : cookies)
            if (xcb_generic_error_t* error = xcb_request_check(m_connection, cookie)) {
                ok = false; // BadAccess: another program holds it
                std::free(error);
            }
        if (!ok) {
            qCWarning(lcPlatform, "hot keys: %s is held by another program",
                      qPrintable(ShortCutToText(shortcut)));
            ungrab(key);
            xcb_flush(m_connection);
            m_whyNot =
                QCoreApplication::translate("HotKeys", "another program holds it").toStdString();
            return false;
        }
        m_keys[id] = key;
        return true;
    }

    std::string WhyNot() const override { return m_whyNot; }

    void Unregister(int id) override {
        const auto it = m_keys.find(id);
        if (it == m_keys.end())
            return;
        ungrab(it->second);
        xcb_flush(m_connection);
        m_keys.erase(it);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<xcb_generic_event_t*>(message);
        const uint8_t kind = event->response_type & ~0x80;
        if (kind != XCB_KEY_PRESS && kind != XCB_KEY_RELEASE)
            return false;
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event);
        const uint16_t state = key->state & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
        for (auto& [id, grabbed] : m_keys) {
            if (grabbed.keycode != key->detail || grabbed.modifiers != state)
                continue;
            if (kind == XCB_KEY_RELEASE) {
                grabbed.releaseTime = key->time;
                return true;
            }
            // Auto-repeat sends a release and a press with the same time:
            // a held key toggles once, not twenty times.
            if (grabbed.releaseTime == key->time && key->time != 0)
                return true;
            Pressed(id);
            return true;
        }
        return false;
    }

private:
    struct Key {
        xcb_keycode_t keycode = 0;
        uint16_t modifiers = 0;
        xcb_timestamp_t releaseTime = 0;
    };

    static std::vector<uint16_t> lockVariants() {
        return {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
    }

    void ungrab(const Key& key) {
        for (uint16_t locks : lockVariants())
            xcb_ungrab_key(m_connection, key.keycode, m_root, key.modifiers | locks);
    }

    // The key code that produces the character's key symbol (letters as
    // their lower-case symbol, which is what the unshifted key carries).
    xcb_keycode_t keycodeFor(uint8_t character) {
        xcb_keysym_t wanted = character;
        if (character >= 'A' && character <= 'Z')
            wanted = character - 'A' + 'a';
        const uint8_t count = static_cast<uint8_t>(m_maxKeycode - m_minKeycode + 1);
        xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
            m_connection, xcb_get_keyboard_mapping(m_connection, m_minKeycode, count), nullptr);
        if (!reply)
            return 0;
        const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
        const int perCode = reply->keysyms_per_keycode;
        xcb_keycode_t found = 0;
        for (int code = 0; code < count && !found; ++code)
            for (int i = 0; i < perCode && i < 2; ++i)
                if (syms[code * perCode + i] == wanted) {
                    found = static_cast<xcb_keycode_t>(m_minKeycode + code);
                    break;
                }
        std::free(reply);
        return found;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_keycode_t m_minKeycode = 8;
    xcb_keycode_t m_maxKeycode = 255;
    std::map<int, Key> m_keys;
    std::string m_whyNot;
};
} // namespace

std::unique_ptr<HotKeyBackend> CreateX11HotKeys() {
    if (auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        if (xcb_connection_t* connection = x11->connection())
            return std::make_unique<X11HotKeys>(connection);
    return nullptr;
}

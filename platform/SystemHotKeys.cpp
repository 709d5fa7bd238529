#include "HotKeyBackend.h"
#include "Logging.h"
#include "PortalHotKeys.h"

#include <QGuiApplication>

namespace {
// Where no key can be had: every registration fails, and the start-up
// balloon says so.
class NoHotKeys : public HotKeyBackend {
public:
    bool Register(int, uint16_t, const std::string&) override { return false; }
    void Unregister(int) override {}
};

// Under XWayland an X11 grab sees keys only while an X11 window has the
// focus, so a Wayland session asks the portal first even then.
bool waylandSession() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") == "wayland";
}
} // namespace

std::unique_ptr<HotKeyBackend> CreateSystemHotKeys() {
    std::unique_ptr<HotKeyBackend> x11 = CreateX11HotKeys();
    const bool wayland = waylandSession();
    if (!x11 || wayland) {
        if (auto portal = CreatePortalHotKeys(QDBusConnection::sessionBus())) {
            qCDebug(lcPlatform, "hot keys: through the desktop's shortcut portal");
            return portal;
        }
        if (x11)
            qCWarning(lcPlatform, "hot keys: no shortcut portal on this Wayland desktop; X11 "
                                  "grabs instead, which see the keys only while an X11 window "
                                  "has the focus");
    }
    if (x11) {
        if (!wayland)
            qCDebug(lcPlatform, "hot keys: X11 grabs");
        return x11;
    }
    qCWarning(lcPlatform, "hot keys: neither an X11 display nor a shortcut portal; no hot keys");
    return std::make_unique<NoHotKeys>();
}

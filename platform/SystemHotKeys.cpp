#include "HotKeyBackend.h"
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
    if (!x11 || waylandSession())
        if (auto portal = CreatePortalHotKeys(QDBusConnection::sessionBus()))
            return portal;
    if (x11)
        return x11;
    return std::make_unique<NoHotKeys>();
}

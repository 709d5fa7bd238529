#include "HotKeyBackend.h"
#include "Logging.h"
#include "PortalHotKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace {
// Where no key can be had: every registration fails, and the start-up
// balloon says why.
class NoHotKeys : public HotKeyBackend {
public:
    bool Register(int, uint16_t, const std::string&) override { return false; }
    void Unregister(int) override {}
    std::string WhyNot() const override {
        return QCoreApplication::translate("HotKeys", "this desktop offers no global shortcuts")
            .toStdString();
    }
};

// Under XWayland an X11 grab sees keys only while one of our own windows has
// the focus: claimed as global, it would tell the user a key works that does
// nothing from any other program.
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
    }
    if (x11 && !wayland) {
        qCDebug(lcPlatform, "hot keys: X11 grabs");
        return x11;
    }
    // GNOME before 48 binds keys only to commands of the user's choosing;
    // the program can offer to add its own there.
    if (wayland && qgetenv("XDG_CURRENT_DESKTOP").toUpper().contains("GNOME"))
        if (auto gnome = CreateGnomeKeys()) {
            qCDebug(lcPlatform, "hot keys: GNOME's custom keyboard shortcuts");
            return gnome;
        }
    if (x11)
        qCWarning(lcPlatform, "hot keys: no shortcut portal in this Wayland session, and X11 "
                              "grabs would see the keys only while our own window has the "
                              "focus; no hot keys");
    else
        qCWarning(lcPlatform,
                  "hot keys: neither an X11 session nor a shortcut portal; no hot keys");
    return std::make_unique<NoHotKeys>();
}

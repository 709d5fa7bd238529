#pragma once

#include "HotKeyBackend.h"

#include <QDBusConnection>
#include <QString>

#include <memory>

// A shortcut as the desktop's shortcut portal writes triggers:
// "CTRL+ALT+O".
QString PortalTrigger(uint16_t shortcut);

// The identifier the portal keeps a key's binding under, from its name:
// "Record/Stop" is "record-stop". Stable from run to run, so the desktop
// keeps the user's own choice of keys.
QString PortalShortcutId(const std::string& name, uint16_t shortcut);

// Keys bound through the desktop portal's GlobalShortcuts interface (KDE
// Plasma 6, GNOME 48 and later), the one way to global keys on Wayland.
// Registering succeeds when the portal is there; the desktop binds the keys
// afterwards (it may first ask the user), and a key it refuses is reported
// on stderr. Null when the bus has no portal with that interface.
std::unique_ptr<HotKeyBackend> CreatePortalHotKeys(QDBusConnection bus, int timeoutMs = 5000);

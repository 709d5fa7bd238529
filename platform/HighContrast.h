#pragma once

// Whether the desktop asks for high contrast: GNOME's switch for it, or a
// high-contrast theme named by GNOME's settings, GTK_THEME or KDE's colour
// scheme. Then the program's own colours give way to the palette's.
bool DesktopWantsHighContrast();

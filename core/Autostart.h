#pragma once

#include <string>

// "Start with the desktop": an XDG autostart entry in
// $XDG_CONFIG_HOME/autostart/ (default ~/.config/autostart/). No entry means
// off, which is also the default.

// The desktop's id of the program, the name of its launcher and autostart files.

std::string AutostartFile();

// On when our entry exists and the user has not hidden or disabled it in
// the desktop's own session settings.
bool IsAutostartOn();

// Writes (atomically) or removes the entry; the entry starts `executable`.
// False when the file could not be written or removed.
bool SetAutostart(bool on, const std::string& executable);

// An Exec value that starts exactly this file, whatever characters its path
// holds (quoted and escaped the way launchers parse it).
std::string DesktopExecValue(const std::string& executable);

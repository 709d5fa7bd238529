#pragma once

#include <cstdint>
#include <functional>
#include <string>

class QUrl;
class QWidget;

// The folder of the running executable, always ending in "/".
std::string ProgramFolder();

// Appends "/" unless the path already ends in one; an empty path stays empty.
std::string WithTrailingSeparator(const std::string& path);

// Makes the folder and any missing parents, each new one with mode 0700 as
// the XDG base directories ask. True when the folder is there afterwards.
bool MakePrivateFolder(const std::string& path);

// Opens a document or web address with the desktop's default action. The
// outcome is deliberately ignored: a missing help file is not worth a message.
void OpenWithShell(QWidget* owner, const std::string& target);

// What OpenWithShell hands to the desktop: a web or mail address as it is,
// anything else as a local file (whose name may hold "#" or "?").
QUrl ShellUrl(const std::string& target);

// Tests replace the desktop hand-off so that nothing real is opened.
void SetShellOpener(std::function<void(const std::string&)> opener);

// "hh:mm:ss" of a duration, rounding half a second to the even second.
std::string FormatDuration(int32_t milliseconds);

// Milliseconds from a monotonic clock; wraps like a 32-bit tick counter.
uint32_t TickCount();

// Ends the process at once, with a failure's exit code and without the
// shut-down steps: for the fatal failures to open the sound system. Tests
// replace it; the caller returns right after it.
void EndProgramAtOnce();
void SetProgramEnder(std::function<void()> ender);

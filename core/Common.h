#pragma once

#include <cstdint>
#include <functional>
#include <string>

// The program's one name on the desktop: its launcher file, its bus name,
// what portals and notification servers know it by.
inline constexpr const char* kAppId = "io.github.tapewren.Tapewren";

class QString;
class QUrl;

// The folder of the running executable, always ending in "/".
std::string ProgramFolder();

// Appends "/" unless the path already ends in one; an empty path stays empty.
std::string WithTrailingSeparator(const std::string& path);

// Makes the folder and any missing parents, each new one with mode 0700 as
// the XDG base directories ask. True when the folder is there afterwards.
bool MakePrivateFolder(const std::string& path);

// What OpenWithShell hands to the desktop: a web or mail address as it is,
// anything else as a local file (whose name may hold "#" or "?").
QUrl ShellUrl(const std::string& target);

// Whole seconds of a duration, rounding half a second to the even second.
int64_t RoundedSeconds(int32_t milliseconds);
// "hh:mm:ss" of a duration, its seconds rounded as above.
std::string FormatDuration(int32_t milliseconds);

// A percentage as the user's language writes it: "37%" in English, "37 %"
// where the catalogue says so. Every percentage shown goes through it, so
// that the volume bar, the slider and the summaries write it alike.
QString PercentText(int percent);

// Milliseconds from a monotonic clock; wraps like a 32-bit tick counter.
uint32_t TickCount();

// Ends the process at once, with a failure's exit code and without the
// shut-down steps: for the fatal failures to open the sound system. Tests
// replace it; the caller returns right after it.
void EndProgramAtOnce();
void SetProgramEnder(std::function<void()> ender);

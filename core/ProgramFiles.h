#pragma once

#include <string>

// Where one run keeps what it writes.
struct ProgramFiles {
    std::string settingsFile; // quillby.ini
    std::string takesFolder;  // takes being recorded or left behind, ending in "/"
    std::string lockFolder;   // the instance lock, beside the takes it guards
    bool portable = false;

    ProgramFiles() = default;
    // One folder holding everything, the way a portable copy keeps it.
    ProgramFiles(const std::string& folder) // NOLINT: a folder is such a layout
        : settingsFile(folder + "quillby.ini"), takesFolder(folder + "tmp/"), lockFolder(folder),
          portable(true) {}
};

// Installed, the program follows the XDG base directories: settings in
// $XDG_CONFIG_HOME/tapewren/, takes and the lock in $XDG_STATE_HOME/tapewren/,
// each made with mode 0700 where missing. A quillby.ini that already lies
// beside the executable makes a portable copy, which keeps everything there;
// beside an installed executable it is never looked at, so nothing is ever
// written into a system folder, whoever runs the program.
ProgramFiles LocateProgramFiles(const std::string& programFolder);

// An executable's folder that belongs to an installation, not to a copy of
// the user's own.
bool IsInstalledFolder(const std::string& programFolder);

// A base directory from its variable ("XDG_CONFIG_HOME"), ending in "/";
// relative paths there are invalid and ignored for fallback, under the home
// folder.
std::string XdgHome(const char* variable, const char* fallback);

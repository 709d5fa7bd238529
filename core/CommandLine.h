#pragma once

#include <string>

// What the command line asks for before anything else starts: --help and
// --version answer on the terminal without a display, a sound server or the
// single-instance lock.
struct CommandLine {
    // RecordStop and PauseResume: what the hot keys do, for desktops that
    // bind keys to commands (GNOME's custom shortcuts).
    enum class Action { Run, Help, Version, UnknownOption, RecordStop, PauseResume };
    Action action = Action::Run;
    std::string unknown; // the offending argument, for UnknownOption
};

CommandLine ParseCommandLine(int argc, char** argv);

// The texts printed for --help and --version.
std::string HelpText();
std::string VersionText();

#include "CommandLine.h"

#include <cstring>

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (std::strcmp(arg, "--version") == 0) {
            line.action = CommandLine::Action::Version;
            return line;
        }
        // Anything else that looks like an option is a typo worth reporting;
        // plain words (the wizard's "w" among them) keep their old meaning.
        if (arg[0] == '-' && arg[1] != '\0' && line.unknown.empty())
            line.unknown = arg;
    }
    if (!line.unknown.empty())
        line.action = CommandLine::Action::UnknownOption;
    return line;
}

std::string HelpText() {
    return "Usage: tapewren [w]\n"
           "A one-click sound recorder that lives in the tray.\n"
           "\n"
           "  (no argument)  start in the tray: click the icon to record, click\n"
           "                 again to stop and save; double-click to configure\n"
           "  w              start the Sound Optimizer alone\n"
           "  -h, --help     show this text and exit\n"
           "  --version      show the version and exit\n";
}

std::string VersionText() {
    return "Tapewren " TAPEWREN_VERSION "\n";
}

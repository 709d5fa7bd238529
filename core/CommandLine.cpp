#include "CommandLine.h"

#include <cstring>
#include <string_view>

namespace {
// What Qt takes from the command line for itself (QGuiApplication and
// QApplication): those with a value, then those without. Qt accepts them
// with one dash or two, and the values of some also after "=".
constexpr std::string_view kQtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                                    "platformtheme",   "plugin",
                                                    "qwindowgeometry", "geometry",
                                                    "qwindowtitle",    "title",
                                                    "qwindowicon",     "icon",
                                                    "display",         "name",
                                                    "style",           "stylesheet",
                                                    "session",         "qmljsdebugger"};
constexpr std::string_view kQtFlags[] = {"reverse", "widgetcount", "nograb",
                                         "dograb",  "sync",        "testability"};

// How many arguments a Qt option at argv[i] takes up; 0 when it is none.
int qtOption(int i, int argc, char** argv) {
    std::string_view arg = argv[i];
    if (arg.size() < 2 || arg[0] != '-')
        return 0;
    arg.remove_prefix(arg[1] == '-' ? 2 : 1);
    const auto equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    for (std::string_view option : kQtOptionsWithValue)
        if (name == option)
            return equals != std::string_view::npos || i + 1 >= argc ? 1 : 2;
    for (std::string_view flag : kQtFlags)
        if (arg == flag)
            return 1;
    return 0;
}
} // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        if (const int taken = qtOption(i, argc, argv)) {
            i += taken - 1;
            continue;
        }
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
        else if (line.action == CommandLine::Action::Run && std::strcmp(arg, "record-stop") == 0)
            line.action = CommandLine::Action::RecordStop;
        else if (line.action == CommandLine::Action::Run && std::strcmp(arg, "pause-resume") == 0)
            line.action = CommandLine::Action::PauseResume;
    }
    if (!line.unknown.empty())
        line.action = CommandLine::Action::UnknownOption;
    return line;
}

std::string HelpText() {
    return "Usage: tapewren [w | record-stop | pause-resume]\n"
           "A one-click sound recorder that lives in the tray.\n"
           "\n"
           "  (no argument)  start in the tray: click the icon to record, click\n"
           "                 again to stop and save; double-click to configure\n"
           "  w              start the Sound Optimizer alone\n"
           "  record-stop    start or stop a take in the running program, as its\n"
           "                 Record/Stop hotkey does (starts it first if it is not\n"
           "                 running); for desktops that bind keys to commands\n"
           "  pause-resume   pause or resume the take, as the Pause/Resume hotkey does\n"
           "  -h, --help     show this text and exit\n"
           "  --version      show the version and exit\n"
           "\n"
           "Qt's own options (-platform, -style, -display and the like) are accepted.\n"
           "Settings: $XDG_CONFIG_HOME/tapewren/quillby.ini; takes not yet saved:\n"
           "$XDG_STATE_HOME/tapewren/tmp/.\n";
}

std::string VersionText() {
    return "Tapewren " TAPEWREN_VERSION "\n";
}

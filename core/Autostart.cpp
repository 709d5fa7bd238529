#include "Autostart.h"

#include "Common.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string AutostartFile() {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::string(home) + "/.config";
    else
        config = "/tmp";
    while (config.size() > 1 && config.back() == '/')
        config.pop_back();
    return config + "/autostart/" + kAppId + ".desktop";
}

bool IsAutostartOn() {
    std::ifstream in(AutostartFile());
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

std::string DesktopExecValue(const std::string& executable) {
    // Inside the quotes ", `, $ and \ take a backslash; then the whole value
    // is a desktop-file string, where a backslash is written twice, and a
    // field code starts with %.
    std::string quoted = "\"";
    for (char c : executable) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : quoted) {
        if (c == '\\')
            value += "\\\\";
        else if (c == '%')
            value += "%%";
        else
            value += c;
    }
    return value;
}

bool SetAutostart(bool on, const std::string& executable) {
    const fs::path file = AutostartFile();
    std::error_code ec;
    if (!on) {
        fs::remove(file, ec);
        return !ec;
    }
    fs::create_directories(file.parent_path(), ec);
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Tapewren\n"
             "Comment=One-click sound recorder in the tray\n"
             // The session settings show it before the program has run, so
             // in every language of the program, as its launcher does.
             "Comment[de]=Tonaufnahme mit einem Klick im Systembereich\n"
             "Comment[fr]=Enregistreur audio en un clic dans la zone de notification\n"
             "Comment[es]=Grabadora de sonido en un clic en la bandeja del sistema\n"
             "Comment[it]=Registratore audio con un clic nell'area di notifica\n"
             "Comment[pt_BR]=Gravador de som com um clique na bandeja do sistema\n"
             "Comment[pl]=Nagrywanie dźwięku jednym kliknięciem w zasobniku systemowym\n"
             "Exec="
          << DesktopExecValue(executable)
          << "\n"
             "Icon="
          << kAppId
          << "\n"
             "Terminal=false\n"
             "StartupNotify=false\n"
             "X-GNOME-Autostart-enabled=true\n";
    const std::string text = entry.str();
    const fs::path temp = file.string() + ".new";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, file, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

#include "ProgramFiles.h"

#include "Common.h"

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

} // namespace

std::string XdgHome(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return WithTrailingSeparator(value);
    return WithTrailingSeparator(QDir::homePath().toStdString()) + fallback;
}

bool IsInstalledFolder(const std::string& programFolder) {
    for (const char* system : {TAPEWREN_BIN_DIR, "/usr/bin", "/usr/local/bin", "/bin"})
        if (sameFolder(programFolder, system))
            return true;
    // Any other prefix: bin/ beside the share/tapewren/ that Help reads from.
    std::error_code ec;
    const fs::path folder = fs::path(programFolder).parent_path();
    return folder.filename() == "bin" &&
           fs::is_directory(folder.parent_path() / "share" / "tapewren", ec);
}

ProgramFiles LocateProgramFiles(const std::string& programFolder) {
    const std::string folder = WithTrailingSeparator(programFolder);
    struct stat st {};
    if (!IsInstalledFolder(folder) && ::lstat((folder + "quillby.ini").c_str(), &st) == 0)
        return ProgramFiles(folder);
    ProgramFiles files;
    const std::string config = XdgHome("XDG_CONFIG_HOME", ".config/") + "tapewren/";
    const std::string state = XdgHome("XDG_STATE_HOME", ".local/state/") + "tapewren/";
    MakePrivateFolder(config);
    MakePrivateFolder(state);
    files.settingsFile = config + "quillby.ini";
    files.takesFolder = state + "tmp/";
    files.lockFolder = state;
    return files;
}

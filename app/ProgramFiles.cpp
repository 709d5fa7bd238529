#include "ProgramFiles.h"

#include "Common.h"
#include "InstanceLock.h"
#include "LeftTakes.h"
#include "MoveFile.h"

#include <QDir>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// A base directory from its variable; relative paths there are invalid and
// to be ignored.
std::string xdgHome(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/')
        return WithTrailingSeparator(value);
    return WithTrailingSeparator(QDir::homePath().toStdString()) + fallback;
}

bool sameFolder(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

bool isOurFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::symlink_status(path, ec));
}

// The lowest free take name in the folder, as the recorder would choose it.
std::string freeTakeName(const std::string& folder) {
    std::error_code ec;
    for (unsigned long n = 1;; ++n) {
        const std::string name = folder + "tmpfile" + std::to_string(n) + ".mp3";
        if (!fs::exists(fs::symlink_status(name, ec)))
            return name;
    }
}
} // namespace

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
    const std::string config = xdgHome("XDG_CONFIG_HOME", ".config/") + "tapewren/";
    const std::string state = xdgHome("XDG_STATE_HOME", ".local/state/") + "tapewren/";
    MakePrivateFolder(config);
    MakePrivateFolder(state);
    files.settingsFile = config + "quillby.ini";
    files.takesFolder = state + "tmp/";
    files.lockFolder = state;
    return files;
}

void MoveEarlierFiles(const ProgramFiles& files) {
    if (files.portable)
        return;
    const std::string earlier = xdgHome("XDG_DATA_HOME", ".local/share/") + "Tapewren/";
    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(earlier, ec)))
        return;
    // An earlier release running there may be recording into it.
    InstanceLock earlierLock(earlier, kInstanceName);
    if (!earlierLock.TryAcquire())
        return;

    if (isOurFile(earlier + "quillby.ini") && !PathExists(files.settingsFile))
        MoveFile(earlier + "quillby.ini", files.settingsFile, false);
    if (fs::is_directory(fs::symlink_status(earlier + "tmp", ec))) {
        MakePrivateFolder(files.takesFolder);
        for (const fs::directory_entry& entry : fs::directory_iterator(earlier + "tmp", ec))
            if (TakeNumber(entry.path().filename().string()) && isOurFile(entry.path()))
                MoveFile(entry.path().string(), freeTakeName(files.takesFolder), false);
        ::rmdir((earlier + "tmp").c_str());
    }
    ::unlink(InstanceLock::LockFilePath(earlier, kInstanceName).c_str());
    // Only when nothing else is left in it: what is not ours stays.
    ::rmdir(earlier.c_str());
}

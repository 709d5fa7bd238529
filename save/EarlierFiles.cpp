#include "EarlierFiles.h"

#include "Common.h"
#include "InstanceLock.h"
#include "LeftTakes.h"
#include "MoveFile.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
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

void MoveEarlierFiles(const ProgramFiles& files) {
    if (files.portable)
        return;
    const std::string earlier = XdgHome("XDG_DATA_HOME", ".local/share/") + "Tapewren/";
    std::error_code ec;
    // Without the trailing slash, which would follow a link: a folder linked
    // there is someone else's, whatever it holds.
    if (!fs::is_directory(fs::symlink_status(fs::path(earlier).parent_path(), ec)))
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

#include "InstanceLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const std::string& name) : m_path(LockFilePath(name)) {}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string InstanceLock::LockFilePath(const std::string& name) {
    std::string folder;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        folder = runtime;
    else if (const char* temp = std::getenv("TMPDIR"); temp && *temp)
        folder = temp;
    else
        folder = "/tmp";
    std::string file;
    for (char c : name)
        file += (c == ' ' || c == '/') ? '-' : c;
    return folder + "/" + file + "-" + std::to_string(::getuid()) + ".lock";
}

bool InstanceLock::TryAcquire() {
    if (m_fd >= 0)
        return true;
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // No lock file possible: better a second instance than none at all.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

#include "InstanceLock.h"

#include "Common.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::InstanceLock(const std::string& folder, const std::string& name)
    : m_path(LockFilePath(folder, name)) {}

InstanceLock::~InstanceLock() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string InstanceLock::LockFilePath(const std::string& folder, const std::string& name) {
    std::string file;
    for (char c : name)
        file += (c == ' ' || c == '/') ? '-' : c;
    return WithTrailingSeparator(folder) + file + ".lock";
}

bool InstanceLock::TryAcquire() {
    if (m_fd >= 0)
        return true;
    int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // A lock file made by another user of a shared folder can still be locked.
    if (fd < 0)
        fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true; // No lock file possible: better a second instance than none at all.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

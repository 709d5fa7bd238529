#pragma once

#include <string>

// One running instance per user and desktop session. The kernel drops the
// lock when the process dies, however it dies, so no stale lock survives.
class InstanceLock {
public:
    explicit InstanceLock(const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another instance holds the lock. Never waits.
    bool TryAcquire();

    static std::string LockFilePath(const std::string& name);

private:
    std::string m_path;
    int m_fd = -1;
};

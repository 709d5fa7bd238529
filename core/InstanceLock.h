#pragma once

#include <string>

// One running instance per data folder: the lock file lies beside the
// settings and the working folder it guards, so that no second start, from
// whatever session, can touch a take that is being recorded there. The
// kernel drops the lock when the process dies, however it dies, so no stale
// lock survives.
// The name every instance locks, whatever the folder.
constexpr const char* kInstanceName = "Quillby 20050624";

class InstanceLock {
public:
    InstanceLock(const std::string& folder, const std::string& name);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another instance holds the lock. Never waits.
    bool TryAcquire();

    static std::string LockFilePath(const std::string& folder, const std::string& name);

private:
    std::string m_path;
    int m_fd = -1;
};

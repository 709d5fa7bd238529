#pragma once

#include <string>
#include <sys/mount.h>

// A small file system of its own for a test: a tmpfs of a given size (a
// disk that fills up), optionally read-only, or a read-only bind of one
// file. Needs the right to mount (root in the test container); tests skip
// when it is missing. Unmounted at the end of the scope.
class TestMount {
public:
    // A tmpfs over the folder; size like "64k".
    static TestMount Tmpfs(const std::string& folder, const std::string& size) {
        const std::string options = "size=" + size;
        return TestMount(folder,
                         ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0);
    }
    // The path, file or folder, seen read-only at its own place.
    static TestMount ReadOnlyBind(const std::string& path) {
        if (::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) != 0)
            return TestMount(path, false);
        TestMount m(path, true);
        m.m_ok =
            ::mount(nullptr, path.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        return m;
    }
    // Makes a mounted tmpfs read-only.
    bool MakeReadOnly() {
        return ::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

    TestMount(TestMount&& other) noexcept
        : m_path(other.m_path), m_mounted(other.m_mounted), m_ok(other.m_ok) {
        other.m_mounted = false;
    }
    TestMount(const TestMount&) = delete;
    TestMount& operator=(const TestMount&) = delete;
    ~TestMount() {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
    }
    bool Ok() const { return m_ok; }

private:
    TestMount(std::string path, bool mounted)
        : m_path(std::move(path)), m_mounted(mounted), m_ok(mounted) {}

    std::string m_path;
    bool m_mounted;
    bool m_ok;
};

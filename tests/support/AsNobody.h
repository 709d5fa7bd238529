#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// CI runs as root, who may read and write anything: a case about files is
// run once more by a plain user. The body runs in a child that, when root,
// gives the folder to uid 65534 and drops to it; its EXPECTs print there,
// and any failure fails the child. True when the child passed.
inline bool AsNobody(const std::string& folder, const std::function<void()>& body) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        if (::geteuid() == 0) {
            constexpr uid_t kNobody = 65534;
            std::error_code ec;
            [[maybe_unused]] int r = ::lchown(folder.c_str(), kNobody, kNobody);
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ec))
                r = ::lchown(entry.path().c_str(), kNobody, kNobody);
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(2);
        }
        // Never back into the parent's test run.
        try {
            body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "AsNobody: %s\n", e.what());
            ::_exit(3);
        }
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

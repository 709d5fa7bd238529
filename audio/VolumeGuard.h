#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// Gives the sound server's inputs back the volumes they had, should this
// process end before Keep(): through a signal, a crash, even SIGKILL, which
// no handler inside the process ever sees. A second process, this program's
// executable started with kVolumeGuardArgument, reads a pipe from us; when
// the pipe closes without the word "keep" (the kernel closes it whatever
// ends us), it connects to the server and sets each remembered volume.
class VolumeGuard {
public:
    static constexpr const char* kVolumeGuardArgument = "--volume-guard";

    // server: where to restore, as libpulse names it ("" for the default).
    explicit VolumeGuard(const std::string& server);
    // Without Keep(): the volumes are put back.
    ~VolumeGuard();
    VolumeGuard(const VolumeGuard&) = delete;
    VolumeGuard& operator=(const VolumeGuard&) = delete;

    // The volume of each channel of the source as it is now, before our
    // first change; later calls for the same source are ignored.
    void Remember(const std::string& source, const std::vector<uint32_t>& volumes);
    void Keep();

    // The guarding process: reads from fd until it closes, then restores.
    // Returns the exit code.
    static int Run(int fd);

private:
    void send(const std::string& line);
    void close(bool keep);

    int m_pipe = -1;
    pid_t m_pid = -1;
    bool m_closed = false;
    std::string m_server;
    std::map<std::string, std::vector<uint32_t>> m_remembered;
};

// For main(): runs the guarding process and returns true when this process
// was started as one, with its exit code in *code.
bool RunVolumeGuardIfAsked(int argc, char** argv, int* code);

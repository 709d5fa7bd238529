#include "VolumeGuard.h"

#include "Logging.h"

#include <pulse/pulseaudio.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {
// Long enough for a server that is busy starting, short enough that a
// guard of a server that is gone for good does not linger.
constexpr auto kRestoreWait = std::chrono::seconds(5);
// Restoring ourselves, on our way out: the user waits for it.
constexpr auto kOwnRestoreWait = std::chrono::seconds(2);

// The guard's signals, as bytes on a pipe that its watch polls.
int g_signalPipe[2] = {-1, -1};

extern "C" void onGuardSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        // Never SIGPIPE: a guard that died must not take us with it. Never
        // blocks either: the capture thread calls in.
        const ssize_t n =
            ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

struct Restore {
    std::string server;
    // Source name, volume of each channel.
    std::map<std::string, std::vector<uint32_t>> volumes;
    bool keep = false;
};

Restore parseOrders(const std::string& text) {
    Restore orders;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "keep") {
            orders.keep = true;
        } else if (word == "server") {
            std::getline(words >> std::ws, orders.server);
        } else if (word == "source") {
            size_t channels = 0;
            words >> channels;
            std::vector<uint32_t> volumes(std::min<size_t>(channels, PA_CHANNELS_MAX));
            for (uint32_t& v : volumes)
                words >> v;
            std::string name;
            std::getline(words >> std::ws, name);
            if (words && !name.empty() && !volumes.empty())
                orders.volumes.emplace(name, volumes);
        }
    }
    // Orders cut short by our end: the last line may be half a line.
    return orders;
}

// Without blocking, so that the deadline holds whatever the server does.
void iterate(pa_mainloop* loop) {
    if (pa_mainloop_iterate(loop, 0, nullptr) == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// One connection, one request per source, all answered or the time is up.
void restore(const Restore& orders, std::chrono::steady_clock::duration wait) {
    pa_mainloop* loop = pa_mainloop_new();
    pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Tapewren volume guard");
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const auto inTime = [&] { return std::chrono::steady_clock::now() < deadline; };
    if (context &&
        pa_context_connect(context, orders.server.empty() ? nullptr : orders.server.c_str(),
                           PA_CONTEXT_NOFLAGS, nullptr) >= 0) {
        while (inTime() && PA_CONTEXT_IS_GOOD(pa_context_get_state(context)) &&
               pa_context_get_state(context) != PA_CONTEXT_READY)
            iterate(loop);
        std::vector<pa_operation*> pending;
        if (pa_context_get_state(context) != PA_CONTEXT_READY)
            qCWarning(lcAudio, "Could not reach the sound server to put volumes back");
        if (pa_context_get_state(context) == PA_CONTEXT_READY) {
            for (const auto& [name, volumes] : orders.volumes) {
                pa_cvolume cv;
                pa_cvolume_init(&cv);
                cv.channels = static_cast<uint8_t>(volumes.size());
                for (size_t i = 0; i < volumes.size(); ++i)
                    cv.values[i] = volumes[i];
                if (pa_operation* o = pa_context_set_source_volume_by_name(context, name.c_str(),
                                                                           &cv, nullptr, nullptr))
                    pending.push_back(o);
            }
        }
        const auto running = [&] {
            for (pa_operation* o : pending)
                if (pa_operation_get_state(o) == PA_OPERATION_RUNNING)
                    return true;
            return false;
        };
        while (inTime() && running())
            iterate(loop);
        if (running())
            qCWarning(lcAudio, "The sound server did not confirm every volume put back in time");
        else if (!pending.empty())
            qCDebug(lcAudio, "Put back the volumes of %zu sources", pending.size());
        for (pa_operation* o : pending)
            pa_operation_unref(o);
        pa_context_disconnect(context);
    } else {
        qCWarning(lcAudio, "Could not connect to the sound server to put volumes back");
    }
    if (context)
        pa_context_unref(context);
    pa_mainloop_free(loop);
}
} // namespace

VolumeGuard::VolumeGuard(const std::string& server) : m_server(server) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        qCWarning(lcAudio,
                  "Could not start the volume guard: %s; volumes are put back only when "
                  "the program ends in order",
                  std::strerror(errno));
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own: a Ctrl+C in our terminal is not for it.
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGPIPE})
        sigaddset(&defaults, sig);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    char name[] = "tapewren";
    std::string argument = kVolumeGuardArgument;
    char* argv[] = {name, argument.data(), nullptr};
    if (::posix_spawn(&m_pid, "/proc/self/exe", &actions, &attributes, argv, environ) != 0)
        m_pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (m_pid < 0) {
        qCWarning(lcAudio, "Could not start the volume guard; volumes are put back only when the "
                           "program ends in order");
        ::close(ends[0]);
        return;
    }
    m_pipe = ends[0];
    send("server " + server + "\n");
}

VolumeGuard::~VolumeGuard() {
    close(false);
}

void VolumeGuard::send(const std::string& line) {
    if (m_pipe >= 0 && !writeAll(m_pipe, line))
        qCWarning(lcAudio, "Could not tell the volume guard: %s",
                  line.substr(0, line.find('\n')).c_str());
}

void VolumeGuard::Remember(const std::string& source, const std::vector<uint32_t>& volumes) {
    if (volumes.empty() || !m_remembered.emplace(source, volumes).second)
        return;
    std::string line = "source " + std::to_string(volumes.size());
    for (uint32_t v : volumes)
        line += " " + std::to_string(v);
    send(line + " " + source + "\n");
}

void VolumeGuard::Keep() {
    close(true);
}

void VolumeGuard::close(bool keep) {
    // Once: Keep() then the destructor must not restore.
    if (m_closed)
        return;
    m_closed = true;
    // Killed, or never started: the volumes are ours to give back.
    const bool guardGone = m_pid < 0 || ::waitpid(m_pid, nullptr, WNOHANG) != 0;
    if (!keep && guardGone && !m_remembered.empty()) {
        qCWarning(lcAudio, "The volume guard is not running; the program puts the volumes back "
                           "itself");
        Restore orders;
        orders.server = m_server;
        orders.volumes = m_remembered;
        restore(orders, kOwnRestoreWait);
        m_remembered.clear();
    }
    if (m_pipe < 0 || guardGone) {
        if (m_pipe >= 0)
            ::close(m_pipe);
        m_pipe = -1;
        return;
    }
    if (keep)
        send("keep\n");
    ::close(m_pipe);
    m_pipe = -1;
    // A kept guard ends at once; one that restores takes its time, and is
    // left to finish on its own.
    for (int i = 0; i < (keep ? 100 : 1); ++i) {
        if (::waitpid(m_pid, nullptr, WNOHANG) != 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int VolumeGuard::Run(int fd) {
    // Not the terminal's Ctrl+C alone, nor the hang-up of a session that is
    // closing around the program: a signal restores what the orders so far
    // name, and the watch goes on, since the program may still be turning
    // volumes until its own end.
    if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcAudio, "The volume guard could not watch for signals: %s",
                  std::strerror(errno));
        return 1;
    }
    struct sigaction action {};
    action.sa_handler = onGuardSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(sig, &action, nullptr);
    std::string text;
    char buffer[4096];
    for (;;) {
        pollfd watched[2] = {{fd, POLLIN, 0}, {g_signalPipe[0], POLLIN, 0}};
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (watched[1].revents & POLLIN) {
            while (::read(g_signalPipe[0], buffer, sizeof buffer) > 0) {
            }
            // What came before the signal is part of the orders.
            for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;)
                text.append(buffer, static_cast<size_t>(n));
            const Restore orders = parseOrders(text);
            if (!orders.keep && !orders.volumes.empty())
                restore(orders, kRestoreWait);
            if (orders.keep)
                return 0;
            continue;
        }
        if (watched[0].revents == 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    const Restore orders = parseOrders(text);
    if (!orders.keep && !orders.volumes.empty())
        restore(orders, kRestoreWait);
    return 0;
}

bool RunVolumeGuardIfAsked(int argc, char** argv, int* code) {
    if (argc != 2 || std::strcmp(argv[1], VolumeGuard::kVolumeGuardArgument) != 0)
        return false;
    *code = VolumeGuard::Run(0);
    return true;
}

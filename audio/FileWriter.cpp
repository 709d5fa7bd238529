#include "FileWriter.h"

#include "Logging.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
class PosixFileWriter : public FileWriter {
public:
    explicit PosixFileWriter(int fd) : m_fd(fd) {}
    ~PosixFileWriter() override { Close(); }

    bool Write(const uint8_t* data, size_t size) override {
        while (size > 0 && m_fd >= 0) {
            const ssize_t n = ::write(m_fd, data, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                qCWarning(lcAudio, "Writing the take failed: %s",
                          n < 0 ? std::strerror(errno) : "nothing was written");
                return false;
            }
            data += n;
            size -= static_cast<size_t>(n);
        }
        return m_fd >= 0;
    }

    bool Close() override {
        if (m_fd < 0)
            return true;
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) == 0)
            return true;
        qCWarning(lcAudio, "Closing the take failed: %s", std::strerror(errno));
        return false;
    }

private:
    int m_fd;
};
} // namespace

std::unique_ptr<FileWriter> CreateNewFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        qCWarning(lcAudio, "Could not create %s: %s", path.c_str(), std::strerror(errno));
        return nullptr;
    }
    return std::make_unique<PosixFileWriter>(fd);
}

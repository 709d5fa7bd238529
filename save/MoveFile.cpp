#include "MoveFile.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool copyInto(int in, int out) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                return false;
            done += w;
        }
    }
}

bool copyAcross(const std::string& source, const std::string& target, bool replace) {
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return false;
    // Short, so that a name that just fits does not fail for its copy.
    std::string temp = FolderOf(target) + ".tw-XXXXXX";
    const int out = ::mkstemp(temp.data());
    if (out < 0) {
        ::close(in);
        return false;
    }
    ::fchmod(out, 0644);
    bool ok = copyInto(in, out) && ::fsync(out) == 0;
    int failure = errno;
    ::close(in);
    if (::close(out) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok) {
        if (replace)
            ok = ::rename(temp.c_str(), target.c_str()) == 0;
        else if (::link(temp.c_str(), target.c_str()) != 0) // fails if the target appeared
            // File systems without hard links (a FAT stick): check, then rename.
            ok = (errno == EPERM || errno == ENOTSUP || errno == EMLINK) && !PathExists(target) &&
                 ::rename(temp.c_str(), target.c_str()) == 0;
        failure = ok ? 0 : errno;
    }
    ::unlink(temp.c_str());
    if (!ok) {
        errno = failure;
        return false;
    }
    ::unlink(source.c_str());
    return true;
}
} // namespace

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

namespace {
bool move(const std::string& source, const std::string& target, bool replace) {
    struct stat st {};
    if (::stat(source.c_str(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL;
        return false;
    }
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) {
        errno = EISDIR;
        return false;
    }
    if (!replace && PathExists(target)) {
        errno = EEXIST;
        return false;
    }
    if (replace ? ::rename(source.c_str(), target.c_str()) == 0
                : ::link(source.c_str(), target.c_str()) == 0 && ::unlink(source.c_str()) == 0)
        return true;
    if (errno != EXDEV && errno != EPERM && errno != EMLINK && errno != ENOTSUP)
        return false;
    return copyAcross(source, target, replace);
}
} // namespace

bool MoveFile(const std::string& source, const std::string& target, bool replace, int* error) {
    errno = 0;
    const bool ok = move(source, target, replace);
    if (error)
        *error = ok ? 0 : (errno ? errno : EIO);
    return ok;
}

std::string SaveFailureText(int error) {
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QCoreApplication::translate("MoveFile",
                                           "Unable to save file. Please check disk space.")
            .toStdString();
    case EROFS:
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("MoveFile",
                                           "Unable to save file: the folder is read-only.")
            .toStdString();
    case ENAMETOOLONG:
        return QCoreApplication::translate("MoveFile", "Unable to save file: the name is too long.")
            .toStdString();
    case EISDIR:
        return QCoreApplication::translate("MoveFile",
                                           "Unable to save file: a folder of that name exists.")
            .toStdString();
    case ENOENT:
    case ENOTDIR:
        return QCoreApplication::translate("MoveFile",
                                           "Unable to save file: the folder does not exist.")
            .toStdString();
    case EEXIST:
        return QCoreApplication::translate("MoveFile",
                                           "Unable to save file: a file of that name exists.")
            .toStdString();
    default:
        // The system's reason, in the desktop's language where it has one.
        return QCoreApplication::translate("MoveFile", "Unable to save file: %1.")
            .arg(QString::fromLocal8Bit(std::strerror(error)))
            .toStdString();
    }
}

std::string TagFailureText(const std::string& fileName, int error) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size < 128)
        return QCoreApplication::translate("MoveFile",
                                           "Unable to write the tag: the recording is too short.")
            .toStdString();
    switch (error) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return QCoreApplication::translate("MoveFile",
                                           "Unable to write the tag. Please check disk space.")
            .toStdString();
    default:
        return QCoreApplication::translate("MoveFile", "Unable to write the tag: %1.")
            .arg(QString::fromLocal8Bit(std::strerror(error)))
            .toStdString();
    }
}

std::string SaveTargetPath(const std::string& fileName) {
    const auto slash = fileName.find_last_of('/');
    const auto dot = fileName.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return hasExtension ? fileName : fileName + ".mp3";
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

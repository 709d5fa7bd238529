#include "SettingsFile.h"

#include <QCoreApplication>

// Debian builds the library for ICU; the header must agree with it.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr const char* kSection = "Recorder";
constexpr size_t kMaxStringLength = 2047;
// Ours are a few hundred bytes; anything past this is some other file that
// took the name, and reading it whole could take gigabytes and minutes.
constexpr size_t kMaxFileSize = 1024 * 1024;

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Control characters (a NUL above all, where the INI library stops reading)
// mean some other file took this name: reading it as settings, and writing
// back what was understood, would destroy it.
bool isText(const std::string& data) {
    return std::none_of(data.begin(), data.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
}

// Only a regular file is read: the INI library would choke on a folder.
// A stream would take a refused open or a read error for an empty file.
// The size is checked before and while reading: a file may grow meanwhile.
bool loadFile(CSimpleIniA& ini, const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<uint64_t>(st.st_size) <= kMaxFileSize;
    std::string data;
    char buffer[4096];
    while (ok) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        data.append(buffer, static_cast<size_t>(n));
        ok = data.size() <= kMaxFileSize;
    }
    ::close(fd);
    return ok && isText(data) && ini.LoadData(data) == SI_OK;
}

// Loads the current file, if any, so that a save keeps what it does not own.
bool loadExisting(CSimpleIniA& ini, const std::string& path) {
    return !fileExists(path) || loadFile(ini, path);
}

bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The file a chain of symbolic links ends at, existing or not: the user
// who linked the settings elsewhere wants them written there, and the link
// kept.
std::string followLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        char target[4096];
        const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
        if (n <= 0)
            break;
        std::string next(target, static_cast<size_t>(n));
        if (next[0] != '/')
            next = path.substr(0, path.rfind('/') + 1) + next;
        path = next;
    }
    return path;
}

// Writes beside the target and renames over it, so that a crash or a full
// disk never leaves a truncated settings file behind.
bool replaceAtomically(const std::string& link, const std::string& data) {
    const std::string path = followLinks(link);
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else
        ::fchmod(fd, 0644);
    const bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

// Renaming over a file needs no right to the file itself, only to its
// folder: a file the user made read-only is refused here instead.
bool readOnly(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 &&
           ((st.st_mode & S_IWUSR) == 0 || ::access(path.c_str(), W_OK) != 0);
}

bool update(const std::string& path, const std::function<void(CSimpleIniA&)>& change) {
    if (readOnly(path))
        return false;
    CSimpleIniA ini(true);
    ini.SetSpaces(false); // key=value, as every INI reader expects
    if (!loadExisting(ini, path))
        return false;
    change(ini);
    std::string data;
    if (ini.Save(data) != SI_OK)
        return false;
    return replaceAtomically(path, data);
}

void setInteger(CSimpleIniA& ini, const char* key, long value) {
    ini.SetLongValue(kSection, key, value);
}
} // namespace

SettingsFile::SettingsFile(std::string path) : m_path(std::move(path)) {}

std::optional<int> SettingsFile::ParseInteger(const std::string& text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        begin += 2;
        base = 16;
    }
    if (base == 10 && begin != end && *begin == '+' && begin + 1 != end && begin[1] != '-')
        ++begin;
    if (begin == end)
        return std::nullopt;
    int value = 0;
    if (base == 16) {
        // Hexadecimal is a bit pattern: 0xFFFFFFFF is -1, as a 32-bit reader sees it.
        uint32_t bits = 0;
        const auto [ptr, ec] = std::from_chars(begin, end, bits, 16);
        if (ec != std::errc() || ptr != end || *begin == '-')
            return std::nullopt;
        return static_cast<int>(bits);
    }
    const auto [ptr, ec] = std::from_chars(begin, end, value, base);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

bool SettingsFile::Readable() const {
    CSimpleIniA ini(true);
    return !fileExists(m_path) || loadFile(ini, m_path);
}

std::string SettingsFile::ReadErrorText() const {
    return QCoreApplication::translate("SettingsFile", "Unable to read ").toStdString() + m_path +
           QCoreApplication::translate("SettingsFile",
                                       ". The default settings are used and the file is left "
                                       "as it is.")
               .toStdString();
}

std::optional<RecorderSettings> SettingsFile::Load() const {
    if (!fileExists(m_path))
        return std::nullopt;
    RecorderSettings settings;
    CSimpleIniA ini(true);
    if (!loadFile(ini, m_path))
        return settings;
    const auto integer = [&](const char* key, int fallback) {
        const char* text = ini.GetValue(kSection, key, nullptr);
        if (!text)
            return fallback;
        return ParseInteger(text).value_or(fallback);
    };
    settings.channel = integer("Channel", -1);
    settings.channelName = ini.GetValue(kSection, "ChannelName", "");
    if (settings.channelName.size() > kMaxStringLength)
        settings.channelName.resize(kMaxStringLength);
    settings.quality = integer("Quality", 12);
    if (const char* volume = ini.GetValue(kSection, "Volume", nullptr))
        settings.volume = ParseInteger(volume);
    settings.stereo = integer("Stereo", 1) != 0;
    settings.vbr = integer("VBR", 0) != 0;
    settings.hideWizardWelcome = integer("HideWiz1", 0) != 0;
    settings.popupShowCount = integer("POPCount", 0);
    settings.lastSaveDir = ini.GetValue(kSection, "LastDir", "");
    if (settings.lastSaveDir.size() > kMaxStringLength)
        settings.lastSaveDir.resize(kMaxStringLength);
    return settings;
}

bool SettingsFile::SaveAtExit(const RecorderSettings& s) const {
    return update(m_path, [&](CSimpleIniA& ini) {
        setInteger(ini, "Channel", s.channel);
        ini.SetValue(kSection, "ChannelName", s.channelName.c_str());
        setInteger(ini, "Quality", s.quality);
        if (s.volume)
            setInteger(ini, "Volume", *s.volume);
        setInteger(ini, "Stereo", s.stereo ? 1 : 0);
        setInteger(ini, "VBR", s.vbr ? 1 : 0);
        setInteger(ini, "HideWiz1", s.hideWizardWelcome ? 1 : 0);
        setInteger(ini, "PopCount", s.popupShowCount);
    });
}

bool SettingsFile::SaveLastDir(const std::string& lastDir) const {
    return update(m_path,
                  [&](CSimpleIniA& ini) { ini.SetValue(kSection, "LastDir", lastDir.c_str()); });
}

std::string SettingsFile::WriteErrorText() const {
    return QCoreApplication::translate("SettingsFile", "Unable to write to ").toStdString() +
           m_path;
}

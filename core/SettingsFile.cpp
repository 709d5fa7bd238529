#include "SettingsFile.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <variant>
#include <vector>

namespace {
constexpr const char* kSection = "Recorder";
// Ours are a few hundred bytes; anything past this is some other file that
// took the name, and reading it whole could take gigabytes and minutes.
constexpr size_t kMaxFileSize = 1024 * 1024;
constexpr int kMaxInt = std::numeric_limits<int>::max();

// The one place a key is spelled, typed, defaulted and bounded. The member's
// type is the key's: an integer is written in decimal and read as
// ParseInteger reads it, then brought into [minimum, maximum]; a boolean is
// written 1 or 0 and read true for any number but 0; a text is written as it
// is and read cut at `maximum` bytes, its default empty; an optional integer
// is written only when it holds a number, read like an integer, and absent
// by default. A value that is no number reads as the default. SaveAtExit
// writes its keys in this order; LastDir is SaveLastDir's alone.
using Member =
    std::variant<int RecorderSettings::*, bool RecorderSettings::*, std::string RecorderSettings::*,
                 std::optional<int> RecorderSettings::*>;
enum class Writer { AtExit, LastDir };
struct Key {
    const char* name; // read without regard to case
    Member member;
    int defaultValue; // integers and booleans (1 true, 0 false)
    int minimum;
    int maximum;
    Writer writer;
};
// The ranges are those of the configuration window's sliders (quality: a
// position among the 77 entries of QualityPresets; volume: the desktop's
// percent, never muted).
constexpr Key kKeys[] = {
    {"Channel", &RecorderSettings::channel, -1, -1, kMaxInt, Writer::AtExit},
    {"ChannelName", &RecorderSettings::channelName, 0, 0, 2047, Writer::AtExit},
    {"Quality", &RecorderSettings::quality, 12, 0, 76, Writer::AtExit},
    {"Volume", &RecorderSettings::volume, 0, 1, 100, Writer::AtExit},
    {"Stereo", &RecorderSettings::stereo, 1, 0, 1, Writer::AtExit},
    {"VBR", &RecorderSettings::vbr, 0, 0, 1, Writer::AtExit},
    {"HideWiz1", &RecorderSettings::hideWizardWelcome, 0, 0, 1, Writer::AtExit},
    {"PopCount", &RecorderSettings::popupShowCount, 0, 0, kMaxInt, Writer::AtExit},
    {"LastDir", &RecorderSettings::lastSaveDir, 0, 0, 2047, Writer::LastDir},
};

template <class... F> struct Overload : F... { using F::operator()...; };
template <class... F> Overload(F...) -> Overload<F...>;

// The key's value from the text the file holds for it, or its default when
// the file holds none (nullptr).
void readKey(RecorderSettings& settings, const Key& key, const std::string* text) {
    const std::optional<int> number =
        text ? SettingsFile::ParseInteger(*text) : std::optional<int>();
    std::visit(Overload{
                   [&](int RecorderSettings::*m) {
                       settings.*m =
                           std::clamp(number.value_or(key.defaultValue), key.minimum, key.maximum);
                   },
                   [&](bool RecorderSettings::*m) {
                       settings.*m = number.value_or(key.defaultValue) != 0;
                   },
                   [&](std::string RecorderSettings::*m) {
                       settings.*m =
                           text ? text->substr(0, static_cast<size_t>(key.maximum)) : std::string();
                   },
                   [&](std::optional<int> RecorderSettings::*m) {
                       settings.*m =
                           number
                               ? std::optional<int>(std::clamp(*number, key.minimum, key.maximum))
                               : std::nullopt;
                   },
               },
               key.member);
}

// The text written for the key; none when nothing is to be written.
std::optional<std::string> keyText(const RecorderSettings& settings, const Key& key) {
    return std::visit(
        Overload{
            [&](int RecorderSettings::*m) -> std::optional<std::string> {
                return std::to_string(settings.*m);
            },
            [&](bool RecorderSettings::*m) -> std::optional<std::string> {
                return settings.*m ? "1" : "0";
            },
            [&](std::string RecorderSettings::*m) -> std::optional<std::string> {
                // A line break would end the value and start a line of its own.
                const std::string& text = settings.*m;
                return text.substr(0, text.find_first_of("\r\n"));
            },
            [&](std::optional<int> RecorderSettings::*m) -> std::optional<std::string> {
                if (!(settings.*m))
                    return std::nullopt;
                return std::to_string(*(settings.*m));
            },
        },
        key.member);
}

bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Control characters (a NUL above all) mean some other file took this name:
// reading it as settings, and writing back what was understood, would
// destroy it.
bool isText(const std::string& data) {
    return std::none_of(data.begin(), data.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The file as its lines of bytes, each with its own line ending, read as the
// INI library this program used before read them: blanks around a section's
// name, a key and a value do not count; ";" and "#" begin comments; "[name]"
// begins a section; "key=value" is an entry; section names and keys match
// without regard to case, and the last entry of a key counts. A line that
// opens "[" and does not close it begins a section that nobody reads. Any
// other line ("==", a key without "=") is no entry, and is kept as it is.
class IniText {
public:
    explicit IniText(const std::string& data) {
        size_t at = 0;
        while (at < data.size()) {
            Line line;
            const size_t end = std::min(data.find_first_of("\r\n", at), data.size());
            const size_t next = end == data.size()                  ? end
                                : data.compare(end, 2, "\r\n") == 0 ? end + 2
                                                                    : end + 1;
            line.text = data.substr(at, end - at);
            line.ending = data.substr(end, next - end);
            m_lines.push_back(std::move(line));
            at = next;
        }
        parse();
    }

    std::string Data() const {
        std::string data;
        for (const Line& line : m_lines)
            data += line.text + line.ending;
        return data;
    }

    // The value of the key's last entry in section Recorder.
    const std::string* Value(const char* key) const {
        const std::string* value = nullptr;
        for (const Line& line : m_lines)
            if (line.ours && sameName(line.Key(), key))
                value = &line.value;
        return value;
    }

    // The key's first entry in section Recorder takes the value, in place of
    // the old one, and its later entries go. A key without one goes after
    // the last entry of the last Recorder section; without such a section,
    // into a new one at the end of the file.
    void Set(const char* key, const std::string& value) {
        bool found = false;
        for (size_t i = 0; i < m_lines.size();) {
            Line& line = m_lines[i];
            if (line.ours && sameName(line.Key(), key)) {
                if (found) {
                    m_lines.erase(m_lines.begin() + static_cast<long>(i));
                    continue;
                }
                found = true;
                line.text.replace(line.valueBegin, line.value.size(), value);
            }
            ++i;
        }
        if (!found)
            insert(std::string(key) + "=" + value);
        parse();
    }

private:
    struct Line {
        std::string text;   // without its ending
        std::string ending; // "\n", "\r\n", "\r", or none at the end of the file
        // What the text is:
        bool startsSection = false; // readable or not
        bool ours = false;          // an entry of section Recorder, or its header
        bool entry = false;
        size_t keyBegin = 0, keyEnd = 0, valueBegin = 0;
        std::string value;
        std::string_view Key() const {
            return std::string_view(text).substr(keyBegin, keyEnd - keyBegin);
        }
    };

    void parse() {
        bool inside = false;
        for (size_t i = 0; i < m_lines.size(); ++i) {
            Line& line = m_lines[i];
            line.startsSection = line.ours = line.entry = false;
            std::string_view text = line.text;
            // The UTF-8 byte order mark, where the file has one.
            if (i == 0 && text.starts_with("\xEF\xBB\xBF"))
                text.remove_prefix(3);
            const size_t at = text.find_first_not_of(" \t");
            if (at == std::string_view::npos || text[at] == ';' || text[at] == '#')
                continue;
            const size_t offset = line.text.size() - text.size();
            if (text[at] == '[') {
                const size_t close = text.find(']', at);
                line.startsSection = true;
                inside = close != std::string_view::npos &&
                         sameName(trimmed(text.substr(at + 1, close - at - 1)), kSection);
                line.ours = inside;
                continue;
            }
            const size_t equals = text.find('=', at);
            if (equals == std::string_view::npos || equals == at || !inside)
                continue;
            const std::string_view key = trimmed(text.substr(at, equals - at));
            const std::string_view value = trimmed(text.substr(equals + 1));
            line.ours = line.entry = true;
            line.keyBegin = offset + at;
            line.keyEnd = line.keyBegin + key.size();
            line.valueBegin = value.empty() ? line.text.size()
                                            : static_cast<size_t>(value.data() - line.text.data());
            line.value = std::string(value);
        }
    }

    void insert(std::string text) {
        std::optional<size_t> after;
        for (size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i].ours)
                after = i;
        if (!after) {
            if (!m_lines.empty()) {
                endLine(m_lines.size() - 1);
                if (!trimmed(m_lines.back().text).empty())
                    m_lines.push_back(newLine("", newline()));
            }
            m_lines.push_back(newLine(std::string("[") + kSection + "]", newline()));
            after = m_lines.size() - 1;
        }
        endLine(*after);
        m_lines.insert(m_lines.begin() + static_cast<long>(*after) + 1,
                       newLine(std::move(text), m_lines[*after].ending));
    }

    static Line newLine(std::string text, std::string ending) {
        Line line;
        line.text = std::move(text);
        line.ending = std::move(ending);
        return line;
    }

    // A line that ends the file gains an ending when another goes after it.
    void endLine(size_t i) {
        if (m_lines[i].ending.empty())
            m_lines[i].ending = newline();
    }

    // The file's own line ending.
    std::string newline() const {
        for (const Line& line : m_lines)
            if (!line.ending.empty())
                return line.ending;
        return "\n";
    }

    std::vector<Line> m_lines;
};

// Only a regular file is read. A stream would take a refused open or a read
// error for an empty file. The size is checked before and while reading: a
// file may grow meanwhile.
bool loadFile(std::string& data, const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              static_cast<uint64_t>(st.st_size) <= kMaxFileSize;
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
    return ok && isText(data);
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

// Writes the keys of one writer, and changes nothing else in the file.
bool update(const std::string& path, Writer writer, const RecorderSettings& settings) {
    if (readOnly(path))
        return false;
    std::string data;
    if (fileExists(path) && !loadFile(data, path))
        return false;
    IniText ini(data);
    for (const Key& key : kKeys)
        if (key.writer == writer)
            if (const std::optional<std::string> text = keyText(settings, key))
                ini.Set(key.name, *text);
    return replaceAtomically(path, ini.Data());
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
    std::string data;
    return !fileExists(m_path) || loadFile(data, m_path);
}

std::string SettingsFile::ReadErrorText() const {
    return QCoreApplication::translate("SettingsFile",
                                       "Unable to read %1. The default settings are used and "
                                       "the file is left as it is.")
        .arg(QString::fromStdString(m_path))
        .toStdString();
}

RecorderSettings::RecorderSettings() {
    for (const Key& key : kKeys)
        readKey(*this, key, nullptr);
}

std::optional<RecorderSettings> SettingsFile::Load() const {
    if (!fileExists(m_path))
        return std::nullopt;
    RecorderSettings settings;
    std::string data;
    if (!loadFile(data, m_path))
        return settings;
    const IniText ini(data);
    for (const Key& key : kKeys)
        readKey(settings, key, ini.Value(key.name));
    return settings;
}

bool SettingsFile::SaveAtExit(const RecorderSettings& settings) const {
    return update(m_path, Writer::AtExit, settings);
}

bool SettingsFile::SaveLastDir(const std::string& lastDir) const {
    RecorderSettings settings;
    settings.lastSaveDir = lastDir;
    return update(m_path, Writer::LastDir, settings);
}

std::string SettingsFile::WriteErrorText() const {
    return QCoreApplication::translate("SettingsFile", "Unable to write to %1")
        .arg(QString::fromStdString(m_path))
        .toStdString();
}

std::pair<int, int> SettingsFile::Range(std::string_view key) {
    for (const Key& k : kKeys)
        if (key == k.name)
            return {k.minimum, k.maximum};
    return {0, 0};
}

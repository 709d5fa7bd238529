#include "LeftTakes.h"

#include <QCoreApplication>

#include "Common.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
struct FrameHeader {
    size_t length = 0;
    size_t sideInfoSize = 0;
};

// A layer III frame header at data, or nothing.
std::optional<FrameHeader> frameAt(const uint8_t* data) {
    static const int kRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    static const int kV1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                112, 128, 160, 192, 224, 256, 320, 0};
    static const int kV2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    const int version = (data[1] >> 3) & 3; // 3: MPEG 1, 2: MPEG 2, 0: MPEG 2.5
    const int layer = (data[1] >> 1) & 3;
    const int bitrateIndex = data[2] >> 4;
    const int rateIndex = (data[2] >> 2) & 3;
    if (data[0] != 0xFF || (data[1] & 0xE0) != 0xE0 || version == 1 || layer != 1 ||
        bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return std::nullopt;
    const bool mpeg1 = version == 3;
    const int rate = kRates[version][rateIndex];
    const int kbps = mpeg1 ? kV1[bitrateIndex] : kV2[bitrateIndex];
    const int padding = (data[2] >> 1) & 1;
    const bool mono = (data[3] >> 6) == 3;
    FrameHeader header;
    header.length = static_cast<size_t>((mpeg1 ? 144000 : 72000) * kbps / rate + padding);
    header.sideInfoSize = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return header;
}

struct Scan {
    size_t start = 0;           // where the first frame begins
    std::vector<size_t> frames; // offsets of the whole frames, in order
};

size_t id3v2Size(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 10 || bytes[0] != 'I' || bytes[1] != 'D' || bytes[2] != '3')
        return 0;
    // Sizes in ID3v2 headers are synch-safe: seven bits to a byte.
    return 10 + (static_cast<size_t>(bytes[6] & 0x7F) << 21 |
                 static_cast<size_t>(bytes[7] & 0x7F) << 14 |
                 static_cast<size_t>(bytes[8] & 0x7F) << 7 | static_cast<size_t>(bytes[9] & 0x7F));
}

// The run of whole frames from the first place where two frames follow each
// other (or one fills the file), so that a stray sync word is not taken.
Scan scanFrames(const std::vector<uint8_t>& bytes) {
    Scan scan;
    const size_t end = bytes.size();
    for (size_t at = id3v2Size(bytes); at + 4 <= end; ++at) {
        const auto first = frameAt(&bytes[at]);
        if (!first || at + first->length > end)
            continue;
        const size_t next = at + first->length;
        if (next != end && !(next + 4 <= end && frameAt(&bytes[next])))
            continue;
        scan.start = at;
        while (at + 4 <= end) {
            const auto frame = frameAt(&bytes[at]);
            if (!frame || at + frame->length > end)
                break;
            scan.frames.push_back(at);
            at += frame->length;
        }
        break;
    }
    return scan;
}

bool isPlaceholder(const std::vector<uint8_t>& bytes, size_t at, size_t length) {
    return std::all_of(bytes.begin() + static_cast<long>(at + 4),
                       bytes.begin() + static_cast<long>(at + length),
                       [](uint8_t b) { return b == 0; });
}

bool isHeaderFrame(const std::vector<uint8_t>& bytes, size_t at, const FrameHeader& header) {
    const size_t tag = at + 4 + header.sideInfoSize;
    if (tag + 4 > at + header.length)
        return false;
    const std::string name(bytes.begin() + static_cast<long>(tag),
                           bytes.begin() + static_cast<long>(tag + 4));
    return name == "Xing" || name == "Info" || isPlaceholder(bytes, at, header.length);
}

void putBigEndian(uint8_t* out, uint32_t value) {
    out[0] = static_cast<uint8_t>(value >> 24);
    out[1] = static_cast<uint8_t>(value >> 16);
    out[2] = static_cast<uint8_t>(value >> 8);
    out[3] = static_cast<uint8_t>(value);
}

// A take may be hours long, or something else of any size may carry its
// name: deciding what it is reads this much of its start.
constexpr size_t kProbeBytes = 64 * 1024;

class OpenFile {
public:
    OpenFile(const std::string& path, int flags)
        : m_fd(::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)) {}
    ~OpenFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    bool IsOpen() const { return m_fd >= 0; }

    uint64_t Size() const {
        struct stat st {};
        return ::fstat(m_fd, &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    }

    // Up to size bytes from offset; fewer at the end of the file. Nothing
    // on a read error, with errno telling which.
    std::optional<std::vector<uint8_t>> Read(uint64_t offset, size_t size) const {
        std::vector<uint8_t> bytes(size);
        size_t done = 0;
        while (done < size) {
            const ssize_t n =
                ::pread(m_fd, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                break;
            done += static_cast<size_t>(n);
        }
        bytes.resize(done);
        return bytes;
    }

    bool Write(uint64_t offset, const uint8_t* data, size_t size) const {
        return ::pwrite(m_fd, data, size, static_cast<off_t>(offset)) == static_cast<ssize_t>(size);
    }

    // Calls onFrame(offset) for each whole frame of the run that begins at
    // start, reading the file a block at a time.
    template <class OnFrame> void WalkFrames(uint64_t start, OnFrame onFrame) const {
        const uint64_t end = Size();
        std::vector<uint8_t> block;
        uint64_t blockStart = start;
        for (uint64_t at = start; at + 4 <= end;) {
            if (at + 4 > blockStart + block.size()) {
                const auto read = Read(at, kProbeBytes);
                if (!read || read->size() < 4)
                    return;
                block = std::move(*read);
                blockStart = at;
            }
            const auto frame = frameAt(&block[at - blockStart]);
            if (!frame || at + frame->length > end)
                return;
            onFrame(at);
            at += frame->length;
        }
    }

private:
    int m_fd;
};

// Whether the start of the file shows sound; nothing when it cannot be read.
std::optional<bool> holdsAudio(const OpenFile& file) {
    const auto bytes = file.Read(0, kProbeBytes);
    if (!bytes)
        return std::nullopt;
    const Scan scan = scanFrames(*bytes);
    if (scan.frames.empty())
        return false;
    const size_t first = scan.frames.front();
    return scan.frames.size() > 1 || !isHeaderFrame(*bytes, first, *frameAt(&(*bytes)[first]));
}

} // namespace

std::optional<unsigned long> TakeNumber(const std::string& fileName) {
    const std::string prefix = "tmpfile", suffix = ".mp3";
    if (fileName.size() <= prefix.size() + suffix.size() || fileName.rfind(prefix, 0) != 0 ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return std::nullopt;
    const std::string digits =
        fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size());
    // The recorder counts from 1 and never pads.
    if (digits.size() > 9 || digits[0] == '0' ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return std::stoul(digits);
}

bool HoldsAudio(const std::string& path) {
    const OpenFile file(path, O_RDONLY);
    return file.IsOpen() && holdsAudio(file).value_or(false);
}

bool RepairVbrHeader(const std::string& path) {
    const OpenFile file(path, O_RDWR);
    if (!file.IsOpen())
        return false;
    const auto head = file.Read(0, kProbeBytes);
    if (!head)
        return false;
    std::vector<uint8_t> bytes = *head;
    const Scan scan = scanFrames(bytes);
    if (scan.frames.size() < 2)
        return false;
    const size_t at = scan.frames.front();
    const FrameHeader header = *frameAt(&bytes[at]);
    if (!isPlaceholder(bytes, at, header.length))
        return false;
    const size_t tag = at + 4 + header.sideInfoSize;
    const size_t room = at + header.length - tag;
    if (room < 16)
        return false;

    // Counted through the whole file, a block at a time: a take may be hours long.
    uint64_t frames = 0, last = at;
    file.WalkFrames(at, [&](uint64_t offset) {
        ++frames;
        last = offset;
    });
    if (frames < 2)
        return false;
    const uint64_t audioFrames = frames - 1;
    const auto lastHeader = file.Read(last, 4);
    if (!lastHeader || lastHeader->size() < 4)
        return false;
    const uint64_t streamBytes = last + frameAt(lastHeader->data())->length - at;

    constexpr uint32_t kFrames = 1, kBytes = 2, kToc = 4;
    const bool withToc = room >= 16 + 100;
    uint8_t* out = &bytes[tag];
    std::copy_n("Xing", 4, out);
    putBigEndian(out + 4, kFrames | kBytes | (withToc ? kToc : 0));
    putBigEndian(out + 8, static_cast<uint32_t>(audioFrames));
    putBigEndian(out + 12, static_cast<uint32_t>(streamBytes));
    if (withToc) {
        // Entry i: where i % of the playing time begins, in 256ths of the stream.
        uint64_t index = 0;
        size_t entry = 0;
        file.WalkFrames(at, [&](uint64_t offset) {
            while (entry < 100 && index == 1 + entry * audioFrames / 100) {
                out[16 + entry] = static_cast<uint8_t>(
                    std::min<uint64_t>(255, (offset - at) * 256 / streamBytes));
                ++entry;
            }
            ++index;
        });
    }
    return file.Write(tag, out, room);
}

std::vector<LeftTake> KeepLeftTakes(const std::string& folder) {
    // What a crash leaves there is the user's sound: for the user alone.
    MakePrivateFolder(folder);
    std::vector<std::pair<unsigned long, LeftTake>> takes;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const auto number = TakeNumber(entry.path().filename().string());
        if (!number || !entry.is_regular_file(ec) || entry.is_symlink(ec))
            continue;
        LeftTake take{entry.path().string(), {}};
        const OpenFile file(take.path, O_RDONLY);
        const std::optional<bool> holds = file.IsOpen() ? holdsAudio(file) : std::nullopt;
        if (!holds)
            take.readError = std::strerror(errno);
        else if (!*holds) {
            fs::remove(entry.path(), ec);
            continue;
        } else
            RepairVbrHeader(take.path);
        takes.emplace_back(*number, std::move(take));
    }
    std::sort(takes.begin(), takes.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<LeftTake> result;
    result.reserve(takes.size());
    for (auto& take : takes)
        result.push_back(std::move(take.second));
    return result;
}

std::string UnreadableTakeText(const LeftTake& take) {
    return QCoreApplication::translate("LeftTakes",
                                       "A take left from an earlier run can not be read (%1):\n%2\n"
                                       "It is offered for saving as it is.")
        .arg(QString::fromStdString(take.readError), QString::fromStdString(take.path))
        .toStdString();
}

#include "LeftTakes.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putBigEndian(uint8_t* out, uint32_t value) {
    out[0] = static_cast<uint8_t>(value >> 24);
    out[1] = static_cast<uint8_t>(value >> 16);
    out[2] = static_cast<uint8_t>(value >> 8);
    out[3] = static_cast<uint8_t>(value);
}

// "tmpfile12.mp3" sorts by 12; other names after the numbered ones.
std::pair<unsigned long long, std::string> takeOrder(const fs::path& path) {
    const std::string name = path.filename().string();
    const std::string prefix = "tmpfile", suffix = ".mp3";
    unsigned long long number = ~0ULL;
    if (name.size() > prefix.size() + suffix.size() && name.rfind(prefix, 0) == 0 &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        const std::string digits =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (digits.size() <= 18 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            number = std::stoull(digits);
    }
    return {number, name};
}
} // namespace

bool HoldsAudio(const std::string& path) {
    const std::vector<uint8_t> bytes = readAll(path);
    const Scan scan = scanFrames(bytes);
    if (scan.frames.empty())
        return false;
    const size_t first = scan.frames.front();
    if (scan.frames.size() == 1 && isHeaderFrame(bytes, first, *frameAt(&bytes[first])))
        return false;
    return true;
}

bool RepairVbrHeader(const std::string& path) {
    std::vector<uint8_t> bytes = readAll(path);
    const Scan scan = scanFrames(bytes);
    if (scan.frames.size() < 2)
        return false;
    const size_t at = scan.frames.front();
    const FrameHeader header = *frameAt(&bytes[at]);
    if (!isPlaceholder(bytes, at, header.length))
        return false;

    const size_t last = scan.frames.back();
    const size_t streamBytes = last + frameAt(&bytes[last])->length - at;
    const size_t audioFrames = scan.frames.size() - 1;
    const size_t tag = at + 4 + header.sideInfoSize;
    const size_t room = at + header.length - tag;
    if (room < 16)
        return false;
    constexpr uint32_t kFrames = 1, kBytes = 2, kToc = 4;
    const bool withToc = room >= 16 + 100;
    uint8_t* out = &bytes[tag];
    std::copy_n("Xing", 4, out);
    putBigEndian(out + 4, kFrames | kBytes | (withToc ? kToc : 0));
    putBigEndian(out + 8, static_cast<uint32_t>(audioFrames));
    putBigEndian(out + 12, static_cast<uint32_t>(streamBytes));
    if (withToc) {
        // Entry i: where i % of the playing time begins, in 256ths of the stream.
        for (size_t i = 0; i < 100; ++i) {
            const size_t frame = 1 + i * audioFrames / 100;
            const size_t offset = scan.frames[frame] - at;
            out[16 + i] = static_cast<uint8_t>(std::min<size_t>(255, offset * 256 / streamBytes));
        }
    }

    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file)
        return false;
    file.seekp(static_cast<std::streamoff>(tag));
    file.write(reinterpret_cast<const char*>(out), static_cast<std::streamsize>(room));
    file.close();
    return static_cast<bool>(file);
}

std::vector<std::string> KeepLeftTakes(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    // Removing an entry needs write permission on the folder holding it.
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    std::vector<fs::path> takes;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec) || entry.is_symlink(ec))
            continue;
        const std::string path = entry.path().string();
        if (HoldsAudio(path)) {
            RepairVbrHeader(path);
            takes.push_back(entry.path());
        } else {
            fs::remove(entry.path(), ec);
        }
    }
    std::sort(takes.begin(), takes.end(),
              [](const fs::path& a, const fs::path& b) { return takeOrder(a) < takeOrder(b); });
    std::vector<std::string> paths;
    paths.reserve(takes.size());
    for (const fs::path& take : takes)
        paths.push_back(take.string());
    return paths;
}

#include "TID3v1.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// clang-format off
const std::array<const char*, 149> GenreNames = {
    "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
    "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
    "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
    "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
    "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "AlternRock", "Bass", "Soul", "Punk",
    "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
    "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
    "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
    "Native American", "Cabaret", "New Wave", "Psychadelic", "Rave", "Showtunes", "Trailer",
    "Lo-Fi", "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll",
    "Hard Rock", "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebob", "Latin",
    "Revival", "Celtic", "Bluegrass", "Avantgarde", "Gothic Rock", "Progessive Rock",
    "Psychedelic Rock", "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening",
    "Acoustic", "Humour", "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony",
    "Booty Bass", "Primus", "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba",
    "Folklore", "Ballad", "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock",
    "Drum Solo", "A capella", "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House",
    "Hardcore", "Terror", "Indie", "BritPop", "Negerpunk", "Polsk Punk", "Beat",
    "Christian Gangsta Rap", "Heavy Metal", "Black Metal", "Crossover", "Contemporary Christian",
    "Christian Rock", "Merengue", "Salsa", "Trash Metal", "Anime", "JPop", "Synthpop", "Unknown",
};
// clang-format on

uint8_t GenreCode(int listIndex) {
    if (listIndex < 0 || listIndex >= kGenreUnknown)
        return kNoGenre;
    return static_cast<uint8_t>(listIndex);
}

namespace {
constexpr int kTagSize = 128;

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    bool Close() {
        const int fd = m_fd;
        m_fd = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd;
};

// "Clear all attributes": the owner may write again.
bool makeWritable(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0)
        return false;
    return (st.st_mode & S_IWUSR) || ::chmod(fileName.c_str(), st.st_mode | S_IWUSR) == 0;
}
} // namespace

void TID3v1::Reset() {
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_year.clear();
    m_comment.clear();
    m_genre = kNoGenre;
}

std::string TID3v1::field(const QString& text, int limit) {
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1).unicode() <= 32)
        --end;
    std::string bytes;
    for (qsizetype i = 0; i < end && static_cast<int>(bytes.size()) < limit; ++i) {
        const char16_t c = text.at(i).unicode();
        bytes += c < 256 ? static_cast<char>(c) : '?';
    }
    return bytes;
}

std::array<char, 128> TID3v1::Block() const {
    std::array<char, kTagSize> block{};
    std::memcpy(block.data(), "TAG", 3);
    std::memcpy(block.data() + 3, m_title.data(), m_title.size());
    std::memcpy(block.data() + 33, m_artist.data(), m_artist.size());
    std::memcpy(block.data() + 63, m_album.data(), m_album.size());
    std::memcpy(block.data() + 93, m_year.data(), m_year.size());
    std::memcpy(block.data() + 97, m_comment.data(), m_comment.size());
    block[127] = static_cast<char>(m_genre);
    return block;
}

bool TID3v1::StripTag(const std::string& fileName) {
    off_t size = 0;
    char marker[3] = {};
    {
        // Without O_NONBLOCK, opening a FIFO waits for a writer forever.
        Fd in(::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        struct stat st {};
        if (in.get() < 0 || ::fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
            st.st_size < kTagSize)
            return false;
        size = st.st_size;
        if (::pread(in.get(), marker, sizeof marker, size - kTagSize) != sizeof marker)
            return false;
    }
    if (std::memcmp(marker, "TAG", 3) != 0)
        return true;
    if (!makeWritable(fileName))
        return false;
    Fd out(::open(fileName.c_str(), O_RDWR | O_CLOEXEC));
    return out.get() >= 0 && ::ftruncate(out.get(), size - kTagSize) == 0 && out.Close();
}

bool TID3v1::WriteTag(const std::string& fileName) const {
    const std::array<char, kTagSize> block = Block();
    if (!StripTag(fileName) || !makeWritable(fileName))
        return false;
    Fd out(::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
    if (out.get() < 0)
        return false;
    ssize_t n;
    do {
        n = ::write(out.get(), block.data(), block.size());
    } while (n < 0 && errno == EINTR);
    if (n != kTagSize) {
        // A short write to a regular file means the disk is full.
        const int error = n < 0 ? errno : ENOSPC;
        // A partial block would read as a broken tag; take it back.
        struct stat st {};
        if (n > 0 && ::fstat(out.get(), &st) == 0) [[maybe_unused]]
            const int ignored = ::ftruncate(out.get(), st.st_size - n);
        errno = error;
        return false;
    }
    return out.Close();
}

#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string>

// The 149 entries of the save dialog's genre list: the 148 genres of the
// standard list, each at the position that is its code, then "Unknown",
// which is no genre.
extern const std::array<const char*, 149> GenreNames;
constexpr int kGenreUnknown = 148; // "Unknown"'s position in the list
// The code of a tag without a genre, as ID3v1 readers expect it. 148 is no
// longer written for "Unknown": readers take it for "Abstract".
constexpr uint8_t kNoGenre = 255;

// The code a tag holds for an entry of the list: the position of a genre,
// kNoGenre for "Unknown" and for no entry (-1, or past the list).
uint8_t GenreCode(int listIndex);

// An ID3v1 tag: 128 bytes at the end of an MP3 file. Only ever written.
class TID3v1 {
public:
    TID3v1() { Reset(); }
    void Reset();

    // Trailing characters of code 32 or less go first, then the text is cut
    // to its slot. Characters outside Latin-1 become "?".
    void SetTitle(const QString& text) { m_title = field(text, 30); }
    void SetArtist(const QString& text) { m_artist = field(text, 30); }
    void SetAlbum(const QString& text) { m_album = field(text, 30); }
    void SetYear(const QString& text) { m_year = field(text, 4); }
    void SetComment(const QString& text) { m_comment = field(text, 30); }
    // The code as it goes to the file, whatever it is: a tag written with
    // 148 by an earlier version keeps it when written again.
    void SetGenre(uint8_t genre) { m_genre = genre; }

    const std::string& Title() const { return m_title; }
    const std::string& Artist() const { return m_artist; }
    const std::string& Album() const { return m_album; }
    const std::string& Year() const { return m_year; }
    const std::string& Comment() const { return m_comment; }
    uint8_t Genre() const { return m_genre; }

    // The 128 bytes as they go to the file.
    std::array<char, 128> Block() const;

    // True when the file ends without a tag or the tag was cut off. Never
    // throws; false on any failure, the file closed on every path.
    static bool StripTag(const std::string& fileName);
    // Replaces any tag at the end of the file with this one. On failure
    // errno says why.
    bool WriteTag(const std::string& fileName) const;

private:
    static std::string field(const QString& text, int limit);

    std::string m_title, m_artist, m_album, m_year, m_comment;
    uint8_t m_genre = kNoGenre;
};

#include "TID3v1.h"
#include "AudioCheck.h"
#include "LameTool.h"
#include "MoveFile.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>

namespace {
std::string bytes(size_t n, char c = 'x') {
    return std::string(n, c);
}

TID3v1 sampleTag() {
    TID3v1 tag;
    tag.SetTitle("Evening Take");
    tag.SetArtist("The Tapes");
    tag.SetAlbum("Live at Home");
    tag.SetYear("2026");
    tag.SetComment("recorded with one click");
    tag.SetGenre(17);
    return tag;
}

std::string ffprobeTag(const std::string& file, const std::string& key) {
    std::string out = RunCommand("ffprobe -v error -show_entries format_tags=" + key +
                                 " -of default=noprint_wrappers=1:nokey=1 '" + file + "'");
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}
} // namespace

TEST(TID3v1, IndependentReaderSeesTheFieldsWritten) {
    TempFolder temp;
    const std::string file = temp / "take.mp3";
    // ffprobe reads an ID3v1 tag behind real audio.
    ASSERT_TRUE(LameToneMp3(file));
    ASSERT_TRUE(sampleTag().WriteTag(file));
    EXPECT_EQ(ffprobeTag(file, "title"), "Evening Take");
    EXPECT_EQ(ffprobeTag(file, "artist"), "The Tapes");
    EXPECT_EQ(ffprobeTag(file, "album"), "Live at Home");
    EXPECT_EQ(ffprobeTag(file, "date"), "2026");
    EXPECT_EQ(ffprobeTag(file, "comment"), "recorded with one click");
    EXPECT_EQ(ffprobeTag(file, "genre"), "Rock");
}

TEST(TID3v1, UnknownIsNoGenreAndEveryOtherEntryIsItsPosition) {
    EXPECT_EQ(GenreCode(0), 0);
    EXPECT_EQ(GenreCode(17), 17);
    EXPECT_EQ(GenreCode(147), 147);
    EXPECT_EQ(GenreCode(kGenreUnknown), 255);
    EXPECT_EQ(GenreCode(-1), 255) << "no entry chosen";
    EXPECT_EQ(GenreCode(149), 255);
    TempFolder temp;
    const std::string file = temp / "take.mp3";
    ASSERT_TRUE(LameToneMp3(file));
    for (const int entry : {0, 17, 147, kGenreUnknown}) {
        TID3v1 tag = sampleTag();
        tag.SetGenre(GenreCode(entry));
        ASSERT_TRUE(tag.WriteTag(file));
        EXPECT_EQ(ffprobeTag(file, "genre"), entry == kGenreUnknown ? "" : GenreNames[entry])
            << GenreNames[entry];
        EXPECT_EQ(ffprobeTag(file, "title"), "Evening Take");
    }
}

// Earlier versions wrote 148 for "Unknown", which readers show as
// "Abstract". Such a tag, read back and written again as it was read,
// keeps its 148: only the dialog's "Unknown" means 255.
TEST(TID3v1, ATagWithTheCodeOfAnEarlierVersionKeepsItWhenWrittenAgain) {
    TempFolder temp;
    const std::string file = temp / "earlier.mp3";
    ASSERT_TRUE(LameToneMp3(file));
    TID3v1 earlier = sampleTag();
    earlier.SetGenre(148);
    ASSERT_TRUE(earlier.WriteTag(file));
    const std::string before = ReadFile(file);
    EXPECT_EQ(ffprobeTag(file, "genre"), "Abstract");

    const std::string block = before.substr(before.size() - 128);
    ASSERT_EQ(block.substr(0, 3), "TAG");
    const auto text = [&](size_t at, size_t size) {
        const std::string field = block.substr(at, size);
        return QString::fromLatin1(field.c_str());
    };
    TID3v1 read;
    read.SetTitle(text(3, 30));
    read.SetArtist(text(33, 30));
    read.SetAlbum(text(63, 30));
    read.SetYear(text(93, 4));
    read.SetComment(text(97, 30));
    read.SetGenre(static_cast<uint8_t>(block[127]));
    ASSERT_TRUE(read.WriteTag(file));
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(ffprobeTag(file, "genre"), "Abstract");
}

TEST(TID3v1, BlockLayout) {
    const auto block = sampleTag().Block();
    const std::string b(block.begin(), block.end());
    EXPECT_EQ(b.substr(0, 3), "TAG");
    EXPECT_EQ(b.substr(3, 12), "Evening Take");
    EXPECT_EQ(b.substr(15, 18), std::string(18, '\0')) << "zero-filled behind the text";
    EXPECT_EQ(b.substr(33, 9), "The Tapes");
    EXPECT_EQ(b.substr(63, 12), "Live at Home");
    EXPECT_EQ(b.substr(93, 4), "2026");
    EXPECT_EQ(b.substr(97, 23), "recorded with one click");
    EXPECT_EQ(static_cast<uint8_t>(b[127]), 17);
    EXPECT_EQ(static_cast<uint8_t>(TID3v1().Block()[127]), 255) << "genre never set";
}

TEST(TID3v1, FieldsAreTrimmedThenCut) {
    TID3v1 tag;
    tag.SetTitle("Take   ");
    EXPECT_EQ(tag.Title(), "Take");
    tag.SetTitle("  lead\t\r\n");
    EXPECT_EQ(tag.Title(), "  lead");
    tag.SetTitle(QString(40, 'a'));
    EXPECT_EQ(tag.Title(), std::string(30, 'a'));
    tag.SetTitle(QString(29, 'a') + "  b");
    EXPECT_EQ(tag.Title(), std::string(29, 'a') + " ") << "trimming comes before cutting";
    // Every field at once, each longer than its place: none spills into the next.
    TID3v1 full;
    full.SetTitle(QString(40, 't'));
    full.SetArtist(QString(40, 'a'));
    full.SetAlbum(QString(40, 'l'));
    full.SetYear("20261");
    full.SetComment(QString(40, 'c'));
    full.SetGenre(3);
    EXPECT_EQ(full.Artist(), std::string(30, 'a'));
    EXPECT_EQ(full.Album(), std::string(30, 'l'));
    EXPECT_EQ(full.Comment(), std::string(30, 'c'));
    const auto block = full.Block();
    EXPECT_EQ(std::string(block.begin(), block.end()),
              "TAG" + std::string(30, 't') + std::string(30, 'a') + std::string(30, 'l') + "2026" +
                  std::string(30, 'c') + "\x03");
    tag.SetYear("20261");
    EXPECT_EQ(tag.Year(), "2026");
    tag.SetComment(QString::fromUtf8("Café – 東京"));
    EXPECT_EQ(tag.Comment(), "Caf\xe9 ? ??") << "Latin-1 kept, the rest becomes ?";
    tag.SetComment("");
    EXPECT_EQ(tag.Comment(), "");
    tag.Reset();
    EXPECT_EQ(tag.Genre(), 255);
    EXPECT_EQ(std::string(GenreNames[148]), "Unknown");
    EXPECT_EQ(std::string(GenreNames[40]), "AlternRock");
    EXPECT_EQ(std::string(GenreNames[92]), "Progessive Rock");
    EXPECT_EQ(std::string(GenreNames[144]), "Trash Metal");
}

TEST(TID3v1, FilesGainOneTagWhateverTheyHeld) {
    TempFolder temp;
    const TID3v1 tag = sampleTag();
    const std::string plain = temp / "plain.mp3";
    WriteFile(plain, bytes(1000));
    ASSERT_TRUE(tag.WriteTag(plain));
    const std::string once = ReadFile(plain);
    EXPECT_EQ(once.size(), 1128u);
    EXPECT_EQ(once.substr(0, 1000), bytes(1000));
    ASSERT_TRUE(tag.WriteTag(plain));
    EXPECT_EQ(ReadFile(plain), once) << "a tagged file keeps its size: one tag, the newer";

    const std::string lower = temp / "lower.mp3";
    WriteFile(lower, bytes(200) + "tag" + bytes(125));
    ASSERT_TRUE(tag.WriteTag(lower));
    EXPECT_EQ(ReadFile(lower).size(), 456u) << "a lower-case marker is no tag";

    const std::string onlyTag = temp / "only.mp3";
    WriteFile(onlyTag, "TAG" + bytes(125, 'o'));
    ASSERT_TRUE(tag.WriteTag(onlyTag));
    const auto block = tag.Block();
    EXPECT_EQ(ReadFile(onlyTag), std::string(block.begin(), block.end()));
}

TEST(TID3v1, ShortEmptyAndMissingFilesAreLeftAlone) {
    TempFolder temp;
    const TID3v1 tag = sampleTag();
    WriteFile(temp / "short.mp3", bytes(127));
    EXPECT_FALSE(tag.WriteTag(temp / "short.mp3"));
    EXPECT_EQ(ReadFile(temp / "short.mp3"), bytes(127));
    WriteFile(temp / "empty.mp3", "");
    EXPECT_FALSE(tag.WriteTag(temp / "empty.mp3"));
    EXPECT_EQ(ReadFile(temp / "empty.mp3"), "");
    EXPECT_FALSE(tag.WriteTag(temp / "missing.mp3"));
    EXPECT_FALSE(std::filesystem::exists(temp / "missing.mp3"));
    EXPECT_FALSE(TID3v1::StripTag(temp / "missing.mp3"));
    EXPECT_TRUE(TID3v1::StripTag(temp / "short.mp3") == false);
    // Only a file shorter than a tag is too short: one of 128 bytes that
    // failed, failed for the reason the system gave.
    EXPECT_EQ(TagFailureText(temp / "short.mp3", ENOSPC),
              "Unable to write the tag: the recording is too short.");
    WriteFile(temp / "tag-long.mp3", bytes(128));
    EXPECT_EQ(TagFailureText(temp / "tag-long.mp3", ENOSPC),
              "Unable to write the tag. Please check disk space.");
    // A FIFO has no writer: opening it for reading must not wait for one.
    ASSERT_EQ(::mkfifo((temp / "pipe.mp3").c_str(), 0644), 0);
    EXPECT_FALSE(tag.WriteTag(temp / "pipe.mp3"));
    EXPECT_FALSE(TID3v1::StripTag(temp / "pipe.mp3"));
}

TEST(TID3v1, ReadOnlyFileIsTaggedAndWritableAfterwards) {
    TempFolder temp;
    const std::string file = temp / "locked.mp3";
    WriteFile(file, bytes(500));
    ::chmod(file.c_str(), 0444);
    ASSERT_TRUE(sampleTag().WriteTag(file));
    EXPECT_EQ(ReadFile(file).size(), 628u);
    struct stat st {};
    ::stat(file.c_str(), &st);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
}

TEST(SavePaths, TargetAndFolder) {
    EXPECT_EQ(SaveTargetPath("/music/take"), "/music/take.mp3");
    EXPECT_EQ(SaveTargetPath("/music/take.wav"), "/music/take.wav");
    EXPECT_EQ(SaveTargetPath("/music/take.mp3"), "/music/take.mp3");
    EXPECT_EQ(SaveTargetPath("/mu.sic/take"), "/mu.sic/take.mp3");
    EXPECT_EQ(SaveTargetPath("/music/type in a file name"), "/music/type in a file name.mp3");
    EXPECT_EQ(FolderOf("/music/take.mp3"), "/music/");
    EXPECT_EQ(FolderOf("take.mp3"), "");
}

TEST(MoveFile, MovesReplacesOnlyWhenAskedAndCrossesFileSystems) {
    TempFolder temp;
    WriteFile(temp / "a", "take");
    WriteFile(temp / "b", "older");
    EXPECT_FALSE(MoveFile(temp / "a", temp / "b", false));
    EXPECT_EQ(ReadFile(temp / "a"), "take");
    EXPECT_EQ(ReadFile(temp / "b"), "older");
    EXPECT_TRUE(MoveFile(temp / "a", temp / "b", true));
    EXPECT_EQ(ReadFile(temp / "b"), "take");
    EXPECT_FALSE(std::filesystem::exists(temp / "a"));
    EXPECT_TRUE(MoveFile(temp / "b", temp / "c", false));
    EXPECT_FALSE(MoveFile(temp / "missing", temp / "d", false));
    std::filesystem::create_directory(temp / "folder");
    EXPECT_FALSE(MoveFile(temp / "c", temp / "folder", true)) << "never over a folder";
    EXPECT_EQ(ReadFile(temp / "c"), "take");

    // /dev/shm is a file system of its own on most machines.
    if (std::filesystem::is_directory("/dev/shm")) {
        const std::string across = "/dev/shm/tapewren-move-test.mp3";
        std::filesystem::remove(across);
        WriteFile(across, "far");
        EXPECT_TRUE(MoveFile(temp / "c", across, true));
        EXPECT_EQ(ReadFile(across), "take");
        EXPECT_FALSE(std::filesystem::exists(temp / "c"));
        EXPECT_TRUE(MoveFile(across, temp / "back.mp3", false));
        EXPECT_EQ(ReadFile(temp / "back.mp3"), "take");
        EXPECT_FALSE(std::filesystem::exists(across));
    }
}

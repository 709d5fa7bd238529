#include "LeftTakes.h"
#include "AsNobody.h"
#include "AudioCheck.h"
#include "Common.h"
#include "EarlierFiles.h"
#include "InstanceLock.h"
#include "LameTool.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// A VBR take as a kill leaves it: the encoder's stream, never finished, so
// its first frame is still the placeholder of zeros.
std::vector<uint8_t> unfinishedVbrTake(double seconds) {
    TempFolder temp;
    std::vector<uint8_t> take = LameUnfinishedVbrTake(temp.Path(), seconds);
    EXPECT_FALSE(take.empty()) << "lame made no take";
    return take;
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

double decodedSeconds(const std::string& path) {
    const Decoded d = DecodeMp3(path);
    return d.rate ? static_cast<double>(d.Frames()) / d.rate : 0;
}
} // namespace

TEST(LeftTakes, AnUnfinishedVbrTakeIsRepairedToReadItsTrueLength) {
    TempFolder temp;
    const std::string path = temp / "tmpfile1.mp3";
    for (double seconds : {12.0, 0.5}) {
        const std::vector<uint8_t> bytes = unfinishedVbrTake(seconds);
        ASSERT_EQ(VbrHeaderFrames(bytes), -1) << "a placeholder to begin with";
        writeBytes(path, bytes);
        const double before = FfprobeDuration(path);

        ASSERT_TRUE(RepairVbrHeader(path));
        const std::vector<uint8_t> repaired = ReadBytes(path);
        EXPECT_EQ(repaired.size(), bytes.size());
        const FrameWalk walk = WalkFrames(repaired);
        EXPECT_FALSE(walk.broken);
        // The whole frames after the header; the last one may have been cut.
        EXPECT_NEAR(VbrHeaderFrames(repaired), walk.frames - 1, 1);
        const double decoded = decodedSeconds(path);
        const double frame = 1152.0 / 44100;
        EXPECT_NEAR(FfprobeDuration(path), decoded, 2 * frame)
            << seconds << " s take; before the repair ffprobe read " << before;
        // What it lacks is what the encoder still held when the take ended.
        EXPECT_NEAR(decoded, seconds, 5 * frame);
        EXPECT_FALSE(RepairVbrHeader(path)) << "a repaired header is left alone";
    }
}

TEST(LeftTakes, FinishedTakesAreLeftAlone) {
    TempFolder temp;
    const std::string path = temp / "tmpfile1.mp3";
    ASSERT_TRUE(LameToneMp3(path, 2.0));
    const std::vector<uint8_t> before = ReadBytes(path);
    EXPECT_TRUE(HoldsAudio(path));
    EXPECT_FALSE(RepairVbrHeader(path));
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(LeftTakes, OnlyFilesWithSoundAreKept) {
    TempFolder temp;
    const std::vector<uint8_t> take = unfinishedVbrTake(2.0);
    const auto placeholderOnly = [&] {
        // The first frame alone: the placeholder's zeros hold no sync word.
        for (size_t at = 1; at + 1 < take.size(); ++at)
            if (take[at] == 0xFF && (take[at + 1] & 0xE0) == 0xE0)
                return std::vector<uint8_t>(take.begin(), take.begin() + static_cast<long>(at));
        return std::vector<uint8_t>();
    }();
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        bool holds;
    };
    std::vector<uint8_t> cutShort(take.begin(), take.begin() + static_cast<long>(take.size() / 2));
    std::vector<uint8_t> tagged = take;
    const std::string tag(128, 'T');
    tagged.insert(tagged.end(), tag.begin(), tag.end());
    const Case cases[] = {
        {"empty", {}, false},
        {"text", {'h', 'e', 'l', 'l', 'o'}, false},
        {"zeros", std::vector<uint8_t>(5000, 0), false},
        {"the header frame alone", placeholderOnly, false},
        {"a take", take, true},
        {"a take cut off mid-frame", cutShort, true},
        {"a take with a tag at its end", tagged, true},
    };
    for (const Case& c : cases) {
        writeBytes(temp / "f.mp3", c.bytes);
        EXPECT_EQ(HoldsAudio(temp / "f.mp3"), c.holds) << c.what;
    }
}

TEST(LeftTakes, OnlyFilesNamedAsTakesAreLookedAtAndKeptInTheOrderOfTheirNumbers) {
    TempFolder temp;
    const std::string folder = temp / "tmp";
    fs::create_directories(folder + "/sub");
    const std::vector<uint8_t> take = unfinishedVbrTake(1.0);
    for (const char* name : {"tmpfile10.mp3", "tmpfile9.mp3", "tmpfile1.mp3", "song.mp3",
                             "tmpfile01.mp3", "tmpfile2.mp3.part"})
        writeBytes(folder + "/" + name, take);
    WriteFile(folder + "/tmpfile2.mp3", "");
    WriteFile(folder + "/notes.txt", "mine");
    WriteFile(folder + "/sub/x", "");
    // A link under a take's name is no take of ours, nor is what it points to.
    writeBytes(temp / "elsewhere.mp3", take);
    fs::create_symlink(temp / "elsewhere.mp3", folder + "/tmpfile5.mp3");

    const std::vector<LeftTake> kept = KeepLeftTakes(folder);
    std::vector<std::string> paths;
    for (const LeftTake& left : kept) {
        paths.push_back(left.path);
        EXPECT_EQ(left.readError, "") << left.path;
    }
    EXPECT_EQ(paths, (std::vector<std::string>{folder + "/tmpfile1.mp3", folder + "/tmpfile9.mp3",
                                               folder + "/tmpfile10.mp3"}));
    EXPECT_FALSE(fs::exists(folder + "/tmpfile2.mp3")) << "ours, and no sound in it";
    for (const char* name : {"song.mp3", "tmpfile01.mp3", "tmpfile2.mp3.part"})
        EXPECT_EQ(ReadBytes(folder + "/" + name), take) << name << " is not ours: untouched";
    EXPECT_EQ(ReadFile(folder + "/notes.txt"), "mine");
    EXPECT_TRUE(fs::exists(folder + "/sub/x"));
    EXPECT_TRUE(fs::is_symlink(folder + "/tmpfile5.mp3"));
    EXPECT_EQ(ReadBytes(temp / "elsewhere.mp3"), take) << "not repaired through the link";
    for (const std::string& path : paths)
        EXPECT_NEAR(VbrHeaderFrames(ReadBytes(path)), WalkFrames(ReadBytes(path)).frames - 1, 1);

    EXPECT_TRUE(KeepLeftTakes(temp / "new/tmp").empty());
    EXPECT_TRUE(fs::is_directory(temp / "new/tmp"));
    EXPECT_EQ(fs::status(temp / "new/tmp").permissions(), fs::perms::owner_all)
        << "what is left there is for the user alone";
}

TEST(LeftTakes, ATakeThatCannotBeReadIsOfferedWithTheReason) {
    TempFolder temp;
    const std::string folder = temp / "tmp";
    fs::create_directories(folder);
    writeBytes(folder + "/tmpfile3.mp3", unfinishedVbrTake(1.0));
    ::chmod((folder + "/tmpfile3.mp3").c_str(), 0);
    EXPECT_TRUE(AsNobody(temp.Path(), [&] {
        const std::vector<LeftTake> kept = KeepLeftTakes(folder);
        ASSERT_EQ(kept.size(), 1u) << "an unreadable take deleted";
        EXPECT_EQ(kept[0].readError, "Permission denied");
        EXPECT_EQ(UnreadableTakeText(kept[0]),
                  "A take left from an earlier run can not be read (Permission denied):\n" +
                      folder + "/tmpfile3.mp3\nIt is offered for saving as it is.");
    }));
}

// Whatever carries a take's name is judged by its start: a 4 GB file is
// looked at quickly and in little memory.
TEST(LeftTakes, AHugeFileIsJudgedByItsStart) {
    TempFolder temp;
    const std::string path = temp / "tmpfile1.mp3";
    WriteFile(path, "");
    fs::resize_file(path, 4ull << 30); // sparse: nothing on the disk
    EXPECT_TRUE(AsNobody(temp.Path(), [&] {
#ifndef __SANITIZE_ADDRESS__ // whose shadow memory alone is larger
        const rlimit memory{256u << 20, 256u << 20};
        ASSERT_EQ(::setrlimit(RLIMIT_AS, &memory), 0);
#endif
        const auto start = std::chrono::steady_clock::now();
        EXPECT_TRUE(KeepLeftTakes(temp.Path()).empty()) << "no sound in it";
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    }));
}

TEST(LeftTakes, TakeNamesAreTheRecordersOwn) {
    EXPECT_EQ(TakeNumber("tmpfile1.mp3"), 1u);
    EXPECT_EQ(TakeNumber("tmpfile999999.mp3"), 999999u);
    for (const char* name :
         {"tmpfile.mp3", "tmpfile0.mp3", "tmpfile07.mp3", "tmpfile-1.mp3", "tmpfile1.MP3",
          "Tmpfile1.mp3", "tmpfile1.mp3~", "tmpfile1x.mp3", "tmpfile1234567890.mp3", "song.mp3"})
        EXPECT_EQ(TakeNumber(name), std::nullopt) << name;
}

TEST(ProgramFiles, WhatAnEarlierReleaseKeptIsMovedOverOnce) {
    FreshHome user;
    TempFolder program;
    const std::string earlier = user.home / "data/Tapewren/";
    fs::create_directories(earlier + "tmp");
    WriteFile(earlier + "quillby.ini", "[Recorder]\nVolume=80\n");
    WriteFile(earlier + "tmp/tmpfile1.mp3", "take one");
    WriteFile(earlier + "tmp/tmpfile2.mp3", "take two");
    WriteFile(InstanceLock::LockFilePath(earlier, kInstanceName), "");
    const ProgramFiles files = LocateProgramFiles(program.Path());
    MakePrivateFolder(files.takesFolder);
    WriteFile(files.takesFolder + "tmpfile1.mp3", "a take of the new release");

    {
        // An earlier release still runs there: nothing moves under it.
        InstanceLock running(earlier, kInstanceName);
        ASSERT_TRUE(running.TryAcquire());
        MoveEarlierFiles(files);
        EXPECT_TRUE(fs::exists(earlier + "quillby.ini"));
        EXPECT_FALSE(fs::exists(files.settingsFile));
    }
    MoveEarlierFiles(files);
    EXPECT_EQ(ReadFile(files.settingsFile), "[Recorder]\nVolume=80\n");
    std::vector<std::string> takes, names;
    for (const auto& entry : fs::directory_iterator(files.takesFolder)) {
        takes.push_back(ReadFile(entry.path()));
        names.push_back(entry.path().filename());
    }
    std::sort(takes.begin(), takes.end());
    EXPECT_EQ(takes,
              (std::vector<std::string>{"a take of the new release", "take one", "take two"}));
    // Under names the next start offers.
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"tmpfile1.mp3", "tmpfile2.mp3", "tmpfile3.mp3"}));
    EXPECT_FALSE(fs::exists(earlier)) << "gone once empty";

    // Files not ours stay where they are, and a settings file is never replaced.
    fs::create_directories(earlier + "tmp");
    WriteFile(earlier + "quillby.ini", "[Recorder]\nVolume=5\n");
    WriteFile(earlier + "tmp/notes.txt", "mine");
    fs::create_symlink(earlier + "tmp/notes.txt", earlier + "tmp/tmpfile7.mp3");
    // A link whose file has gone still holds its name.
    WriteFile(earlier + "tmp/tmpfile3.mp3", "take three");
    fs::create_symlink("gone.mp3", files.takesFolder + "tmpfile4.mp3");
    MoveEarlierFiles(files);
    EXPECT_EQ(ReadFile(files.takesFolder + "tmpfile5.mp3"), "take three");
    EXPECT_TRUE(fs::is_symlink(files.takesFolder + "tmpfile4.mp3"));
    EXPECT_EQ(ReadFile(files.settingsFile), "[Recorder]\nVolume=80\n");
    EXPECT_EQ(ReadFile(earlier + "quillby.ini"), "[Recorder]\nVolume=5\n");
    EXPECT_EQ(ReadFile(earlier + "tmp/notes.txt"), "mine");
    EXPECT_TRUE(fs::is_symlink(earlier + "tmp/tmpfile7.mp3")) << "a link named as a take is none";

    // A portable copy never had its files there.
    WriteFile(program / "quillby.ini", "");
    fs::remove(earlier + "quillby.ini");
    WriteFile(earlier + "tmp/tmpfile1.mp3", "take");
    MoveEarlierFiles(LocateProgramFiles(program.Path()));
    EXPECT_TRUE(fs::exists(earlier + "tmp/tmpfile1.mp3"));
}

TEST(ProgramFiles, AnEarlierFolderThatIsALinkIsNotFollowed) {
    FreshHome user;
    TempFolder program;
    const auto check = [&] {
        const std::string elsewhere = user.home / "elsewhere/";
        fs::create_directories(elsewhere + "tmp");
        fs::create_directories(user.home / "data");
        WriteFile(elsewhere + "quillby.ini", "[Recorder]\nVolume=80\n");
        WriteFile(elsewhere + "tmp/tmpfile1.mp3", "take one");
        fs::create_symlink(elsewhere, user.home / "data/Tapewren");
        const ProgramFiles files = LocateProgramFiles(program.Path());
        MoveEarlierFiles(files);
        EXPECT_FALSE(fs::exists(files.settingsFile));
        EXPECT_EQ(ReadFile(elsewhere + "quillby.ini"), "[Recorder]\nVolume=80\n");
        EXPECT_EQ(ReadFile(elsewhere + "tmp/tmpfile1.mp3"), "take one");
        EXPECT_TRUE(fs::is_symlink(user.home / "data/Tapewren"));
    };
    check();
    fs::remove_all(user.home.Path());
    fs::create_directories(user.home.Path());
    EXPECT_TRUE(AsNobody(user.home.Path(), check));
}

#include "SettingsFile.h"
#include "AsNobody.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {
// Every value other than its default.
RecorderSettings notDefaults() {
    RecorderSettings s;
    s.channel = 2;
    s.channelName = "USB Mic";
    s.quality = 61;
    s.volume = 37;
    s.stereo = false;
    s.vbr = true;
    s.hideWizardWelcome = true;
    s.popupShowCount = 4;
    s.lastSaveDir = "/not/written/at/exit/";
    return s;
}
} // namespace

TEST(SettingsParse, DecimalAndHexadecimal) {
    EXPECT_EQ(SettingsFile::ParseInteger("12"), 12);
    EXPECT_EQ(SettingsFile::ParseInteger("-3"), -3);
    EXPECT_EQ(SettingsFile::ParseInteger("+7"), 7);
    EXPECT_EQ(SettingsFile::ParseInteger("0x1"), 1);
    EXPECT_EQ(SettingsFile::ParseInteger("0X1F"), 31);
    EXPECT_EQ(SettingsFile::ParseInteger("0xFFFFFFFF"), -1);
    EXPECT_EQ(SettingsFile::ParseInteger("0x"), std::nullopt) << "too short for hexadecimal";
    EXPECT_EQ(SettingsFile::ParseInteger("yes"), std::nullopt);
    EXPECT_EQ(SettingsFile::ParseInteger(""), std::nullopt);
    EXPECT_EQ(SettingsFile::ParseInteger("12abc"), std::nullopt);
    EXPECT_EQ(SettingsFile::ParseInteger("99999999999"), std::nullopt);
    EXPECT_EQ(SettingsFile::ParseInteger("+-1"), std::nullopt);
    for (const char* text : {"0x1Fzz", "0x-1", "0x+1", "0x 1", "0x1 ", "0x100000000", "0xx1"})
        EXPECT_EQ(SettingsFile::ParseInteger(text), std::nullopt) << text;
}

TEST(SettingsLoad, MissingFileIsNoSettings) {
    TempFolder temp;
    EXPECT_FALSE(SettingsFile(temp / "quillby.ini").Load().has_value());
}

TEST(SettingsLoad, BadValuesFallBackToEachKeysDefault) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "[Recorder]\nChannel=x\nQuality=99\nVolume=0\nStereo=yes\n"
                                    "VBR=0x1\nHideWiz1=2\nPOPCount=abc\nLastDir=/home/me/\n");
    const auto s = SettingsFile(temp / "quillby.ini").Load();
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->channel, -1);
    EXPECT_EQ(s->quality, 76) << "brought into its range, as the slider would";
    EXPECT_EQ(s->volume, 1);
    EXPECT_TRUE(s->stereo) << "not a number: default true";
    EXPECT_TRUE(s->vbr);
    EXPECT_TRUE(s->hideWizardWelcome);
    EXPECT_EQ(s->popupShowCount, 0);
    EXPECT_EQ(s->lastSaveDir, "/home/me/");

    WriteFile(temp / "quillby.ini", "[Recorder]\nQuality=0x1Fzz\nVolume=0x-1\nPOPCount=0x7q\n");
    const auto hex = SettingsFile(temp / "quillby.ini").Load();
    ASSERT_TRUE(hex.has_value());
    EXPECT_EQ(hex->quality, 12);
    EXPECT_EQ(hex->volume, std::nullopt) << "no volume: the input keeps its own";
    EXPECT_EQ(hex->popupShowCount, 0);
}

TEST(SettingsLoad, KeysMatchWithoutRegardToCaseAndMissingKeysTakeDefaults) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "[recorder]\npopcount=5\nSTEREO=0\n");
    const auto s = SettingsFile(temp / "quillby.ini").Load();
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->popupShowCount, 5);
    EXPECT_FALSE(s->stereo);
    EXPECT_EQ(s->quality, 12);
    EXPECT_EQ(s->volume, std::nullopt);
    EXPECT_FALSE(s->vbr);
    EXPECT_EQ(s->lastSaveDir, "");
}

TEST(SettingsLoad, EachKeyHasItsDefault) {
    const RecorderSettings fresh;
    EXPECT_EQ(fresh.channel, -1);
    EXPECT_EQ(fresh.channelName, "");
    EXPECT_EQ(fresh.quality, 12);
    EXPECT_EQ(fresh.volume, std::nullopt);
    EXPECT_TRUE(fresh.stereo);
    EXPECT_FALSE(fresh.vbr);
    EXPECT_FALSE(fresh.hideWizardWelcome);
    EXPECT_EQ(fresh.popupShowCount, 0);
    EXPECT_EQ(fresh.lastSaveDir, "");

    TempFolder temp;
    WriteFile(temp / "quillby.ini", "[Recorder]\n");
    const auto s = SettingsFile(temp / "quillby.ini").Load();
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->channel, fresh.channel);
    EXPECT_EQ(s->quality, fresh.quality);
    EXPECT_EQ(s->volume, fresh.volume);
    EXPECT_EQ(s->stereo, fresh.stereo);
    EXPECT_EQ(s->vbr, fresh.vbr);
    EXPECT_EQ(s->hideWizardWelcome, fresh.hideWizardWelcome);
    EXPECT_EQ(s->popupShowCount, fresh.popupShowCount);

    ASSERT_TRUE(SettingsFile(temp / "fresh.ini").SaveAtExit(fresh));
    EXPECT_EQ(ReadFile(temp / "fresh.ini"), "[Recorder]\nChannel=-1\nChannelName=\nQuality=12\n"
                                            "Stereo=1\nVBR=0\nHideWiz1=0\nPopCount=0\n")
        << "no volume: none written";
}

TEST(SettingsLoad, NumbersOutsideTheirKeysRangeComeToItsNearestEnd) {
    TempFolder temp;
    const auto load = [&](const std::string& text) {
        WriteFile(temp / "quillby.ini", "[Recorder]\n" + text + "\n");
        return *SettingsFile(temp / "quillby.ini").Load();
    };
    EXPECT_EQ(load("Channel=-5").channel, -1);
    EXPECT_EQ(load("Channel=2147483647").channel, 2147483647);
    EXPECT_EQ(load("Quality=-3").quality, 0);
    EXPECT_EQ(load("Quality=0").quality, 0);
    EXPECT_EQ(load("Quality=76").quality, 76);
    EXPECT_EQ(load("Quality=77").quality, 76);
    EXPECT_EQ(load("Volume=-1").volume, 1);
    EXPECT_EQ(load("Volume=1").volume, 1);
    EXPECT_EQ(load("Volume=100").volume, 100);
    EXPECT_EQ(load("Volume=250").volume, 100);
    EXPECT_EQ(load("POPCount=-2").popupShowCount, 0);
    EXPECT_EQ(load("POPCount=2147483647").popupShowCount, 2147483647);
    EXPECT_TRUE(load("Stereo=-1").stereo) << "any number but 0 is true";
    EXPECT_FALSE(load("Stereo=0").stereo);
    EXPECT_TRUE(load("VBR=7").vbr);
    EXPECT_EQ(load("ChannelName=" + std::string(3000, 'n')).channelName.size(), 2047u);
}

TEST(SettingsLoad, LongLastDirIsCutAt2047Characters) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "[Recorder]\nLastDir=/" + std::string(3000, 'a') + "\n");
    EXPECT_EQ(SettingsFile(temp / "quillby.ini").Load()->lastSaveDir.size(), 2047u);
}

TEST(SettingsSave, ExitWritesTheSevenKeysInOrder) {
    TempFolder temp;
    SettingsFile file(temp / "quillby.ini");
    const RecorderSettings s = notDefaults();
    ASSERT_TRUE(file.SaveAtExit(s));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"),
              "[Recorder]\nChannel=2\nChannelName=USB Mic\nQuality=61\n"
              "Volume=37\n"
              "Stereo=0\nVBR=1\nHideWiz1=1\nPopCount=4\n");
    const auto back = file.Load();
    EXPECT_EQ(back->popupShowCount, 4) << "POPCount reads what PopCount wrote";
    EXPECT_EQ(back->lastSaveDir, "");
    EXPECT_EQ(back->channelName, "USB Mic");
}

TEST(SettingsSave, KeepsOtherSectionsKeysAndCommentsAndReplacesInPlace) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "; mine\r\n[Other]\nx=1\tand a "
                                    "tab\n\n[Recorder]\nLastDir=/music/\nPOPCount=9\nExtra=keep\n");
    SettingsFile file(temp / "quillby.ini");
    ASSERT_TRUE(file.SaveAtExit(RecorderSettings{}));
    ASSERT_TRUE(file.SaveLastDir("/music/new/"));
    const std::string text = ReadFile(temp / "quillby.ini");
    EXPECT_NE(text.find("; mine"), std::string::npos);
    EXPECT_NE(text.find("[Other]\nx=1"), std::string::npos);
    EXPECT_NE(text.find("Extra=keep"), std::string::npos);
    EXPECT_NE(text.find("LastDir=/music/new/"), std::string::npos);
    EXPECT_EQ(text.find("LastDir=/music/\n"), std::string::npos);
    EXPECT_EQ(file.Load()->popupShowCount, 0) << "one entry, whatever its case";
}

TEST(SettingsSave, EveryOtherLineAndEveryOtherByteStayAsTheyWere) {
    TempFolder temp;
    // A byte order mark, line endings of every kind, malformed lines, blanks
    // around names and values, bytes that are no UTF-8, a key in another
    // case and twice, and no line ending at the end.
    const std::string head = "\xEF\xBB\xBF; mine\r\n"
                             "[Recorder\n"
                             "Quality=3\n"
                             "==\n"
                             "[]\n"
                             "Volume=9\n"
                             "a key without equals\n"
                             "[Other]\r\n"
                             "Name=caf\xE9 \xFF\xFE\r"
                             "  # indented comment\t\n"
                             "[ recorder ]  trailing words\n"
                             "Extra = \xC3\x28 keep  \n";
    const std::string tail = "\n"
                             "[Tail]\n"
                             "[Recorder\n"
                             "x";
    WriteFile(temp / "quillby.ini", head +
                                        "Quality = 0x05  \r\n"
                                        "no equals in the section\n"
                                        "quality=7\n"
                                        "LastDir=/music/\xFF/\n" +
                                        tail);
    SettingsFile file(temp / "quillby.ini");
    const auto before = file.Load();
    ASSERT_TRUE(before.has_value());
    EXPECT_EQ(before->quality, 7) << "the last entry; not the one under \"[Recorder\"";
    EXPECT_EQ(before->volume, std::nullopt) << "under \"[]\"";
    EXPECT_EQ(before->lastSaveDir, "/music/\xFF/");

    const RecorderSettings s = notDefaults();
    ASSERT_TRUE(file.SaveAtExit(s));
    const std::string keys = "Channel=2\nChannelName=USB Mic\nVolume=37\nStereo=0\nVBR=1\n"
                             "HideWiz1=1\nPopCount=4\n";
    EXPECT_EQ(ReadFile(temp / "quillby.ini"), head +
                                                  "Quality = 61  \r\n"
                                                  "no equals in the section\n"
                                                  "LastDir=/music/\xFF/\n" +
                                                  keys + tail);

    ASSERT_TRUE(file.SaveLastDir("/new/\xFE/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"), head +
                                                  "Quality = 61  \r\n"
                                                  "no equals in the section\n"
                                                  "LastDir=/new/\xFE/\n" +
                                                  keys + tail);
    const auto after = file.Load();
    EXPECT_EQ(after->quality, 61);
    EXPECT_EQ(after->volume, 37);
    EXPECT_EQ(after->lastSaveDir, "/new/\xFE/");
}

TEST(SettingsSave, AByteOrderMarkBeforeTheSectionIsNoPartOfItAndStays) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "\xEF\xBB\xBF[Recorder]\r\nQuality=5\r\n");
    SettingsFile file(temp / "quillby.ini");
    EXPECT_EQ(file.Load()->quality, 5);
    ASSERT_TRUE(file.SaveLastDir("/m/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"),
              "\xEF\xBB\xBF[Recorder]\r\nQuality=5\r\nLastDir=/m/\r\n");
}

TEST(SettingsSave, ANewSectionGoesAtTheEndAndNewKeysAfterTheSectionsLastEntry) {
    TempFolder temp;
    SettingsFile file(temp / "quillby.ini");
    WriteFile(temp / "quillby.ini", "[Other]\r\nx=1");
    ASSERT_TRUE(file.SaveLastDir("/m/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"),
              "[Other]\r\nx=1\r\n\r\n[Recorder]\r\nLastDir=/m/\r\n");

    WriteFile(temp / "quillby.ini", "[Recorder]\n; keep\n\n[Other]\nx=1\n[recorder]\n\n");
    ASSERT_TRUE(file.SaveLastDir("/m/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"),
              "[Recorder]\n; keep\n\n[Other]\nx=1\n[recorder]\nLastDir=/m/\n\n")
        << "under the last Recorder section's header";

    WriteFile(temp / "quillby.ini", "[Recorder]\nQuality=5\n; after\n[Other]\n");
    ASSERT_TRUE(file.SaveLastDir("/m/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"),
              "[Recorder]\nQuality=5\nLastDir=/m/\n; after\n[Other]\n");

    WriteFile(temp / "quillby.ini", "[Recorder]\nLastDir=/old/\n");
    ASSERT_TRUE(file.SaveLastDir("/a\nQuality=1/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"), "[Recorder]\nLastDir=/a\n")
        << "a line break would start a line of its own";
}

TEST(SettingsSave, RefusedWriteReportsThePathAndLeavesTheFileWhole) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "[Recorder]\nQuality=5\n");
    // Root may write anywhere.
    EXPECT_TRUE(AsNobody(temp.Path(), [&] {
        ::chmod(temp.Path().c_str(), 0555);
        SettingsFile file(temp / "quillby.ini");
        EXPECT_FALSE(file.SaveAtExit(RecorderSettings{}));
        ::chmod(temp.Path().c_str(), 0755);
        EXPECT_EQ(ReadFile(temp / "quillby.ini"), "[Recorder]\nQuality=5\n");
    }));
}

TEST(SettingsSave, AReadOnlyFileIsNotReplaced) {
    TempFolder temp;
    WriteFile(temp / "quillby.ini", "[Recorder]\nQuality=5\n");
    ::chmod((temp / "quillby.ini").c_str(), 0444);
    SettingsFile file(temp / "quillby.ini");
    EXPECT_TRUE(file.Readable());
    EXPECT_FALSE(file.SaveAtExit(RecorderSettings{}));
    EXPECT_FALSE(file.SaveLastDir("/x/"));
    EXPECT_EQ(ReadFile(temp / "quillby.ini"), "[Recorder]\nQuality=5\n");
    EXPECT_EQ(std::filesystem::status(temp / "quillby.ini").permissions(),
              std::filesystem::perms(0444));
}

TEST(SettingsSave, WriteIntoAMissingFolderFailsWithItsMessage) {
    TempFolder temp;
    SettingsFile file(temp / "gone/quillby.ini");
    EXPECT_FALSE(file.SaveAtExit(RecorderSettings{}));
    EXPECT_FALSE(file.SaveLastDir("/x/"));
    EXPECT_EQ(file.WriteErrorText(), "Unable to write to " + (temp / "gone/quillby.ini"));
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path())) << "no temporary file left behind";
}

TEST(SettingsSave, AFileThatCannotBeReadIsNotReplaced) {
    TempFolder temp;
    std::filesystem::create_directories(temp / "folder/quillby.ini");
    // Opens, then every read fails (EIO), as a failing disk would.
    std::filesystem::create_directories(temp / "ioerror");
    std::filesystem::create_symlink("/proc/self/mem", temp / "ioerror/quillby.ini");
    // Some other file under this name: the INI library would stop at its
    // first NUL and keep what came before.
    std::filesystem::create_directories(temp / "junk");
    std::string junk = "[Recorder]\nVolume=80\n";
    for (int i = 0; i < 300; ++i)
        junk += static_cast<char>((i * 37) % 256);
    WriteFile(temp / "junk/quillby.ini", junk);
    for (const char* name : {"folder/quillby.ini", "ioerror/quillby.ini", "junk/quillby.ini"}) {
        SettingsFile file(temp / name);
        EXPECT_FALSE(file.Readable()) << name;
        ASSERT_TRUE(file.Load().has_value()) << name;
        EXPECT_EQ(file.Load()->volume, std::nullopt) << name;
        EXPECT_FALSE(file.SaveAtExit(RecorderSettings{})) << name;
        EXPECT_FALSE(file.SaveLastDir("/x/")) << name;
        EXPECT_EQ(file.ReadErrorText(), "Unable to read " + (temp / name) +
                                            ". The default settings are used and the file is "
                                            "left as it is.");
    }
    EXPECT_TRUE(std::filesystem::is_directory(temp / "folder/quillby.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(temp / "ioerror/quillby.ini"));
    EXPECT_EQ(ReadFile(temp / "junk/quillby.ini"), junk);
    EXPECT_TRUE(SettingsFile(temp / "missing.ini").Readable()) << "no file is no failure";
}

TEST(SettingsLoad, AFileOverOneMebibyteIsNoSettingsFileAndIsLeftAsItIs) {
    TempFolder temp;
    const auto check = [&] {
        // Settings all through, padded with comments to the size.
        const auto text = [](size_t size) {
            std::string t = "[Recorder]\nVolume=80\n";
            while (t.size() + 9 <= size)
                t += ";padding\n";
            return t + std::string(size - t.size(), ';');
        };
        const std::string big = text(1024 * 1024 + 1);
        WriteFile(temp / "big.ini", big);
        WriteFile(temp / "fits.ini", text(1024 * 1024));
        SettingsFile file(temp / "big.ini");
        EXPECT_FALSE(file.Readable());
        EXPECT_EQ(file.Load()->volume, std::nullopt);
        EXPECT_FALSE(file.SaveAtExit(RecorderSettings{}));
        EXPECT_FALSE(file.SaveLastDir("/x/"));
        EXPECT_EQ(file.ReadErrorText(), "Unable to read " + (temp / "big.ini") +
                                            ". The default settings are used and the file is "
                                            "left as it is.");
        EXPECT_TRUE(ReadFile(temp / "big.ini") == big);
        EXPECT_TRUE(SettingsFile(temp / "fits.ini").Readable());
        EXPECT_EQ(SettingsFile(temp / "fits.ini").Load()->volume, 80);
    };
    check();
    EXPECT_TRUE(AsNobody(temp.Path(), check));
}

TEST(SettingsSave, ALinkedFileIsWrittenWhereTheLinkPointsAndTheLinkStays) {
    TempFolder temp;
    const auto check = [&](const std::string& who) {
        const std::string elsewhere = temp / (who + "/elsewhere"),
                          config = temp / (who + "/config");
        std::filesystem::create_directories(elsewhere);
        std::filesystem::create_directories(config);
        WriteFile(elsewhere + "/real.ini", "; mine\n[Recorder]\nQuality=5\n");
        std::filesystem::create_symlink("../elsewhere/real.ini", config + "/quillby.ini");
        SettingsFile file(config + "/quillby.ini");
        EXPECT_TRUE(file.SaveAtExit(RecorderSettings{}));
        EXPECT_TRUE(file.SaveLastDir("/music/"));
        EXPECT_TRUE(std::filesystem::is_symlink(config + "/quillby.ini")) << who;
        const std::string text = ReadFile(elsewhere + "/real.ini");
        EXPECT_NE(text.find("; mine"), std::string::npos) << text;
        EXPECT_NE(text.find("Quality=12"), std::string::npos) << text;
        EXPECT_NE(text.find("LastDir=/music/"), std::string::npos) << text;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(elsewhere), {}), 1)
            << "no temporary file left";
    };
    check("root");
    EXPECT_TRUE(AsNobody(temp.Path(), [&] { check("nobody"); }));
}

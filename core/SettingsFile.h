#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The values kept in quillby.ini, section "Recorder". Every key's name,
// type, default and range are in one table, in SettingsFile.cpp: a new
// RecorderSettings holds each key's default from there, and Load brings a
// number outside its key's range to the nearest end of it.
struct RecorderSettings {
    RecorderSettings();

    int channel;
    // The chosen input's name: indexes move as inputs come and go.
    std::string channelName;
    int quality;
    std::optional<int> volume; // none stored: the chosen input's own volume
    bool stereo;
    bool vbr;
    bool hideWizardWelcome;
    int popupShowCount;
    std::string lastSaveDir;
};

class SettingsFile {
public:
    explicit SettingsFile(std::string path);

    const std::string& Path() const { return m_path; }

    // Empty when the file does not exist. A file that exists but cannot be
    // read, or holds what no settings file holds (binary bytes, over 1 MiB),
    // yields the defaults, and later writes refuse to replace it.
    std::optional<RecorderSettings> Load() const;

    // The keys written at exit, in this order: Channel, ChannelName, Quality,
    // Volume (when there is one), Stereo, VBR, HideWiz1, PopCount;
    // SaveLastDir writes LastDir alone. A key already in the file keeps its
    // line, its spelling and its place, and only its value changes; a new
    // one goes after the section's last entry. Every other line, malformed
    // or foreign, is kept byte for byte. A file the user made read-only is
    // not replaced: the save fails.
    [[nodiscard]] bool SaveAtExit(const RecorderSettings& settings) const;
    [[nodiscard]] bool SaveLastDir(const std::string& lastDir) const;

    // False when the file exists but cannot be read (refused, a folder, a
    // read error) or is not a settings file; the program must then leave it
    // alone.
    bool Readable() const;
    // What the user is told, once, about such a file.
    std::string ReadErrorText() const;

    // "Unable to write to <path>", the text shown when a save fails.
    std::string WriteErrorText() const;

    // Decimal, or hexadecimal with "0x" when longer than two characters;
    // anything else is not a number.
    static std::optional<int> ParseInteger(const std::string& text);
    // The lowest and highest value of a numeric key, as Load brings them.
    static std::pair<int, int> Range(std::string_view key);

private:
    std::string m_path;
};

#pragma once

#include <optional>
#include <string>

// The values kept in quillby.ini, section "Recorder". Range checks belong to
// the controls that hold the values at run time, so these are raw numbers.
struct RecorderSettings {
    int channel = -1;
    // The chosen input's name: indexes move as inputs come and go.
    std::string channelName;
    int quality = 12;
    std::optional<int> volume; // none stored: the chosen input's own volume
    bool stereo = true;
    bool vbr = false;
    bool hideWizardWelcome = false;
    int popupShowCount = 0;
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
    // Volume, Stereo, VBR, HideWiz1, PopCount. Every other line of the file
    // is kept. A file the user made read-only is not replaced: the save fails.
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

private:
    std::string m_path;
};

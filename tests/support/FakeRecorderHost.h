#pragma once

// The recorder's view of the window, faked: it records what the recorder
// asked and keeps the bytes of every take that reached the save step.

#include "AudioCheck.h"
#include "Recorder.h"

#include <functional>
#include <string>
#include <vector>

class FakeRecorderHost : public RecorderHost {
public:
    Settings settings;
    std::vector<std::string> calls;
    std::vector<std::string> errors;
    std::vector<std::string> notifications;
    std::vector<Take> takes;
    std::string savedFile;
    std::vector<uint8_t> savedBytes;
    bool savedEmail = false;
    int dialogs = 0;
    // Runs while an error box would be up: what the user could do meanwhile.
    std::function<void()> onError;

    Settings RecordingSettings() override { return settings; }
    void ShowError(const std::string& text) override {
        errors.push_back(text);
        if (onError)
            onError();
    }
    void ShowNotification(const std::string& text) override { notifications.push_back(text); }
    void TakeChanged(Take take) override { takes.push_back(take); }
    void EnterTrayBusyMode() override { calls.push_back("busy"); }
    void LeaveTrayBusyMode() override { calls.push_back("ready"); }
    // The take stays where it is, in the working folder, for the test to read.
    void RunSaveDialog(const std::string& file, bool email) override {
        calls.push_back("save");
        ++dialogs;
        savedFile = file;
        savedEmail = email;
        savedBytes = ReadBytes(file);
    }
    void SaveLastDir() override { calls.push_back("lastdir"); }
};

#pragma once

// The volume search's view of the window, faked: what it was asked to show.

#include "VolumeOptimizer.h"

#include <string>
#include <vector>

class FakeOptimizerHost : public OptimizerHost {
public:
    std::vector<std::string> errors;
    int left = -1;
    int right = -1;
    int volume = -1;
    int levelUpdates = 0;

    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowLevels(int l, int r) override {
        left = l;
        right = r;
        ++levelUpdates;
    }
    void ShowVolume(int percent) override { volume = percent; }
};

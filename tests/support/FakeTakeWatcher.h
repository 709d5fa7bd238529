#pragma once

#include "TakeWatcher.h"

#include <string>
#include <vector>

// Keeps what the recorder told it of each take, and refuses takes when
// told to.
class FakeTakeWatcher : public TakeWatcher {
public:
    std::vector<std::string> calls; // "refusal?", "started", "ended"
    std::string refusal;
    TakeInfo last;

    std::string Refusal(const TakeInfo& take) override {
        calls.push_back("refusal?");
        last = take;
        return refusal;
    }
    void TakeStarted(const TakeInfo&) override { calls.push_back("started"); }
    void TakeEnded() override { calls.push_back("ended"); }
};

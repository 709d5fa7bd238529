#pragma once

#include <cstdint>
#include <string>

// A take as those who watch it see it, fixed at its start.
struct TakeInfo {
    std::string folder;   // where its file grows, ending in "/"
    uint32_t bitRate = 0; // kbps: the constant rate, or the ceiling of a variable one
    bool vbr = false;
    // Samples of all channels in a second of sound, as the recorder counts
    // what it has encoded.
    uint32_t samplesPerSecond = 0;
};

// Told by the recorder, on the GUI thread, when a take starts and when it
// ends, however it ends: a stop, a lost device, a full disk, the exit.
class TakeWatcher {
public:
    virtual ~TakeWatcher() = default;
    // Asked before anything of the take is made; a text refuses the take,
    // and the user is shown it.
    virtual std::string Refusal(const TakeInfo&) { return {}; }
    virtual void TakeStarted(const TakeInfo&) {}
    virtual void TakeEnded() {}
};

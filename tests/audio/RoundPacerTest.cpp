// The pace of a capture's rounds on the loop, without a sound server: the
// loop's thread never runs, and the test plays its rounds' ends.
#include "PulseLoop.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace {
using std::chrono::milliseconds;

constexpr double kCdStereo = 44100 * 4; // bytes a second

uint32_t periodFor(uint32_t periodMs, double bytesPerSecond, bool ringed, bool mixed) {
    PulseLoop loop;
    RoundPacer pacer;
    pacer.Begin(loop, periodMs, bytesPerSecond, ringed, mixed);
    return pacer.PeriodMs();
}
} // namespace

// PulseAudio's ring of 32 KB holds 186 ms of CD-quality stereo: a round of
// 250 ms would overflow it, so it holds two ring-fulls instead. A mixed take's
// two streams fill it twice as fast. PipeWire has no ring.
TEST(RoundPacer, ThePeriodFollowsTheServersRing) {
    EXPECT_EQ(periodFor(250, kCdStereo, true, false), 352u);
    EXPECT_EQ(periodFor(500, kCdStereo, true, false), 500u) << "longer than two ring-fulls";
    EXPECT_EQ(periodFor(100, kCdStereo, true, false), 100u) << "within the ring";
    EXPECT_EQ(periodFor(250, 11025 * 2, true, false), 250u) << "mono at 11025 Hz: 1.5 s ring";
    EXPECT_EQ(periodFor(250, 2 * kCdStereo, true, true), 100u);
    EXPECT_EQ(periodFor(50, 2 * kCdStereo, true, true), 50u);
    EXPECT_EQ(periodFor(250, kCdStereo, false, false), 250u);
    EXPECT_EQ(periodFor(250, 2 * kCdStereo, false, true), 250u);
    EXPECT_EQ(periodFor(0, kCdStereo, true, false), 0u) << "each block as it comes";
}

// A round that took in less than three quarters of the sound of its time is
// behind: the next follows at once. Otherwise the loop sleeps for the period.
TEST(RoundPacer, ARoundBehindIsFollowedByACatchUp) {
    PulseLoop loop;
    RoundPacer pacer;
    pacer.Begin(loop, 250, kCdStereo, true, false);
    uint64_t delivered = 0;
    pacer.RoundEnd(delivered, true);
    EXPECT_EQ(loop.BatchInterval(), milliseconds(0)) << "the first block comes as it comes";
    // A second of sound in a few milliseconds: ahead.
    std::this_thread::sleep_for(milliseconds(20));
    delivered += 176400;
    pacer.RoundEnd(delivered, true);
    EXPECT_EQ(loop.BatchInterval(), milliseconds(352));
    // Half the sound of the round's time at least: behind (a loaded machine
    // only sleeps longer, which leaves it further behind).
    std::this_thread::sleep_for(milliseconds(200));
    delivered += 17640;
    pacer.RoundEnd(delivered, true);
    EXPECT_EQ(loop.BatchInterval(), milliseconds(5));
    // A pause or stop taking in the last keeps the interval as it is.
    std::this_thread::sleep_for(milliseconds(20));
    delivered += 176400;
    pacer.RoundEnd(delivered, false);
    EXPECT_EQ(loop.BatchInterval(), milliseconds(5));
    // Nothing came: nothing is held back either.
    pacer.RoundEnd(delivered, true);
    EXPECT_EQ(loop.BatchInterval(), milliseconds(352));
    // A resume hands the first block over as it comes, as a start does.
    pacer.Resume();
    EXPECT_EQ(loop.BatchInterval(), milliseconds(0));
    pacer.RoundEnd(delivered, true);
    EXPECT_EQ(loop.BatchInterval(), milliseconds(0));
    pacer.End();
    EXPECT_EQ(loop.BatchInterval(), milliseconds(0));
}

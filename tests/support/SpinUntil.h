#pragma once

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <thread>

// The wait stretches with the test's time limit on a slower machine
// (TAPEWREN_TEST_TIME_SCALE, tests/CMakeLists.txt).
inline int testTimeScale() {
    static const int scale = std::max(1, qEnvironmentVariableIntValue("TAPEWREN_TEST_TIME_SCALE"));
    return scale;
}

// Runs the window thread's events until the condition holds or the time is
// up; the result is the condition's. Queued calls from the capture thread
// arrive meanwhile.
template <typename Pred> bool spinUntil(Pred pred, int ms = 5000) {
    const auto end =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(ms) * testTimeScale();
    while (!pred() && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
}

// Runs the window thread's events for a fixed time, not stretched: what
// happens within it is what is tested.
inline void runEventsFor(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

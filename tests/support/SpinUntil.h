#pragma once

#include <QCoreApplication>

#include <chrono>
#include <thread>

// Runs the window thread's events until the condition holds or the time is
// up; the result is the condition's. Queued calls from the capture thread
// arrive meanwhile.
template <typename Pred> bool spinUntil(Pred pred, int ms = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred() && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return pred();
}

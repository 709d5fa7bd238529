#pragma once

#include <string>

// A shell command that stops what a test started outside its process (a
// sound server): run when the object goes, also after a failed assertion,
// and by the watchdog of TestMain.cpp when the test runs out of time, since
// ctest's kill at its limit would leave the server running.
class StopOnExit {
public:
    explicit StopOnExit(std::string command);
    ~StopOnExit();
    StopOnExit(const StopOnExit&) = delete;
    StopOnExit& operator=(const StopOnExit&) = delete;

private:
    std::string m_command;
};

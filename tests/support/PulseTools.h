#pragma once

// For tests against the test desktop's sound server.

#include "Bass.h"

#include <cstdio>
#include <string>

// The output of a shell command (pactl and friends).
inline std::string run(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    ::pclose(pipe);
    return output;
}

// The index of the input with this name, -1 when there is none.
inline int findInput(const std::string& name) {
    for (int i = 0; const char* input = BASS_RecordGetInputName(i); ++i)
        if (name == input)
            return i;
    return -1;
}

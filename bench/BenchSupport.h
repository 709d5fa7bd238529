#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// 60 s of a 440 Hz tone with a little noise, interleaved 16-bit.
std::vector<int16_t> BenchPcm(int rate, int channels, double seconds = 60.0);

// Encodes straight through libmp3lame in whole frames; returns the MP3 bytes.
size_t EncodeDirect(const std::vector<int16_t>& pcm, int rate, int channels, int kbps);

// Runs the registered benchmarks and keeps each one's mean CPU time per
// iteration, by name, for ratios printed side by side.
std::map<std::string, double> RunBenchmarks(int argc, char** argv);

// Prints "name / baseline = ratio (goal: at most limit)".
void PrintRatio(const std::map<std::string, double>& times, const std::string& name,
                const std::string& baseline, double goal);

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

// The least of the repetitions: the same work on a shared machine is best
// compared by its quickest run.
double MinOf(const std::vector<double>& values);

// Runs the registered benchmarks, repetitions of different benchmarks
// interleaved at random so that a change in machine load hits all alike, and
// keeps each one's least CPU time, by name, for ratios printed side by side.
std::map<std::string, double> RunBenchmarks(int argc, char** argv);

// The process's resident memory in KiB, -1 when unknown.
long ResidentKiB();

// Prints "name / baseline = ratio (goal: at most limit)".
void PrintRatio(const std::map<std::string, double>& times, const std::string& name,
                const std::string& baseline, double goal);

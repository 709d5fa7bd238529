#include "BenchSupport.h"

#include "DirectLame.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

std::vector<int16_t> BenchPcm(int rate, int channels, double seconds) {
    const auto frames = static_cast<size_t>(rate * seconds);
    std::vector<int16_t> pcm(frames * static_cast<size_t>(channels));
    std::mt19937 random(42);
    std::uniform_int_distribution<int> noise(-300, 300);
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            pcm[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] = static_cast<int16_t>(
                12000 * std::sin(2 * M_PI * 440.0 * static_cast<double>(i) / rate) + noise(random));
    return pcm;
}

size_t EncodeDirect(const std::vector<int16_t>& pcm, int rate, int channels, int kbps) {
    DirectLame lame(rate, channels, kbps);
    const size_t chunk = static_cast<size_t>(lame.FrameSize() * channels);
    size_t bytes = 0;
    for (size_t at = 0; at + chunk <= pcm.size(); at += chunk)
        bytes += static_cast<size_t>(lame.Encode(pcm.data() + at));
    return bytes + static_cast<size_t>(lame.Flush());
}

namespace {
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "min")
                continue;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            times[name] = run.GetAdjustedCPUTime();
        }
    }
};
} // namespace

double MinOf(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

std::map<std::string, double> RunBenchmarks(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.times;
}

void PrintRatio(const std::map<std::string, double>& times, const std::string& name,
                const std::string& baseline, double goal) {
    const auto a = times.find(name), b = times.find(baseline);
    if (a == times.end() || b == times.end() || b->second <= 0)
        return;
    const double ratio = a->second / b->second;
    std::printf("ratio %s / %s = %.3f (goal: at most %.2f)%s\n", name.c_str(), baseline.c_str(),
                ratio, goal, ratio <= goal ? "" : "  <-- above goal");
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

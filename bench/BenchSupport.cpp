#include "BenchSupport.h"

#include <cmath>
#include <cstdio>
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

namespace {
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.benchmark_name()] =
                    run.cpu_accumulated_time / static_cast<double>(run.iterations);
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                times[run.run_name.function_name] = run.GetAdjustedCPUTime();
    }
};
} // namespace

std::map<std::string, double> RunBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
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

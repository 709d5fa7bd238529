// The block handler's cost over libmp3lame itself, for the block sizes sound
// servers hand out, in CPU time and in instructions, and the memory of an
// hour-long take.
#include "Bass.h"
#include "BenchSupport.h"
#include "CaptureMixer.h"
#include "FakeRecorderHost.h"
#include "Recorder.h"
#include "SimulatedBackend.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {
const std::vector<int16_t>& pcm() {
    static const std::vector<int16_t> samples = BenchPcm(44100, 2);
    return samples;
}

class NullWriter : public FileWriter {
public:
    bool Write(const uint8_t*, size_t) override { return true; }
    bool Close() override { return true; }
};

void openSimulatedDevice() {
    SimulatedBackend::Script script;
    script.inputs = {{"Monitor of Speakers", kInputWaveOutput, 100}};
    BASS_SetBackend(std::make_unique<SimulatedBackend>(script));
    BASS_RecordInit(-1);
}

// A take whose blocks the benchmark hands to the handler itself.
struct Take {
    FakeRecorderHost host;
    Recorder recorder{host, std::filesystem::temp_directory_path().string()};
    explicit Take(int quality, bool stereo) {
        host.settings = {0, quality, 100, stereo, false};
        recorder.SetFileFactory([](const std::string&) { return std::make_unique<NullWriter>(); });
        recorder.CreateStreams();
        recorder.ToggleRecording(false);
        for (const std::string& error : host.errors)
            std::fprintf(stderr, "%s\n", error.c_str());
    }
    ~Take() { recorder.ToggleRecording(false); }
};

// One whole take of the samples in blocks of the given milliseconds.
void recordTake(const std::vector<int16_t>& samples, long blockMs) {
    const auto blockBytes = static_cast<size_t>(blockMs) * 44100 * 4 / 1000;
    const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
    const size_t total = samples.size() * 2;
    Take take(61, true); // 44100 Hz, 128 kbps, stereo
    for (size_t at = 0; at < total; at += blockBytes)
        take.recorder.RecordBlockHandler(bytes + at,
                                         static_cast<uint32_t>(std::min(blockBytes, total - at)));
}

void BM_RecordBlockHandler(benchmark::State& state) {
    for (auto _ : state)
        recordTake(pcm(), state.range(0));
}

// The same take from a microphone and the speakers at once, in 100 ms blocks
// of each: the speakers' device runs 0.05 % fast, so the mixer resamples all
// along, and the sum is limited.
void mixedTake(const std::vector<int16_t>& samples) {
    const size_t blockBytes = 4410 * 4;
    const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
    const size_t total = samples.size() * 2;
    Take take(61, true);
    CaptureMixer mixer(44100, 2, [&take](const void* data, uint32_t length) {
        return take.recorder.RecordBlockHandler(data, length);
    });
    for (size_t at = 0; at + blockBytes <= total; at += blockBytes) {
        const auto length = static_cast<uint32_t>(blockBytes);
        const int64_t end = static_cast<int64_t>((at + blockBytes) / 4) * 1000000 / 44100;
        mixer.Feed(CaptureMixer::kMicrophone, bytes + at, length, end);
        mixer.Feed(CaptureMixer::kSpeakers, bytes + at, length,
                   static_cast<int64_t>(static_cast<double>(end) / 1.0005));
    }
    mixer.Flush();
}

void BM_MixedTake(benchmark::State& state) {
    for (auto _ : state)
        mixedTake(pcm());
}

void BM_LameDirect(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeDirect(pcm(), 44100, 2, 128));
}

BENCHMARK(BM_LameDirect)
    ->Name("BM_LameDirect")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(5)
    ->ComputeStatistics("min", MinOf);
BENCHMARK(BM_RecordBlockHandler)
    ->Arg(5)
    ->Arg(20)
    ->Arg(100)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(5)
    ->ComputeStatistics("min", MinOf);

BENCHMARK(BM_MixedTake)
    ->Name("BM_MixedTake")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Repetitions(5)
    ->ComputeStatistics("min", MinOf);

// An hour in 100 ms blocks at a fast preset; resident memory every ten minutes.
void hourLongTake() {
    const std::vector<int16_t> second = BenchPcm(11025, 1, 1.0);
    const auto* bytes = reinterpret_cast<const uint8_t*>(second.data());
    const uint32_t block = 11025 * 2 / 10;
    Take take(12, false);
    std::printf("one-hour take, resident memory (KiB) every 10 min:");
    for (int s = 0; s < 3600; ++s) {
        for (uint32_t at = 0; at < 11025 * 2; at += block)
            take.recorder.RecordBlockHandler(bytes + at, block);
        if (s % 600 == 0 || s == 3599)
            std::printf(" %ld", ResidentKiB());
    }
    std::printf("\n");
}
// The work whose instructions are counted: 0 ms for libmp3lame called
// straight, else the block handler with blocks of that many milliseconds.
// Not inlined: the counter is switched on and off by its name.
__attribute__((noinline)) size_t measuredRun(const std::vector<int16_t>& samples, long blockMs) {
    if (blockMs == 0)
        return EncodeDirect(samples, 44100, 2, 128);
    recordTake(samples, blockMs);
    return 0;
}

// Instruction counts under callgrind: steady where CPU time on a shared
// machine scatters by a few per cent between runs of the same build.
void printInstructionRatios() {
    if (std::system("valgrind --version >/dev/null 2>&1") != 0) {
        std::printf("instructions: valgrind not found, skipped\n");
        return;
    }
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string out = (std::filesystem::temp_directory_path() /
                             ("recorder_bench." + std::to_string(getpid()) + ".callgrind"))
                                .string();
    const auto count = [&](long blockMs) -> double {
        const std::string command =
            "valgrind --tool=callgrind --collect-atstart=no "
            "'--toggle-collect=*measuredRun*' --callgrind-out-file=" +
            out + " " + self + " --instructions=" + std::to_string(blockMs) + " >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0)
            return 0;
        std::ifstream file(out);
        double total = 0;
        for (std::string line; std::getline(file, line);)
            if (line.rfind("totals:", 0) == 0)
                total = std::stod(line.substr(7));
        std::filesystem::remove(out);
        return total;
    };
    const double direct = count(0);
    if (direct <= 0) {
        std::printf("instructions: callgrind failed, skipped\n");
        return;
    }
    for (long blockMs : {5L, 20L, 100L, 2000L}) {
        const double ratio = count(blockMs) / direct;
        std::printf("ratio instructions BM_RecordBlockHandler/%ld / BM_LameDirect = %.4f "
                    "(goal: at most 1.02)%s\n",
                    blockMs, ratio, ratio <= 1.02 ? "" : "  <-- above goal");
    }
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    openSimulatedDevice();
    const std::string instructions = "--instructions=";
    if (argc > 1 && std::string(argv[1]).rfind(instructions, 0) == 0) {
        // Ten seconds: callgrind runs some fifty times slower.
        const std::vector<int16_t> samples = BenchPcm(44100, 2, 10.0);
        benchmark::DoNotOptimize(
            measuredRun(samples, std::stol(std::string(argv[1]).substr(instructions.size()))));
        BASS_RecordFree();
        BASS_SetBackend(nullptr);
        return 0;
    }
    pcm();
    const auto times = RunBenchmarks(argc, argv);
    std::printf("\n");
    for (const char* size : {"5", "20", "100", "2000"})
        PrintRatio(times, std::string("BM_RecordBlockHandler/") + size, "BM_LameDirect", 1.02);
    PrintRatio(times, "BM_MixedTake", "BM_RecordBlockHandler/100", 1.3);
    // A run of some of the benchmarks (live_bench.sh's) wants their ratios alone.
    const bool filtered = std::any_of(argv + 1, argv + argc, [](const char* arg) {
        return std::string(arg).rfind("--benchmark_filter", 0) == 0;
    });
    if (!filtered) {
        printInstructionRatios();
        hourLongTake();
    }
    BASS_RecordFree();
    BASS_SetBackend(nullptr);
    return 0;
}

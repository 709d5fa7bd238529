// The block handler's cost over libmp3lame itself, for the block sizes sound
// servers hand out, and the memory of an hour-long take.
#include "Bass.h"
#include "BenchSupport.h"
#include "FakeRecorderHost.h"
#include "Recorder.h"
#include "SimulatedBackend.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

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

void BM_RecordBlockHandler(benchmark::State& state) {
    const auto blockBytes = static_cast<size_t>(state.range(0)) * 44100 * 4 / 1000;
    const auto* bytes = reinterpret_cast<const uint8_t*>(pcm().data());
    const size_t total = pcm().size() * 2;
    for (auto _ : state) {
        Take take(61, true); // 44100 Hz, 128 kbps, stereo
        for (size_t at = 0; at < total; at += blockBytes)
            take.recorder.RecordBlockHandler(
                bytes + at, static_cast<uint32_t>(std::min(blockBytes, total - at)));
    }
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

long residentKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

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
            std::printf(" %ld", residentKiB());
    }
    std::printf("\n");
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    openSimulatedDevice();
    pcm();
    const auto times = RunBenchmarks(argc, argv);
    std::printf("\n");
    for (const char* size : {"5", "20", "100", "2000"})
        PrintRatio(times, std::string("BM_RecordBlockHandler/") + size, "BM_LameDirect", 1.02);
    hourLongTake();
    BASS_RecordFree();
    BASS_SetBackend(nullptr);
    return 0;
}

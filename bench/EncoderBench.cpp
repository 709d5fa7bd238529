// The cost of our encoder layers over libmp3lame itself: the same 60 s of
// PCM, 44100 Hz stereo at 128 kbps, encoded chunk by chunk both ways.
#include "BenchSupport.h"
#include "LameCoder.h"

namespace {
const std::vector<int16_t>& pcm() {
    static const std::vector<int16_t> samples = BenchPcm(44100, 2);
    return samples;
}

void BM_TLameCoder(benchmark::State& state) {
    for (auto _ : state) {
        TLameCoder coder; // 44100 Hz, 128 kbps, stereo, CRC: the defaults
        coder.OpenStream();
        std::vector<uint8_t> out(coder.OutputBufferSize());
        const size_t chunk = coder.SamplesPerChunk();
        size_t bytes = 0;
        for (size_t at = 0; at + chunk <= pcm().size(); at += chunk) {
            uint32_t count = 0;
            coder.EncodeChunk(pcm().data() + at, out.data(), count);
            bytes += count;
        }
        uint32_t count = 0;
        coder.FinishStream(out.data(), count);
        coder.CloseStream();
        benchmark::DoNotOptimize(bytes + count);
    }
}

void BM_LameDirect(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeDirect(pcm(), 44100, 2, 128));
}

// Interleaved so that both see the same machine load.
BENCHMARK(BM_LameDirect)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(5)
    ->ComputeStatistics("min", MinOf);
BENCHMARK(BM_TLameCoder)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(5)
    ->ComputeStatistics("min", MinOf);
} // namespace

int main(int argc, char** argv) {
    pcm();
    const auto times = RunBenchmarks(argc, argv);
    std::printf("\n");
    PrintRatio(times, "BM_TLameCoder", "BM_LameDirect", 1.01);
    return 0;
}

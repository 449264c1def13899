// Reading and replaying a demo of a million samples: the reader alone, and the whole replay.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "board/character_board.h"
#include "demo/demo_file.h"
#include "demo/demo_replay.h"

namespace glidtavla {
namespace {

constexpr int kSamples = 1000000;

// Gestures out from the centre to a cell in eight steps and back, as bench/replay.sh makes.
std::string MillionSampleDemo() {
    const std::string path = "/tmp/glidtavla-bench-" + std::to_string(getpid()) + ".dem";
    std::ofstream out(path, std::ios::binary);
    unsigned seed = 42;
    for (int n = 0; n < kSamples;) {
        seed = seed * 1103515245u + 12345u;
        const int tx = 50 * int(1 + (seed >> 16) % 7) - 25;
        const int ty = 40 * int(1 + (seed >> 8) % 7) - 20;
        for (int s = -8; s <= 7 && n < kSamples; ++s, ++n) {
            const int step = s < 0 ? s + 9 : 7 - s;
            out << 125 + (tx - 125) * step / 8 << ' ' << 100 + (ty - 100) * step / 8 << ' '
                << (s < 0 ? 0 : 1) << " 0\r\n";
        }
    }
    return path;
}

void BM_ReadDemoSamples(benchmark::State& bench) {
    const std::string path = MillionSampleDemo();
    for (auto _ : bench) {
        DemoFile file;
        OpenDemoForPlayback(file, path);
        SelectionState state;
        int64_t sum = 0;
        for (bool playing = true; playing;) {
            ReadDemoSample(file, state, playing);
            sum += state.X0 + state.Y0;
        }
        benchmark::DoNotOptimize(sum);
    }
    bench.SetItemsProcessed(bench.iterations() * kSamples);
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadDemoSamples)->Unit(benchmark::kMillisecond);

void BM_ReplayDemo(benchmark::State& bench) {
    const std::string path = MillionSampleDemo();
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    for (auto _ : bench) {
        const Replay replay = ReplayDemo(board, path);
        benchmark::DoNotOptimize(replay.Samples);
    }
    bench.SetItemsProcessed(bench.iterations() * kSamples);
    std::remove(path.c_str());
}
BENCHMARK(BM_ReplayDemo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glidtavla

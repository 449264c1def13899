// Reading board tables: a full 20 x 20 table with a shift block, and raw number throughput.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "board/board_table.h"

namespace glidtavla {
namespace {

std::string TempFile(const std::string& name, const std::string& bytes) {
    const std::string path = "/tmp/glidtavla-bench-" + std::to_string(getpid()) + "-" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string FullTable() {
    std::string text = "1100\r\n";
    for (int line = 0; line < 2; ++line) {
        for (int i = 1; i <= 20; ++i)
            text += std::to_string(30 * i) + (i < 20 ? " " : "\r\n");
    }
    for (int block = 0; block < 2; ++block) {
        for (int r = 1; r <= 20; ++r) {
            for (int c = 1; c <= 20; ++c) {
                text += std::to_string(32 + (r * 20 + c) % 220) + (c < 20 ? " " : "\r\n");
            }
        }
        if (block == 0) text += "\r\n";
    }
    return text;
}

void BM_LoadBoardTable20x20(benchmark::State& bench) {
    const std::string path = TempFile("full.tab", FullTable());
    CharacterBoard board;
    for (auto _ : bench) {
        ResetToBuiltInBoard(board);
        LoadBoardTable(board, path);
        benchmark::DoNotOptimize(board.ShiftCodes[20][20]);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadBoardTable20x20);

void BM_ReadValueThroughput(benchmark::State& bench) {
    std::string bytes;
    for (int i = 0; bytes.size() < (16u << 20); ++i) {
        bytes += std::to_string(i * 7919 % 100000) + (i % 16 == 15 ? "\r\n" : " ");
    }
    const std::string path = TempFile("numbers.txt", bytes);
    for (auto _ : bench) {
        TextReader reader(path);
        int64_t sum = 0;
        while (!reader.AtEndOfFile())
            sum += reader.ReadValue();
        benchmark::DoNotOptimize(sum);
    }
    bench.SetBytesProcessed(static_cast<int64_t>(bench.iterations()) *
                            static_cast<int64_t>(bytes.size()));
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadValueThroughput)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glidtavla

// Word prediction: the time of one completion at every letter of a held-out text (p50, p95,
// max), the memory the model takes and its load time, for the base (range 0) and the larger
// model (range 1), and the size and load time of a full file of learnt
// words. Usage: predict_bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "predict/model_files.h"
#include "predict/words.h"

namespace {

std::string ReadText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_CompletionLatency(benchmark::State& state) {
    const long before = ResidentKiB();
    const auto loading = std::chrono::steady_clock::now();
    const glidtavla::WordModel model = glidtavla::LoadWordModel(
        state.range(0) == 0 ? GLIDTAVLA_WORD_MODEL : GLIDTAVLA_LARGER_MODEL,
        glidtavla::kSystemWordCounts);
    state.counters["load_ms"] = Milliseconds(std::chrono::steady_clock::now() - loading);
    state.counters["model_MiB"] = double(ResidentKiB() - before) / 1024;
    const std::string text = ReadText(GLIDTAVLA_HELD_OUT);
    std::vector<double> times;
    for (auto _ : state) {
        times.clear();
        std::string line;
        for (const char c : text) {
            line = c == '\n' ? std::string() : line + c;
            if (!glidtavla::IsWordByte(static_cast<unsigned char>(c))) continue;
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(model.Complete(line, 7));
            times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["completions"] = double(times.size());
    state.counters["p50_ms"] = times[times.size() / 2];
    state.counters["p95_ms"] = times[times.size() * 95 / 100];
    state.counters["max_ms"] = times.back();
}
BENCHMARK(BM_CompletionLatency)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// The file of learnt words after the held-out text (about 10 000 words) was written once
// (range 0), and at its bound of 2 MiB, reached with made-up words (range 1).
void BM_LearntFile(benchmark::State& state) {
    glidtavla::WordModel model;
    model.Learn(ReadText(GLIDTAVLA_HELD_OUT), 20000);
    std::mt19937 random(1);
    while (state.range(0) == 1 && model.WriteUser(SIZE_MAX).size() < glidtavla::kMaxLearntBytes) {
        std::string sentence;
        for (int word = 0; word < 2000; ++word) {
            for (int letter = 0; letter < 6; ++letter)
                sentence += static_cast<char>('a' + random() % 26);
            sentence += ' ';
        }
        model.Learn(sentence, 20001);
    }
    const std::string file = model.WriteUser(glidtavla::kMaxLearntBytes);
    for (auto _ : state) {
        glidtavla::WordModel read;
        read.ReadUser(file);
        benchmark::DoNotOptimize(read.Words());
    }
    state.counters["file_KiB"] = double(file.size()) / 1024;
    // A write after a pause: the file on disk read, merged with a line learnt since, written (all
    // on the window's thread before; now a thread's, see window_part_max_ms).
    const std::string path = "/tmp/glidtavla-bench-learnt.txt";
    glidtavla::WriteLearntWords(model, path);
    std::vector<double> writes, windowParts;
    for (int write = 0; write < 10; ++write) {
        model.Learn("en rad till som skrivs efter en paus", 20002);
        const auto start = std::chrono::steady_clock::now();
        glidtavla::WriteLearntWords(model, path);
        writes.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    }
    // The same written as the window does: only the hand-over and the taking back are its.
    for (int write = 0; write < 10; ++write) {
        model.Learn("en rad till som skrivs efter en paus", 20003);
        auto start = std::chrono::steady_clock::now();
        glidtavla::WordModel::LearntGrams handed = model.TakeLearntSinceMerge();
        double window = Milliseconds(std::chrono::steady_clock::now() - start);
        glidtavla::WordModel::LearntGrams written = glidtavla::WriteLearntGrams(handed, path);
        start = std::chrono::steady_clock::now();
        model.KeepWritten(std::move(written));
        window += Milliseconds(std::chrono::steady_clock::now() - start);
        windowParts.push_back(window);
    }
    state.counters["window_part_max_ms"] =
        *std::max_element(windowParts.begin(), windowParts.end());
    std::remove(path.c_str());
    std::remove((path + ".lock").c_str());
    state.counters["write_max_ms"] = *std::max_element(writes.begin(), writes.end());
}
BENCHMARK(BM_LearntFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One line learnt as LF learns it, with the model loaded, over a session of 9 000 lines of the
// held-out text: the mean time per line over lines 1-1 000 and 8 001-9 000, and the worst.
void BM_LearnLinesOfALongSession(benchmark::State& state) {
    glidtavla::WordModel model =
        glidtavla::LoadWordModel(GLIDTAVLA_WORD_MODEL, glidtavla::kSystemWordCounts);
    std::vector<std::string> lines;
    const std::string text = ReadText(GLIDTAVLA_HELD_OUT);
    for (std::size_t at = 0, end; at < text.size(); at = end + 1) {
        end = std::min(text.find('\n', at), text.size());
        if (end > at) lines.push_back(text.substr(at, end - at));
    }
    std::vector<double> times;
    for (auto _ : state) {
        for (std::size_t line = 0; line < 9000; ++line) {
            const auto start = std::chrono::steady_clock::now();
            model.Learn(lines[line % lines.size()], 20000 + int(line / 1000));
            times.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
        }
    }
    const auto mean = [&](std::size_t from, std::size_t to) {
        double sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += times[i];
        return sum / double(to - from);
    };
    state.counters["first_1000_ms"] = mean(0, 1000);
    state.counters["last_1000_ms"] = mean(8000, 9000);
    state.counters["max_ms"] = *std::max_element(times.begin(), times.end());
}
BENCHMARK(BM_LearnLinesOfALongSession)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

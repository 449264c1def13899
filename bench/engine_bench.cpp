// Cost of one pointer sample and of one character line edit, with a view that does nothing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "board/character_board.h"
#include "board/word_column.h"
#include "engine/character_line.h"
#include "engine/selection_engine.h"

namespace glidtavla {
namespace {

class NullView : public EngineView {
  public:
    void ShowReadouts(int32_t, int32_t, int64_t, int64_t) override {}
    void ShowCharacterCell(uint8_t, IndicatorColour) override {}
    void SetCharacterLineColour(IndicatorColour) override {}
    std::string CharacterLine() override { return line; }
    std::size_t CharacterLineLength() override { return line.size(); }
    void AppendToCharacterLine(uint8_t ch) override { line.push_back(static_cast<char>(ch)); }
    void TruncateCharacterLine(std::size_t length) override {
        line.resize(std::min(length, line.size()));
    }
    void AppendTextAreaLine(const std::string&) override { ++lines; }
    std::string line;
    int lines = 0;
};

struct Point {
    int32_t X, Y;
};

// Gestures as a hand makes them: from the centre out to a random cell in small pixel steps,
// a few jittery samples there, then back to the centre.
std::vector<Point> RealisticGestures(std::size_t count) {
    std::mt19937 random(42);
    std::uniform_int_distribution<int> cell(1, 7);
    std::uniform_int_distribution<int> jitter(-6, 6);
    std::vector<Point> points;
    points.reserve(count + 64);
    const Point centre{125, 100};
    while (points.size() < count) {
        const Point target{50 * cell(random) - 25, 40 * cell(random) - 20};
        const int steps = 8;
        for (int s = 1; s <= steps; ++s) {
            points.push_back({centre.X + (target.X - centre.X) * s / steps,
                              centre.Y + (target.Y - centre.Y) * s / steps});
        }
        for (int s = 0; s < 4; ++s)
            points.push_back({target.X + jitter(random), target.Y + jitter(random)});
        for (int s = steps - 1; s >= 0; --s) {
            points.push_back({centre.X + (target.X - centre.X) * s / steps,
                              centre.Y + (target.Y - centre.Y) * s / steps});
        }
    }
    return points;
}

void BM_ProcessPointerSample(benchmark::State& bench) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    SelectionState state;
    NullView view;
    const std::vector<Point> points = RealisticGestures(1 << 16);
    std::size_t i = 0;
    for (auto _ : bench) {
        const Point& p = points[i];
        ProcessPointerSample(state, board, view, nullptr, p.X, p.Y);
        if (++i == points.size()) i = 0;
        if (view.line.size() > 200) view.line.clear();
    }
    benchmark::DoNotOptimize(view.lines);
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ProcessPointerSample);

// With the word column beside the board: the board the engine writes on made once per board,
// as the window keeps it, and made at every sample, as the window did before.
void BM_ProcessPointerSampleWordColumn(benchmark::State& bench) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const bool perSample = bench.range(0) != 0;
    const CharacterBoard column = WithWordColumn(board, kMaxSlots);
    SelectionState state;
    NullView view;
    const std::vector<Point> points = RealisticGestures(1 << 16);
    std::size_t i = 0;
    CharacterBoard made;
    for (auto _ : bench) {
        const Point& p = points[i];
        if (perSample) made = WithWordColumn(board, kMaxSlots);
        ProcessPointerSample(state, perSample ? made : column, view, nullptr, p.X, p.Y);
        if (++i == points.size()) i = 0;
        if (view.line.size() > 200) view.line.clear();
    }
    benchmark::DoNotOptimize(view.lines);
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_ProcessPointerSampleWordColumn)->ArgName("madePerSample")->Arg(0)->Arg(1);

void BM_EditCharacterLine(benchmark::State& bench) {
    NullView view;
    const uint8_t codes[] = {'h', 'e',          'j', kCodeSpace, 'd', 229, kCodeBackspace,
                             'a', kCodeLineFeed};
    std::size_t i = 0;
    for (auto _ : bench) {
        EditCharacterLine(view, codes[i]);
        if (++i == sizeof codes) i = 0;
    }
    benchmark::DoNotOptimize(view.lines);
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_EditCharacterLine);

// A fetch on a line that has grown without a line feed: the same cost at any length.
void BM_FetchOnALongLine(benchmark::State& bench) {
    NullView view;
    const auto length = static_cast<std::size_t>(bench.range(0));
    view.line.assign(length, 'a');
    for (auto _ : bench) {
        EditCharacterLine(view, 'b');
        view.TruncateCharacterLine(length);
    }
    benchmark::DoNotOptimize(view.line);
    bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_FetchOnALongLine)->Arg(1000)->Arg(100000)->Arg(1000000);

}  // namespace
}  // namespace glidtavla

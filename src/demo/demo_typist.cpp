#include "demo/demo_typist.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "base/errors.h"
#include "board/shift.h"
#include "demo/demo_file.h"
#include "engine/plain_view.h"

namespace glidtavla {

namespace {

struct Point {
    int32_t X, Y;
};

// A pixel of the cell: its right and bottom bounds belong to it. None when the bounds do not
// increase and the cell cannot be reached.
std::optional<Point> PointIn(const CharacterBoard& board, BoardCell cell) {
    const Point point{board.ColumnBounds[cell.Column], board.RowBounds[cell.Row]};
    if (!(LocateCell(board, point.X, point.Y) == cell)) return std::nullopt;
    return point;
}

// The cells from a cell out to target, one step at a time (columns first, or rows first), each
// one cell farther from the centre than the one before when from lies on the way.
std::optional<std::vector<Point>> PathTo(const CharacterBoard& board, BoardCell from,
                                         BoardCell target, bool columnsFirst) {
    std::vector<Point> path;
    BoardCell at = from;
    const auto step = [](int& coordinate, int to) { coordinate += to > coordinate ? 1 : -1; };
    while (!(at == target)) {
        const bool moveColumn =
            at.Column != target.Column && (columnsFirst || at.Row == target.Row);
        if (moveColumn) {
            step(at.Column, target.Column);
        } else {
            step(at.Row, target.Row);
        }
        const std::optional<Point> point = PointIn(board, at);
        if (!point) return std::nullopt;
        path.push_back(*point);
    }
    return path;
}

}  // namespace

BoardCell TurnBetween(BoardCell from, BoardCell to) {
    const auto common = [](int a, int b) {
        a -= 3;
        b -= 3;
        if ((a > 0) != (b > 0) || a == 0 || b == 0) return 0;
        return a > 0 ? std::min(a, b) : std::max(a, b);
    };
    BoardCell turn{3 + common(from.Column, to.Column), 3 + common(from.Row, to.Row)};
    const int32_t nearest = std::min(CellDistance(from), CellDistance(to));
    while (CellDistance(turn) >= nearest) {
        int& farther = std::abs(turn.Column - 3) >= std::abs(turn.Row - 3) ? turn.Column : turn.Row;
        farther += farther > 3 ? -1 : 1;
    }
    return turn;
}

std::optional<CellSource> FindCellFor(const CharacterBoard& board, uint8_t ch) {
    const int columns = std::min(CellsInUse(board.ColumnBounds, board.BoardWidth), kMaxCells);
    const int rows = std::min(CellsInUse(board.RowBounds, board.BoardHeight), kMaxCells);
    for (const bool shifted : {false, true}) {
        for (int row = 1; row <= rows; ++row) {
            for (int column = 1; column <= columns; ++column) {
                if (column == 3 && row == 3) continue;  // the centre can never be armed
                const uint8_t code = board.NormalCodes[column][row];
                const uint8_t gives =
                    shifted ? ApplyShift(code, board.ShiftCodes[column][row]) : code;
                if (gives != ch) continue;
                const BoardCell cell{column, row};
                if (PathTo(board, {3, 3}, cell, true) || PathTo(board, {3, 3}, cell, false)) {
                    return CellSource{cell, shifted};
                }
            }
        }
    }
    return std::nullopt;
}

namespace {

double Edge(const CellLine<int32_t>& bounds, int index) {
    return index <= 1 ? 0.0 : double(bounds[index - 1]);
}

double SmallerSide(const CharacterBoard& board, BoardCell cell) {
    return std::min(board.ColumnBounds[cell.Column] - Edge(board.ColumnBounds, cell.Column),
                    board.RowBounds[cell.Row] - Edge(board.RowBounds, cell.Row));
}

std::string Named(uint8_t ch) {
    if (ch == kCodeLineFeed) return "line feed";
    if (ch < 32 || ch == 127) return "code " + std::to_string(ch);
    return "\"" + std::string(1, static_cast<char>(ch)) + "\" (code " + std::to_string(ch) + ")";
}

// Collects the lines the recorder would write.
class LineCollector : public SampleRecorder {
  public:
    void WriteDemoSample(const SelectionState& state) override { Lines += FormatDemoLine(state); }
    std::string Lines;
};

}  // namespace

CellPoint CellCentre(const CharacterBoard& board, BoardCell cell) {
    return {(Edge(board.ColumnBounds, cell.Column) + board.ColumnBounds[cell.Column]) / 2,
            (Edge(board.RowBounds, cell.Row) + board.RowBounds[cell.Row]) / 2};
}

double CellCentreDistance(const CharacterBoard& board, BoardCell a, BoardCell b) {
    const CellPoint from = CellCentre(board, a), to = CellCentre(board, b);
    return std::hypot(to.X - from.X, to.Y - from.Y);
}

double MovementBits(const CharacterBoard& board, BoardCell from, BoardCell to) {
    const double width = SmallerSide(board, to);
    return width > 0 ? std::log2(CellCentreDistance(board, from, to) / width + 1) : 0;
}

std::string TypeDemo(const CharacterBoard& board, const std::string& text, bool chained) {
    // The samples run through the engine itself, so the file holds what a recording would.
    SelectionState state;
    PlainView view;
    LineCollector recorder;
    const std::optional<Point> centre = PointIn(board, {3, 3});
    if (!centre) throw Error("The board has no reachable centre cell");
    const auto sample = [&](Point p) {
        ProcessPointerSample(state, board, view, &recorder, p.X, p.Y);
    };

    std::vector<CellSource> sources;
    for (const char c : text) {
        const uint8_t ch = c == '\n' ? kCodeLineFeed : static_cast<uint8_t>(c);
        const std::optional<CellSource> source = FindCellFor(board, ch);
        if (!source) throw Error("No cell of the board gives " + Named(ch));
        sources.push_back(*source);
    }
    BoardCell from{3, 3};
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const BoardCell cell = sources[i].Cell;
        std::optional<std::vector<Point>> path = PathTo(board, from, cell, true);
        if (!path) path = PathTo(board, from, cell, false);
        if (!path) path = PathTo(board, {3, 3}, cell, true);
        if (!path) path = PathTo(board, {3, 3}, cell, false);
        state.ShiftHeld = sources[i].Shifted;
        for (const Point& p : *path)
            sample(p);
        // Turning back fetches the character: to the centre, or on a chained glide only as far
        // as the way to the next character needs.
        from = chained && i + 1 < sources.size() ? TurnBetween(cell, sources[i + 1].Cell)
                                                 : BoardCell{3, 3};
        const std::optional<Point> turn = PointIn(board, from);
        if (!turn) from = {3, 3};
        sample(turn ? *turn : *centre);
        state.ShiftHeld = false;
    }
    return recorder.Lines;
}

std::string TypeJitteredDemo(const CharacterBoard& board, const std::string& text, double sigma,
                             uint32_t seed, double bitsPerSecond) {
    constexpr double kSecondsPerSample = 0.05;
    constexpr int kRestSamples = 10;
    SelectionState state;
    PlainView view;
    LineCollector recorder;
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, sigma > 0 ? sigma : 1);
    const auto jitter = [&](double at) {
        return static_cast<int32_t>(std::lround(at + (sigma > 0 ? noise(random) : 0)));
    };
    const auto sample = [&](CellPoint p) {
        ProcessPointerSample(state, board, view, &recorder, jitter(p.X), jitter(p.Y));
    };
    const CentrePoint middle = CentreOfCentreCell(board);
    const CellPoint centre{double(middle.X), double(middle.Y)};
    // Timed, a movement takes its index over the throughput; else a sample every two pixels.
    const auto glide = [&](CellPoint from, CellPoint to, double bits) {
        const double length = std::hypot(to.X - from.X, to.Y - from.Y);
        const int steps =
            bitsPerSecond > 0
                ? std::max(1,
                           static_cast<int>(std::lround(bits / bitsPerSecond / kSecondsPerSample)))
                : std::max(1, static_cast<int>(length / 2));
        for (int i = 1; i <= steps; ++i) {
            const double t = double(i) / steps;
            sample({from.X + t * (to.X - from.X), from.Y + t * (to.Y - from.Y)});
        }
    };
    for (const char c : text) {
        const uint8_t ch = c == '\n' ? kCodeLineFeed : static_cast<uint8_t>(c);
        const std::optional<CellSource> source = FindCellFor(board, ch);
        if (!source) throw Error("No cell of the board gives " + Named(ch));
        const BoardCell cell = source->Cell;
        const CellPoint target = CellCentre(board, cell);
        if (bitsPerSecond > 0) {
            for (int i = 0; i < kRestSamples; ++i)
                sample(centre);
        }
        state.ShiftHeld = source->Shifted;
        glide(centre, target, MovementBits(board, {3, 3}, cell));
        glide(target, centre, MovementBits(board, cell, {3, 3}));
        state.ShiftHeld = false;
    }
    return recorder.Lines;
}

}  // namespace glidtavla

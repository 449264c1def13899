#include "demo/demo_typist.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "board/errors.h"
#include "board/shift.h"
#include "demo/demo_file.h"
#include "engine/plain_view.h"

namespace glidtavla {

namespace {

struct Point {
    int32_t x, y;
};

// A pixel of the cell: its right and bottom bounds belong to it. None when the bounds do not
// increase and the cell cannot be reached.
std::optional<Point> PointIn(const CharacterBoard& board, BoardCell cell) {
    const Point point{board.ColumnBounds[cell.Column], board.RowBounds[cell.Row]};
    if (!(LocateCell(board, point.x, point.y) == cell)) return std::nullopt;
    return point;
}

// The cells from the centre out to target, one step at a time (columns first, or rows
// first), each one cell farther from the centre than the one before.
std::optional<std::vector<Point>> PathTo(const CharacterBoard& board, BoardCell target,
                                         bool columnsFirst) {
    std::vector<Point> path;
    BoardCell at{3, 3};
    const auto step = [](int& from, int to) { from += to > from ? 1 : -1; };
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
                if (PathTo(board, cell, true) || PathTo(board, cell, false)) {
                    return CellSource{cell, shifted};
                }
            }
        }
    }
    return std::nullopt;
}

namespace {

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

std::string TypeDemo(const CharacterBoard& board, const std::string& text) {
    // The samples run through the engine itself, so the file holds what a recording would.
    SelectionState state;
    PlainView view;
    LineCollector recorder;
    const std::optional<Point> centre = PointIn(board, {3, 3});
    if (!centre) throw Error("The board has no reachable centre cell");
    const auto sample = [&](Point p) {
        ProcessPointerSample(state, board, view, &recorder, p.x, p.y);
    };

    for (const char c : text) {
        const uint8_t ch = c == '\n' ? kCodeLineFeed : static_cast<uint8_t>(c);
        const std::optional<CellSource> source = FindCellFor(board, ch);
        if (!source) throw Error("No cell of the board gives " + Named(ch));
        std::optional<std::vector<Point>> path = PathTo(board, source->cell, true);
        if (!path) path = PathTo(board, source->cell, false);
        state.ShiftHeld = source->shifted;
        for (const Point& p : *path)
            sample(p);
        sample(*centre);  // turning back fetches the character
        state.ShiftHeld = false;
    }
    return recorder.Lines;
}

}  // namespace glidtavla

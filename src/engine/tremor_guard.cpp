#include "engine/tremor_guard.h"

#include <algorithm>
#include <limits>

namespace glidtavla {

namespace {

// The pixels of a column (row): past the bound before it, up to its own bound. The first runs
// on to the left (top) and the 20th to the right (bottom), as LocateCell reads them.
struct Span {
    int64_t first, last;
};

Span SpanOf(const CellLine<int32_t>& bounds, int index) {
    constexpr int64_t kFar = std::numeric_limits<int32_t>::max();
    return {index <= 1 ? -kFar : int64_t{bounds[index - 1]} + 1,
            index >= kMaxCells ? kFar : int64_t{bounds[index]}};
}

// How far a coordinate lies outside a span, and the nearest coordinate inside it.
int64_t Outside(Span span, int64_t at) {
    return at < span.first ? span.first - at : at > span.last ? at - span.last : 0;
}

}  // namespace

GuardedSample GuardSample(const CharacterBoard& board, const SelectionState& state, int32_t x,
                          int32_t y, int32_t band) {
    if (band <= 0 || state.Resting) return {x, y};
    const BoardCell from = state.PreviousCell;
    if (LocateCell(board, x, y) == from) return {x, y};
    const Span columns = SpanOf(board.ColumnBounds, from.Column);
    const Span rows = SpanOf(board.RowBounds, from.Row);
    // A cell whose bounds do not grow holds no pixel: nothing to keep the pointer in.
    if (columns.first > columns.last || rows.first > rows.last) return {x, y};
    if (std::max(Outside(columns, x), Outside(rows, y)) >= band) return {x, y};
    return {static_cast<int32_t>(std::clamp<int64_t>(x, columns.first, columns.last)),
            static_cast<int32_t>(std::clamp<int64_t>(y, rows.first, rows.last))};
}

}  // namespace glidtavla

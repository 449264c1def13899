#include "engine/tremor_guard.h"

#include <algorithm>
#include <limits>
#include <optional>

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

// The previous cell's nearest pixel, or nullopt for a cell that holds none.
std::optional<GuardedSample> IntoPreviousCell(const CharacterBoard& board,
                                              const SelectionState& state, int32_t x, int32_t y) {
    const Span columns = SpanOf(board.ColumnBounds, state.PreviousCell.Column);
    const Span rows = SpanOf(board.RowBounds, state.PreviousCell.Row);
    if (columns.first > columns.last || rows.first > rows.last) return std::nullopt;
    return GuardedSample{static_cast<int32_t>(std::clamp<int64_t>(x, columns.first, columns.last)),
                         static_cast<int32_t>(std::clamp<int64_t>(y, rows.first, rows.last))};
}

// How far a point lies outside the previous cell (0 inside it), in the larger of the two axes.
int64_t OutsidePrevious(const CharacterBoard& board, const SelectionState& state, int32_t x,
                        int32_t y) {
    return std::max(Outside(SpanOf(board.ColumnBounds, state.PreviousCell.Column), x),
                    Outside(SpanOf(board.RowBounds, state.PreviousCell.Row), y));
}

}  // namespace

GuardedSample GuardSample(const CharacterBoard& board, SelectionState& state, int32_t x, int32_t y,
                          int32_t band) {
    if (band <= 0 || state.Resting) {
        state.GuardSeen = false;
        return {x, y};
    }
    // One sample past the band may be a tremor's peak; two in a row in the same cell are a
    // move into it.
    const BoardCell cell = LocateCell(board, x, y);
    const bool before = state.GuardSeen && LocateCell(board, state.GuardX, state.GuardY) == cell &&
                        OutsidePrevious(board, state, state.GuardX, state.GuardY) >= band;
    state.GuardX = x;
    state.GuardY = y;
    state.GuardSeen = true;
    if (cell == state.PreviousCell) return {x, y};
    if (before && OutsidePrevious(board, state, x, y) >= band) return {x, y};
    return IntoPreviousCell(board, state, x, y).value_or(GuardedSample{x, y});
}

}  // namespace glidtavla

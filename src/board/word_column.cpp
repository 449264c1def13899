#include "board/word_column.h"

#include <algorithm>

namespace glidtavla {

std::optional<BoardCell> SlotCell(const CharacterBoard& board, int slot) {
    const int columns = std::min(CellsInUse(board.ColumnBounds, board.BoardWidth), kMaxCells);
    const int rows = std::min(CellsInUse(board.RowBounds, board.BoardHeight), kMaxCells);
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column) {
            if (board.NormalCodes[column][row] == kCodeFirstSlot + slot - 1)
                return BoardCell{column, row};
        }
    }
    return std::nullopt;
}

CharacterBoard WithWordColumn(const CharacterBoard& board, int slots) {
    const int columns = CellsInUse(board.ColumnBounds, board.BoardWidth);
    const int rows = std::min(CellsInUse(board.RowBounds, board.BoardHeight), kMaxCells);
    if (slots <= 0 || columns >= kMaxCells || SlotCell(board, 1)) return board;
    CharacterBoard with = board;
    const int32_t right = board.ColumnBounds[columns];
    const int32_t width = std::max(2 * right / columns, 1);
    for (int i = columns + 1; i <= kMaxCells; ++i)
        with.ColumnBounds[i] = right + width;
    with.BoardWidth = right + width;
    for (int row = 1; row <= std::min({slots, rows, kMaxSlots}); ++row) {
        with.NormalCodes[columns + 1][row] = static_cast<uint8_t>(kCodeFirstSlot + row - 1);
        with.ShiftCodes[columns + 1][row] = 0;
    }
    return with;
}

}  // namespace glidtavla

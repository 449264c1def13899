#include "board/character_board.h"

namespace glidtavla {

namespace {

// Rows of the built-in board, top to bottom, columns 1..7 left to right.
constexpr uint8_t kBuiltInRows[7][7] = {
    {'c', 'k', 'f', 'r', 'h', '0', '5'},
    {'b', 'a', 'o', 'u', 'p', '1', '6'},
    {'m', 's', kCodeEmpty, 't', 'j', '2', '7'},
    {'l', 'e', 'i', kCodeSpace, 'x', '3', '8'},
    {'v', 'd', 'n', 'g', 'z', '4', '9'},
    {'q', ',', 'y', '.', kCodeBackspace, kCodeLineFeed, kCodeDeleteLine},
    {229, 228, 246, '<', kCodeEmpty, '-', '+'},  // å ä ö; the foot cell below the centre is empty
};

}  // namespace

int CellsInUse(const CellLine<int32_t>& bounds, int32_t size) {
    for (int i = 1; i <= kMaxCells; ++i) {
        if (bounds[i] >= size) return i;
    }
    return kMaxCells + 1;
}

void ResetToBuiltInBoard(CharacterBoard& board) {
    board.NormalCodes = {};
    board.ShiftCodes = {};
    for (int i = 1; i <= kMaxCells; ++i) {
        board.ColumnBounds[i] = 50 * i;
        board.RowBounds[i] = 40 * i;
    }
    for (int row = 1; row <= 7; ++row) {
        for (int column = 1; column <= 7; ++column) {
            board.NormalCodes[column][row] = kBuiltInRows[row - 1][column - 1];
        }
    }
    board.BoardWidth = 350;
    board.BoardHeight = 280;
}

}  // namespace glidtavla

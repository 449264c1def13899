#include "board/cell_label.h"

#include <algorithm>

#include "board/shift.h"

namespace glidtavla {

namespace {

// The cells whose normal code alone decides the label: a blank, the control cells' names,
// and each key with its shifted character beside it.
const char* FixedLabel(uint8_t code) {
    switch (code) {
        case kCodeEmpty:
            return " ";
        case kCodeDeleteLine:
            return "DL";
        case kCodeBackspace:
            return "BS";
        case kCodeLineFeed:
            return "LF";
        case kCodeSpace:
            return "SP";
        case kCodeShiftCell:
            return "SK";
        case 2:  // the word slots; the window writes their words over them
            return "Ord1";
        case 3:
            return "Ord2";
        case 4:
            return "Ord3";
        case 5:
            return "Ord4";
        case 6:
            return "Ord5";
        case 7:
            return "Ord6";
        case '+':
            return "+?";
        case ',':
            return ",;";
        case '-':
            return "-_";
        case '.':
            return ".:";
        case '0':
            return "0=";
        case '1':
            return "1!";
        case '2':
            return "2\"";
        case '3':
            return "3#";
        case '4':
            return "4\xA4";
        case '5':
            return "5%";
        case '6':
            return "6&";
        case '7':
            return "7/";
        case '8':
            return "8(";
        case '9':
            return "9)";
        case '<':
            return "<>";
        default:
            return nullptr;
    }
}

}  // namespace

std::string CellLabel(const CharacterBoard& board, int column, int row) {
    const uint8_t code = board.NormalCodes[column][row];
    if (const char* fixed = FixedLabel(code)) return fixed;
    return std::string(1, static_cast<char>(ApplyShift(code, board.ShiftCodes[column][row])));
}

std::vector<std::vector<std::string>> CellLabels(const CharacterBoard& board) {
    const int columns = std::min(CellsInUse(board.ColumnBounds, board.BoardWidth), kMaxCells);
    const int rows = std::min(CellsInUse(board.RowBounds, board.BoardHeight), kMaxCells);
    std::vector<std::vector<std::string>> labels(static_cast<std::size_t>(rows));
    for (int row = 1; row <= rows; ++row) {
        for (int column = 1; column <= columns; ++column)
            labels[static_cast<std::size_t>(row - 1)].push_back(CellLabel(board, column, row));
    }
    return labels;
}

}  // namespace glidtavla

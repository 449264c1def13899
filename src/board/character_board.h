#pragma once

#include <array>
#include <cstdint>

namespace glidtavla {

constexpr int kMaxCells = 20;

// Index 0 of every table is unused so that columns and rows are 1-based, as boards are described.
template <typename T>
using CellLine = std::array<T, kMaxCells + 1>;
template <typename T>
using CellTable = std::array<CellLine<T>, kMaxCells + 1>;  // [column][row]

struct CharacterBoard {
    CellLine<int32_t> ColumnBounds{};  // right pixel edge of each column
    CellLine<int32_t> RowBounds{};     // bottom pixel edge of each row
    int32_t BoardWidth = 0;
    int32_t BoardHeight = 0;
    uint8_t RowCount = 0;  // rows given by the last table read
    CellTable<uint8_t> NormalCodes{};
    CellTable<int32_t> ShiftCodes{};  // 0 = no shift code of the cell's own
};

struct BoardCell {
    int Column = 3;
    int Row = 3;
    friend bool operator==(const BoardCell&, const BoardCell&) = default;
};

// Control codes a cell can give instead of a character.
constexpr uint8_t kCodeEmpty = 0;
constexpr uint8_t kCodeDeleteLine = 1;
constexpr uint8_t kCodeBackspace = 8;
constexpr uint8_t kCodeLineFeed = 13;
constexpr uint8_t kCodeSpace = 32;
// Shifts the next fetched character as a held left button would; twice in a row locks shift.
constexpr uint8_t kCodeShiftCell = 14;

// The columns (rows) in use: up to the first whose bound is at least the board's size.
// kMaxCells + 1 when no bound reaches it, so the board runs on past the last bound.
int CellsInUse(const CellLine<int32_t>& bounds, int32_t size);

// Makes the board the built-in 7 x 7 board of 50 x 40 pixel cells. RowCount is left alone.
void ResetToBuiltInBoard(CharacterBoard& board);

}  // namespace glidtavla

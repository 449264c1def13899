#pragma once

#include <QImage>

#include <cstdint>

#include "board/character_board.h"

namespace glidtavla {

struct LabelOffsets {
    uint16_t X;
    uint16_t Y;
};

// Nine tenths of the first column's width and the first row's height, halves to even,
// held as 16-bit unsigned values.
LabelOffsets LabelOffsetsOf(const CharacterBoard& board);

// The label size in points by the size rule: 24, 20, 16, 12, or the default 8.
int LabelPointSize(LabelOffsets offsets);

// Paints the board from its table on picture (a copy of the built-in picture, never
// resized): white board in a black frame, grid lines, one label per cell.
void DrawBoardFromTable(QImage& picture, const CharacterBoard& board);

}  // namespace glidtavla

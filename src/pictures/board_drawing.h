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

// Paints the board from its table on picture, in board pixels times scale: white board in a
// black frame, grid lines, one label per cell. Anything outside the picture is clipped.
void DrawBoardFromTable(QImage& picture, const CharacterBoard& board, double scale = 1.0);

// The largest side a drawn board's picture takes; a table may name sizes far beyond a screen.
constexpr int kMaxDrawnSide = 4096;

// The board as "Utan bild" shows it: the built-in picture (drawn at the same scale) at the top
// left, white beyond it up to the board's size, and the board painted over that, so no cell
// that writes is unseen.
QImage DrawnBoard(const QImage& builtInPicture, const CharacterBoard& board, double scale = 1.0);

}  // namespace glidtavla

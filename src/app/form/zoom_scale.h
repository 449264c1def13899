#pragma once

#include <cstdint>

namespace glidtavla {

// The board is shown at a zoom, in whole percent; the engine, tables and demos keep working in
// board pixels.
constexpr int kMinZoom = 100;
constexpr int kMaxZoom = 400;

// Board pixels to window pixels, and back (rounded down, also below zero).
int64_t Zoomed(int64_t boardPixels, int percent);
int32_t Unzoomed(int windowPixels, int percent);

// How much the character cell, the character line and the text area grow: with the zoom, up
// to twice their size, so they stay readable without crowding out the board.
double TextFactor(int percent);

// The largest zoom at which a board, what stands below it (belowAt100 pixels at 100 %, growing
// by TextFactor) and what stands right of it (besideAt100, not growing) fit into available;
// kMinZoom when even that does not.
int ZoomToFit(int boardWidth, int boardHeight, int belowAt100, int besideAt100, int availableWidth,
              int availableHeight);

}  // namespace glidtavla

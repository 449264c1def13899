#pragma once

#include <optional>
#include <string>

#include "board/character_board.h"

namespace glidtavla {

// A demo file that, replayed from a fresh start on this board, writes text (Windows-1252
// bytes; "\n" is a line feed). Each character is fetched from a cell that gives it, unshifted
// if one does, else with the left button held, by a path out through cells of strictly
// growing distance and back to the centre. Chained, it turns back only as far as TurnBetween
// and goes out from there to the next. A character no cell gives is an error naming it.
std::string TypeDemo(const CharacterBoard& board, const std::string& text, bool chained = false);

// The demo of a real pointer writing text out and back: straight from the centre cell's centre
// to each cell's centre and back, a sample every two pixels, each with Gaussian noise of sigma
// pixels (seeded, so a seed gives the same demo). What it writes depends on the noise.
// With bitsPerSecond, a pointer of that throughput instead: each movement takes Fitts' index
// (MovementBits) over it, sampled every 50 ms as the window's timer plays it, and the pointer
// rests half a second in the centre before each glide.
std::string TypeJitteredDemo(const CharacterBoard& board, const std::string& text, double sigma,
                             uint32_t seed, double bitsPerSecond = 0);

// A cell's centre is the middle of its bounds, with 0 as the left (top) edge of column (row) 1.
struct CellPoint {
    double X, Y;
};
CellPoint CellCentre(const CharacterBoard& board, BoardCell cell);
double CellCentreDistance(const CharacterBoard& board, BoardCell a, BoardCell b);
// Fitts' index of one movement between cell centres, log2(D / W + 1), with the target's smaller
// side as W.
double MovementBits(const CharacterBoard& board, BoardCell from, BoardCell to);

// The cell a chained glide turns in between two cells: nearer the centre than both, on the way
// out to both, as far out as that allows.
BoardCell TurnBetween(BoardCell from, BoardCell to);

// The cell that gives a code, as TypeDemo chooses it, and whether the left button is held.
struct CellSource {
    BoardCell Cell;
    bool Shifted;
};
std::optional<CellSource> FindCellFor(const CharacterBoard& board, uint8_t ch);

}  // namespace glidtavla

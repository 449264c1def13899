#pragma once

#include <cstdint>

#include "board/character_board.h"
#include "engine/selection_engine.h"

namespace glidtavla {

struct GuardedSample {
    int32_t X, Y;
};

// A trembling pointer on a cell's edge: the cell changes only on two samples in a row in the
// same cell, each band pixels or more past the edge of the cell of the sample before (one
// tremor's peak neither arms nor fetches); a sample held back is moved onto the nearest pixel
// of that cell, so the step, and a demo recorded from it, see it there. The state keeps the
// sample before. A band of 0, or a pointer just come onto the board, leaves the sample as it is.
GuardedSample GuardSample(const CharacterBoard& board, SelectionState& state, int32_t x, int32_t y,
                          int32_t band);

}  // namespace glidtavla

#pragma once

#include <cstdint>

#include "board/character_board.h"
#include "engine/selection_engine.h"

namespace glidtavla {

struct GuardedSample {
    int32_t X, Y;
};

// A trembling pointer on a cell's edge: the cell changes only once the pointer is band pixels
// or more past the edge of the cell of the sample before; a sample inside that band is moved
// onto the nearest pixel of that cell, so the step, and a demo recorded from it, see it there.
// A band of 0, or a pointer just come onto the board, leaves the sample as it is.
GuardedSample GuardSample(const CharacterBoard& board, const SelectionState& state, int32_t x,
                          int32_t y, int32_t band);

}  // namespace glidtavla

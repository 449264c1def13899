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
// The turn is guarded too: while armed, a sample that would bring the cell nearer the centre
// is held in the cell before until the pointer has come back band pixels or more from the
// farthest it went, so a tremor that arms on one sample does not fetch on the next.
// A band of 0, or a pointer just come onto the board, leaves the sample as it is.
GuardedSample GuardSample(const CharacterBoard& board, SelectionState& state, int32_t x, int32_t y,
                          int32_t band);

}  // namespace glidtavla

#pragma once

#include <cstdint>

#include "board/character_board.h"
#include "engine/engine_view.h"

namespace glidtavla {

// The engine's memory between pointer samples.
struct SelectionState {
    int32_t X0 = 0;
    int32_t Y0 = 0;
    uint8_t ch = 0;
    bool Armed = false;
    bool ShiftHeld = false;
    BoardCell PreviousCell{3, 3};
    int32_t PreviousDistance = 0;  // always CellDistance(PreviousCell)
};

// Called at the fixed point of each processed sample while a demo is recorded. A throw skips
// the rest of the sample: colour, fetch, arming and the previous cell stay as they were.
class SampleRecorder {
  public:
    virtual ~SampleRecorder() = default;
    virtual void WriteDemoSample(const SelectionState& state) = 0;
};

struct CentrePoint {
    int64_t X;
    int64_t Y;
};

int32_t CellDistance(BoardCell cell);
BoardCell LocateCell(const CharacterBoard& board, int32_t x, int32_t y);
CentrePoint CentreOfCentreCell(const CharacterBoard& board);

// Sets the state for a gesture that starts in the centre cell; other fields are kept.
void ResetToCentre(SelectionState& state);

// One pointer sample: read-outs, character cell, recording, then fetch and arming.
// recorder is null when no demo is being recorded.
void ProcessPointerSample(SelectionState& state, const CharacterBoard& board, EngineView& view,
                          SampleRecorder* recorder, int32_t x, int32_t y);

}  // namespace glidtavla

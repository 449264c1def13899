#pragma once

#include <cstdint>
#include <string_view>

#include "board/character_board.h"
#include "engine/engine_view.h"

namespace glidtavla {

// The shift cell's state: off, for the next character, or locked until fetched again.
enum class ShiftCellState { Off, Once, Locked };

// The engine's memory between pointer samples.
struct SelectionState {
    int32_t X0 = 0;
    int32_t Y0 = 0;
    uint8_t ch = 0;
    bool Armed = false;
    bool ShiftHeld = false;
    BoardCell PreviousCell{3, 3};
    int32_t PreviousDistance = 0;  // always CellDistance(PreviousCell)
    // The pointer has just come onto the board: the next sample only finds where it is.
    bool Resting = false;
    // The last fetch completed a word and wrote the space after it.
    bool SpaceAfterWord = false;
    // A sign that ends a sentence or clause writes its space too; the window sets it, never
    // for a demo, so demos replay as they were made.
    bool SpaceAfterSigns = false;
    // The last fetch was such a sign, and its space stands after it.
    bool SpaceAfterSign = false;
    ShiftCellState ShiftCell = ShiftCellState::Off;
    // The tremor guard's own: the sample before as the pointer gave it, and whether there was
    // one. The steps never read them.
    int32_t GuardX = 0, GuardY = 0;
    bool GuardSeen = false;
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

// What turning back now would write: the code of the cell the pointer has moved out to, shifted
// as it would be; 0 while nothing is armed.
uint8_t ArmedCode(const SelectionState& state, const CharacterBoard& board);

// Sets the state for a gesture that starts in the centre cell; other fields are kept.
void ResetToCentre(SelectionState& state);

// The pointer comes onto the board from elsewhere (START, a menu, the help panel): the way in
// must not fetch the cell it crossed first, so the next sample neither fetches nor arms.
void RestSelection(SelectionState& state);

// START: the pointer comes onto the board from the button, and no shift cell is pending, so a
// demo recorded or played from here meets the state it met when it was made.
void StartWriting(SelectionState& state, EngineView& view);

// The pointer has left the board: nothing it passes on its way back may be fetched.
void Disarm(SelectionState& state, EngineView& view);

// The codes that follow a completed word without its space: signs that end a sentence or a
// clause, and LF.
bool TakesSpaceAway(uint8_t ch);

// Whether a line that ends in a sign just written gets a space after it: after . , ; : ! ?,
// not after a digit ("3,5", "10:30") nor after a dot that ends a one-letter word or follows
// another dot in it ("t.ex.").
bool SpaceFollowsSign(std::string_view line);

// One pointer sample: read-outs, character cell, recording, then fetch and arming. A resting
// sample shows its read-outs, is recorded and becomes the previous cell, nothing more.
// recorder is null when no demo is being recorded.
void ProcessPointerSample(SelectionState& state, const CharacterBoard& board, EngineView& view,
                          SampleRecorder* recorder, int32_t x, int32_t y);

}  // namespace glidtavla

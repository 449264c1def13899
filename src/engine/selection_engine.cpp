#include "engine/selection_engine.h"

#include <cstdlib>

#include "base/rounding.h"
#include "board/shift.h"
#include "board/word_column.h"
#include "engine/character_line.h"

namespace glidtavla {

namespace {

// The first index whose bound is at or beyond the coordinate. A coordinate beyond the 20th
// bound (a drag far off the board, or a demo line) takes the 20th column or row, so every
// sample lands in a real cell and its code is 0 on any board that does not reach that far.
int FirstBoundAtOrBeyond(const CellLine<int32_t>& bounds, int32_t coordinate) {
    for (int i = 1; i < kMaxCells; ++i) {
        if (bounds[i] >= coordinate) return i;
    }
    return kMaxCells;
}

bool Shifted(const SelectionState& state) {
    return state.ShiftHeld || state.ShiftCell != ShiftCellState::Off;
}

IndicatorColour ArmedColour(bool armed) {
    return armed ? IndicatorColour::Yellow : IndicatorColour::White;
}

}  // namespace

const char* ColourName(IndicatorColour colour) {
    switch (colour) {
        case IndicatorColour::White:
            return "white";
        case IndicatorColour::Yellow:
            return "yellow";
        case IndicatorColour::Blue:
            return "blue";
        case IndicatorColour::Red:
            return "red";
        case IndicatorColour::Green:
            return "green";
        case IndicatorColour::Lime:
            return "lime";
    }
    return "white";
}

int32_t CellDistance(BoardCell cell) {
    return std::abs(cell.Column - 3) + std::abs(cell.Row - 3);
}

BoardCell LocateCell(const CharacterBoard& board, int32_t x, int32_t y) {
    return {FirstBoundAtOrBeyond(board.ColumnBounds, x), FirstBoundAtOrBeyond(board.RowBounds, y)};
}

CentrePoint CentreOfCentreCell(const CharacterBoard& board) {
    const int64_t sumX = int64_t{board.ColumnBounds[2]} + board.ColumnBounds[3];
    const int64_t sumY = int64_t{board.RowBounds[2]} + board.RowBounds[3];
    return {RoundHalfToEven(sumX, 2), RoundHalfToEven(sumY, 2)};
}

void ResetToCentre(SelectionState& state) {
    state.PreviousCell = {3, 3};
    state.PreviousDistance = 0;
}

void RestSelection(SelectionState& state) {
    state.Resting = true;
    state.Armed = false;
}

void StartWriting(SelectionState& state, EngineView& view) {
    RestSelection(state);
    state.ShiftCell = ShiftCellState::Off;
    view.ShiftCellChanged(0);
}

void Disarm(SelectionState& state, EngineView& view) {
    state.Armed = false;
    view.SetCharacterLineColour(IndicatorColour::White);
}

namespace {

void ProcessRestingSample(SelectionState& state, EngineView& view, SampleRecorder* recorder,
                          BoardCell cell) {
    state.ch = 0;
    view.ShowCharacterCell(state.ch, IndicatorColour::White);
    if (recorder != nullptr) recorder->WriteDemoSample(state);
    view.SetCharacterLineColour(IndicatorColour::White);
    state.Resting = false;
    state.PreviousDistance = CellDistance(cell);
    state.PreviousCell = cell;
}

}  // namespace

bool TakesSpaceAway(uint8_t ch) {
    switch (ch) {
        case kCodeLineFeed:
        case '.':
        case ',':
        case ':':
        case ';':
        case '!':
        case '?':
            return true;
        default:
            return false;
    }
}

bool SpaceFollowsSign(std::string_view line) {
    if (line.size() < 2) return false;
    const char sign = line.back();
    if (sign == '\n' || !TakesSpaceAway(static_cast<uint8_t>(sign))) return false;
    const auto before = static_cast<unsigned char>(line[line.size() - 2]);
    if (before >= '0' && before <= '9') return false;
    if (before == ' ') return false;  // a sign standing alone, or a second one
    if (sign != '.') return true;
    // The word the dot ends: one letter, or dotted already, is an abbreviation.
    const std::size_t start = line.find_last_of(' ', line.size() - 2);
    const std::string_view word = line.substr(start == std::string_view::npos ? 0 : start + 1);
    const std::string_view letters = word.substr(0, word.size() - 1);
    return letters.size() > 1 && letters.find('.') == std::string_view::npos;
}

namespace {

// Off, once, locked, off again: each fetch of the shift cell moves one step on.
void FetchShiftCell(SelectionState& state, EngineView& view) {
    switch (state.ShiftCell) {
        case ShiftCellState::Off:
            state.ShiftCell = ShiftCellState::Once;
            break;
        case ShiftCellState::Once:
            state.ShiftCell = ShiftCellState::Locked;
            break;
        case ShiftCellState::Locked:
            state.ShiftCell = ShiftCellState::Off;
            break;
    }
    view.ShiftCellChanged(static_cast<int>(state.ShiftCell));
}

void Fetch(SelectionState& state, EngineView& view) {
    if (state.ch == kCodeShiftCell) return FetchShiftCell(state, view);
    const bool shifted = Shifted(state);
    if (state.ShiftCell == ShiftCellState::Once && state.ch != kCodeEmpty) {
        state.ShiftCell = ShiftCellState::Off;  // it has shifted its character
        view.ShiftCellChanged(0);
    }
    const bool spaceAfterWord = state.SpaceAfterWord;
    const bool spaceAfterSign = state.SpaceAfterSign;
    state.SpaceAfterWord = false;
    state.SpaceAfterSign = false;
    const int slot = shifted && state.ch == kCodeSpace ? 0
                     : IsSlotCode(state.ch)            ? state.ch - kCodeFirstSlot + 1
                                                       : -1;
    if (slot >= 0) {
        if (const std::optional<std::string> rest = view.WordToComplete(slot)) {
            if (rest->empty()) return;  // an empty slot writes nothing
            for (const char c : *rest)
                EditCharacterLine(view, static_cast<uint8_t>(c));
            EditCharacterLine(view, kCodeSpace);
            state.SpaceAfterWord = true;
            return;
        }
    }
    const std::size_t length = view.CharacterLineLength();
    // The space a word or a sign brought goes again before a sign or LF; a BS after a sign
    // takes its space with it, as the sign was one fetch.
    const bool takeSpace = (spaceAfterWord || spaceAfterSign) && TakesSpaceAway(state.ch);
    if ((takeSpace || (spaceAfterSign && state.ch == kCodeBackspace)) && length > 0) {
        view.TruncateCharacterLine(length - 1);
        view.CharacterFetched(kCodeBackspace, length, length - 1);
    }
    EditCharacterLine(view, state.ch);
    if (state.SpaceAfterSigns && TakesSpaceAway(state.ch) && state.ch != kCodeLineFeed &&
        SpaceFollowsSign(view.CharacterLine())) {
        EditCharacterLine(view, kCodeSpace);
        state.SpaceAfterSign = true;
    }
}

}  // namespace

uint8_t ArmedCode(const SelectionState& state, const CharacterBoard& board) {
    if (!state.Armed || state.Resting) return kCodeEmpty;
    const BoardCell cell = state.PreviousCell;
    const uint8_t code = board.NormalCodes[cell.Column][cell.Row];
    if (!Shifted(state) || code == kCodeShiftCell) return code;
    return ApplyShift(code, board.ShiftCodes[cell.Column][cell.Row]);
}

void ProcessPointerSample(SelectionState& state, const CharacterBoard& board, EngineView& view,
                          SampleRecorder* recorder, int32_t x, int32_t y) {
    // 1-3: position and read-outs. X1 and Y1 are wide so that no position can overflow them.
    state.X0 = x;
    state.Y0 = y;
    const CentrePoint centre = CentreOfCentreCell(board);
    view.ShowReadouts(state.X0, state.Y0, state.X0 - centre.X, state.Y0 - centre.Y);

    // 4-6: the current cell, and the character of the previous one.
    const BoardCell cell = LocateCell(board, state.X0, state.Y0);
    if (state.Resting) return ProcessRestingSample(state, view, recorder, cell);
    const BoardCell previous = state.PreviousCell;
    state.ch = board.NormalCodes[previous.Column][previous.Row];
    const int32_t shiftCode = board.ShiftCodes[previous.Column][previous.Row];
    const int32_t distance = CellDistance(cell);

    // 7-10: the character cell, coloured by the armed state unless the code is a control code.
    IndicatorColour cellColour = ArmedColour(state.Armed);
    if (Shifted(state) && state.ch != kCodeShiftCell) state.ch = ApplyShift(state.ch, shiftCode);
    switch (state.ch) {
        case kCodeSpace:
            cellColour = IndicatorColour::Blue;
            break;
        case kCodeLineFeed:
            cellColour = IndicatorColour::Red;
            break;
        case kCodeDeleteLine:
            cellColour = IndicatorColour::Green;
            break;
        case kCodeBackspace:
            cellColour = IndicatorColour::Lime;
            break;
        default:
            break;
    }
    view.ShowCharacterCell(state.ch, cellColour);

    // 11: the recorder sees the sample before its fetch and arming.
    if (recorder != nullptr) recorder->WriteDemoSample(state);

    // 12-15: character line colour, fetch, arming, then move on.
    view.SetCharacterLineColour(ArmedColour(state.Armed));
    if (state.Armed && distance < state.PreviousDistance) {
        Fetch(state, view);
        state.Armed = false;
    }
    if (distance > state.PreviousDistance) state.Armed = true;
    state.PreviousDistance = distance;
    state.PreviousCell = cell;
    view.ShowArmed(ArmedCode(state, board));
}

}  // namespace glidtavla

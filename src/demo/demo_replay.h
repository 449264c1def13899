#pragma once

#include <optional>
#include <string>
#include <vector>

#include "board/character_board.h"
#include "engine/plain_view.h"
#include "engine/selection_engine.h"

namespace glidtavla {

// What one playback tick left behind.
struct ReplayTick {
    int32_t X0, Y0;
    int64_t X1, Y1;
    BoardCell Cell;
    uint8_t ch;
    IndicatorColour CellColour, LineColour;
    bool Armed, ShiftHeld;
    std::optional<uint8_t> Fetched;  // the code handed to the character line on this tick
};

struct Replay {
    PlainView View;  // the text area and the character line as playback left them
    int Samples = 0;
    std::vector<std::string> Errors;
    std::vector<ReplayTick> Trace;
};

// Plays a demo file the way the window's timer does, from a freshly started program after
// START, until the tick that finds the end of the file. A malformed line is reported and
// playback goes on. Throws when the file cannot be opened.
Replay ReplayDemo(const CharacterBoard& board, const std::string& demoPath, bool trace);

}  // namespace glidtavla

#pragma once

#include <functional>
#include <optional>
#include <span>
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

// Errors kept word for word; past this many only their number is kept.
constexpr std::size_t kKeptReplayErrors = 100;

struct Replay {
    PlainView View;  // the text area and the character line as playback left them
    long long Samples = 0;
    std::vector<std::string> Errors;  // the first kKeptReplayErrors
    long long MoreErrors = 0;         // how many more there were
};

// Called with the processed ticks in order, a batch at a time, so no tick needs keeping.
using TickObserver = std::function<void(std::span<const ReplayTick>)>;

// Plays a demo file the way the window's timer does, from a freshly started program after
// START, until the tick that finds the end of the file. A malformed line is reported and
// playback goes on. Throws when the file cannot be opened.
// With a guard (pixels, as "Darrskydd"), each sample goes through GuardSample first, and the
// engine arms by itself: the file's arming marks came from unguarded samples.
Replay ReplayDemo(const CharacterBoard& board, const std::string& demoPath,
                  const TickObserver& onTick = nullptr, int32_t guard = 0);

}  // namespace glidtavla

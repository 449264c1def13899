#include "demo/demo_replay.h"

#include "board/errors.h"
#include "demo/demo_file.h"

namespace glidtavla {

Replay ReplayDemo(const CharacterBoard& board, const std::string& demoPath,
                  const TickObserver& onTick) {
    Replay replay;
    SelectionState state;
    DemoFile file;
    OpenDemoForPlayback(file, demoPath);
    bool playing = true;
    while (playing) {
        try {
            ReadDemoSample(file, state, playing);
        } catch (const Error& error) {
            if (replay.Errors.size() < kKeptReplayErrors) {
                replay.Errors.push_back(error.what());
            } else {
                ++replay.MoreErrors;
            }
            continue;  // the tick ends; the next one reads on after the bad line
        }
        const bool armedBefore = state.Armed;
        ProcessPointerSample(state, board, replay.View, nullptr, state.X0, state.Y0);
        ++replay.Samples;
        if (!onTick) continue;
        const PlainView& view = replay.View;
        const bool fetched = armedBefore && !state.Armed;  // only a fetch disarms
        onTick({state.X0, state.Y0, view.X1, view.Y1, state.PreviousCell, state.ch, view.CellColour,
                view.LineColour, state.Armed, state.ShiftHeld,
                fetched ? std::optional<uint8_t>(state.ch) : std::nullopt});
    }
    return replay;
}

}  // namespace glidtavla

#include "demo/demo_replay.h"

#include <array>

#include "board/errors.h"
#include "demo/demo_file.h"

namespace glidtavla {

namespace {

// Plain lines decoded at once, and ticks handed on at once: a tick then costs no call into
// the reader or to the observer.
constexpr std::size_t kBatchLines = 256;

class Player {
  public:
    Player(const CharacterBoard& board, const TickObserver& onTick, Replay& replay)
        : board_(board), onTick_(onTick), replay_(replay) {}

    // A line that could not be read ends its tick without a sample.
    void Fail(const Error& error) {
        if (replay_.Errors.size() < kKeptReplayErrors) {
            replay_.Errors.push_back(error.what());
        } else {
            ++replay_.MoreErrors;
        }
    }

    void Tick() {
        const bool armedBefore = state.Armed;
        ProcessPointerSample(state, board_, replay_.View, nullptr, state.X0, state.Y0);
        ++replay_.Samples;
        if (!onTick_) return;
        const PlainView& view = replay_.View;
        const bool fetched = armedBefore && !state.Armed;  // only a fetch disarms
        ticks_[held_++] = {state.X0,
                           state.Y0,
                           view.X1,
                           view.Y1,
                           state.PreviousCell,
                           state.ch,
                           view.CellColour,
                           view.LineColour,
                           state.Armed,
                           state.ShiftHeld,
                           fetched ? std::optional<uint8_t>(state.ch) : std::nullopt};
        if (held_ == ticks_.size()) Flush();
    }

    void Flush() {
        if (held_ > 0) onTick_(std::span<const ReplayTick>(ticks_.data(), held_));
        held_ = 0;
    }

    SelectionState state;

  private:
    const CharacterBoard& board_;
    const TickObserver& onTick_;
    Replay& replay_;
    std::array<ReplayTick, kBatchLines> ticks_;
    std::size_t held_ = 0;
};

}  // namespace

Replay ReplayDemo(const CharacterBoard& board, const std::string& demoPath,
                  const TickObserver& onTick) {
    Replay replay;
    Player player(board, onTick, replay);
    DemoFile file;
    OpenDemoForPlayback(file, demoPath);
    TextReader& reader = file.Reader();
    int32_t batch[kBatchLines * kDemoValues];
    bool playing = true;
    while (playing) {
        // Every tick as ReadDemoSample would read it, the plain lines a batch at a time.
        const std::size_t lines = reader.ReadPlainLines(batch, kDemoValues, kBatchLines);
        for (std::size_t i = 0; i < lines; ++i) {
            ApplyDemoSample(&batch[i * kDemoValues], player.state);
            if (i + 1 == lines) {
                try {
                    playing = !reader.AtEndOfFile();
                } catch (const Error& error) {
                    player.Fail(error);
                    break;
                }
            }
            player.Tick();
        }
        if (lines > 0) continue;
        try {
            ReadDemoSample(reader, player.state, playing);
        } catch (const Error& error) {
            player.Fail(error);
            continue;  // the tick ends; the next one reads on after the bad line
        }
        player.Tick();
    }
    player.Flush();
    return replay;
}

}  // namespace glidtavla

#include "demo/demo_replay.h"

#include <array>

#include "board/errors.h"
#include "demo/demo_steps.h"

namespace glidtavla {

namespace {

// Ticks handed on at once: a tick then costs no call to the observer.
constexpr std::size_t kBatchTicks = 256;

class Player {
  public:
    Player(const CharacterBoard& board, const TickObserver& onTick, Replay& replay)
        : board_(board), onTick_(onTick), replay_(replay) {}

    // A line that could not be read ends its tick without a sample.
    void Fail(const std::string& error) {
        if (replay_.Errors.size() < kKeptReplayErrors) {
            replay_.Errors.push_back(error);
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
    std::array<ReplayTick, kBatchTicks> ticks_;
    std::size_t held_ = 0;
};

}  // namespace

Replay ReplayDemo(const CharacterBoard& board, const std::string& demoPath,
                  const TickObserver& onTick) {
    Replay replay;
    Player player(board, onTick, replay);
    DemoStepReader file(demoPath);
    while (const DemoSteps* steps = file.Next()) {
        std::size_t error = 0;
        for (std::size_t i = 0; i < steps->Kinds.size(); ++i) {
            switch (steps->Kinds[i]) {
                case DemoSteps::Kind::Tick:
                    ApplyDemoSample(steps->ValuesOf(i), player.state);
                    player.Tick();
                    break;
                case DemoSteps::Kind::Values:
                    ApplyDemoSample(steps->ValuesOf(i), player.state);
                    break;
                case DemoSteps::Kind::Error:
                    player.Fail(steps->Errors[error++]);
                    break;
                case DemoSteps::Kind::EndTick:
                    player.state.ShiftHeld = false;
                    player.Tick();
                    break;
            }
        }
    }
    player.Flush();
    return replay;
}

}  // namespace glidtavla

#include "demo/demo_replay.h"

#include <array>

#include "base/errors.h"
#include "demo/demo_steps.h"
#include "engine/tremor_guard.h"

namespace glidtavla {

namespace {

// Ticks handed on at once: a tick then costs no call to the observer.
constexpr std::size_t kBatchTicks = 256;

class Player {
  public:
    Player(const CharacterBoard& board, const TickObserver& onTick, Replay& replay, int32_t guard)
        : board_(board), onTick_(onTick), replay_(replay), guard_(guard) {}

    void Apply(const int32_t* values) {
        const bool armed = state.Armed;
        ApplyDemoSample(values, state);
        if (guard_ > 0 && values[2] == 1) state.Armed = armed;
    }

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
        const GuardedSample at = GuardSample(board_, state, state.X0, state.Y0, guard_);
        ProcessPointerSample(state, board_, replay_.View, nullptr, at.X, at.Y);
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
    int32_t guard_;
};

}  // namespace

Replay ReplayDemo(const CharacterBoard& board, const std::string& demoPath,
                  const TickObserver& onTick, int32_t guard) {
    Replay replay;
    Player player(board, onTick, replay, guard);
    DemoStepReader file(demoPath);
    while (const DemoSteps* steps = file.Next()) {
        std::size_t error = 0;
        for (std::size_t i = 0; i < steps->Kinds.size(); ++i) {
            switch (steps->Kinds[i]) {
                case DemoSteps::Kind::Tick:
                    player.Apply(steps->ValuesOf(i));
                    player.Tick();
                    break;
                case DemoSteps::Kind::Values:
                    player.Apply(steps->ValuesOf(i));
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

#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace glidtavla {

// What one keycode of the keyboard map gives in the group in use: its keysym without and with
// Shift (0 where it has none), and whether it is empty in every group, so ours to bind.
struct KeySlot {
    uint32_t Plain = 0;
    uint32_t Shifted = 0;
    bool Empty = true;
};

// How to type one keysym: press keycode (with Shift held, or not), after binding the keysym to
// it on both levels when bind is set.
struct KeyStroke {
    unsigned Keycode = 0;
    bool Shift = false;
    bool Bind = false;
    bool operator==(const KeyStroke&) const = default;
};

// Chooses keys for keysyms on the keyboard map as the server has it now. A keysym the layout
// lacks gets a spare keycode, and keeps it until another keysym needs that keycode: a
// receiver reads the map only when it handles the key, so a binding taken back at once races
// it. Plain data, so the choice is testable without an X server.
class KeyPlanner {
  public:
    // The map read afresh (keys[i] is keycode firstKeycode + i); bindings the map no longer
    // holds (the layout changed) are forgotten.
    void Update(unsigned firstKeycode, std::vector<KeySlot> keys, bool haveShiftKey);

    // nullopt when the keysym is nowhere on the map and no keycode is spare.
    std::optional<KeyStroke> Plan(uint32_t keysym);

    // Marks a planned binding as made, as of time now (any unit that grows).
    void Bound(const KeyStroke& stroke, uint32_t keysym, int64_t now);
    void Used(const KeyStroke& stroke, int64_t now);

    // When the keycode of a planned stroke was last typed (to give the receiver time before it
    // is rebound), or nullopt.
    std::optional<int64_t> LastUse(unsigned keycode) const;

    // The keycodes this planner bound and the map still holds, to empty at the end.
    std::vector<unsigned> BoundKeycodes() const;

  private:
    struct Binding {
        unsigned Keycode;
        uint32_t Keysym;
        int64_t LastUse;
    };
    const KeySlot* Slot(unsigned keycode) const;

    unsigned first_ = 0;
    std::vector<KeySlot> keys_;
    bool haveShift_ = false;
    std::vector<Binding> bindings_;
};

}  // namespace glidtavla

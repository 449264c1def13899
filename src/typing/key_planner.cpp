#include "typing/key_planner.h"

#include <algorithm>

namespace glidtavla {

void KeyPlanner::Update(unsigned firstKeycode, std::vector<KeySlot> keys, bool haveShiftKey) {
    first_ = firstKeycode;
    keys_ = std::move(keys);
    haveShift_ = haveShiftKey;
    std::erase_if(bindings_, [this](const Binding& b) {
        const KeySlot* slot = Slot(b.Keycode);
        return slot == nullptr || slot->Plain != b.Keysym;
    });
}

const KeySlot* KeyPlanner::Slot(unsigned keycode) const {
    if (keycode < first_ || keycode - first_ >= keys_.size()) return nullptr;
    return &keys_[keycode - first_];
}

std::optional<KeyStroke> KeyPlanner::Plan(uint32_t keysym) {
    for (const Binding& b : bindings_) {
        if (b.Keysym == keysym) return KeyStroke{b.Keycode, false, false};
    }
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i].Plain == keysym) return KeyStroke{first_ + unsigned(i), false, false};
    }
    if (haveShift_) {
        for (std::size_t i = 0; i < keys_.size(); ++i) {
            if (keys_[i].Shifted == keysym) return KeyStroke{first_ + unsigned(i), true, false};
        }
    }
    // An empty keycode nobody holds, from the top, where keyboards have the fewest keys.
    for (std::size_t i = keys_.size(); i-- > 0;) {
        const unsigned keycode = first_ + unsigned(i);
        const bool ours = std::any_of(bindings_.begin(), bindings_.end(),
                                      [&](const Binding& b) { return b.Keycode == keycode; });
        if (keys_[i].Empty && !ours) return KeyStroke{keycode, false, true};
    }
    if (bindings_.empty()) return std::nullopt;
    const auto oldest =
        std::min_element(bindings_.begin(), bindings_.end(),
                         [](const Binding& a, const Binding& b) { return a.LastUse < b.LastUse; });
    return KeyStroke{oldest->Keycode, false, true};
}

void KeyPlanner::Bound(const KeyStroke& stroke, uint32_t keysym, int64_t now) {
    std::erase_if(bindings_, [&](const Binding& b) { return b.Keycode == stroke.Keycode; });
    bindings_.push_back({stroke.Keycode, keysym, now});
    if (Slot(stroke.Keycode) != nullptr) keys_[stroke.Keycode - first_] = {keysym, keysym, false};
}

void KeyPlanner::Used(const KeyStroke& stroke, int64_t now) {
    for (Binding& b : bindings_) {
        if (b.Keycode == stroke.Keycode) b.LastUse = now;
    }
}

std::optional<int64_t> KeyPlanner::LastUse(unsigned keycode) const {
    for (const Binding& b : bindings_) {
        if (b.Keycode == keycode) return b.LastUse;
    }
    return std::nullopt;
}

std::vector<unsigned> KeyPlanner::BoundKeycodes() const {
    std::vector<unsigned> keycodes;
    for (const Binding& b : bindings_)
        keycodes.push_back(b.Keycode);
    return keycodes;
}

}  // namespace glidtavla

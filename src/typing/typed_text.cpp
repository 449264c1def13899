#include "typing/typed_text.h"

#include <algorithm>

#include "base/windows1252.h"
#include "board/character_board.h"

namespace glidtavla {

std::optional<KeyAction> KeyForCharacter(uint8_t ch) {
    const char32_t c = Windows1252Char(ch);
    if (c < 32 || (c >= 127 && c < 0xA0)) return std::nullopt;
    return KeyAction{KeyAction::Kind::Character, c, 1};
}

std::vector<KeyAction> TypedText::Fetch(uint8_t ch, std::size_t lengthBefore,
                                        std::size_t lengthAfter) {
    // Characters typed on the keyboard into the line were never sent.
    typed_.resize(lengthBefore, false);
    const auto backSpaces = [this](std::size_t removed) -> std::vector<KeyAction> {
        removed = std::min(removed, typed_.size());
        const auto first = typed_.end() - static_cast<std::ptrdiff_t>(removed);
        const int count = static_cast<int>(std::count(first, typed_.end(), true));
        typed_.erase(first, typed_.end());
        if (count == 0) return {};
        return {{KeyAction::Kind::BackSpace, 0, count}};
    };
    switch (ch) {
        case kCodeLineFeed:
            typed_.clear();
            return {{KeyAction::Kind::Return, 0, 1}};
        case kCodeBackspace:
        case kCodeDeleteLine:
            return backSpaces(lengthBefore > lengthAfter ? lengthBefore - lengthAfter : 0);
        default:
            break;
    }
    const std::optional<KeyAction> key = KeyForCharacter(ch);
    typed_.resize(lengthAfter, false);
    if (!typed_.empty()) typed_.back() = key.has_value();
    if (!key) return {};
    return {*key};
}

}  // namespace glidtavla

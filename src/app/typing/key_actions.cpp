#include <algorithm>

#include "app/typing/key_sender.h"
#include "board/character_board.h"
#include "board/windows1252.h"
#include "text/codec.h"

namespace glidtavla {

std::optional<KeyAction> KeyForCharacter(uint8_t ch) {
    const char32_t c = Windows1252Char(ch);
    if (c < 32 || (c >= 127 && c < 0xA0)) return std::nullopt;
    return KeyAction{KeyAction::Kind::Text,
                     ToQString(std::string(1, static_cast<char>(ch))).toStdString(), 1};
}

std::vector<KeyAction> TypedLine::Fetch(uint8_t ch, std::size_t lengthBefore,
                                        std::size_t lengthAfter) {
    // Characters typed on the keyboard into the line were never sent.
    typed_.resize(lengthBefore, false);
    const auto backSpaces = [this](std::size_t removed) -> std::vector<KeyAction> {
        removed = std::min(removed, typed_.size());
        const auto first = typed_.end() - static_cast<std::ptrdiff_t>(removed);
        const int count = static_cast<int>(std::count(first, typed_.end(), true));
        typed_.erase(first, typed_.end());
        if (count == 0) return {};
        return {{KeyAction::Kind::BackSpace, "", count}};
    };
    switch (ch) {
        case kCodeLineFeed:
            typed_.clear();
            return {{KeyAction::Kind::Return, "", 1}};
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

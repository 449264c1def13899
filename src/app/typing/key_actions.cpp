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

char32_t FirstCodePoint(const std::string& utf8) {
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    if (utf8.empty()) return 0;
    if (s[0] < 0x80) return s[0];
    const int extra = s[0] >= 0xF0 ? 3 : s[0] >= 0xE0 ? 2 : 1;
    if (utf8.size() < std::size_t(extra) + 1) return 0;
    char32_t cp = s[0] & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i)
        cp = (cp << 6) | (s[i] & 0x3F);
    return cp;
}

}  // namespace glidtavla

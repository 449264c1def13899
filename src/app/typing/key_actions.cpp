#include "app/typing/key_sender.h"
#include "board/character_board.h"
#include "text/codec.h"

namespace glidtavla {

std::vector<KeyAction> KeyActionsFor(uint8_t ch, std::size_t lengthBefore,
                                     std::size_t lengthAfter) {
    using Kind = KeyAction::Kind;
    switch (ch) {
        case kCodeLineFeed:
            return {{Kind::Return, "", 1}};
        case kCodeBackspace: {
            const std::size_t removed = lengthBefore > lengthAfter ? lengthBefore - lengthAfter : 1;
            return {{Kind::BackSpace, "", static_cast<int>(removed)}};
        }
        case kCodeDeleteLine:
            if (lengthBefore == 0) return {};
            return {{Kind::BackSpace, "", static_cast<int>(lengthBefore)}};
        default:
            break;
    }
    if (ch < 32 || ch == 127) return {};
    return {{Kind::Text, ToQString(std::string(1, static_cast<char>(ch))).toStdString(), 1}};
}

}  // namespace glidtavla

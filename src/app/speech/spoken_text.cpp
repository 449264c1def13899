#include "app/speech/spoken_text.h"

#include <cstring>

#include "board/character_board.h"
#include "predict/words.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

bool EndsWord(uint8_t code) {
    return code == kCodeSpace || code == kCodeLineFeed || std::strchr(".,;:!?", code) != nullptr;
}

}  // namespace

QString SpokenCharacter(uint8_t code) {
    switch (code) {
        case kCodeSpace:
            return "mellanslag";
        case kCodeLineFeed:
            return "radslut";
        case kCodeBackspace:
            return "sudda";
        case kCodeDeleteLine:
            return "radera raden";
        case kCodeShiftCell:
            return "skift";
        case '.':
            return "punkt";
        case ',':
            return "komma";
        case '?':
            return "frågetecken";
        case '!':
            return "utropstecken";
        case ':':
            return "kolon";
        case ';':
            return "semikolon";
        case '-':
            return "bindestreck";
        case '\'':
            return "apostrof";
        case '"':
            return "citattecken";
        default:
            break;
    }
    const std::string character(1, static_cast<char>(code));
    // A capital is said as one, since a voice says "S" and "s" alike.
    if (IsWordByte(code) && Lower(character) != character) return "stort " + ToQString(character);
    return ToQString(character);
}

std::optional<std::string> WordEnded(const std::string& line, uint8_t code) {
    if (!EndsWord(code)) return std::nullopt;
    std::size_t start = line.size();
    while (start > 0 && !EndsWord(static_cast<uint8_t>(line[start - 1])))
        --start;
    if (start == line.size()) return std::nullopt;
    return line.substr(start);
}

}  // namespace glidtavla

#include "engine/character_line.h"

#include <algorithm>
#include <string>

#include "board/character_board.h"

namespace glidtavla {

namespace {

// BS keeps at most this many characters, so a very long line is cut rather than shortened by one.
constexpr std::size_t kBackspaceLimit = 255;

}  // namespace

void EditCharacterLine(EngineView& view, uint8_t ch) {
    if (ch == kCodeEmpty) return;
    // Every other code is appended first and the control codes then act on the line ending in
    // it; the edits below give the same line without copying it.
    const std::size_t before = view.CharacterLineLength();
    switch (ch) {
        case kCodeDeleteLine:
            view.TruncateCharacterLine(0);
            break;
        case kCodeBackspace:
            view.TruncateCharacterLine(std::min(before > 0 ? before - 1 : 0, kBackspaceLimit));
            break;
        case kCodeLineFeed:
            view.AppendTextAreaLine(view.CharacterLine() + '\r');  // the line keeps its code 13
            view.TruncateCharacterLine(0);
            break;
        default:
            view.AppendToCharacterLine(ch);
            break;
    }
    view.CharacterFetched(ch, before, view.CharacterLineLength());
}

}  // namespace glidtavla

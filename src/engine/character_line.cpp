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
    // Every other code is appended first; the control codes then act on the line ending in it.
    std::string line = view.CharacterLine();
    const std::size_t lengthBefore = line.size();
    line.push_back(static_cast<char>(ch));

    switch (ch) {
        case kCodeDeleteLine:
            line.clear();
            break;
        case kCodeBackspace: {
            const std::size_t kept = line.size() >= 2 ? line.size() - 2 : 0;
            line.resize(std::min(kept, kBackspaceLimit));
            break;
        }
        case kCodeLineFeed:
            view.AppendTextAreaLine(line);  // the line keeps its code 13
            line.clear();
            break;
        default:
            break;
    }
    view.SetCharacterLine(line);
    view.CharacterFetched(ch, lengthBefore, line.size());
}

}  // namespace glidtavla

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "typing/key_sender.h"

namespace glidtavla {

// The key a character types as itself (SP a space), or nothing for a code that has no key:
// control codes, 127 and the bytes Windows-1252 leaves undefined.
std::optional<KeyAction> KeyForCharacter(uint8_t ch);

// What the character line has typed into the other program, so that BS and DL erase there
// exactly what was typed and nothing of the program's own text.
class TypedText {
  public:
    // The keys for a fetched code, given the character line's length before and after it: a
    // character as itself, LF Return, BS and DL a BackSpace for each removed character that
    // was typed.
    std::vector<KeyAction> Fetch(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter);

  private:
    std::vector<bool> typed_;  // a character of the line: whether a key was sent for it
};

}  // namespace glidtavla

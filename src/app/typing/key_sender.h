#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace glidtavla {

// One thing to type into the program that has the focus.
struct KeyAction {
    enum class Kind { Text, Return, BackSpace };
    Kind kind;
    std::string text;  // UTF-8, for Text
    int count = 1;     // for BackSpace
    bool operator==(const KeyAction&) const = default;
};

// The key a character types as itself (SP a space), or nothing for a code that has no key:
// control codes, 127 and the bytes Windows-1252 leaves undefined.
std::optional<KeyAction> KeyForCharacter(uint8_t ch);

// The code point of a Text action's character (its UTF-8 first character); 0 for none.
char32_t FirstCodePoint(const std::string& utf8);

// What the character line has typed into the other program, so that BS and DL erase there
// exactly what was typed and nothing of the program's own text.
class TypedLine {
  public:
    // The keys for a fetched code, given the character line's length before and after it: a
    // character as itself, LF Return, BS and DL a BackSpace for each removed character that
    // was typed.
    std::vector<KeyAction> Fetch(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter);

  private:
    std::vector<bool> typed_;  // a character of the line: whether a key was sent for it
};

// Types into whichever window has the keyboard focus. A failure throws an Error with a
// message for the user.
class KeySender {
  public:
    virtual ~KeySender() = default;
    virtual void Send(const KeyAction& action) = 0;
};

// Through the X server's XTest extension, binding what the layout lacks to spare keycodes.
// Throws when there is no X server or it lacks XTest or XKEYBOARD.
// ownWindow gives our own top-level window as it is now: keys are sent only while another
// program's window has the focus.
std::unique_ptr<KeySender> OpenXTestKeySender(std::function<unsigned long()> ownWindow);

}  // namespace glidtavla

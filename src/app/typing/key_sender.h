#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// What a fetched code types: a character as itself, SP a space, LF Return, BS one BackSpace
// (or as many as it took from a long line), DL as many BackSpaces as the line held. Other
// control codes type nothing.
std::vector<KeyAction> KeyActionsFor(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter);

// Types into whichever window has the keyboard focus. A failure throws an Error with a
// message for the user.
class KeySender {
  public:
    virtual ~KeySender() = default;
    virtual void Send(const KeyAction& action) = 0;
};

// Through the X server's XTest extension, binding what the layout lacks to spare keycodes.
// Throws when there is no X server or it lacks XTest or XKEYBOARD.
std::unique_ptr<KeySender> OpenXTestKeySender();

}  // namespace glidtavla

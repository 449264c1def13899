#pragma once

namespace glidtavla {

// One key to type into the program that has the focus: a character as itself, Return, or
// BackSpace Count times.
struct KeyAction {
    enum class Kind { Character, Return, BackSpace };
    Kind Type = Kind::Character;
    char32_t Character = 0;  // for Kind::Character: a code point Windows-1252 holds
    int Count = 1;           // for Kind::BackSpace
    bool operator==(const KeyAction&) const = default;
};

// Types into whichever window has the keyboard focus. A failure throws an Error with a
// message for the user.
class KeySender {
  public:
    virtual ~KeySender() = default;
    virtual void Send(const KeyAction& action) = 0;
    // Returns when everything sent has reached the server (a sender that types later waits).
    virtual void Flush() {}
};

}  // namespace glidtavla

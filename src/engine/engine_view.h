#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace glidtavla {

enum class IndicatorColour { White, Yellow, Blue, Red, Green, Lime };

const char* ColourName(IndicatorColour colour);

// What the selection engine needs of the window: the read-outs, the character cell, the
// character line and the text area. Texts are Windows-1252 bytes.
class EngineView {
  public:
    virtual ~EngineView() = default;

    virtual void ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) = 0;
    // The character cell's text and colour and the code read-out, after one sample.
    virtual void ShowCharacterCell(uint8_t ch, IndicatorColour colour) = 0;
    virtual void SetCharacterLineColour(IndicatorColour colour) = 0;
    // The character line is the control's text, so typed text counts. It is edited in place:
    // a fetch costs the same however long the line has grown.
    virtual std::string CharacterLine() = 0;
    virtual std::size_t CharacterLineLength() = 0;
    virtual void AppendToCharacterLine(uint8_t ch) = 0;
    virtual void TruncateCharacterLine(std::size_t length) = 0;
    virtual void AppendTextAreaLine(const std::string& line) = 0;
    // After each fetch that wrote something: the code, and the character line's length before
    // and after it. For what follows the writing from outside (other programs, speed).
    virtual void CharacterFetched(uint8_t /*ch*/, std::size_t /*lengthBefore*/,
                                  std::size_t /*lengthAfter*/) {}
    // A fetch that may complete a word: SP with shift (slot 0) or a word slot (1 to 6). The
    // rest of the word to write, empty when the slot shows none; nothing when no word
    // prediction is in play, so the fetch is an ordinary one.
    virtual std::optional<std::string> WordToComplete(int /*slot*/) { return std::nullopt; }
    // After each sample: what turning back would write now (ArmedCode), 0 when nothing.
    virtual void ShowArmed(uint8_t /*code*/) {}
    // The shift cell was fetched: 0 off, 1 for the next character, 2 locked.
    virtual void ShiftCellChanged(int /*state*/) {}
};

}  // namespace glidtavla

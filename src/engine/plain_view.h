#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "engine/engine_view.h"

namespace glidtavla {

// Adds a line to a text area held as lines, the way a list of lines behind a text control
// does: the text ends in a line break after every added line, held as a last empty line, and
// the new line takes that empty place.
void AddTextAreaLine(std::vector<std::string>& lines, const std::string& line);

// The text area as a list of lines: without the empty place after the last line break.
std::vector<std::string> TextAreaListed(const std::vector<std::string>& lines);

// An EngineView over plain strings, for glidtavla-cli and the tests. It keeps what the engine
// last showed.
class PlainView final : public EngineView {
  public:
    void ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) override;
    void ShowCharacterCell(uint8_t ch, IndicatorColour colour) override;
    void SetCharacterLineColour(IndicatorColour colour) override { LineColour = colour; }
    std::string CharacterLine() override { return Line; }
    std::size_t CharacterLineLength() override { return Line.size(); }
    void AppendToCharacterLine(uint8_t ch) override { Line.push_back(static_cast<char>(ch)); }
    void TruncateCharacterLine(std::size_t length) override {
        Line.resize(std::min(length, Line.size()));
    }
    void AppendTextAreaLine(const std::string& line) override { AddTextAreaLine(TextArea, line); }

    int32_t X0 = 0, Y0 = 0;
    int64_t X1 = 0, Y1 = 0;
    std::string CellText;  // the character cell: one byte, empty for code 0
    int CellCode = -1;
    IndicatorColour CellColour = IndicatorColour::White;
    IndicatorColour LineColour = IndicatorColour::White;
    std::string Line;
    std::vector<std::string> TextArea{"", ""};  // one empty line, as a fresh window has
};

}  // namespace glidtavla

#pragma once

#include <string>
#include <vector>

#include "engine/engine_view.h"

namespace glidtavla {

// An EngineView over plain strings that keeps what the engine last showed.
class RecordingView : public EngineView {
  public:
    void ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) override {
        X0 = x0;
        Y0 = y0;
        X1 = x1;
        Y1 = y1;
    }
    void ShowCharacterCell(uint8_t ch, IndicatorColour colour) override {
        CellText = ch == 0 ? std::string() : std::string(1, static_cast<char>(ch));
        CellCode = ch;
        CellColour = colour;
    }
    void SetCharacterLineColour(IndicatorColour colour) override { LineColour = colour; }
    std::string CharacterLine() override { return Line; }
    void SetCharacterLine(const std::string& line) override { Line = line; }
    void AppendTextAreaLine(const std::string& line) override { TextArea.push_back(line); }

    int32_t X0 = 0, Y0 = 0;
    int64_t X1 = 0, Y1 = 0;
    std::string CellText;
    int CellCode = -1;
    IndicatorColour CellColour = IndicatorColour::White;
    IndicatorColour LineColour = IndicatorColour::White;
    std::string Line;
    std::vector<std::string> TextArea{""};
};

}  // namespace glidtavla

#include "engine/plain_view.h"

namespace glidtavla {

void AddTextAreaLine(std::vector<std::string>& lines, const std::string& line) {
    if (!lines.empty() && lines.back().empty()) {
        lines.back() = line;
    } else {
        lines.push_back(line);
    }
    lines.emplace_back();
}

std::vector<std::string> TextAreaListed(const std::vector<std::string>& lines) {
    std::vector<std::string> listed = lines;
    if (listed.size() > 1 && listed.back().empty()) listed.pop_back();
    return listed;
}

void PlainView::ShowReadouts(int32_t x0, int32_t y0, int64_t x1, int64_t y1) {
    X0 = x0;
    Y0 = y0;
    X1 = x1;
    Y1 = y1;
}

void PlainView::ShowCharacterCell(uint8_t ch, IndicatorColour colour) {
    CellText.assign(ch == 0 ? 0 : 1, static_cast<char>(ch));
    CellCode = ch;
    CellColour = colour;
}

}  // namespace glidtavla

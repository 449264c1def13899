#include "app/document.h"

namespace glidtavla {

std::vector<std::string> SplitDocument(const std::string& bytes) {
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

std::string JoinDocument(const std::vector<std::string>& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        bytes += lines[i];
        if (i + 1 == lines.size()) break;
        bytes += (!lines[i].empty() && lines[i].back() == '\r') ? "\n" : "\r\n";
    }
    return bytes;
}

}  // namespace glidtavla

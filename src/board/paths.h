#pragma once

#include <cstddef>
#include <string>

namespace glidtavla {

constexpr std::size_t kPathLimit = 255;
constexpr std::size_t kDemoPathLimit = 250;

// Cuts a byte string at limit bytes, never inside a UTF-8 sequence, so a cut path stays a
// valid file name.
inline std::string CutAtLimit(std::string text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

}  // namespace glidtavla

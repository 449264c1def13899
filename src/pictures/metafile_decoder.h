#pragma once

#include <optional>
#include <string>

namespace glidtavla {

// Pixels a decoded picture may have on a side.
constexpr int kMaxPictureSide = 8192;

enum class MetafileFormat { Enhanced, Windows };

// A metafile's drawing as SVG, decoded in a child process: nothing when the decoder fails,
// crashes, runs too long or draws too much.
std::optional<std::string> MetafileToSvgIsolated(const std::string& bytes, MetafileFormat format);

}  // namespace glidtavla

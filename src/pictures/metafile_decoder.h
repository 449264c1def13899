#pragma once

#include <optional>
#include <string>

namespace glidtavla {

// Pixels a decoded picture may have on a side.
constexpr int kMaxPictureSide = 8192;

enum class MetafileFormat { Enhanced, Windows };

// A metafile's drawing as SVG, empty when the decoder fails. The decoders are third-party code
// with no bound on their time: call this in an isolated child (run_isolated.h).
std::string MetafileToSvg(const std::string& bytes, MetafileFormat format);

}  // namespace glidtavla

#pragma once

#include <optional>
#include <string>

#include "pictures/picture_file.h"

namespace glidtavla {

enum class MetafileFormat { Enhanced, Windows };

// A metafile's drawing as SVG, empty when the decoder fails. The decoders are third-party code
// with no bound on their time: only the drawing program (draw_program.cpp) calls this.
std::string MetafileToSvg(const std::string& bytes, MetafileFormat format);

}  // namespace glidtavla

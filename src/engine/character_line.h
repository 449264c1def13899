#pragma once

#include <cstdint>

#include "engine/engine_view.h"

namespace glidtavla {

// Applies one fetched code to the character line; LF moves the line into the text area.
void EditCharacterLine(EngineView& view, uint8_t ch);

}  // namespace glidtavla

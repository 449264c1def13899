#pragma once

#include <cstdint>

namespace glidtavla {

// The shifted form of a cell's code: Swedish-keyboard upper-casing, overridden by a
// non-zero shift code of the cell's own.
uint8_t ApplyShift(uint8_t code, int32_t shiftCode);

}  // namespace glidtavla

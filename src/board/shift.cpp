#include "board/shift.h"

#include <array>
#include <utility>

namespace glidtavla {

namespace {

constexpr std::array<std::pair<uint8_t, uint8_t>, 18> kShiftReplacements = {{
    {'1', '!'},
    {'2', '"'},
    {'3', '#'},
    {'4', 164 /* ¤ */},
    {'5', '%'},
    {'6', '&'},
    {'7', '/'},
    {'8', '('},
    {'9', ')'},
    {'0', '='},
    {229, 197},  // å Å
    {228, 196},  // ä Ä
    {246, 214},  // ö Ö
    {',', ';'},
    {'.', ':'},
    {'<', '>'},
    {'-', '_'},
    {'+', '?'},
}};

}  // namespace

uint8_t ApplyShift(uint8_t code, int32_t shiftCode) {
    uint8_t ch = code;
    if (ch >= 'a' && ch <= 'z') ch = static_cast<uint8_t>(ch - 32);
    for (const auto& [plain, shifted] : kShiftReplacements) {
        if (ch == plain) {
            ch = shifted;
            break;
        }
    }
    if (shiftCode != 0) ch = static_cast<uint8_t>(shiftCode & 0xFF);
    return ch;
}

}  // namespace glidtavla

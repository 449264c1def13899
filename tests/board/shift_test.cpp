#include "board/shift.h"

#include <gtest/gtest.h>

namespace glidtavla {
namespace {

TEST(ApplyShift, UpperCasesAsciiLettersOnly) {
    EXPECT_EQ(ApplyShift('a', 0), 'A');
    EXPECT_EQ(ApplyShift('z', 0), 'Z');
    EXPECT_EQ(ApplyShift('A', 0), 'A');
    EXPECT_EQ(ApplyShift(233, 0), 233);  // é
    EXPECT_EQ(ApplyShift(252, 0), 252);  // ü
    EXPECT_EQ(ApplyShift('`', 0), '`');
    EXPECT_EQ(ApplyShift('{', 0), '{');
}

TEST(ApplyShift, AllEighteenReplacements) {
    const std::pair<int, int> pairs[] = {
        {'1', '!'}, {'2', '"'}, {'3', '#'}, {'4', 164}, {'5', '%'}, {'6', '&'},
        {'7', '/'}, {'8', '('}, {'9', ')'}, {'0', '='}, {229, 197}, {228, 196},
        {246, 214}, {',', ';'}, {'.', ':'}, {'<', '>'}, {'-', '_'}, {'+', '?'},
    };
    for (const auto& [plain, shifted] : pairs) {
        EXPECT_EQ(ApplyShift(static_cast<uint8_t>(plain), 0), shifted) << plain;
        // The mapping is settled after one look-up.
        EXPECT_EQ(ApplyShift(static_cast<uint8_t>(shifted), 0), shifted) << shifted;
    }
}

TEST(ApplyShift, ControlCodesPassUnlessTheCellHasAShiftCode) {
    for (int code : {0, 1, 8, 13, 32})
        EXPECT_EQ(ApplyShift(static_cast<uint8_t>(code), 0), code);
    EXPECT_EQ(ApplyShift(0, 87), 'W');
    EXPECT_EQ(ApplyShift(13, 65), 'A');
}

TEST(ApplyShift, ShiftCodeIsTestedWholeAndTakenByItsLowByte) {
    EXPECT_EQ(ApplyShift('a', 256), 0);
    EXPECT_EQ(ApplyShift('a', -1), 255);
    EXPECT_EQ(ApplyShift('1', 0x141), 'A');
}

}  // namespace
}  // namespace glidtavla

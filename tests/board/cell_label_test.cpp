#include "board/cell_label.h"

#include <gtest/gtest.h>

namespace glidtavla {
namespace {

std::string Label(uint8_t code, int32_t shiftCode = 0) {
    CharacterBoard board;
    board.NormalCodes[4][5] = code;
    board.ShiftCodes[4][5] = shiftCode;
    return CellLabel(board, 4, 5);
}

TEST(CellLabel, LettersShowShiftedAndShiftCodesWin) {
    EXPECT_EQ(Label('a'), "A");
    EXPECT_EQ(Label('a', 81), "Q");
    EXPECT_EQ(Label(229), "\xC5");  // å as Å
    EXPECT_EQ(Label('>'), ">");
    EXPECT_EQ(Label('!'), "!");
}

TEST(CellLabel, KeysAndControlCellsHaveFixedLabelsWhateverTheirShiftCode) {
    EXPECT_EQ(Label('1', 65), "1!");
    EXPECT_EQ(Label('2'), "2\"");
    EXPECT_EQ(Label('4'), "4\xA4");
    EXPECT_EQ(Label('<'), "<>");
    EXPECT_EQ(Label('+'), "+?");
    EXPECT_EQ(Label(0), " ");
    EXPECT_EQ(Label(0, 87), " ");
    EXPECT_EQ(Label(1), "DL");
    EXPECT_EQ(Label(8), "BS");
    EXPECT_EQ(Label(13, 65), "LF");
    EXPECT_EQ(Label(32), "SP");
    EXPECT_EQ(Label(2), "Ord1");  // the word slots
    EXPECT_EQ(Label(7, 65), "Ord6");
    EXPECT_EQ(Label(kCodeShiftCell, 65), "SK");
}

}  // namespace
}  // namespace glidtavla

#include "board/character_board.h"

#include <gtest/gtest.h>

namespace glidtavla {
namespace {

TEST(BuiltInBoard, BoundsReachPastTheBoardToTheTwentiethEntry) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    EXPECT_EQ(board.BoardWidth, 350);
    EXPECT_EQ(board.BoardHeight, 280);
    for (int i = 1; i <= kMaxCells; ++i) {
        EXPECT_EQ(board.ColumnBounds[i], 50 * i) << i;
        EXPECT_EQ(board.RowBounds[i], 40 * i) << i;
    }
}

TEST(BuiltInBoard, CodesOfTheSevenBySevenTable) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    EXPECT_EQ(board.NormalCodes[1][1], 'c');
    EXPECT_EQ(board.NormalCodes[7][1], '5');
    EXPECT_EQ(board.NormalCodes[6][1], '0');
    EXPECT_EQ(board.NormalCodes[1][3], 'm');
    EXPECT_EQ(board.NormalCodes[3][3], 0);  // centre
    EXPECT_EQ(board.NormalCodes[5][7], 0);  // foot cell, labelled W but empty
    EXPECT_EQ(board.NormalCodes[4][4], kCodeSpace);
    EXPECT_EQ(board.NormalCodes[5][6], kCodeBackspace);
    EXPECT_EQ(board.NormalCodes[6][6], kCodeLineFeed);
    EXPECT_EQ(board.NormalCodes[7][6], kCodeDeleteLine);
    EXPECT_EQ(board.NormalCodes[1][7], 229);
    EXPECT_EQ(board.NormalCodes[3][7], 246);
    EXPECT_EQ(board.NormalCodes[7][7], '+');
    for (int column = 1; column <= kMaxCells; ++column) {
        for (int row = 1; row <= kMaxCells; ++row) {
            EXPECT_EQ(board.ShiftCodes[column][row], 0);
            if (column > 7 || row > 7) {
                EXPECT_EQ(board.NormalCodes[column][row], 0);
            }
        }
    }
}

TEST(BuiltInBoard, ResetClearsAnEarlierTableButKeepsRowCount) {
    CharacterBoard board;
    board.RowCount = 5;
    board.ShiftCodes[2][2] = 87;
    board.NormalCodes[12][15] = 'x';
    board.ColumnBounds[20] = 7;
    ResetToBuiltInBoard(board);
    EXPECT_EQ(board.RowCount, 5);
    EXPECT_EQ(board.ShiftCodes[2][2], 0);
    EXPECT_EQ(board.NormalCodes[12][15], 0);
    EXPECT_EQ(board.ColumnBounds[20], 1000);
}

}  // namespace
}  // namespace glidtavla

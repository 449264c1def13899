#include "model/board_cost.h"

#include <gtest/gtest.h>

#include <cmath>

#include "board/board_table.h"
#include "demo/demo_replay.h"
#include "demo/demo_typist.h"
#include "test_support.h"

namespace glidtavla {
namespace {

// A 3 x 3 board of 30-pixel cells: the centre cell (3, 3) is its bottom right corner.
//   a b c
//   d e f
//   g h .
CharacterBoard SmallBoard() {
    CharacterBoard board = SmallGrid();
    const char* codes = "adgbehcf";
    for (int i = 0; i < 8; ++i)
        board.NormalCodes[1 + i / 3][1 + i % 3] = static_cast<uint8_t>(codes[i]);
    return board;
}

TEST(BoardCost, HandComputedOnASmallBoard) {
    // "a" at (1, 1): from the centre (75, 75) to (15, 15) is 60 * sqrt 2 = 84.853 pixels;
    // "b" at (2, 1): to (45, 15) is sqrt(30^2 + 60^2) = 67.082. Every cell is 30 wide.
    // "A" is "a" with the left button. "z" and the line end have no cell.
    const BoardCost cost = CostOfText(SmallBoard(), "abA\nz");
    EXPECT_EQ(cost.Characters, 5);
    EXPECT_EQ(cost.Missing, (std::map<uint8_t, long long>{{13, 1}, {'z', 1}}));
    EXPECT_NEAR(cost.ShiftShare, 1.0 / 3, 1e-12);
    const double a = 84.8528137, b = 67.0820393;
    EXPECT_NEAR(cost.PathPerCharacter, 2 * (2 * a + b) / 3, 1e-6);
    const double idA = std::log2(a / 30 + 1), idB = std::log2(b / 30 + 1);  // 1.9367, 1.6942
    EXPECT_NEAR(cost.IndexOfDifficulty, (4 * idA + 2 * idB) / 6, 1e-6);
    // Mouse: 4.9 bits a second; a character is two movements.
    const double seconds = (4 * idA + 2 * idB) / 3 / 4.9;
    EXPECT_NEAR(cost.Speeds[0].CharactersPerMinute, 60 / seconds, 1e-6);
    EXPECT_NEAR(cost.Speeds[0].WordsPerMinute, 12 / seconds, 1e-6);
    EXPECT_GT(cost.Speeds[0].CharactersPerMinute, cost.Speeds[1].CharactersPerMinute);
    EXPECT_GT(cost.Speeds[1].CharactersPerMinute, cost.Speeds[2].CharactersPerMinute);
}

// A made board is a table the program reads, and every line of its text can be written on it.
TEST(BoardMake, RoundTripThroughTypeAndReplay) {
    const std::string text =
        "Det var en g\xE5ng en katt som hette M\xE5ns.\nHan \xE5t fisk, och sov!\n";
    TempDir dir;
    for (const bool keep : {false, true}) {
        std::vector<uint8_t> leftOut;
        const std::string table = MakeBoardTable(text, 7, 7, 50, 40, keep, 0, false, leftOut);
        EXPECT_TRUE(leftOut.empty());
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        LoadBoardTable(board, dir.Write("made.tab", table));
        EXPECT_EQ(board.BoardWidth, 350);
        EXPECT_EQ(board.NormalCodes[3][3], 0);
        if (keep) {
            EXPECT_EQ(board.NormalCodes[6][6], kCodeLineFeed);
        }
        const Replay replay = ReplayDemo(board, dir.Write("t.dem", TypeDemo(board, text)));
        EXPECT_EQ(TextAreaListed(replay.View.TextArea),
                  (std::vector<std::string>{"", "Det var en g\xE5ng en katt som hette M\xE5ns.\r",
                                            "Han \xE5t fisk, och sov!\r"}));
        // The most frequent character, the space, has one of the cheapest cells.
        EXPECT_LE(CostOfText(board, " ").IndexOfDifficulty,
                  CostOfText(board, "k").IndexOfDifficulty);
    }
}

TEST(BoardMake, TooSmallOrTooLargeAndWhatDoesNotFit) {
    std::vector<uint8_t> leftOut;
    EXPECT_EQ(ErrorOf([&] { MakeBoardTable("a", 2, 5, 50, 40, false, 0, false, leftOut); }),
              "A board has 3 to 20 columns and rows (the centre cell is column 3, row 3)");
    EXPECT_NE(ErrorOf([&] { MakeBoardTable("a", 20, 5, 60, 40, false, 0, false, leftOut); }),
              "no error");
    EXPECT_NE(ErrorOf([&] { MakeBoardTable("a", 5, 5, 50, 40, true, 0, false, leftOut); }),
              "no error");
    // A 3 x 3 board has eight cells: the four controls and the four most frequent others.
    const std::string table =
        MakeBoardTable("aaaa bbb cc d e f", 3, 3, 30, 30, false, 0, false, leftOut);
    EXPECT_EQ(leftOut.size(), 2u);
    EXPECT_NE(table.find("97"), std::string::npos);
}

}  // namespace
}  // namespace glidtavla

#include "board/board_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>

#include "base/errors.h"
#include "test_support.h"

namespace glidtavla {
namespace {

// Numbers from first to last by step, separated by one blank.
std::string Numbers(int first, int step, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        text += std::to_string(first + step * i);
    }
    return text;
}

// Lines joined with CR LF.
std::string Lines(std::initializer_list<std::string> lines, const std::string& end = "\r\n") {
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

const std::string kExample = Lines({
    "1100",
    "50 100 150 200 250 300 350",
    "40 80 120 160 200 240 280",
    "99 107 102 114 104 48 53",
    "98 97 111 117 112 49 54",
    "109 115 0 116 106 50 55",
    "108 101 105 32 120 51 56",
    "118 100 110 103 122 52 57",
    "113 44 121 46 8 13 1",
    "229 228 246 60 0 45 43",
    "",
    "",
    "",
    "",
    "",
    "",
    "",
    "0 0 0 0 87",
});

class BoardTableTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetToBuiltInBoard(board); }

    // Reads bytes over the board; gives the error message, or "" when none.
    std::string Load(const std::string& bytes) {
        TextReader reader(TextReader::InMemory{}, bytes);
        try {
            LoadBoardTable(board, reader);
        } catch (const Error& error) {
            return error.what();
        }
        return "";
    }

    CharacterBoard board;
};

TEST_F(BoardTableTest, TheExampleGivesTheBuiltInBoardWithOneShiftCode) {
    CharacterBoard expected;
    ResetToBuiltInBoard(expected);
    expected.RowCount = 7;
    expected.ShiftCodes[5][7] = 87;
    board.ShiftCodes[1][7] = 5;  // columns 1..4 of row 7 are written with 0
    EXPECT_EQ(Load(kExample), "");
    EXPECT_EQ(board.ColumnBounds, expected.ColumnBounds);
    EXPECT_EQ(board.RowBounds, expected.RowBounds);
    EXPECT_EQ(board.NormalCodes, expected.NormalCodes);
    EXPECT_EQ(board.ShiftCodes, expected.ShiftCodes);
    EXPECT_EQ(board.BoardWidth, 350);
    EXPECT_EQ(board.BoardHeight, 280);
    EXPECT_EQ(board.RowCount, 7);
}

TEST_F(BoardTableTest, SensitivityLineIsPassedOver) {
    EXPECT_EQ(Load(Lines({"1100", "50 100 150", "40 80", "1 2 3", "4 5 6"})), "");
    EXPECT_EQ(board.ColumnBounds[1], 50);
    EXPECT_EQ(board.ColumnBounds[3], 150);
    EXPECT_EQ(board.ColumnBounds[4], 200);
    EXPECT_EQ(board.BoardWidth, 150);
    EXPECT_EQ(board.RowCount, 2);
    EXPECT_EQ(board.NormalCodes[3][2], 6);
}

TEST_F(BoardTableTest, ThousandIsABoundAndAValueAboveItMidLineTakesTheNextLine) {
    EXPECT_EQ(Load(Lines({"50 1000", "40"})), "");
    EXPECT_EQ(board.ColumnBounds[2], 1000);
    EXPECT_EQ(board.BoardWidth, 1000);

    ResetToBuiltInBoard(board);
    EXPECT_EQ(Load(Lines({"50 100 1500 200", "40 80", "7 8"})), "");
    EXPECT_EQ(board.ColumnBounds[3], 40);
    EXPECT_EQ(board.ColumnBounds[4], 80);
    EXPECT_EQ(board.BoardWidth, 80);
    EXPECT_EQ(board.RowBounds[1], 7);  // the code line became the row line
    EXPECT_EQ(board.BoardHeight, 8);
}

TEST_F(BoardTableTest, RowLineValuesAboveThousandAreOrdinary) {
    EXPECT_EQ(Load(Lines({"50", "40 80 1200"})), "");
    EXPECT_EQ(board.BoardHeight, 1200);
    EXPECT_EQ(board.RowCount, 3);
}

TEST_F(BoardTableTest, ValuesPastTwentyOverwriteTheLastEntry) {
    EXPECT_EQ(Load(Lines({Numbers(10, 10, 25), "40", Numbers(65, 1, 25)})), "");
    EXPECT_EQ(board.ColumnBounds[19], 190);
    EXPECT_EQ(board.ColumnBounds[20], 250);
    EXPECT_EQ(board.BoardWidth, 250);
    EXPECT_EQ(board.NormalCodes[19][1], 64 + 19);
    EXPECT_EQ(board.NormalCodes[20][1], 64 + 25);
}

TEST_F(BoardTableTest, TwentyRowBoardWithSeparatorAndShiftBlock) {
    std::string text = Lines({"50 100", Numbers(30, 30, 20)});
    for (int r = 1; r <= 20; ++r)
        text += Lines({std::to_string(r) + " " + std::to_string(r + 100)});
    text += Lines({"", "65 66"});
    for (int r = 2; r <= 22; ++r)
        text += Lines({std::to_string(r + 200)});  // rows 21, 22 -> 20
    EXPECT_EQ(Load(text), "");
    EXPECT_EQ(board.RowCount, 20);
    EXPECT_EQ(board.NormalCodes[1][20], 20);
    EXPECT_EQ(board.NormalCodes[2][20], 120);
    EXPECT_EQ(board.ShiftCodes[1][1], 65);
    EXPECT_EQ(board.ShiftCodes[2][1], 66);
    EXPECT_EQ(board.ShiftCodes[1][19], 219);
    EXPECT_EQ(board.ShiftCodes[1][20], 222);
}

TEST_F(BoardTableTest, CodesAreStoredByTheirLowByteAndShiftCodesWhole) {
    EXPECT_EQ(Load(Lines({"50 100", "40", "256 $41 -1 229", "", "256 -1"})), "");
    EXPECT_EQ(board.NormalCodes[1][1], 0);
    EXPECT_EQ(board.NormalCodes[2][1], 'A');
    EXPECT_EQ(board.NormalCodes[3][1], 255);
    EXPECT_EQ(board.NormalCodes[4][1], 229);
    EXPECT_EQ(board.ShiftCodes[1][1], 256);
    EXPECT_EQ(board.ShiftCodes[2][1], -1);
}

TEST_F(BoardTableTest, CtrlZMidLineEndsTheFile) {
    EXPECT_EQ(Load(Lines({"60 120", "50 100", "1 2\x1A 3", "4 5"})), "");
    EXPECT_EQ(board.NormalCodes[1][1], 1);
    EXPECT_EQ(board.NormalCodes[2][1], 2);
    EXPECT_EQ(board.NormalCodes[3][1], 102);  // built-in value, untouched
    EXPECT_EQ(board.NormalCodes[1][2], 98);
}

// A file from a Linux editor has no CR at all: its LFs end the lines.
TEST_F(BoardTableTest, FileWithoutAnyCrIsReadByItsLfs) {
    EXPECT_EQ(Load(Lines({"60 120", "50 100", "1 2", "3 4", "", "0 87"}, "\n")), "");
    EXPECT_EQ(board.BoardWidth, 120);
    EXPECT_EQ(board.BoardHeight, 100);
    EXPECT_EQ(board.RowCount, 2);
    EXPECT_EQ(board.NormalCodes[2][1], 2);
    EXPECT_EQ(board.NormalCodes[1][2], 3);
    EXPECT_EQ(board.ShiftCodes[2][1], 87);
}

// One CR anywhere and the file is read by CR line ends: its lone LFs end nothing.
TEST_F(BoardTableTest, FileWithOneCrKeepsLoneLfInsideTheLine) {
    EXPECT_EQ(Load("60 120\n50 100\n1 2\r\n"), "");
    EXPECT_EQ(board.ColumnBounds[1], 60);
    EXPECT_EQ(board.ColumnBounds[6], 2);
    EXPECT_EQ(board.BoardWidth, 2);
    EXPECT_EQ(board.BoardHeight, 280);
}

TEST_F(BoardTableTest, BlankFirstLineShiftsEveryRole) {
    EXPECT_EQ(Load(Lines({"", "60 120", "50 100", "1 2"})), "");
    EXPECT_EQ(board.BoardWidth, 350);  // the column line read nothing
    EXPECT_EQ(board.ColumnBounds[1], 50);
    EXPECT_EQ(board.RowBounds[1], 60);
    EXPECT_EQ(board.RowBounds[2], 120);
    EXPECT_EQ(board.RowCount, 2);
    EXPECT_EQ(board.NormalCodes[1][1], 50);
    EXPECT_EQ(board.NormalCodes[1][2], 1);
}

TEST_F(BoardTableTest, BlankAfterTheLastValueRunsIntoTheNextLine) {
    EXPECT_EQ(Load(Lines({"60 120 ", "50 100", "1 2", "3 4"})), "");
    EXPECT_EQ(board.ColumnBounds[3], 50);
    EXPECT_EQ(board.ColumnBounds[4], 100);
    EXPECT_EQ(board.BoardWidth, 100);
    EXPECT_EQ(board.RowBounds[1], 1);
    EXPECT_EQ(board.RowCount, 2);
    EXPECT_EQ(board.NormalCodes[1][1], 3);
}

TEST_F(BoardTableTest, BlanksAtTheVeryEndReadOneMoreZero) {
    EXPECT_EQ(Load("60 120\r\n50 100\r\n1 2  "), "");
    EXPECT_EQ(board.NormalCodes[2][1], 2);
    EXPECT_EQ(board.NormalCodes[3][1], 0);
}

TEST_F(BoardTableTest, EndRightAfterTheCodesKeepsTheShiftCodes) {
    board.ShiftCodes[1][1] = 81;
    EXPECT_EQ(Load(Lines({"60 120", "50", "1 2"})), "");
    EXPECT_EQ(board.ShiftCodes[1][1], 81);
    EXPECT_EQ(Load("60 120\r\n50\r\n1 2"), "");
    EXPECT_EQ(board.ShiftCodes[1][1], 81);
}

TEST_F(BoardTableTest, EmptyRowLineReadsAsManyCodeLinesAsTheLastTable) {
    board.RowCount = 2;
    EXPECT_EQ(Load(Lines({"60", "", "1", "2", "", "9"})), "");
    EXPECT_EQ(board.RowCount, 2);
    EXPECT_EQ(board.BoardHeight, 280);
    EXPECT_EQ(board.NormalCodes[1][1], 1);
    EXPECT_EQ(board.NormalCodes[1][2], 2);
    EXPECT_EQ(board.ShiftCodes[1][1], 9);
}

TEST_F(BoardTableTest, MissingSeparatorSwallowsTheFirstShiftRow) {
    EXPECT_EQ(Load(Lines({"60", "40", "1", "70", "71"})), "");
    EXPECT_EQ(board.ShiftCodes[1][1], 71);
}

TEST_F(BoardTableTest, FaultInTheColumnLineLeavesItsDigitsButNotTheWidth) {
    EXPECT_EQ(Load(Lines({"60 -12x 180", "40"})), "Invalid numeric input");
    EXPECT_EQ(board.ColumnBounds[1], 60);
    EXPECT_EQ(board.ColumnBounds[2], 12);
    EXPECT_EQ(board.ColumnBounds[3], 150);
    EXPECT_EQ(board.BoardWidth, 60);
    EXPECT_EQ(board.BoardHeight, 280);
}

TEST_F(BoardTableTest, FaultInTheRowLineLeavesItsDigitsButNotHeightOrCount) {
    board.RowCount = 9;
    EXPECT_EQ(Load(Lines({"60", "40 a"})), "Invalid numeric input");
    EXPECT_EQ(board.RowBounds[1], 40);
    EXPECT_EQ(board.RowBounds[2], 0);
    EXPECT_EQ(board.BoardHeight, 40);
    EXPECT_EQ(board.RowCount, 1);
}

TEST_F(BoardTableTest, FaultInTheBlocksWritesNothingForTheToken) {
    EXPECT_EQ(Load(Lines({"60 120", "40", "65 12,"})), "Invalid numeric input");
    EXPECT_EQ(board.NormalCodes[1][1], 65);
    EXPECT_EQ(board.NormalCodes[2][1], 'k');
    EXPECT_EQ(Load(Lines({"60 120", "40", "65 66", "", "70 +"})), "Invalid numeric input");
    EXPECT_EQ(board.ShiftCodes[1][1], 70);
    EXPECT_EQ(board.ShiftCodes[2][1], 0);
}

TEST(BoardTableFile, ReadsFromDiskAndReportsOpenFailures) {
    TempDir dir;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    LoadBoardTable(board, dir.Write("b.tab", kExample));
    EXPECT_EQ(board.ShiftCodes[5][7], 87);

    const auto messageOf = [&](const std::string& path) -> std::string {
        try {
            LoadBoardTable(board, path);
        } catch (const Error& error) {
            return error.what();
        }
        return "";
    };
    board = CharacterBoard{};
    EXPECT_EQ(messageOf(dir.File("missing.tab")), "File not found");
    EXPECT_EQ(messageOf(dir.Path()), "File access denied");
    const std::string huge = dir.Write("huge.tab", "50 100\r\n");
    std::filesystem::resize_file(huge, (64u << 20) + 1);  // sparse: no time to read it whole
    EXPECT_EQ(messageOf(huge), "Table file is too large (at most 64 MiB)");
    EXPECT_EQ(board.BoardWidth, 0);  // nothing written
}

// What a board's author is told: the role of each value's line.
class LineRoles : public TableObserver {
  public:
    void OnValue(TableSection section, int row, int line, int32_t) override {
        roles +=
            std::to_string(line) + ":" + Name(section) + (row ? std::to_string(row) : "") + " ";
    }
    void OnLine(TableSection section, int row, int line) override {
        roles +=
            std::to_string(line) + "[" + Name(section) + (row ? std::to_string(row) : "") + "] ";
    }
    static std::string Name(TableSection s) {
        switch (s) {
            case TableSection::Sensitivity:
                return "sens";
            case TableSection::ColumnLine:
                return "col";
            case TableSection::RowLine:
                return "row";
            case TableSection::NormalBlock:
                return "code";
            case TableSection::Separator:
                return "sep";
            case TableSection::ShiftBlock:
                return "shift";
        }
        return "?";
    }
    std::string roles;
};

TEST(BoardTableObserver, ToldTheLineOfEveryValue) {
    CharacterBoard board;
    LineRoles observer;
    const std::string text = Lines({"1100", "", "50 60", "40", "1 2", "", "7"});
    TextReader reader(TextReader::InMemory{}, text);
    LoadBoardTable(board, reader, &observer);
    EXPECT_EQ(observer.roles,
              "1[col] 1:sens 3:col 3:col 4[row] 4:row 5[code1] 5:code1 5:code1 6[sep] "
              "7[shift1] 7:shift1 ");
}

}  // namespace
}  // namespace glidtavla

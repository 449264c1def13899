#include "board/table_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace glidtavla {
namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::Not;

class TableCheckTest : public ::testing::Test {
  protected:
    TableCheck Check(const std::string& bytes) {
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        return CheckBoardTable(board, dir.Write("t.tab", bytes));
    }
    static std::string Joined(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines)
            text += line + "\n";
        return text;
    }
    TempDir dir;
};

TEST_F(TableCheckTest, NamesTheRoleOfEveryLine) {
    const TableCheck check =
        Check("1100\r\n50 100 150\r\n40 80\r\n1 2 3\r\n4 5 6\r\n\r\n\r\n0 87\r\n");
    EXPECT_EQ(Joined(check.Lines),
              "line 1: sensitivity line (a value above 1000, passed over with the rest of the "
              "line)\n"
              "line 2: column line, 3 values\n"
              "line 3: row line, 2 values\n"
              "line 4: code row 1, 3 values\n"
              "line 5: code row 2, 3 values\n"
              "line 6: separator\n"
              "line 7: shift row 1 (blank)\n"
              "line 8: shift row 2, 2 values\n");
    EXPECT_EQ(check.Summary, "board: 3 columns, 2 rows, width 150, height 80 pixels");
    EXPECT_TRUE(check.Warnings.empty()) << Joined(check.Warnings);
    EXPECT_EQ(check.Error, "");
}

TEST_F(TableCheckTest, WarnsAboutABlankAfterTheLastValue) {
    const TableCheck check = Check("50 100 \r\n40 80\r\n1 2\r\n3 4\r\n");
    EXPECT_THAT(Joined(check.Warnings), HasSubstr("line 1: a blank after the last value"));
    EXPECT_EQ(check.Lines[1], "line 2: continues the column line, 2 values");
}

TEST_F(TableCheckTest, SaysWhichLineEndsItReadByAndWarnsWhenTheyAreMixed) {
    const TableCheck lf = Check("50 100\n40 80\n1 2\n");
    EXPECT_EQ(lf.LineEnds, "line ends: LF (the file holds no CR)");
    EXPECT_THAT(Joined(lf.Lines), HasSubstr("line 3: code row 1, 2 values"));
    EXPECT_THAT(lf.Warnings, Not(Contains(HasSubstr("LF alone"))));

    const TableCheck mixed = Check("50 100\n40 80\r\n1 2\r\n");
    EXPECT_EQ(mixed.LineEnds, "line ends: CR or CR LF");
    EXPECT_THAT(Joined(mixed.Warnings), HasSubstr("line 1: a line ends in LF alone"));
}

TEST_F(TableCheckTest, WarnsAboutMoreThanTwentyValuesAndTheBoardPastTwenty) {
    std::string columns;
    for (int i = 1; i <= 22; ++i)
        columns += std::to_string(10 * i) + (i < 22 ? " " : "");
    const TableCheck check = Check(columns + "\r\n40\r\n1\r\n");
    const std::string warnings = Joined(check.Warnings);
    EXPECT_THAT(warnings, HasSubstr("line 1: 22 values on one line"));
    EXPECT_THAT(warnings, Not(HasSubstr("bounds do not increase")));
    EXPECT_THAT(warnings, HasSubstr("code row 1 gives 1 code for a board of 20 columns"));
}

TEST_F(TableCheckTest, WarnsAboutBoundsThatDoNotIncrease) {
    EXPECT_THAT(Joined(Check("50 100 100\r\n40 30\r\n1 2 3\r\n").Warnings),
                AllOf(HasSubstr("column bounds do not increase: 100 then 100"),
                      HasSubstr("row bounds do not increase: 40 then 30")));
}

TEST_F(TableCheckTest, WarnsAboutASensitivityValueInsideTheColumnLine) {
    const TableCheck check = Check("50 100 1500 200\r\n40 80\r\n1 2\r\n");
    EXPECT_THAT(Joined(check.Warnings),
                HasSubstr("line 1: a value above 1000 is taken as a sensitivity value"));
}

TEST_F(TableCheckTest, WarnsAboutMissingRowsAndShiftRowsInExcess) {
    const std::string missing = Joined(Check("50 100\r\n40 80 120\r\n1 2\r\n").Warnings);
    EXPECT_THAT(missing, HasSubstr("code row 2 is missing"));
    EXPECT_THAT(missing, HasSubstr("code row 3 is missing"));
    const std::string excess = Joined(Check("50 100\r\n40\r\n1 2\r\n\r\n5\r\n6 7 8\r\n").Warnings);
    EXPECT_THAT(excess, HasSubstr("line 6: shift row 2 lies beyond the board's 1 row"));
}

TEST_F(TableCheckTest, WarnsAboutAShiftBlockWithoutSeparator) {
    const TableCheck check = Check("50 100\r\n40\r\n1 2\r\n65 66\r\n67 68\r\n");
    EXPECT_THAT(Joined(check.Warnings), HasSubstr("line 4: this line is skipped as the separator"));
}

TEST_F(TableCheckTest, ReportsTheErrorAndTheLinesReadBeforeIt) {
    const TableCheck check = Check("50 100\r\n40\r\n1 x\r\n");
    EXPECT_EQ(check.Error, "Invalid numeric input");
    EXPECT_EQ(check.Fault, "line 3, \"x\"");
    EXPECT_THAT(check.Lines, Contains("line 3: code row 1, 1 value"));
    // The bad token after a sensitivity value, and one a short line leaves to the next.
    EXPECT_EQ(Check("5000\r\n50 7q\r\n").Fault, "line 2, \"7q\"");
    EXPECT_EQ(Check("50 100\r\n40\r\n1\r\n\r\n 2 y\r\n").Fault, "line 5, \"y\"");
    CharacterBoard board;
    EXPECT_EQ(CheckBoardTable(board, dir.File("missing.tab")).Error, "File not found");
}

}  // namespace
}  // namespace glidtavla

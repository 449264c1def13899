#include "engine/selection_engine.h"
#include "engine/tremor_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/plain_view.h"

namespace glidtavla {
namespace {

using C = IndicatorColour;

// One sample and what the window shows after it.
struct Row {
    int32_t x, y;
    std::string cell;
    C cellColour;
    C lineColour;
    std::string line;
};

class SelectionEngineTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetToBuiltInBoard(board); }

    void Sample(int32_t x, int32_t y) { ProcessPointerSample(state, board, view, nullptr, x, y); }

    void Expect(const std::vector<Row>& rows) {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            Sample(row.x, row.y);
            SCOPED_TRACE("sample " + std::to_string(i) + " at " + std::to_string(row.x) + "," +
                         std::to_string(row.y));
            EXPECT_EQ(view.CellText, row.cell);
            EXPECT_EQ(view.CellColour, row.cellColour);
            EXPECT_EQ(view.LineColour, row.lineColour);
            EXPECT_EQ(view.Line, row.line);
        }
    }

    CharacterBoard board;
    SelectionState state;
    PlainView view;
};

// Centres of built-in cells: column c spans (50(c-1), 50c], row r spans (40(r-1), 40r].
int32_t X(int column) {
    return 50 * column - 25;
}
int32_t Y(int row) {
    return 40 * row - 20;
}

TEST(CellGeometry, BoundsCloseTheirCellOnTheRightAndBottom) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    EXPECT_EQ(LocateCell(board, 100, 80), (BoardCell{2, 2}));
    EXPECT_EQ(LocateCell(board, 101, 81), (BoardCell{3, 3}));
    EXPECT_EQ(LocateCell(board, 0, 0), (BoardCell{1, 1}));
    EXPECT_EQ(LocateCell(board, -500, -1), (BoardCell{1, 1}));
    EXPECT_EQ(LocateCell(board, 351, 281), (BoardCell{8, 8}));
    EXPECT_EQ(LocateCell(board, 1000, 800), (BoardCell{20, 20}));
    // Past the last bound there is no column; the sample takes the twentieth.
    EXPECT_EQ(LocateCell(board, 1001, 801), (BoardCell{20, 20}));
    EXPECT_EQ(LocateCell(board, INT32_MAX, INT32_MAX), (BoardCell{20, 20}));
}

TEST(CellGeometry, DistanceCountsCellsFromTheCentre) {
    EXPECT_EQ(CellDistance({3, 3}), 0);
    EXPECT_EQ(CellDistance({1, 3}), 2);
    EXPECT_EQ(CellDistance({20, 1}), 19);
}

TEST(CellGeometry, CentrePointRoundsHalvesToEven) {
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    EXPECT_EQ(CentreOfCentreCell(board).X, 125);
    EXPECT_EQ(CentreOfCentreCell(board).Y, 100);
    board.ColumnBounds[2] = 101;  // 125.5
    EXPECT_EQ(CentreOfCentreCell(board).X, 126);
    board.ColumnBounds[2] = 99;  // 124.5
    EXPECT_EQ(CentreOfCentreCell(board).X, 124);
    board.RowBounds[2] = -3;  // (-3 + 120) / 2 = 58.5
    EXPECT_EQ(CentreOfCentreCell(board).Y, 58);
    board.RowBounds[2] = INT32_MAX;
    board.RowBounds[3] = INT32_MAX;
    EXPECT_EQ(CentreOfCentreCell(board).Y, INT32_MAX);
}

TEST_F(SelectionEngineTest, ReadoutsAreRelativeToTheCentrePoint) {
    Sample(130, 90);
    EXPECT_EQ(view.X0, 130);
    EXPECT_EQ(view.Y0, 90);
    EXPECT_EQ(view.X1, 5);
    EXPECT_EQ(view.Y1, -10);
    Sample(INT32_MIN, INT32_MAX);
    EXPECT_EQ(view.X1, int64_t{INT32_MIN} - 125);
    EXPECT_EQ(view.Y1, int64_t{INT32_MAX} - 100);
}

TEST_F(SelectionEngineTest, OutAndBackFetchesTheCellTurnedBackFrom) {
    Expect({
        {75, 100, "", C::White, C::White, ""},      // (2,3) arms
        {25, 100, "s", C::Yellow, C::Yellow, ""},   // (1,3) stays armed
        {75, 100, "m", C::Yellow, C::Yellow, "m"},  // back: fetches m, disarms
        {125, 100, "s", C::White, C::White, "m"},   // centre: nothing
    });
    EXPECT_FALSE(state.Armed);
    EXPECT_EQ(state.PreviousCell, (BoardCell{3, 3}));
    EXPECT_EQ(state.PreviousDistance, 0);
}

TEST_F(SelectionEngineTest, RingMovesFetchTheLastCellBeforeTheDistanceFalls) {
    Expect({
        {X(2), Y(3), "", C::White, C::White, ""},
        {X(2), Y(2), "s", C::Yellow, C::Yellow, ""},
        {X(3), Y(2), "a", C::Yellow, C::Yellow, "a"},
    });
    Sample(X(3), Y(3));
    Expect({
        {X(2), Y(3), "", C::White, C::White, "a"},
        {X(2), Y(2), "s", C::Yellow, C::Yellow, "a"},
        {X(3), Y(1), "a", C::Yellow, C::Yellow, "a"},  // same distance: no fetch
        {X(3), Y(2), "f", C::Yellow, C::Yellow, "af"},
    });
}

TEST_F(SelectionEngineTest, FurtherSamplesInOneCellChangeOnlyTheReadouts) {
    Sample(X(2), Y(3));
    Sample(X(2) + 3, Y(3) - 4);
    EXPECT_TRUE(state.Armed);
    Sample(X(2) - 3, Y(3) + 4);
    EXPECT_TRUE(state.Armed);
    EXPECT_EQ(view.X0, X(2) - 3);
    EXPECT_EQ(view.CellText, "s");
    EXPECT_EQ(view.Line, "");
}

TEST_F(SelectionEngineTest, FetchAndArmingNeverShareASample) {
    // From distance 2 straight to distance 1 in another direction: a fetch, no arming.
    Sample(X(1), Y(3));
    Sample(X(3), Y(2));
    EXPECT_EQ(view.Line, "m");
    EXPECT_FALSE(state.Armed);
    // Falling again while not armed changes nothing.
    Sample(X(3), Y(3));
    EXPECT_EQ(view.Line, "m");
    EXPECT_FALSE(state.Armed);
}

TEST_F(SelectionEngineTest, LeftButtonShiftsTheFetchedCharacter) {
    state.ShiftHeld = true;
    Expect({
        {75, 100, "", C::White, C::White, ""},
        {25, 100, "S", C::Yellow, C::Yellow, ""},
        {75, 100, "M", C::Yellow, C::Yellow, "M"},
    });
    Sample(X(3), Y(3));
    // The digit key 2 at (6, 3) gives '"' shifted.
    Sample(X(4), Y(3));
    Sample(X(5), Y(3));
    Sample(X(6), Y(3));
    Sample(X(5), Y(3));
    EXPECT_EQ(view.Line, "M\"");
}

// The shift cell in place of '<' at (4, 7): once shifts one character (its shift code too),
// twice locks until fetched a third time; it never writes itself.
TEST_F(SelectionEngineTest, TheShiftCellShiftsOnceOrLocks) {
    board.NormalCodes[4][7] = kCodeShiftCell;
    board.ShiftCodes[1][3] = 'W';  // m gives W shifted
    const auto write = [this](int column, int row) {
        Sample(X(3), Y(3));
        Sample(X(column), Y(row));
        Sample(X(3), Y(3));
    };
    const struct {
        std::vector<std::pair<int, int>> cells;
        std::string line;
    } cases[] = {
        {{{4, 7}, {2, 2}, {2, 2}}, "Aa"},                           // once
        {{{4, 7}, {1, 3}}, "W"},                                    // with the cell's shift code
        {{{4, 7}, {4, 7}, {2, 2}, {2, 2}, {4, 7}, {2, 2}}, "AAa"},  // locked, then unlocked
        {{{4, 7}, {4, 4}, {2, 2}}, " a"},                           // a space takes the shift
    };
    for (const auto& c : cases) {
        state = SelectionState();
        view = PlainView();
        for (const auto& [column, row] : c.cells)
            write(column, row);
        EXPECT_EQ(view.Line, c.line);
        EXPECT_EQ(state.ShiftCell, ShiftCellState::Off);
    }
    StartWriting(state, view);  // START leaves no shift pending
    write(4, 7);
    EXPECT_EQ(state.ShiftCell, ShiftCellState::Once);
    StartWriting(state, view);
    EXPECT_EQ(state.ShiftCell, ShiftCellState::Off);
}

// A pointer meaning o (3, 2) trembles on its edge with a (2, 2): unguarded every crossing
// back writes an a; guarded, the cell changes only on two samples in a row 4 pixels or more
// past the edge, in the same cell, and o is written.
TEST_F(SelectionEngineTest, TheTremorGuardKeepsTheCellInsideItsBand) {
    for (const int32_t band : {0, 4}) {
        state = SelectionState();
        view = PlainView();
        for (const auto& [x, y] : std::vector<std::pair<int32_t, int32_t>>{{X(3), Y(3)},
                                                                           {X(3), 60},
                                                                           {X(3), 60},
                                                                           {99, 60},
                                                                           {102, 60},
                                                                           {90, 60},
                                                                           {102, 61},
                                                                           {98, 60},
                                                                           {X(3), Y(3)},
                                                                           {X(3), Y(3)}}) {
            const GuardedSample at = GuardSample(board, state, x, y, band);
            Sample(at.X, at.Y);
        }
        EXPECT_EQ(view.Line, band == 0 ? "aaa" : "o") << band;
    }
    // One sample far past the edge is held, the second changes the cell; two in different
    // cells are held; a pointer just come in is never held.
    state = SelectionState();
    Sample(X(3), Y(3));
    EXPECT_EQ(GuardSample(board, state, 154, Y(3), 4).X, 150);
    EXPECT_EQ(GuardSample(board, state, 154, Y(3), 4).X, 154);
    state = SelectionState();
    Sample(X(3), Y(3));
    EXPECT_EQ(GuardSample(board, state, 154, Y(3), 4).X, 150);
    EXPECT_EQ(GuardSample(board, state, 96, Y(3), 4).X, 101);
    RestSelection(state);
    EXPECT_EQ(GuardSample(board, state, 151, Y(3), 4).X, 151);
}

TEST_F(SelectionEngineTest, ControlCellsColourTheCharacterCellButNotTheLine) {
    view.Line = "ab";
    // Out to SP at (4, 4) and back.
    Sample(X(4), Y(4));
    Sample(X(4), Y(4));
    EXPECT_EQ(view.CellColour, C::Blue);
    EXPECT_EQ(view.LineColour, C::Yellow);
    Sample(X(3), Y(3));
    EXPECT_EQ(view.Line, "ab ");
    // Out to LF at (6, 6): red cell, the line moves into the text area.
    for (int column = 3; column <= 6; ++column)
        Sample(X(column), Y(column));
    Sample(X(6), Y(6));
    EXPECT_EQ(view.CellColour, C::Red);
    EXPECT_EQ(view.CellCode, 13);
    Sample(X(5), Y(5));
    EXPECT_EQ(view.TextArea, (std::vector<std::string>{"", "ab \r", ""}));
    EXPECT_EQ(view.Line, "");
    EXPECT_EQ(view.CellColour, C::Red);
    EXPECT_EQ(view.LineColour, C::Yellow);
}

TEST_F(SelectionEngineTest, DeleteLineAndBackspaceCells) {
    view.Line = "abc";
    for (int column = 3; column <= 5; ++column)
        Sample(X(column), Y(column + 1));  // to BS (5, 6)
    Sample(X(5), Y(5));
    EXPECT_EQ(view.Line, "ab");
    Sample(X(3), Y(3));
    for (int column = 3; column <= 7; ++column)
        Sample(X(column), Y(6));  // to DL (7, 6)
    Sample(X(7), Y(6));
    EXPECT_EQ(view.CellColour, C::Green);
    Sample(X(6), Y(6));
    EXPECT_EQ(view.Line, "");
    EXPECT_EQ(view.CellColour, C::Green);
    EXPECT_EQ(view.CellCode, 1);
    Sample(X(5), Y(6));  // fetching LF was not armed: the line colour follows Armed only
    EXPECT_EQ(view.CellColour, C::Red);
    EXPECT_EQ(view.LineColour, C::White);
    EXPECT_EQ(view.TextArea, (std::vector<std::string>{"", ""}));
}

TEST_F(SelectionEngineTest, BoardShiftCodesActAsControlCodesWhenShifted) {
    board.ShiftCodes[1][3] = kCodeLineFeed;    // m
    board.ShiftCodes[2][2] = kCodeBackspace;   // a
    board.ShiftCodes[4][2] = kCodeDeleteLine;  // u
    board.ShiftCodes[2][3] = kCodeSpace;       // s
    view.Line = "xyz";
    state.ShiftHeld = true;

    Sample(X(2), Y(3));
    Sample(X(3), Y(3));  // s -> SP
    EXPECT_EQ(view.Line, "xyz ");
    EXPECT_EQ(view.CellColour, C::Blue);
    Sample(X(2), Y(2));
    Sample(X(3), Y(2));  // a -> BS
    EXPECT_EQ(view.Line, "xyz");
    EXPECT_EQ(view.CellColour, C::Lime);
    Sample(X(3), Y(3));
    Sample(X(1), Y(3));
    Sample(X(2), Y(3));  // m -> LF
    EXPECT_EQ(view.TextArea[1], "xyz\r");
    EXPECT_EQ(view.CellColour, C::Red);
    view.Line = "q";
    Sample(X(3), Y(3));
    Sample(X(4), Y(2));
    Sample(X(4), Y(3));  // u -> DL
    EXPECT_EQ(view.Line, "");
    EXPECT_EQ(view.CellColour, C::Green);
    // Unshifted, the same cells give their own letters.
    state.ShiftHeld = false;
    Sample(X(3), Y(3));
    Sample(X(1), Y(3));
    Sample(X(2), Y(3));
    EXPECT_EQ(view.Line, "m");
}

TEST_F(SelectionEngineTest, DraggingOffTheBoardArmsButFetchesNothing) {
    state.ShiftHeld = true;
    view.Line = "a";
    Sample(X(3), Y(3));
    Sample(500, Y(3));  // column 10, distance 7
    EXPECT_TRUE(state.Armed);
    Sample(1000, Y(3));  // column 20
    Sample(351, Y(3));   // column 8: fetches code 0 of column 20
    EXPECT_EQ(view.CellText, "");
    EXPECT_EQ(view.CellColour, C::Yellow);
    EXPECT_FALSE(state.Armed);
    EXPECT_EQ(view.Line, "a");
}

TEST_F(SelectionEngineTest, FetchOfTheEmptyFootCellDisarms) {
    view.Line = "a";
    Sample(X(5), Y(7));  // empty foot cell, distance 6
    Sample(X(4), Y(7));
    EXPECT_FALSE(state.Armed);
    EXPECT_EQ(view.Line, "a");
}

TEST_F(SelectionEngineTest, TypedTextIsPartOfTheLine) {
    Sample(X(2), Y(3));
    view.Line = "typed";  // the user typed into the control between samples
    Sample(X(3), Y(3));
    EXPECT_EQ(view.Line, "typeds");
}

class RecorderSpy : public SampleRecorder {
  public:
    void WriteDemoSample(const SelectionState& state) override {
        Lines.push_back(std::to_string(state.X0) + " " + std::to_string(state.Y0) + " " +
                        (state.Armed ? "1" : "0") + " " + (state.ShiftHeld ? "1" : "0"));
        if (FailNext) {
            FailNext = false;
            throw std::runtime_error("Disk full");
        }
    }
    std::vector<std::string> Lines;
    bool FailNext = false;
};

TEST_F(SelectionEngineTest, RecorderSeesEachSampleBeforeItsFetchAndArming) {
    RecorderSpy recorder;
    ProcessPointerSample(state, board, view, &recorder, 125, 101);
    ProcessPointerSample(state, board, view, &recorder, 96, 84);
    ProcessPointerSample(state, board, view, &recorder, 61, 57);
    state.ShiftHeld = true;
    ProcessPointerSample(state, board, view, &recorder, 74, 66);
    ProcessPointerSample(state, board, view, &recorder, 125, 101);
    EXPECT_EQ(recorder.Lines, (std::vector<std::string>{"125 101 0 0", "96 84 0 0", "61 57 1 0",
                                                        "74 66 1 1", "125 101 1 1"}));
    EXPECT_EQ(view.Line, "A");
}

TEST_F(SelectionEngineTest, AFailingRecorderSkipsTheRestOfTheSample) {
    RecorderSpy recorder;
    ProcessPointerSample(state, board, view, &recorder, X(2), Y(3));
    recorder.FailNext = true;
    view.LineColour = C::White;
    EXPECT_THROW(ProcessPointerSample(state, board, view, &recorder, X(3), Y(3)),
                 std::runtime_error);
    // Read-outs and the character cell show the new sample; nothing after the recorder ran.
    EXPECT_EQ(view.X0, X(3));
    EXPECT_EQ(view.CellText, "s");
    EXPECT_EQ(view.LineColour, C::White);
    EXPECT_TRUE(state.Armed);
    EXPECT_EQ(state.PreviousCell, (BoardCell{2, 3}));
    EXPECT_EQ(state.PreviousDistance, 1);
    EXPECT_EQ(view.Line, "");
    // The next sample tries again and fetches.
    ProcessPointerSample(state, board, view, &recorder, X(3), Y(3));
    EXPECT_EQ(view.Line, "s");
}

// The pointer comes onto the board at an edge cell, armed from before, and turns to the
// centre: the way in writes nothing, and the next glide writes as usual.
TEST_F(SelectionEngineTest, AfterARestTheWayInWritesNothing) {
    Sample(X(1), Y(3));  // armed out at "m" when the pointer left
    RestSelection(state);
    EXPECT_FALSE(state.Armed);
    Expect({
        {X(7), Y(7), "", C::White, C::White, ""},   // enters at "+": no arming
        {X(5), Y(5), "+", C::White, C::White, ""},  // on its way in: no fetch
        {X(3), Y(3), "z", C::White, C::White, ""},
        {X(2), Y(3), "", C::White, C::White, ""},  // a normal glide
        {X(3), Y(3), "s", C::Yellow, C::Yellow, "s"},
    });
    EXPECT_FALSE(state.Resting);
}

TEST_F(SelectionEngineTest, EnteringAtDeleteLineOrLineFeedKeepsTheLine) {
    for (const int column : {7, 6}) {  // DL, then LF, in row 6
        view.Line = "hej";
        RestSelection(state);
        Sample(X(column), Y(6));
        Sample(X(3), Y(3));
        EXPECT_EQ(view.Line, "hej");
        EXPECT_EQ(TextAreaListed(view.TextArea), (std::vector<std::string>{""}));
    }
}

TEST_F(SelectionEngineTest, LeavingDisarmsAndWhitensTheLine) {
    Sample(X(2), Y(3));
    Sample(X(1), Y(3));
    EXPECT_EQ(view.LineColour, C::Yellow);
    Disarm(state, view);
    EXPECT_FALSE(state.Armed);
    EXPECT_EQ(view.LineColour, C::White);
}

TEST(SelectionState, ResetToCentreKeepsTheOtherFields) {
    SelectionState state;
    state.X0 = 7;
    state.Armed = true;
    state.ShiftHeld = true;
    state.ch = 'q';
    state.PreviousCell = {5, 6};
    state.PreviousDistance = 5;
    ResetToCentre(state);
    EXPECT_EQ(state.PreviousCell, (BoardCell{3, 3}));
    EXPECT_EQ(state.PreviousDistance, 0);
    EXPECT_EQ(state.X0, 7);
    EXPECT_TRUE(state.Armed);
    EXPECT_TRUE(state.ShiftHeld);
    EXPECT_EQ(state.ch, 'q');
}

}  // namespace
}  // namespace glidtavla

namespace glidtavla {
namespace {

TEST(SpaceAfterSign, WhereASignGetsItsSpace) {
    const struct {
        const char* Line;
        bool Space;
    } cases[] = {{"hej.", true},   {"ja,", true},     {"vad?", true},    {"nej!", true},
                 {"kl:", true},    {"alltså;", true}, {"3,", false},     {"kl 10:", false},
                 {"t.", false},    {"t.ex.", false},  {"o.s.v.", false}, {".", false},
                 {"hej .", false}, {"hej", false},    {"ab.", true},     {"a b.", false},
                 {"hej-", false}};
    for (const auto& c : cases)
        EXPECT_EQ(SpaceFollowsSign(c.Line), c.Space) << c.Line;
}

// Out from the centre one cell at a time, diagonally first, and back: the cell is fetched.
class SignSpaceTest : public SelectionEngineTest {
  protected:
    void Glide(int column, int row) {
        BoardCell at{3, 3};
        Sample(X(3), Y(3));
        while (!(at == BoardCell{column, row})) {
            at.Column += column > at.Column ? 1 : column < at.Column ? -1 : 0;
            at.Row += row > at.Row ? 1 : row < at.Row ? -1 : 0;
            Sample(X(at.Column), Y(at.Row));
        }
        Sample(X(3), Y(3));
    }
    void Dot() { Glide(4, 6); }
    void E() { Glide(2, 4); }
};

TEST_F(SignSpaceTest, ASignWritesItsSpaceWhichTheNextSignLineFeedOrBackspaceTakesAway) {
    const struct {
        const char* Name;
        BoardCell Then;
        std::string Line;
        std::vector<std::string> TextArea;
    } cases[] = {
        {"a letter after it", {2, 4}, "ee. e", {"", ""}},
        {"a sign", {2, 6}, "ee., ", {"", ""}},
        {"BS: the sign and its space", {5, 6}, "ee", {"", ""}},
        {"LF", {6, 6}, "", {"", "ee.\r", ""}},
        {"SP", {4, 4}, "ee.  ", {"", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        view = PlainView{};
        state = SelectionState{};
        state.SpaceAfterSigns = true;
        E();
        E();
        Dot();
        EXPECT_EQ(view.Line, "ee. ");
        Glide(c.Then.Column, c.Then.Row);
        EXPECT_EQ(view.Line, c.Line);
        EXPECT_EQ(view.TextArea, c.TextArea);
    }
    // Off, as for a demo: the sign alone.
    view = PlainView{};
    state = SelectionState{};
    E();
    E();
    Dot();
    EXPECT_EQ(view.Line, "ee.");
}

}  // namespace
}  // namespace glidtavla

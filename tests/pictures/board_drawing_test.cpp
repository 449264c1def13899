#include <QTest>

#include "board/board_table.h"
#include "pictures/board_drawing.h"
#include "pictures/builtin_picture.h"
#include "test_support.h"

using namespace glidtavla;

namespace {

bool Black(const QImage& image, int x, int y) {
    return QColor(image.pixel(x, y)) == Qt::black;
}

int InkIn(const QImage& image, QRect area) {
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ink += Black(image, x, y);
    }
    return ink;
}

QImage Drawn(const CharacterBoard& board) {
    QImage picture = BuiltInBoardPicture();
    DrawBoardFromTable(picture, board);
    return picture;
}

}  // namespace

class BoardDrawingTest : public QObject {
    Q_OBJECT

  private slots:
    // The window starts from the picture the build drew; it must be the drawn one to the pixel.
    // Read by Qt's own reader and by ours.
    void theShippedBuiltInPictureIsTheDrawnOne() {
        const QImage drawn = DrawBuiltInBoardPicture();
        QCOMPARE(QImage(GLIDTAVLA_BUILTIN_PICTURE).convertToFormat(QImage::Format_RGB32), drawn);
        QCOMPARE(ReadBuiltInPictureFile(GLIDTAVLA_BUILTIN_PICTURE), drawn);
        TempDir dir;
        QVERIFY(ReadBuiltInPictureFile(dir.Write("short.pbm", BuiltInPictureFile().substr(1)))
                    .isNull());
    }

    void builtInGeometry() {
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        const QImage picture = Drawn(board);
        QCOMPARE(picture.size(), QSize(354, 284));
        for (int y : {1, 100, 278})
            QVERIFY(Black(picture, 349, y) && Black(picture, 0, y));
        for (int x : {1, 200, 348})
            QVERIFY(Black(picture, x, 279) && Black(picture, x, 0));
        for (int x : {50, 100, 150, 200, 250, 300})
            QVERIFY(Black(picture, x, 2));
        for (int y : {40, 80, 120, 160, 200, 240})
            QVERIFY(Black(picture, 2, y));
        QVERIFY(!Black(picture, 2, 1));  // inside is white
        // Labels start 5 pixels right of and 4 below each cell's corner, in 16 points.
        QCOMPARE(LabelPointSize(LabelOffsetsOf(board)), 16);
        QVERIFY(InkIn(picture, QRect(5, 4, 20, 24)) > 20);      // "C"
        QCOMPARE(InkIn(picture, QRect(1, 1, 3, 38)), 0);        // nothing left of the label
        QCOMPARE(InkIn(picture, QRect(101, 81, 48, 38)), 0);    // the blank centre
        QVERIFY(InkIn(picture, QRect(155, 124, 40, 24)) > 20);  // "SP" in (4, 4)
        for (int x = 0; x < 354; ++x) {
            for (int y = 0; y < 284; ++y) {
                const QColor c(picture.pixel(x, y));
                QVERIFY(c == Qt::black || c == Qt::white);
            }
        }
    }

    void sizeRuleBoundaries() {
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        const auto size = [&](int column, int row) {
            board.ColumnBounds[1] = column;
            board.RowBounds[1] = row;
            return LabelPointSize(LabelOffsetsOf(board));
        };
        QCOMPARE(size(50, 40), 16);
        QCOMPARE(size(45, 40), 12);  // 40.5 to even: 40, not above 40
        QCOMPARE(size(46, 40), 16);
        QCOMPARE(size(33, 40), 8);
        QCOMPARE(size(50, 22), 8);
        QCOMPARE(size(70, 60), 24);
        QCOMPARE(size(60, 50), 20);
        board.ColumnBounds[1] = 55;
        QCOMPARE(int(LabelOffsetsOf(board).X), 50);  // 49.5 to even
        board.ColumnBounds[1] = 35;
        QCOMPARE(int(LabelOffsetsOf(board).X), 32);  // 31.5 to even
        board.ColumnBounds[1] = -10;
        QCOMPARE(int(LabelOffsetsOf(board).X), 65527);  // held as 16-bit unsigned
    }

    // Only the cells the pointer can select are labelled: column 7's built-in bound (350) is
    // left over beyond the table's last column.
    void leftOverColumnsAreNotLabelled() {
        TempDir dir;
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        LoadBoardTable(board, dir.Write("six.tab",
                                        "60 120 180 240 300 360\r\n"
                                        "40 80 120 160 200 240 280\r\n"));
        const QImage picture = Drawn(board);
        // Column 7's built-in "5%" would stand at x = 350 - 54 = 296.
        QCOMPARE(InkIn(picture, QRect(296, 5, 4, 20)), 0);
        // Grid lines at the table's bounds below the width; the built-in line at 350 now lies
        // inside the white board, and the frame's right edge at 359 is cut off.
        QVERIFY(Black(picture, 60, 35));
        QVERIFY(Black(picture, 300, 35));
        QVERIFY(Black(picture, 200, 279));
        QVERIFY(!Black(picture, 350, 35));
        QVERIFY(!Black(picture, 353, 35));
    }

    // A 5 x 4 board of 100-pixel cells read over the built-in board draws as the same table read
    // over an empty one: none of the built-in labels left over in its bounds, and white
    // beside it where the built-in board was.
    void aBoardOfLargeCellsShowsOnlyItsOwnCells() {
        TempDir dir;
        const std::string table = dir.Write("stor.tab",
                                            "100 200 300 400 500\r\n100 200 300 400\r\n"
                                            "65 66 67 68 69\r\n70 71 72 73 74\r\n"
                                            "75 76 77 78 79\r\n80 81 82 83 84\r\n");
        CharacterBoard overBuiltIn, overEmpty;
        ResetToBuiltInBoard(overBuiltIn);
        LoadBoardTable(overBuiltIn, table);
        LoadBoardTable(overEmpty, table);
        const QImage picture = DrawnBoard(BuiltInBoardPicture(), overBuiltIn);
        QCOMPARE(picture, DrawnBoard(BuiltInBoardPicture(), overEmpty));

        CharacterBoard small;
        LoadBoardTable(small, dir.Write("liten.tab", "60 120\r\n50 100\r\n65 66\r\n67 0\r\n"));
        const QImage drawn = DrawnBoard(BuiltInBoardPicture(), small);
        QCOMPARE(drawn.size(), QSize(354, 284));
        QVERIFY(Black(drawn, 119, 10));  // its own frame
        QCOMPARE(InkIn(drawn, QRect(121, 0, 233, 284)), 0);
        QCOMPARE(InkIn(drawn, QRect(0, 101, 354, 183)), 0);
    }

    void everyPassStartsFromTheBuiltInPicture() {
        CharacterBoard small;
        ResetToBuiltInBoard(small);
        small.BoardWidth = 100;
        small.BoardHeight = 80;
        const QImage first = Drawn(small);
        QVERIFY(Black(first, 99, 10));  // the small board's frame
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        const QImage second = Drawn(board);
        QVERIFY(!Black(second, 99, 10));  // not drawn over the first drawing
    }

    // The surface grows to the board; within the built-in size nothing changes.
    void aLargeBoardIsDrawnWhole() {
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        const QImage small = DrawnBoard(BuiltInBoardPicture(), board);
        QCOMPARE(small, Drawn(board));

        for (int i = 1; i <= kMaxCells; ++i) {
            board.ColumnBounds[i] = 80 * i;
            board.RowBounds[i] = 55 * i;
        }
        board.BoardWidth = 560;
        board.BoardHeight = 385;
        const QImage large = DrawnBoard(BuiltInBoardPicture(), board);
        QCOMPARE(large.size(), QSize(560, 385));
        QVERIFY(Black(large, 559, 300) && Black(large, 400, 384));  // the frame's far edges
        QVERIFY(Black(large, 480, 50) && Black(large, 500, 330));   // grid lines beyond 354x284
        QVERIFY(InkIn(large, QRect(488, 335, 40, 40)) > 20);        // the "+" cell's label
        QVERIFY(!Black(large, 420, 300));

        board.BoardWidth = INT32_MAX;
        board.BoardHeight = -1;
        QCOMPARE(DrawnBoard(BuiltInBoardPicture(), board).size(), QSize(kMaxDrawnSide, 284));
    }

    void hugeAndNegativeGeometryIsClipped() {
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        board.BoardWidth = INT32_MAX;
        board.BoardHeight = INT32_MAX;
        board.ColumnBounds[1] = INT32_MIN;
        board.RowBounds[1] = -5;
        board.ColumnBounds[20] = INT32_MAX;
        const QImage picture = Drawn(board);
        QCOMPARE(picture.size(), QSize(354, 284));
        board.BoardWidth = 0;
        board.BoardHeight = -3;
        QCOMPARE(Drawn(board).size(), QSize(354, 284));
    }
};

QTEST_MAIN(BoardDrawingTest)
#include "board_drawing_test.moc"

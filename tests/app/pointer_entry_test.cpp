#include <QLineEdit>
#include <QTest>

#include "demo/demo_replay.h"
#include "window_test.h"

using namespace glidtavla;

// The pointer comes onto the board from somewhere else: only a glide from inside writes.
class PointerEntryTest : public WindowTest {
    Q_OBJECT

    // Comes in at the cell (column, row) of the built-in board and glides to the centre.
    void EnterAndGoToTheCentre(int column, int row) {
        Enter(50 * column - 5, 40 * row - 5);
        Move(50 * column - 25, 40 * row - 20);
        Move(125, 100);
    }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        Start(dir->File("doc.gtv"));
        dialogs->Errors.clear();
    }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void fromStartAtTheEdgeWritesNothingThenAGlideWrites() {
        Move(125, 100);  // a sample before START arms nothing either
        PressStart();
        EnterAndGoToTheCentre(7, 7);  // "+" lies where the way from START comes in
        QCOMPARE(Edit1()->text(), QString());
        QCOMPARE(Edit1()->palette().color(QPalette::Base), QColor(255, 255, 255));
        Write(2, 3);
        QCOMPARE(Edit1()->text(), QString("s"));
    }

    void backFromAMenuWritesNothing() {
        PressStart();
        Enter(125, 100);
        Write(2, 2);
        Move(340, 140);  // out to "8" on the way to a menu: armed
        Move(342, 142);
        QCOMPARE(Edit1()->palette().color(QPalette::Base), QColor(255, 255, 0));
        Leave();
        QCOMPARE(Edit1()->palette().color(QPalette::Base), QColor(255, 255, 255));
        EnterAndGoToTheCentre(7, 4);
        QCOMPARE(Edit1()->text(), QString("a"));
    }

    void enteringAtDeleteLineOrLineFeedKeepsTheLine() {
        PressStart();
        Enter(125, 100);
        Write(2, 2);
        const std::vector<std::string> before = form->TextAreaLines();
        for (const int column : {7, 6}) {
            Leave();
            EnterAndGoToTheCentre(column, 6);
            QCOMPARE(Edit1()->text(), QString("a"));
            QCOMPARE(form->TextAreaLines(), before);
        }
    }

    // A double-click that closed a file dialog leaves Qt believing the button is still held.
    // Coming onto the board must rest all the same, or every entry writes a character.
    void aPressTheBoardNeverSawDoesNotHoldTheRest() {
        PressStart();
        QWidget elsewhere;
        elsewhere.show();
        QTest::mousePress(&elsewhere, Qt::LeftButton);  // its release never comes
        QVERIFY(QGuiApplication::mouseButtons() != Qt::NoButton);
        for (const auto& [column, row] : {std::pair{7, 4}, {4, 7}, {7, 7}, {1, 1}}) {
            EnterAndGoToTheCentre(column, row);
            Leave();
        }
        QCOMPARE(Edit1()->text(), QString());
        QTest::mouseRelease(&elsewhere, Qt::LeftButton);
    }

    void aRecordingWithEntriesReplaysToTheSameDocument() {
        const std::string demo = dir->File("entries.dem");
        Choose(Mdemo(), demo);
        PressStart();
        EnterAndGoToTheCentre(7, 7);
        Write(2, 2);
        Move(25, 100);  // out to "m", then off to a menu
        Leave();
        EnterAndGoToTheCentre(7, 6);
        Write(6, 6);  // LF
        Write(3, 1);
        Leave();
        EnterAndGoToTheCentre(1, 1);
        const std::vector<std::string> live = form->TextAreaLines();
        const QString liveLine = Edit1()->text();
        QCOMPARE(live[1], std::string("a\r"));
        QCOMPARE(liveLine, QString("f"));
        QVERIFY(ReadAll(demo).find(" -1 0\r\n") != std::string::npos);

        // The window's own replay (which ends the recording), then the command-line tool's.
        Memo1()->setPlainText("\n");
        Edit1()->clear();
        Choose(Kdemo1(), demo);
        CharacterBoard board;
        ResetToBuiltInBoard(board);
        const Replay replay = ReplayDemo(board, demo);
        QCOMPARE(replay.View.Line, std::string("f"));
        QCOMPARE(TextAreaListed(replay.View.TextArea), TextAreaListed(live));

        Move(125, 100);
        for (int ticks = 0; form->Demo().Playing() && ticks < 200; ++ticks) {
            Enter(300, 200);  // the pointer's own comings and goings do not touch the demo
            form->Guarded([this] { form->Timer1Timer(); });
        }
        QCOMPARE(form->TextAreaLines(), live);
        QCOMPARE(Edit1()->text(), liveLine);
    }
};

QTEST_MAIN(PointerEntryTest)
#include "pointer_entry_test.moc"

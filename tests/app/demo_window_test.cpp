#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "app/tform1.h"
#include "text/document.h"
#include "window_test.h"

using namespace glidtavla;

class DemoWindowTest : public WindowTest {
    Q_OBJECT

    // A document that does not exist yet, so "Spara" would create it.
    void Start() {
        WindowTest::Start(dir->File("doc.gtv"));
        dialogs->Errors.clear();
    }
    void Record(const QString& path) {
        dialogs->Answers.push_back(path);
        Mdemo()->trigger();
    }
    void Play(const std::string& path) { Play(QString::fromStdString(path)); }
    void Play(const QString& path) {
        dialogs->Answers.push_back(path);
        Kdemo1()->trigger();
    }
    // As the timer runs it: through the error guard.
    void Tick() {
        form->Guarded([this] { form->Timer1Timer(); });
    }

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void recordingThenReplayWritesTheSameDocument() {
        Start();
        const QString demo = QString::fromStdString(dir->File("rec.dem"));
        Record(demo);
        QVERIFY(form->Demo().Recording());
        QCOMPARE(form->Demo().Path(), demo.toStdString());
        // While recording, the item stops it and a notice says it is on.
        QCOMPARE(Mdemo()->text(), QString("Sluta spela in"));
        QVERIFY(Find<QLabel>("DemoNotice")->isVisibleTo(form.get()));
        PressStart();
        Write(2, 2);  // a
        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Write(1, 3, Qt::LeftButton);  // M
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        Write(4, 4);  // space
        Write(6, 6);  // LF
        Write(2, 6);  // ,
        const std::vector<std::string> recorded = form->TextAreaLines();
        const QString recordedLine = Edit1()->text();
        QCOMPARE(recorded[1], std::string("aM \r"));
        Mdemo()->trigger();  // stops without a dialog; what follows is not recorded
        QVERIFY(!form->Demo().InUse());
        QCOMPARE(Mdemo()->text(), QString("Gör demo"));
        QVERIFY(!Find<QLabel>("DemoNotice")->isVisibleTo(form.get()));
        Write(2, 2);
        const std::string lines = ReadAll(demo.toStdString());
        QVERIFY(lines.find(" 0 1\r\n") != std::string::npos);  // shifted samples
        QCOMPARE(std::count(lines.begin(), lines.end(), '\n'), 20);

        // Play it back into a fresh text area from the same state.
        Memo1()->setPlainText("\n");
        Edit1()->clear();
        Play(demo);
        QVERIFY(form->Demo().Playing());
        QVERIFY(!form->Demo().Recording());
        Move(10, 10);  // starts the timer, processes nothing
        QVERIFY(Timer1()->isActive());
        QVERIFY(Image2()->isVisible());
        int ticks = 0;
        while (form->Demo().Playing() && ticks < 100) {
            Tick();
            ++ticks;
        }
        QCOMPARE(ticks, 20);
        QCOMPARE(form->TextAreaLines(), recorded);
        QCOMPARE(Edit1()->text(), recordedLine);
        QCOMPARE(Image2()->pos(), QPoint(125, 100));
        QVERIFY(dialogs->Errors.isEmpty());
    }

    // "Gör demo" asks before it empties a demo it did not record, as "Spara" asks; what it
    // records is the user's alone to read.
    void recordingOverAnotherDemoAsksFirst() {
        Start();
        const std::string old = dir->Write("gammal.dem", std::string(655, '1'));
        const std::string beside = dir->File("gammal-2.dem");
        dialogs->ReplaceAnswers = {ReplaceChoice::Cancel};
        Record(QString::fromStdString(old));
        QVERIFY(!form->Demo().Recording());
        QCOMPARE(dialogs->ReplaceQuestions, QStringList({"gammal.dem | gammal-2.dem"}));
        dialogs->ReplaceAnswers = {ReplaceChoice::SaveBeside};
        Record(QString::fromStdString(old));
        QVERIFY(form->Demo().Recording());
        QCOMPARE(form->Demo().Path(), beside);
        Mdemo()->trigger();  // stops it
        QCOMPARE(std::filesystem::file_size(old), std::uintmax_t{655});
        QCOMPARE(std::filesystem::status(beside).permissions() & std::filesystem::perms::all,
                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        // Its own recording, unchanged since: recorded over without a question.
        dialogs->ReplaceQuestions.clear();
        Record(QString::fromStdString(beside));
        QVERIFY(form->Demo().Recording());
        QVERIFY(dialogs->ReplaceQuestions.isEmpty());
    }

    void playerStatesTickByTick() {
        Start();
        const QString demo = QString::fromStdString(
            dir->Write("p.dem", "75 100 0 0\r\n25 100 0 1\r\n75 100 0 1\r\n"));
        Play(demo);  // idle -> ready, before START
        QVERIFY(form->Demo().Playing());
        QVERIFY(!Timer1()->isActive());
        Move(10, 10);  // the board is hidden: nothing happens before START
        QVERIFY(!Timer1()->isActive());
        PressStart();
        Move(300, 200);  // ready -> running; the real sample is not processed
        QVERIFY(Timer1()->isActive());
        QCOMPARE(Edit2()->text(), QString("X0"));
        Tick();
        QCOMPARE(Edit2()->text(), QString("75"));
        QCOMPARE(Image2()->pos(), QPoint(75, 100));
        Move(10, 10);  // moves while running do not disturb the replay
        Tick();
        QVERIFY(form->State().ShiftHeld);
        Tick();  // the last line: running -> finished, and this tick still fetches
        QVERIFY(!form->Demo().Playing());
        QCOMPARE(Edit1()->text(), QString("M"));
        QVERIFY(Timer1()->isActive());
        Tick();  // finished: the same position again, shift cleared, nothing fetched
        QVERIFY(!form->State().ShiftHeld);
        QCOMPARE(Edit1()->text(), QString("M"));
        Move(125, 100);  // finished -> idle: the real sample is processed
        QVERIFY(!Timer1()->isActive());
        QVERIFY(!Image2()->isVisible());
        QCOMPARE(Edit2()->text(), QString("125"));
    }

    void malformedLineIsReportedAndPlaybackGoesOn() {
        Start();
        PressStart();
        Play(QString::fromStdString(
            dir->Write("m.dem", "75 100 0 0\r\n12x 1 1 1\r\n25 100 0 0\r\n")));
        Move(1, 1);
        Tick();
        Tick();
        QCOMPARE(dialogs->Errors, QStringList({"Invalid numeric input"}));
        QCOMPARE(Edit2()->text(), QString("75"));  // that tick processed nothing
        Tick();
        QCOMPARE(Edit2()->text(), QString("25"));
        QVERIFY(!form->Demo().Playing());
    }

    void positionsFarOutsideTheBoardAreReplayed() {
        Start();
        PressStart();
        Play(dir->Write("far.dem", "2147483647 -2147483648 0 1\r\n-40 90 0 0\r\n"));
        Move(1, 1);
        Tick();
        QCOMPARE(Edit2()->text(), QString("2147483647"));
        QCOMPARE(Edit4()->text(), QString("2147483522"));  // X1 = X0 - 125
        QCOMPARE(Edit5()->text(), QString("-2147483748"));
        QCOMPARE(form->State().PreviousCell, (BoardCell{20, 1}));
        Tick();
        QCOMPARE(Image2()->pos(), QPoint(-40, 90));
        QVERIFY(dialogs->Errors.isEmpty());
    }

    void demoCommandsPutTheBuiltInBoardBack() {
        Start();
        Choose(ubild(), dir->Write("liten.tab",
                                   "50 100 150 200 250 300 350\r\n"
                                   "20 40 60 80 100\r\n120\r\n"));
        QCOMPARE(form->Board().BoardHeight, 100);
        QVERIFY(Edit8()->isVisible());
        // Cancelling changes nothing.
        Kdemo1()->trigger();
        Mdemo()->trigger();
        QCOMPARE(form->Board().BoardHeight, 100);
        QVERIFY(!form->Demo().InUse());
        Record(QString::fromStdString(dir->File("r.dem")));
        QCOMPARE(form->Board().BoardHeight, 280);
        QCOMPARE(form->Board().NormalCodes[1][1], uint8_t('c'));
        QVERIFY(!Edit8()->isVisible());
        QCOMPARE(Memo1()->height(), 126);
        Kdemo1()->trigger();
        QVERIFY(form->Demo().Recording());
    }

    void playingTheFileBeingRecordedWorks() {
        Start();
        PressStart();
        const QString demo = QString::fromStdString(dir->File("same.dem"));
        Record(demo);
        Write(2, 3);
        Play(demo);  // the recording is closed first, so the file is not held
        QVERIFY(dialogs->Errors.isEmpty());
        QVERIFY(form->Demo().Playing());
        QVERIFY(!form->Demo().Recording());
        Record(demo);  // and the other way round
        QVERIFY(dialogs->Errors.isEmpty());
        QVERIFY(form->Demo().Recording());
        QVERIFY(!form->Demo().Playing());
        QVERIFY(!Timer1()->isActive());
    }

    void openFailuresAreShownAndLeaveNoBrokenTicks() {
        Start();
        PressStart();
        Record(QString::fromStdString(dir->File("no-such-folder/x.dem")));
        QCOMPARE(dialogs->Errors, QStringList({"Invalid filename"}));
        QVERIFY(!form->Demo().Recording());
        QCOMPARE(form->Demo().Path(), dir->File("no-such-folder/x.dem"));

        Play(QString::fromStdString(dir->Write("ok.dem", "1 1 0 0\r\n2 2 0 0\r\n")));
        Move(1, 1);
        QVERIFY(Timer1()->isActive());
        Play(QString::fromStdString(dir->File("missing.dem")));
        QCOMPARE(dialogs->Errors.last(), QString("File not found"));
        QVERIFY(!form->Demo().Playing());
        QVERIFY(!Timer1()->isActive());
    }

    void failingWriteSkipsTheRestOfTheSample() {
        Start();
        PressStart();
        Record(QString::fromStdString(dir->File("full.dem")));
        const FileSizeLimit full(4);
        Move(125, 100);
        Move(75, 100);  // would arm
        QCOMPARE(dialogs->Errors, QStringList({"Disk full", "Disk full"}));
        QCOMPARE(Edit2()->text(), QString("75"));
        QVERIFY(!form->State().Armed);
        QVERIFY(form->Demo().Recording());
    }

    // The byte limits came from another system: a path is kept whole, as long as it is.
    void aLongDemoPathIsKeptWhole() {
        Start();
        const std::string folder = dir->File(std::string(200, 'd'));
        std::filesystem::create_directories(folder + "/" + std::string(200, 'e'));
        const std::string longName = folder + "/" + std::string(200, 'e') + "/demo.dem";
        Record(QString::fromStdString(longName));
        QCOMPARE(form->Demo().Path(), longName);
        QVERIFY(form->Demo().Recording());
        QVERIFY(std::filesystem::exists(longName));
    }
};

QTEST_MAIN(DemoWindowTest)
#include "demo_window_test.moc"

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "window_test.h"

using namespace glidtavla;

// Documents in the window: nothing lost on the way out, any text file read as written.
class DocumentWindowTest : public WindowTest {
    Q_OBJECT

    // Closes the window as "Sluta" does; true when it closed.
    bool Quit() {
        Sluta1()->trigger();
        return !form->isVisible();
    }

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void nothingChangedClosesWithoutAQuestion() {
        Start(dir->Write("doc.gtv", "hej\r\n"));
        PressStart();
        QVERIFY(Quit());
        QVERIFY(dialogs->SaveQuestions.isEmpty());
    }

    void unsavedTextIsAskedForFirst() {
        const std::string path = dir->Write("brev.gtv", "hej\r\n");
        Start(path);
        PressStart();
        Write(2, 2);  // "a" in the character line only
        dialogs->SaveAnswers = {SaveChoice::Cancel};
        QVERIFY(!Quit());
        QCOMPARE(dialogs->SaveQuestions, QStringList({"brev.gtv"}));
        QCOMPARE(Edit1()->text(), QString("a"));

        dialogs->SaveAnswers = {SaveChoice::Save};
        QVERIFY(Quit());
        // What the question covered is saved: the character line as the last line.
        QCOMPARE(ReadAll(path), std::string("hej\r\na"));

        // Saved: nothing more to ask.
        form->show();
        dialogs->SaveQuestions.clear();
        QVERIFY(Quit());
        QVERIFY(dialogs->SaveQuestions.isEmpty());
    }

    // The first "Spara" of the day must not replace yesterday's letter: a file this window did
    // not read or write last, or that changed since, is replaced only when the user says so.
    void aSaveAsksBeforeReplacingAFileItDidNotWrite() {
        const struct {
            ReplaceChoice answer;
            std::string kept, beside;  // namnlos.gtv and namnlos-2.gtv afterwards
        } rows[] = {{ReplaceChoice::Cancel, "ig\xE5r", ""},
                    {ReplaceChoice::SaveBeside, "ig\xE5r", "\r\na"},
                    {ReplaceChoice::Replace, "\r\na", ""}};
        const QString startFolder = QDir::currentPath();
        for (const auto& row : rows) {
            dir = std::make_unique<TempDir>();
            QDir::setCurrent(QString::fromStdString(dir->Path()));
            const std::string letter = dir->Write("namnlos.gtv", "ig\xE5r");
            Start();
            PressStart();
            Write(2, 2);  // "a"
            dialogs->ReplaceAnswers = {row.answer};
            Spara2()->trigger();
            QCOMPARE(dialogs->ReplaceQuestions, QStringList({"namnlos.gtv | namnlos-2.gtv"}));
            QCOMPARE(ReadAll(letter), row.kept);
            const std::string beside = dir->File("namnlos-2.gtv");
            QCOMPARE(std::filesystem::exists(beside), !row.beside.empty());
            if (row.beside.empty()) continue;
            QCOMPARE(ReadAll(beside), row.beside);
            QVERIFY(form->windowTitle().contains("namnlos-2.gtv"));
            // Written by this window and unchanged: saved again at once.
            Write(2, 2);
            Spara2()->trigger();
            QCOMPARE(ReadAll(beside), std::string("\r\naa"));
            QCOMPARE(dialogs->ReplaceQuestions.size(), 1);
            // Changed on disk since (another window): asked again.
            std::ofstream(beside, std::ios::binary | std::ios::app) << "!";
            Spara2()->trigger();
            QCOMPARE(dialogs->ReplaceQuestions.size(), 2);
            QCOMPARE(ReadAll(beside), std::string("\r\naa!"));
        }
        form.reset();
        QDir::setCurrent(startFolder);
    }

    // "Öppna" asks before the text written takes another document's place; a character line
    // written before counts as unsaved in the document opened, so "Sluta" asks too.
    void openingAnotherDocumentAsksFirst() {
        const std::string other = dir->Write("annat.gtv", "annat\r\n");
        Start(dir->File("brev.gtv"));
        PressStart();
        Write(2, 2);
        Write(6, 6);  // "a" and LF: the text area
        Write(2, 2);  // and the character line
        const struct {
            SaveChoice answer;
            bool opened;
        } rows[] = {{SaveChoice::Cancel, false}, {SaveChoice::Discard, true}};
        for (const auto& row : rows) {
            dialogs->SaveQuestions.clear();
            dialogs->SaveAnswers = {row.answer};
            Choose(Open1(), other);
            QCOMPARE(dialogs->SaveQuestions, QStringList({"brev.gtv"}));
            QCOMPARE(form->DocumentPath(), row.opened ? other : dir->File("brev.gtv"));
        }
        QCOMPARE(Memo1()->toPlainText(), QString("annat\n"));
        QCOMPARE(Edit1()->text(), QString("a"));
        dialogs->SaveQuestions.clear();
        dialogs->SaveAnswers = {SaveChoice::Cancel};
        QVERIFY(!Quit());
        QCOMPARE(dialogs->SaveQuestions, QStringList({"annat.gtv"}));
        // Nothing written: opened at once.
        Start(dir->File("tom.gtv"));
        dialogs->SaveQuestions.clear();
        Choose(Open1(), other);
        QVERIFY(dialogs->SaveQuestions.isEmpty());
        QCOMPARE(form->DocumentPath(), other);
    }

    // The line just written stays in sight, however long the document.
    void theTextAreaFollowsWhatIsWritten() {
        std::string lines;
        for (int i = 0; i < 5000; ++i)
            lines += "rad " + std::to_string(i) + "\r\n";
        Start(dir->Write("lang.gtv", lines));
        PressStart();
        QScrollBar* bar = Memo1()->verticalScrollBar();
        bar->setValue(0);
        Write(2, 2);
        Write(6, 6);  // LF
        QCoreApplication::processEvents();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
    }

    void spartaInteLeavesTheFileAndAFailingSaveStaysOpen() {
        const std::string path = dir->File("ny.gtv");
        Start(path);
        dialogs->Errors.clear();
        PressStart();
        Write(2, 2);
        Write(6, 6);  // LF: the text area changes
        dialogs->SaveAnswers = {SaveChoice::Discard};
        QVERIFY(Quit());
        QVERIFY(!std::filesystem::exists(path));

        form->show();
        Choose(Sparasom1(), dir->File("saknas/ny.gtv"));  // the name, though it cannot be saved
        dialogs->Errors.clear();
        dialogs->SaveAnswers = {SaveChoice::Save};
        QVERIFY(!Quit());
        QCOMPARE(dialogs->Errors,
                 QStringList(
                     {"Cannot create file " + QString::fromStdString(dir->File("saknas/ny.gtv"))}));
    }

    void utf8DocumentsReadAndSaveAsUtf8() {
        const std::string utf8 = "M\xC3\xA5ns \xE2\x82\xAC \xD0\xB8\r\nr\xC3\xA4v\r\n";
        const std::string path = dir->Write("utf8.txt", utf8);
        Start(path);
        QCOMPARE(Memo1()->toPlainText(), QString("Måns € и\nräv\n"));
        PressStart();
        Write(1, 7);  // "å" from the board
        Write(6, 6);
        Spara2()->trigger();
        QCOMPARE(ReadAll(path), utf8 + "\xC3\xA5\r\n");

        // Windows-1252 bytes that are not UTF-8 stay Windows-1252, byte for byte.
        const std::string latin = dir->Write("latin.txt", "M\xE5ns\r\n\x80\r\n");
        Choose(Open1(), latin);
        QCOMPARE(Memo1()->toPlainText(), QString("Måns\n€\n"));
        Spara2()->trigger();
        QCOMPARE(ReadAll(latin), std::string("M\xE5ns\r\n\x80\r\n"));
    }

    void theLineEndMarkIsKeptButNotDrawn() {
        Start(dir->File("doc.gtv"));
        PressStart();
        Write(2, 2);
        Write(6, 6);
        Memo1()->moveCursor(QTextCursor::Start);
        QTest::keyClicks(Memo1(), "x");  // typing in another line keeps the mark
        QCOMPARE(Memo1()->toPlainText(), QString("x\na\n"));
        QCOMPARE(form->TextAreaLines(), (std::vector<std::string>{"x", "a\r", ""}));
        Spara2()->trigger();
        QCOMPARE(ReadAll(dir->File("doc.gtv")), std::string("x\r\na\r\n"));
    }

    // A pointer that keeps moving (every 10 ms, faster than the 50 ms tick) lets the demo go on.
    void pointerMovesDoNotHoldAPlayingDemo() {
        Start();
        PressStart();
        Choose(Kdemo1(), dir->Write("d.dem", "125 100 0 0\r\n75 100 0 0\r\n"));
        QSignalSpy ticks(Timer1(), &QTimer::timeout);
        for (int i = 0; i < 40 && ticks.isEmpty(); ++i) {
            Move(20 + i % 5, 20);
            QTest::qWait(10);
        }
        QVERIFY(!ticks.isEmpty());
    }
};

QTEST_MAIN(DocumentWindowTest)
#include "document_window_test.moc"

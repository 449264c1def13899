#include <QFile>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include <sys/stat.h>

#include <filesystem>

#include "app/form/dialogs.h"
#include "app/tform1.h"
#include "pictures/builtin_picture.h"
#include "text/codec.h"
#include "window_test.h"

using namespace glidtavla;

class TForm1Test : public WindowTest {
    Q_OBJECT

    static void WriteLineFeed(TForm1* f, TForm1Test* t) {
        (void)f;
        t->Move(125, 100);
        t->Move(225, 180);
        t->Move(275, 220);  // LF at (6, 6)
        t->Move(225, 180);
    }

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void welcomeScreenAndStart() {
        Start();
        QVERIFY(Label1()->isVisible());
        QCOMPARE(Label1()->text(), QString("VÄLKOMMEN   ATT   PROVA   GLIDTAVLA"));
        QVERIFY(Button1()->isVisible());
        QVERIFY(!Image1()->isVisible());
        QVERIFY(!Memo1()->isVisible());
        QVERIFY(form->windowTitle().startsWith("Glidtavla Ver 1.01 " +
                                               QString::fromStdString(form->StartDirectory()) +
                                               "/namnlos.gtv    "));
        QVERIFY(!form->Started());
        PressStart();
        QVERIFY(form->Started());
        for (QWidget* shown :
             std::initializer_list<QWidget*>{Image1(), Edit1(), Edit2(), Edit3(), Edit4(), Edit5(),
                                             Edit6(), Edit9(), Memo1()}) {
            QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
        }
        for (QWidget* hidden : std::initializer_list<QWidget*>{
                 Button1(), Label1(), Label2(), Label3(), Edit8(), Memo2(), Edit7(), Image2()}) {
            QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
        }
        QCOMPARE(Image1()->geometry(), QRect(0, 0, 350, 280));
        QCOMPARE(Edit6()->y(), 310);
        QCOMPARE(Edit1()->y(), 360);
        QCOMPARE(Memo1()->geometry(), QRect(0, 384, 793, 137));
        form->ApplyBoardLayout(350, 280);
        QCOMPARE(Memo1()->height(), 126);
    }

    // A tall board: the text area keeps five lines, and the client grows and scrolls.
    void theTextAreaNeverDisappears() {
        Start();
        PressStart();
        auto* scroll = form->findChild<QScrollArea*>("scroll");
        QVERIFY(scroll != nullptr);
        form->resize(900, 700);
        const int fiveLines = 5 * Memo1()->fontMetrics().lineSpacing();
        for (const int height : {300, 406, 420, 2000}) {
            form->ApplyBoardLayout(350, height);
            QVERIFY2(Memo1()->height() >= fiveLines, qPrintable(QString::number(height)));
            QCOMPARE(Memo1()->y(), height + 104);
            QCOMPARE(scroll->widget()->minimumHeight(), Memo1()->geometry().bottom() + 1);
        }
        QVERIFY(scroll->widget()->height() >= 2104 + fiveLines);
        QApplication::processEvents();
        QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
        form->ApplyBoardLayout(350, 280);  // enough room: placed exactly as before
        QCOMPARE(Memo1()->height(), 126);
        QApplication::processEvents();
        QCOMPARE(scroll->verticalScrollBar()->maximum(), 0);
    }

    void menuCaptionsAndNames() {
        Start();
        QStringList titles;
        for (QAction* action : form->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, QStringList({"Fil", "Hämta teckenbord", "Bruksanvisning", "Visa"}));
        QCOMPARE(Open1()->text(), QString("Öppna"));
        QCOMPARE(Sparasom1()->text(), QString("Spara som"));
        QCOMPARE(Mdemo()->text(), QString("Gör demo"));
        QCOMPARE(Kdemo1()->text(), QString("Kör demo"));
        QVERIFY(form->findChild<QLineEdit*>("Edit1") == Edit1());
        QVERIFY(form->findChild<QPlainTextEdit*>("Memo1") == Memo1());
        QCOMPARE(NameFilters("Demofiler (.dem)|*.dem|Alla filer|*.*"),
                 QStringList({"Demofiler (.dem) (*.dem)", "Alla filer (*.*)"}));
        QCOMPARE(NameFilters("Bitmaps (*.bmp)|*.bmp|JPEG (*.jpg;*.jpeg)|*.jpg;*.jpeg"),
                 QStringList({"Bitmaps (*.bmp)", "JPEG (*.jpg *.jpeg)"}));
    }

    void gestureWritesLowerAndShifted() {
        Start();
        PressStart();
        Move(125, 100);
        Move(75, 100);
        QCOMPARE(Edit6()->text(), QString());
        Move(25, 100);
        QCOMPARE(Edit6()->text(), QString("s"));
        QCOMPARE(Edit6()->palette().color(QPalette::Base), QColor(255, 255, 0));
        QCOMPARE(Edit1()->palette().color(QPalette::Base), QColor(255, 255, 0));
        Move(75, 100);
        QCOMPARE(Edit1()->text(), QString("m"));
        QCOMPARE(Edit2()->text(), QString("75"));
        QCOMPARE(Edit5()->text(), QString("0"));
        QCOMPARE(Edit9()->text(), QString("109"));
        Move(125, 100);
        QCOMPARE(Edit1()->palette().color(QPalette::Base), QColor(255, 255, 255));

        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Write(1, 3, Qt::LeftButton);
        QCOMPARE(Edit1()->text(), QString("mM"));
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        // A right press does not shift.
        Button(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
        Write(1, 3);
        QCOMPARE(Edit1()->text(), QString("mMm"));
    }

    void movesOutsideCountOnlyWithTheLeftButton() {
        Start();
        PressStart();
        Move(125, 100);
        Move(-40, 100, Qt::RightButton);  // outside, right button: not processed
        QCOMPARE(Edit2()->text(), QString("125"));
        Move(-40, 100, Qt::LeftButton);
        QCOMPARE(Edit2()->text(), QString("-40"));
    }

    void lineFeedMovesTheLineAndSavesAsCrLf() {
        const std::string path = dir->File("doc.gtv");
        Start(path);  // missing document: named in the notice, the window works
        QVERIFY(dialogs->Errors.isEmpty());
        QVERIFY(Edit7()->isVisible());
        PressStart();
        Write(2, 2);  // a
        Write(2, 3);  // s
        WriteLineFeed(form.get(), this);
        QCOMPARE(Edit1()->text(), QString());
        QCOMPARE(Edit6()->palette().color(QPalette::Base), QColor(255, 0, 0));
        QCOMPARE(Edit6()->text(), QString(QChar(0x21B5)));
        QCOMPARE(Edit9()->text(), QString("13"));
        const std::vector<std::string> lines = form->TextAreaLines();
        QCOMPARE(lines.size(), std::size_t{3});
        QCOMPARE(lines[1], std::string("as\r"));
        QCOMPARE(Memo1()->toPlainText(), QString("\nas\n"));  // the code 13 is not drawn
        Write(1, 1);                                          // c
        WriteLineFeed(form.get(), this);
        Spara2()->trigger();
        QCOMPARE(ReadAll(path), std::string("\r\nas\r\nc\r\n"));
        QVERIFY(dialogs->Errors.isEmpty());
    }

    void documentsLoadWithNormalisedBreaks() {
        const std::string lfOnly = dir->Write("lf.txt", "ett\ntv\xE5\n");
        Start(lfOnly);
        QCOMPARE(Memo1()->toPlainText(), QString("ett\ntvå\n"));
        Spara2()->trigger();
        QCOMPARE(ReadAll(lfOnly), std::string("ett\r\ntv\xE5\r\n"));

        const std::string crcrlf = dir->Write("cr.txt", "a\r\r\nb\r\r\n\x80\x81");
        dialogs->Answers.push_back(QString::fromStdString(crcrlf));
        Open1()->trigger();
        QCOMPARE(dialogs->LastKind, std::optional(DialogKind::OpenDialog1));
        QCOMPARE(form->TextAreaLines(), (std::vector<std::string>{"a", "", "b", "", "\x80\x81"}));
        QVERIFY(form->windowTitle().contains(QString::fromStdString(crcrlf)));
        const std::string copy = dir->File("copy.txt");
        dialogs->Answers.push_back(QString::fromStdString(copy));
        Sparasom1()->trigger();
        QCOMPARE(ReadAll(copy), std::string("a\r\n\r\nb\r\n\r\n\x80\x81"));
        QVERIFY(form->windowTitle().contains("copy.txt"));  // the file "Spara" now writes
    }

    void oversizedDocumentIsRefusedWhole() {
        Start();
        Memo1()->setPlainText("kvar");
        const std::string huge = dir->Write("huge.txt", "x");
        std::filesystem::resize_file(huge, (64u << 20) + 1);
        dialogs->Answers.push_back(QString::fromStdString(huge));
        Open1()->trigger();
        QCOMPARE(dialogs->Errors, QStringList({"Text exceeds memo capacity"}));
        QCOMPARE(Memo1()->toPlainText(), QString("kvar"));
    }

    void missingDocumentShowsTheNoticeUntilClicked() {
        Start();
        Memo1()->setPlainText("behåll");
        const QString missing = QString::fromStdString(dir->File("saknas.gtv"));
        dialogs->Answers.push_back(missing);
        Open1()->trigger();
        QVERIFY(Edit7()->isVisible());
        QCOMPARE(Edit7()->text(), missing + " finns inte!");
        QCOMPARE(Memo1()->toPlainText(), QString("behåll"));
        Spara2()->trigger();
        QCOMPARE(ReadAll(missing.toStdString()), std::string("beh\xE5ll"));
        QTest::mouseClick(Edit7(), Qt::LeftButton);
        QVERIFY(!Edit7()->isVisible());
        // A cancelled dialog changes nothing.
        Open1()->trigger();
        QCOMPARE(form->DocumentPath(), missing.toStdString());
    }

    void failingSaveKeepsTheOldFile() {
        if (geteuid() == 0) QSKIP("root may write anywhere");
        const std::string path = dir->Write("old.gtv", "gammal");
        Start(path);
        Memo1()->setPlainText("ny");
        chmod(dir->Path().c_str(), 0500);
        Spara2()->trigger();
        chmod(dir->Path().c_str(), 0700);
        QCOMPARE(dialogs->Errors,
                 QStringList({"Cannot create file " + QString::fromStdString(path)}));
        QCOMPARE(ReadAll(path), std::string("gammal"));
    }

    void saveIntoAFolderThatIsAFileFails() {
        const std::string blocker = dir->Write("blocker", "x");
        Start();
        dialogs->Answers.push_back(QString::fromStdString(blocker + "/doc.gtv"));
        Sparasom1()->trigger();
        QCOMPARE(dialogs->Errors, QStringList({"Cannot create file " +
                                               QString::fromStdString(blocker) + "/doc.gtv"}));
        QCOMPARE(ReadAll(blocker), std::string("x"));
    }

    void helpPanelShowsAndHidesOnATextClick() {
        Start();
        PressStart();
        Bruksanvisning2()->trigger();
        QVERIFY(Memo2()->isVisible());
        const QStringList lines = Memo2()->toPlainText().split('\n');
        QCOMPARE(lines[0], QString("            Denna text försvinner om du klickar på den"));
        QVERIFY(
            lines.contains("LF (LINE FEED)     = Överföring av teckenrad till text  Röd "
                           "teckenruta   CHAR(13)"));
        QVERIFY(lines.contains("Tom ruta (Centrum)   CHAR(0)"));
        QTest::mouseClick(Memo2()->verticalScrollBar(), Qt::LeftButton);
        QVERIFY(Memo2()->isVisible());
        Bruksanvisning2()->trigger();
        QVERIFY(Memo2()->isVisible());
        QTest::mouseClick(Memo2()->viewport(), Qt::LeftButton);
        QVERIFY(!Memo2()->isVisible());
    }

    void builtInPictureGrid() {
        const QImage picture = BuiltInBoardPicture();
        QCOMPARE(picture.size(), QSize(354, 284));
        for (int x : {50, 100, 150, 200, 250, 300, 350}) {
            for (int y : {0, 5, 283})
                QCOMPARE(QColor(picture.pixel(x, y)), QColor(Qt::black));
        }
        for (int y : {40, 80, 120, 160, 200, 240, 280}) {
            for (int x : {0, 3, 353})
                QCOMPARE(QColor(picture.pixel(x, y)), QColor(Qt::black));
        }
        QCOMPARE(QColor(picture.pixel(0, 20)), QColor(Qt::white));    // no left edge line
        QCOMPARE(QColor(picture.pixel(20, 0)), QColor(Qt::white));    // no top edge line
        QCOMPARE(QColor(picture.pixel(352, 20)), QColor(Qt::white));  // the margin
        for (int y = 0; y < 284; ++y) {
            for (int x = 0; x < 354; ++x) {
                const QColor c(picture.pixel(x, y));
                QVERIFY(c == QColor(Qt::black) || c == QColor(Qt::white));
            }
        }
        // The centre cell is blank; a letter cell holds ink within its label range.
        int centreInk = 0, letterInk = 0;
        for (int y = 81; y < 120; ++y) {
            for (int x = 101; x < 150; ++x)
                centreInk += QColor(picture.pixel(x, y)) == Qt::black;
        }
        for (int y = 7; y < 36; ++y) {
            for (int x = 11; x < 45; ++x)
                letterInk += QColor(picture.pixel(x, y)) == Qt::black;
        }
        QCOMPARE(centreInk, 0);
        QVERIFY(letterInk > 20);
    }

    void codecKeepsEveryByte() {
        std::string all;
        for (int b = 1; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        QCOMPARE(FromQString(ToQString(all)), all);
        QCOMPARE(ToQString("\x80\r"), QString(QChar(0x20AC)) + QChar(0x240D));
        QCOMPARE(FromQString(QString(QChar(0x4E2D))), std::string("?"));
    }
};

QTEST_MAIN(TForm1Test)
#include "tform1_test.moc"

#include <sys/stat.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "text/codec.h"
#include "window_test.h"

using namespace glidtavla;

// What a hostile or unlucky file system gives the window: nothing hangs, nothing is lost,
// nothing is written elsewhere.
class InputSurfaceTest : public WindowTest {
    Q_OBJECT

    std::string Fifo(const std::string& name) {
        const std::string path = dir->File(name);
        mkfifo(path.c_str(), 0600);
        return path;
    }

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void fifosFoldersAndDevicesAreRefusedAtOnce() {
        const std::string fifo = Fifo("doc.gtv");
        Start(fifo);  // would block in open() for ever
        QCOMPARE(dialogs->Errors,
                 QStringList({"Cannot open file " + QString::fromStdString(fifo)}));
        PressStart();
        dialogs->Errors.clear();
        Choose(Kdemo1(), Fifo("play.dem"));
        Choose(Kdemo1(), "/dev/zero");
        Choose(Kdemo1(), dir->Path());
        Choose(Mdemo(), Fifo("record.dem"));
        QCOMPARE(dialogs->Errors, QStringList({"File access denied", "File access denied",
                                               "File access denied", "File access denied"}));
        QVERIFY(!form->Demo().Playing() && !form->Demo().Recording());
        dialogs->Errors.clear();
        Choose(Open1(), "/dev/zero");
        QCOMPARE(dialogs->Errors, QStringList());  // not a file: the notice says so
        QVERIFY(Edit7()->isVisible());
    }

    void aLineLongerThanALineEditsDefaultIsKeptWhole() {
        Start();
        PressStart();
        Enter(125, 100);
        Edit1()->setText(QString(33000, 'a'));
        Write(2, 2);
        QCOMPARE(Edit1()->text().size(), 33001);
        QCOMPARE(FromQString(Edit1()->text()).size(), std::size_t{33001});
    }

    void longAndNonUtf8NamesRoundTrip() {
        const std::string folder = dir->File(std::string(150, 'm'));
        std::filesystem::create_directories(folder + "/" + std::string(150, 'n'));
        for (const std::string& path :
             {dir->File("bad\xFF\xFE.gtv"), folder + "/" + std::string(150, 'n') + "/brev.gtv"}) {
            std::ofstream(path, std::ios::binary) << "hej\r\n";
            Start(path);
            QCOMPARE(form->DocumentPath(), path);
            QCOMPARE(form->TextAreaLines()[0], std::string("hej"));
            Memo1()->appendPlainText("du");
            Spara2()->trigger();
            QVERIFY(dialogs->Errors.isEmpty());
            QCOMPARE(ReadAll(path), std::string("hej\r\n\r\ndu"));
            form.reset();
        }
        int files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir->Path()))
            ++files;
        QCOMPARE(files, 2);  // nothing was written under another name
    }

    // The code 10 from a board stays one byte of the line, as glidtavla-cli keeps it.
    void aBoardCodeTenStaysOneByte() {
        Start(dir->File("doc.gtv"));
        PressStart();
        Enter(125, 100);
        Choose(ubild(), dir->Write("tio.tab",
                                   "50 100 150 200 250 300 350\r\n"
                                   "40 80 120 160 200 240 280\r\n\r\n\r\n"
                                   "0 10 0 0 0 0 0\r\n\r\n\r\n"
                                   "0 0 0 0 0 13 0\r\n"));
        Write(2, 3);
        QCOMPARE(Edit1()->text(), QString(QChar(0x240A)));
        Write(6, 6);
        QCOMPARE(form->TextAreaLines(), (std::vector<std::string>{"", "\n\r", ""}));
        Spara2()->trigger();
        QCOMPARE(ReadAll(dir->File("doc.gtv")), std::string("\r\n\n\r\n"));
    }
};

QTEST_MAIN(InputSurfaceTest)
#include "input_surface_test.moc"

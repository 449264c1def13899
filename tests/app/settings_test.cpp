#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

#include <random>

#include "app/settings/settings.h"
#include "app/speed_line.h"
#include "app/typing/typing_mode.h"
#include "window_test.h"

using namespace glidtavla;

namespace {
struct NoKeys : KeySender {
    void Send(const KeyAction&) override {}
};
}  // namespace

// Settings kept between runs, in a file of the test's own.
class SettingsTest : public WindowTest {
    Q_OBJECT

    QString iniPath;
    QString startFolder = QDir::currentPath();

    // A window as the program starts one: settings read before it is shown.
    void StartWithSettings() {
        auto scripted = std::make_unique<ScriptedDialogs>();
        dialogs = scripted.get();
        form = std::make_unique<TForm1>("", std::move(scripted));
        form->UseSettings(std::make_unique<SettingsStore>(iniPath));
        form->show();
        QCoreApplication::processEvents();
    }
    void Restart() {
        QVERIFY(form->close());
        form.reset();
        StartWithSettings();
    }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        iniPath = QString::fromStdString(dir->File("conf/glidtavla.conf"));
        QDir::setCurrent(QString::fromStdString(dir->Path()));
    }
    void cleanup() {
        form.reset();
        QDir::setCurrent(startFolder);
        dir.reset();
    }

    void theStoreKeepsEveryValueAndPathBytes() {
        Settings settings;
        settings.zoom = 250;
        settings.sendKeys = true;
        settings.speedLine = true;
        settings.board = {RememberedBoard::Kind::Picture, "/tmp/b\xFF.tab", "/tmp/b\xFF.bmp"};
        settings.documentFolder = "/home/x/\xE5";
        settings.geometry = QByteArray("\x01\x02geometry", 10);
        settings.panelGeometry = QByteArray("\x03panel", 6);
        settings.prediction = {false, false, 2, true};
        settings.pointerAids = {8, true, 2000};
        SettingsStore(iniPath).Save(settings);
        const Settings back = SettingsStore(iniPath).Load();
        QCOMPARE(back.zoom, 250);
        QVERIFY(back.sendKeys && back.speedLine && !back.zoomToWindow);
        QVERIFY(back.board.kind == RememberedBoard::Kind::Picture);
        QCOMPARE(back.board.table, settings.board.table);
        QCOMPARE(back.board.picture, settings.board.picture);
        QCOMPARE(back.documentFolder, settings.documentFolder);
        QCOMPARE(back.geometry, settings.geometry);
        QCOMPARE(back.panelGeometry, settings.panelGeometry);
        QVERIFY(back.prediction == settings.prediction);
        QVERIFY(back.pointerAids == settings.pointerAids);
        QVERIFY(SettingsStore(QString::fromStdString(dir->File("none.ini"))).Load().prediction ==
                PredictionSettings());
    }

    // A settings file that is a FIFO, or a lock that is a folder, never holds the program up:
    // the defaults are read, and a failure to keep settings is said once.
    void aFifoOrAFolderInTheWayHoldsNothingUp() {
        std::filesystem::create_directories(dir->File("conf"));
        QCOMPARE(mkfifo(iniPath.toLocal8Bit().constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(SettingsStore(iniPath).Load().zoom, 100);
        std::filesystem::remove(iniPath.toStdString());
        std::filesystem::create_directory(iniPath.toStdString() + ".lock");
        QVERIFY(!SettingsStore(iniPath).Save(Settings{}).empty());
        QVERIFY(clock.elapsed() < 5000);

        StartWithSettings();
        form->SetZoom(150);
        form->SetZoom(200);
        QCoreApplication::processEvents();
        QCOMPARE(dialogs->Errors.size(), 1);
        QVERIFY(dialogs->Errors[0].startsWith("Inställningarna kunde inte sparas"));
    }

    // The panel of "Skriv i andra program" is kept where the user left it, apart from the
    // full window's place.
    void thePanelKeepsItsOwnPlace() {
        StartWithSettings();
        const QByteArray full = form->saveGeometry();
        PressStart();
        form->Typing().SetSenderFactory(
            []() -> std::unique_ptr<KeySender> { return std::make_unique<NoKeys>(); });
        form->Typing().SetOn(true);
        form->move(40, 50);
        QVERIFY(form->close());
        const Settings kept = SettingsStore(iniPath).Load();
        QVERIFY(!kept.panelGeometry.isEmpty());
        QVERIFY(kept.panelGeometry != full);
        QCOMPARE(kept.geometry, full);
    }

    void aDamagedFileIsIgnored() {
        std::mt19937 random(7);
        std::string garbage(4000, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        std::filesystem::create_directories(dir->File("conf"));
        dir->Write("conf/glidtavla.conf",
                   "[view]\nzoom=9999\nzoomToWindow=kanske\n[board]\nkind=drawn\n" + garbage);
        const Settings settings = SettingsStore(iniPath).Load();
        QCOMPARE(settings.zoom, 100);
        QVERIFY(settings.board.kind == RememberedBoard::Kind::BuiltIn);
        StartWithSettings();
        QVERIFY(dialogs->Errors.isEmpty());
        QCOMPARE(form->Zoom(), 100);
    }

    void zoomAndBoardComeBackAtTheNextStart() {
        StartWithSettings();
        const std::string table =
            dir->Write("egen.tab", "60 120 180\r\n50 100\r\n97 98 99\r\n100 101 102\r\n");
        form->SetZoom(200);
        Choose(ubild(), table);
        Restart();
        QCOMPARE(form->Zoom(), 200);
        QCOMPARE(form->Board().BoardWidth, 180);
        QCOMPARE(form->Boards().TablePath(), table);
        QVERIFY(Edit8()->isVisible());
        QVERIFY(dialogs->Errors.isEmpty());

        // The table has gone: forgotten without a word, and the built-in board it is.
        std::filesystem::remove(table);
        Restart();
        QVERIFY(dialogs->Errors.isEmpty());
        QCOMPARE(form->Board().BoardWidth, 350);
        QVERIFY(SettingsStore(iniPath).Load().board.kind == RememberedBoard::Kind::BuiltIn);
    }

    void startUpFilesWinOverTheRememberedBoard() {
        StartWithSettings();
        Choose(ubild(),
               dir->Write("egen.tab", "60 120 180\r\n50 100\r\n97 98 99\r\n100 101 102\r\n"));
        dir->Write("tecken.tab", "40 80 120\r\n30 60\r\n97 98 99\r\n100 101 102\r\n");
        QImage image(120, 60, QImage::Format_RGB32);
        image.fill(Qt::white);
        image.save(QString::fromStdString(dir->File("tecken.bmp")));
        Restart();
        QCOMPARE(form->Board().BoardWidth, 120);
    }

    void theSpeedLineShowsTheWritingAndIsKept() {
        StartWithSettings();
        const QRect memo = Memo1()->geometry();
        auto* item = form->findChild<QAction*>("VisaSkrivhastighet");
        QVERIFY(item != nullptr && !item->isChecked());
        item->trigger();
        QVERIFY(form->statusBar()->isVisible());
        QCOMPARE(Memo1()->geometry(), memo);  // no control moves for it
        PressStart();
        Enter(125, 100);
        Write(2, 2);
        Write(5, 6);  // BS
        Write(2, 3);
        const auto* label = form->findChild<QLabel*>("Skrivhastighet");
        QVERIFY(label->text().contains("2 tecken skrivna"));
        QVERIFY(label->text().contains("33 % rättningar"));
        dialogs->SaveAnswers = {SaveChoice::Discard};
        Restart();
        QVERIFY(form->findChild<QAction*>("VisaSkrivhastighet")->isChecked());
        QVERIFY(form->statusBar()->isVisible());
        QCOMPARE(
            SpeedText({61.25, 12.25, 1234, 0.125}),
            QString(
                "61,3 tecken/min · 12,3 ord/min · 1\u00A0234 tecken skrivna · 13 % rättningar"));
    }

    void theOpenDialogStartsInTheLastDocumentsFolder() {
        StartWithSettings();
        std::filesystem::create_directories(dir->File("brev"));
        Choose(Open1(), dir->Write("brev/ett.gtv", "hej\r\n"));
        Restart();  // a new, unsaved document
        dialogs->Answers.push_back(QString());
        Open1()->trigger();
        QCOMPARE(dialogs->LastPreset, QString::fromStdString(dir->File("brev/namnlos.gtv")));
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"

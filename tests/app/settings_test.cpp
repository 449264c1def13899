#include <sys/stat.h>

#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QTest>

#include <random>

#include "app/pointer/pointer_aids.h"
#include "app/predict/prediction_settings.h"
#include "app/settings/settings_store.h"
#include "app/settings_keeper.h"
#include "app/speech/speech.h"
#include "app/speed_line.h"
#include "app/typing/typing_mode.h"
#include "app/zoom/window_zoom.h"
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

    // Each feature's section through the store and back, paths as bytes.
    void theStoreKeepsEveryValueAndPathBytes() {
        SettingValues settings;
        ZoomSettings{250, false}.Write(settings);
        TypingSettings{true, "token"}.Write(settings);
        settings.Set("view/speedLine", true);
        const RememberedBoard board{RememberedBoard::Kind::Picture, "/tmp/b\xFF.tab",
                                    "/tmp/b\xFF.bmp"};
        board.Write(settings);
        settings.Set("document/folder", QByteArray("/home/x/\xE5"));
        settings.Set("window/geometry", QByteArray("\x01\x02geometry", 10));
        settings.Set("window/panelGeometry", QByteArray("\x03panel", 6));
        const PredictionSettings prediction{false, false, 2, true};
        prediction.Write(settings);
        const PointerAidSettings aids{8, true, 2000};
        aids.Write(settings);
        const SpeechSettings speech{true, false, true, true, false, -5, "Astrid"};
        speech.Write(settings);
        SettingsStore(iniPath).Save(settings);
        const SettingValues back = SettingsStore(iniPath).Load();
        QVERIFY(ZoomSettings::Read(back) == (ZoomSettings{250, false}));
        const TypingSettings typing = TypingSettings::Read(back);
        QVERIFY(typing.SendKeys && back.Flag("view/speedLine", false));
        QCOMPARE(typing.PortalToken, std::string("token"));
        const RememberedBoard boardBack = RememberedBoard::Read(back);
        QVERIFY(boardBack.Type == RememberedBoard::Kind::Picture);
        QCOMPARE(boardBack.Table, board.Table);
        QCOMPARE(boardBack.Picture, board.Picture);
        QCOMPARE(back.Bytes("document/folder"), std::string("/home/x/\xE5"));
        QCOMPARE(back.Value("window/geometry").toByteArray(), QByteArray("\x01\x02geometry", 10));
        QCOMPARE(back.Value("window/panelGeometry").toByteArray(), QByteArray("\x03panel", 6));
        QVERIFY(PredictionSettings::Read(back) == prediction);
        QVERIFY(PointerAidSettings::Read(back) == aids);
        QVERIFY(SpeechSettings::Read(back) == speech);
        const SettingValues none =
            SettingsStore(QString::fromStdString(dir->File("none.ini"))).Load();
        QVERIFY(PredictionSettings::Read(none) == PredictionSettings());
        QVERIFY(PointerAidSettings::Read(none) == PointerAidSettings());
        QVERIFY(SpeechSettings::Read(none) == SpeechSettings());
        QVERIFY(ZoomSettings::Read(none) == ZoomSettings());
    }

    // A settings file that is a FIFO, or a lock that is a folder, never holds the program up:
    // the defaults are read, and a failure to keep settings is said once.
    void aFifoOrAFolderInTheWayHoldsNothingUp() {
        std::filesystem::create_directories(dir->File("conf"));
        QCOMPARE(mkfifo(iniPath.toLocal8Bit().constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(ZoomSettings::Read(SettingsStore(iniPath).Load()).Percent, 100);
        std::filesystem::remove(iniPath.toStdString());
        std::filesystem::create_directory(iniPath.toStdString() + ".lock");
        QVERIFY(!SettingsStore(iniPath).Save(SettingValues{}).empty());
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
        const SettingValues kept = SettingsStore(iniPath).Load();
        const QByteArray panel = kept.Value("window/panelGeometry").toByteArray();
        QVERIFY(!panel.isEmpty());
        QVERIFY(panel != full);
        QCOMPARE(kept.Value("window/geometry").toByteArray(), full);
    }

    // Remembered at a smaller zoom, the panel still shows the whole board at the zoom of today,
    // on the screen.
    void thePanelFitsTheBoardAtItsZoom() {
        const auto typeInto = [this] {
            form->Typing().SetSenderFactory(
                []() -> std::unique_ptr<KeySender> { return std::make_unique<NoKeys>(); });
            form->Typing().SetOn(true);
        };
        StartWithSettings();
        PressStart();
        typeInto();
        QVERIFY(form->close());
        form.reset();
        StartWithSettings();
        form->SetZoom(200);
        PressStart();
        typeInto();
        QVERIFY(form->width() >= Image1()->width());
        QCOMPARE(Image1()->width(), form->Board().BoardWidth * 2);
        const QRect screen = form->screen()->availableGeometry();
        QVERIFY(screen.contains(form->frameGeometry()));
    }

    // The settings hold where the documents are and the desktop's permission to type: for
    // their owner's eyes only. A failure to keep them at "Sluta" is said while the window is
    // still there, and the window closes.
    void theSettingsAreTheOwnersAndAFailureAtCloseIsSaidAtOnce() {
        StartWithSettings();
        form->SetZoom(150);
        QCOMPARE(std::filesystem::status(iniPath.toStdString()).permissions() &
                     std::filesystem::perms::all,
                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        std::filesystem::remove(iniPath.toStdString() + ".lock");
        std::filesystem::create_directory(iniPath.toStdString() + ".lock");
        dialogs->Errors.clear();
        QVERIFY(form->close());
        QCOMPARE(dialogs->Errors.size(), 1);
        QVERIFY(dialogs->Errors[0].startsWith("Inställningarna kunde inte sparas"));
    }

    // A place remembered on a larger screen is moved and shrunk onto this one.
    void aRememberedPlaceIsKeptOnTheScreen() {
        StartWithSettings();
        form->showNormal();
        form->setGeometry(3000, 2500, 1500, 1200);
        QVERIFY(form->close());
        form.reset();
        StartWithSettings();
        QVERIFY(form->screen()->availableGeometry().contains(form->frameGeometry()));
    }

    // A start with a document opens as any other: maximised when no place is remembered, and
    // the place kept is the maximised window's.
    void aStartWithADocumentOpensMaximised() {
        const std::string document = dir->Write("brev.txt", "brev\r\n");
        for (int start = 0; start < 2; ++start) {
            auto scripted = std::make_unique<ScriptedDialogs>();
            dialogs = scripted.get();
            form = std::make_unique<TForm1>(document, std::move(scripted));
            form->UseSettings(std::make_unique<SettingsStore>(iniPath));
            form->show();
            QCoreApplication::processEvents();
            QVERIFY(form->isMaximized());
            QVERIFY(form->close());
            form.reset();
        }
    }

    // A zoom remembered on a larger screen: the board is shown as large as fits, the zoom
    // stays remembered for that screen, and a zoom chosen now is shown as chosen.
    void aRememberedZoomThatDoesNotFitIsShownFitted() {
        std::filesystem::create_directories(dir->File("conf"));
        dir->Write("conf/glidtavla.conf", "[view]\nzoom=300\n");
        for (int start = 0; start < 2; ++start) {
            StartWithSettings();
            const QSize view = static_cast<QScrollArea*>(form->centralWidget())->viewport()->size();
            QVERIFY2(form->Zoom() < 300, qPrintable(QString::number(form->Zoom())));
            QVERIFY(Image1()->width() <= view.width() && Image1()->height() <= view.height());
            QVERIFY(form->close());
            form.reset();
            QCOMPARE(ZoomSettings::Read(SettingsStore(iniPath).Load()).Percent, 300);
        }
        StartWithSettings();
        form->SetZoom(200);
        form->resize(form->size() - QSize(10, 10));
        QCOMPARE(form->Zoom(), 200);
    }

    void aDamagedFileIsIgnored() {
        std::mt19937 random(7);
        std::string garbage(4000, '\0');
        for (char& c : garbage)
            c = static_cast<char>(random());
        std::filesystem::create_directories(dir->File("conf"));
        dir->Write("conf/glidtavla.conf",
                   "[view]\nzoom=9999\nzoomToWindow=kanske\n[board]\nkind=drawn\n" + garbage);
        const SettingValues settings = SettingsStore(iniPath).Load();
        QCOMPARE(ZoomSettings::Read(settings).Percent, 100);
        QVERIFY(!ZoomSettings::Read(settings).ToWindow);
        QVERIFY(RememberedBoard::Read(settings).Type == RememberedBoard::Kind::BuiltIn);
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
        QVERIFY(RememberedBoard::Read(SettingsStore(iniPath).Load()).Type ==
                RememberedBoard::Kind::BuiltIn);
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
        // A speech choice made in the menu comes back too.
        form->findChild<QAction*>("TalSnabbt")->trigger();
        dialogs->SaveAnswers = {SaveChoice::Discard};
        Restart();
        QCOMPARE(form->Speaking().Current().Rate, 5);
        QVERIFY(form->findChild<QAction*>("TalSnabbt")->isChecked());
        QCOMPARE(
            SpeedText({61.25, 12.25, 1234, 0.125}),
            QString(
                "61,3 tecken/min · 12,3 ord/min · 1\u00A0234 tecken skrivna · 13 % rättningar"));
    }

    // ...and the documents used lately are kept newest first, each once.
    void theOpenDialogStartsInTheLastDocumentsFolder() {
        StartWithSettings();
        std::filesystem::create_directories(dir->File("brev"));
        const std::string one = dir->Write("brev/ett.gtv", "hej\r\n");
        const std::string two = dir->Write("tva.gtv", "hej\r\n");
        for (const std::string& path : {one, two, one})
            Choose(Open1(), path);
        Restart();  // a new, unsaved document
        dialogs->Answers.push_back(QString());
        Open1()->trigger();
        QCOMPARE(dialogs->LastPreset, QString::fromStdString(dir->File("brev/namnlos.gtv")));
        QCOMPARE(QSettings(iniPath, QSettings::IniFormat).value("document/recent").toStringList(),
                 QStringList({QString::fromStdString(one), QString::fromStdString(two)}));
    }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"

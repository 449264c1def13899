#include <QBuffer>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "app/settings/settings_store.h"
#include "app/settings_keeper.h"
#include "app/tform1.h"
#include "window_test.h"

using namespace glidtavla;

namespace {

const char* const kSmallTable =
    "60 120 180 240 300\r\n30 60 90 120 150\r\n"
    "97 98 99 100 101\r\n102 103 104 105 106\r\n"
    "107 108 0 13 32\r\n109 110 111 112 113\r\n"
    "114 115 116 117 118\r\n";

std::string Picture(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

}  // namespace

class BoardWindowTest : public WindowTest {
    Q_OBJECT

    QString startFolder;

    QSize PictureSize() const { return Image1()->pixmap().size(); }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        startFolder = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(dir->Path()));
    }
    void cleanup() {
        form.reset();
        QDir::setCurrent(startFolder);
        dir.reset();
    }

    void startupBoardNeedsBothFiles() {
        dir->Write("tecken.tab", kSmallTable);
        Start();
        QVERIFY(!Edit8()->isVisible());
        QCOMPARE(form->Board().BoardWidth, 350);
        QCOMPARE(form->Boards().TablePath(), dir->Path() + "/tecken.tab");
    }

    void startupBoardLoadsBeforeStart() {
        dir->Write("tecken.tab", kSmallTable);
        dir->Write("tecken.bmp", Picture(300, 150, "BMP"));
        Start();
        QVERIFY(dialogs->Errors.isEmpty());
        QCOMPARE(form->Board().BoardWidth, 300);
        QCOMPARE(form->Board().BoardHeight, 150);
        QVERIFY(Edit8()->isVisible());
        QCOMPARE(Edit8()->x(), 300);
        QCOMPARE(Edit8()->text(),
                 "Tecken från: " + QString::fromStdString(dir->Path() + "/tecken.tab"));
        QCOMPARE(PictureSize(), QSize(300, 150));
        QVERIFY(!Image1()->isVisible());
        PressStart();
        QVERIFY(!Edit8()->isVisible());
        QCOMPARE(Image1()->geometry(), QRect(0, 0, 300, 150));
        QCOMPARE(Edit6()->y(), 180);
        // The table's codes are in force: out to (1, 1) and back writes "a".
        QCOMPARE(form->Board().NormalCodes[1][1], uint8_t('a'));
    }

    void startupErrorsAreReportedAndTheWindowStillWorks() {
        dir->Write("tecken.tab", "60 x\r\n");
        dir->Write("tecken.bmp", Picture(10, 10, "BMP"));
        Start();
        QCOMPARE(dialogs->Errors, QStringList({"Invalid numeric input"}));
        QCOMPARE(form->State().PreviousCell, (BoardCell{3, 3}));
        QVERIFY(!Edit8()->isVisible());
        QVERIFY(form->windowState().testFlag(Qt::WindowMaximized));
    }

    void medBildOnAnIconWithItsTable() {
        Start();
        PressStart();
        dir->Write("bord.tab", kSmallTable);
        const std::string icon = dir->Write("bord.ico", Picture(32, 32, "ICO"));
        Choose(bild(), icon);
        QCOMPARE(dialogs->LastKind, std::optional(DialogKind::OpenPictureDialog1));
        QVERIFY(dialogs->Errors.isEmpty());
        QCOMPARE(form->Boards().PicturePath(), icon);
        QCOMPARE(form->Boards().TablePath(), dir->File("bord.tab"));
        QCOMPARE(PictureSize(), QSize(32, 32));
        QCOMPARE(Image1()->size(), QSize(300, 150));
        QVERIFY(Edit8()->isVisible());
        QCOMPARE(Memo1()->height(), 510 - 254);
    }

    void medBildWithoutTableOrWithAnUnknownPicture() {
        Start();
        PressStart();
        const QSize builtIn = PictureSize();
        Choose(bild(), dir->Write("alone.bmp", Picture(8, 8, "BMP")));
        QVERIFY(dialogs->Errors.isEmpty());
        QCOMPARE(form->Board().BoardWidth, 350);
        dir->Write("bild.tab", kSmallTable);
        Choose(bild(), dir->Write("bild.GIF", "gif"));
        QCOMPARE(dialogs->Errors, QStringList({"Unknown picture file extension (.GIF)"}));
        // All or nothing: the table was read, then put back with the picture's failure.
        QCOMPARE(form->Board().BoardWidth, 350);
        QCOMPARE(Image1()->width(), 350);
        QCOMPARE(PictureSize(), builtIn);
        QVERIFY(!Edit8()->isVisible());
    }

    // The cell drawn "A" must never write another letter: a picture that fails to load keeps
    // the board that the shown picture belongs to.
    void aFailedMedBildKeepsTheBoardItsPictureShows() {
        Start();
        PressStart();
        dir->Write("bord.tab", kSmallTable);
        Choose(bild(), dir->Write("bord.ico", Picture(32, 32, "ICO")));
        const CharacterBoard before = form->Board();
        const QString source = Edit8()->text();
        dir->Write("trasig.tab",
                   "50 100 150 200 250 300 350\r\n40 80 120 160 200 240 280\r\n"
                   "122 122 122 122 122 122 122\r\n");
        const std::string bmp = Picture(8, 8, "BMP");
        Choose(bild(), dir->Write("trasig.bmp", bmp.substr(0, bmp.size() - 20)));
        QCOMPARE(dialogs->Errors, QStringList({"Stream read error"}));
        QCOMPARE(form->Board().NormalCodes[1][1], before.NormalCodes[1][1]);
        QCOMPARE(form->Board().BoardWidth, 300);
        QCOMPARE(PictureSize(), QSize(32, 32));
        QCOMPARE(Edit8()->text(), source);
        QCOMPARE(Image1()->size(), QSize(300, 150));
    }

    void utanBildDrawsTheBoardAndHidesItBeforeStart() {
        Start();
        const std::string table = dir->Write("egen.tab", kSmallTable);
        Choose(ubild(), table);
        QCOMPARE(dialogs->LastKind, std::optional(DialogKind::OpenDialog3));
        QVERIFY(!Image1()->isVisible());
        QVERIFY(Edit8()->isVisible());
        const QImage drawn = Image1()->pixmap().toImage();
        QCOMPARE(drawn.size(), QSize(354, 284));
        QCOMPARE(QColor(drawn.pixel(299, 10)), QColor(Qt::black));  // the frame at W - 1
        PressStart();
        QVERIFY(Image1()->isVisible());
        QCOMPARE(Image1()->size(), QSize(300, 150));
        // A second table draws on a fresh built-in picture.
        Choose(ubild(), dir->Write("liten.tab", "50 100\r\n40 80\r\n97 98\r\n99 100\r\n"));
        const QImage second = Image1()->pixmap().toImage();
        QCOMPARE(QColor(second.pixel(299, 10)), QColor(Qt::white));  // no trace of the first
        QCOMPARE(QColor(second.pixel(99, 10)), QColor(Qt::black));   // the new frame
    }

    void tableErrorsLeaveSourceLayoutAndPictureAsTheyWere() {
        Start();
        PressStart();
        Choose(ubild(), dir->Write("bad.tab", "60 120\r\n40 q\r\n"));
        QCOMPARE(dialogs->Errors, QStringList({"Invalid numeric input"}));
        QVERIFY(!Edit8()->isVisible());
        QCOMPARE(Image1()->size(), QSize(350, 280));
        QCOMPARE(form->Board().ColumnBounds[2], 120);  // what was read stays in the board
    }

    void extremeBoardSizesLayOutWithoutOverflow() {
        Start();
        PressStart();
        // A value above 1000 first is a sensitivity value; the next one is a bound whatever its
        // size.
        Choose(ubild(), dir->Write("huge.tab", "1001\r\n2147483647\r\n40 2147483647\r\n"));
        QVERIFY(dialogs->Errors.isEmpty());
        QVERIFY(Memo1()->height() >= 5 * Memo1()->fontMetrics().lineSpacing());
        QCOMPARE(Image1()->width(), QWIDGETSIZE_MAX);
        QCOMPARE(Edit1()->y(), QWIDGETSIZE_MAX);
        Choose(ubild(), dir->Write("negative.tab", "-7\r\n-9\r\n"));
        QCOMPARE(Image1()->size(), QSize(0, 0));
        QCOMPARE(Memo1()->height(), 406 + 9);
    }

    void pngPictureAndLargeDrawnBoardAndBackToTheBuiltInBoard() {
        Start();
        PressStart();
        dir->Write("foto.tab", kSmallTable);
        Choose(bild(), dir->Write("foto.png", Picture(300, 150, "PNG")));
        QVERIFY(dialogs->Errors.isEmpty());
        QCOMPARE(PictureSize(), QSize(300, 150));
        QCOMPARE(form->Board().BoardWidth, 300);

        Choose(ubild(), dir->Write("stor.tab",
                                   "80 160 240 320 400 480 560\n"
                                   "55 110 165 220 275 330 385\n"));
        QCOMPARE(PictureSize(), QSize(560, 385));  // drawn whole, beyond the built-in picture
        QCOMPARE(Image1()->size(), QSize(560, 385));

        Inbyggt()->trigger();
        QCOMPARE(Inbyggt()->text(), QString("Inbyggt teckenbord"));
        QCOMPARE(form->Board().BoardWidth, 350);
        QCOMPARE(form->Board().RowCount, 7);
        QCOMPARE(Image1()->size(), QSize(350, 280));
        QCOMPARE(Image1()->pixmap().toImage(), Image3()->pixmap().toImage());
        QVERIFY(!Edit8()->isVisible());
        QCOMPARE(Memo1()->height(), 126);
    }

    void boardCommandsAreRefusedDuringDemos() {
        Start();
        const QString ini = QString::fromStdString(dir->File("s.ini"));
        form->UseSettings(std::make_unique<SettingsStore>(ini));
        PressStart();
        const std::string before = dir->Write("egen.tab", kSmallTable);
        Choose(ubild(), before);
        dialogs->Answers.push_back(QString::fromStdString(dir->File("r.dem")));
        Mdemo()->trigger();
        QVERIFY(form->Demo().Recording());
        const std::string table = dir->Write("annan.tab", kSmallTable);
        Choose(ubild(), table);
        QCOMPARE(form->Board().BoardWidth, 350);
        QVERIFY(!Edit8()->isVisible());
        QCOMPARE(form->Boards().TablePath(), table);  // the dialog was answered, then nothing
        dir->Write("b.tab", kSmallTable);
        Choose(bild(), dir->Write("b.bmp", Picture(4, 4, "BMP")));
        QCOMPARE(form->Board().BoardWidth, 350);
        // Each refusal says why.
        QCOMPARE(dialogs->Errors.size(), 2);
        QVERIFY(dialogs->Errors[0].contains("medan en demo spelas in"));
        dialogs->Errors.clear();
        // "Inbyggt teckenbord" is refused too: the board chosen before the demo stays the one
        // remembered.
        Inbyggt()->trigger();
        QCOMPARE(dialogs->Errors.size(), 1);
        const RememberedBoard remembered = RememberedBoard::Read(SettingsStore(ini).Load());
        QCOMPARE(remembered.Type, RememberedBoard::Kind::Drawn);
        QCOMPARE(remembered.Table, before);
    }

    // A path is kept whole, however long, and so is a name that is not UTF-8.
    void longAndOddTablePathsAreKeptWhole() {
        Start();
        const std::string folder = dir->File(std::string(200, 'f'));
        std::filesystem::create_directory(folder);
        const std::string path = folder + "/" + std::string(200, 't') + ".tab";
        std::ofstream(path, std::ios::binary) << kSmallTable;
        Choose(ubild(), path);
        QCOMPARE(form->Boards().TablePath(), path);
        QCOMPARE(form->Board().BoardWidth, 300);
        QCOMPARE(Edit8()->text(), "Tecken från: " + QString::fromStdString(path));
    }
};

QTEST_MAIN(BoardWindowTest)
#include "board_window_test.moc"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTest>

#include <cmath>

#include "app/form/zoom_scale.h"
#include "window_test.h"

using namespace glidtavla;

// The board at a zoom: larger everywhere on the screen, the same in board pixels.
class ZoomWindowTest : public WindowTest {
    Q_OBJECT

    // Out from the centre to a built-in cell and back, in window pixels at the zoom.
    void WriteZoomed(int column, int row) {
        const auto z = [this](int v) { return v * form->Zoom() / 100; };
        Move(z(125), z(100));
        Move(z(50 * column - 25), z(40 * row - 20));
        Move(z(50 * column - 22), z(40 * row - 17));
        Move(z(125), z(100));
    }
    static bool Black(const QImage& image, int x, int y) {
        return QColor(image.pixel(x, y)) == Qt::black;
    }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        StartWriting();
    }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void theBoardAndWhatStandsBelowItGrow() {
        form->SetZoom(200);
        QCOMPARE(Image1()->size(), QSize(700, 560));
        QCOMPARE(Edit6()->y(), 560 + 60);
        QCOMPARE(Edit1()->y(), 560 + 160);
        QCOMPARE(Memo1()->y(), 560 + 208);
        QCOMPARE(Edit6()->font().pixelSize(), 54);
        QVERIFY(Memo1()->font().pixelSize() >= 22);
        QVERIFY(Edit2()->x() >= 700);  // the read-outs stand right of the board
        const QImage shown = Image1()->pixmap().toImage();
        QCOMPARE(shown.size(), QSize(708, 568));
        QVERIFY(Black(shown, 100, 30) && Black(shown, 30, 80));  // grid lines, drawn at 2x
        QVERIFY(!Black(shown, 101, 30));                         // one pixel wide
        QVERIFY(form->findChild<QAction*>("Zoom200")->isChecked());

        form->SetZoom(100);  // back to the form's own places
        QCOMPARE(Image1()->size(), QSize(350, 280));
        QCOMPARE(Edit6()->y(), 310);
        QCOMPARE(Edit1()->y(), 360);
        QCOMPARE(Memo1()->geometry(), QRect(0, 384, 793, 126));
        QCOMPARE(Edit2()->x(), 688);
        QCOMPARE(Image1()->pixmap().toImage(), Image3()->pixmap().toImage());
    }

    void pointerPositionsAreInBoardPixels() {
        form->findChild<QAction*>("Zoom300")->trigger();
        QCOMPARE(form->Zoom(), 300);
        Move(301, 2);
        QCOMPARE(Edit2()->text(), QString("100"));
        QCOMPARE(Edit3()->text(), QString("0"));
        Move(-1, 2, Qt::LeftButton);               // a drag off the board
        QCOMPARE(Edit2()->text(), QString("-1"));  // rounded down, also below zero
        WriteZoomed(2, 2);
        WriteZoomed(1, 3);
        QCOMPARE(Edit1()->text(), QString("cam"));  // the drag went out to "c"
    }

    void aDemoRecordedAt200ReplaysAt100() {
        const std::string demo = dir->File("zoom.dem");
        form->SetZoom(200);
        Choose(Mdemo(), demo);
        WriteZoomed(2, 2);
        WriteZoomed(4, 4);
        WriteZoomed(2, 3);
        WriteZoomed(6, 6);
        const std::vector<std::string> written = form->TextAreaLines();
        QCOMPARE(written[1], std::string("a s\r"));

        Memo1()->setPlainText("\n");
        Choose(Kdemo1(), demo);
        form->findChild<QAction*>("Zoom100")->trigger();
        Move(10, 10);
        for (int ticks = 0; form->Demo().Playing() && ticks < 100; ++ticks) {
            form->Guarded([this] { form->Timer1Timer(); });
            if (ticks == 3) {
                form->SetZoom(150);  // the zoom may change while a demo plays
                QCOMPARE(Image2()->pos(),
                         QPoint(form->State().X0 * 3 / 2, form->State().Y0 * 3 / 2));
            }
        }
        QCOMPARE(form->TextAreaLines(), written);
    }

    void drawnBoardsAndPicturesFollowTheZoom() {
        Choose(ubild(), dir->Write("t.tab", "60 120\r\n50 100\r\n97 98\r\n99 100\r\n"));
        form->SetZoom(300);
        QImage drawn = Image1()->pixmap().toImage();
        QCOMPARE(drawn.size(), QSize(354 * 3, 284 * 3));
        QVERIFY(Black(drawn, 180, 20));  // the grid line at 60, drawn at 3x
        QVERIFY(Black(drawn, 357, 20) || Black(drawn, 358, 20));  // the frame at W - 1
        QVERIFY(!Black(drawn, 365, 20));                          // white beyond the board
        QCOMPARE(Edit8()->x(), 360);

        QImage image(300, 150, QImage::Format_RGB32);
        image.fill(Qt::red);
        image.save(QString::fromStdString(dir->File("p.png")));
        dir->Write("p.tab", "60 120\r\n50 100\r\n97 98\r\n99 100\r\n");
        Choose(bild(), dir->File("p.png"));
        QCOMPARE(Image1()->pixmap().size(), QSize(900, 450));  // scaled smoothly
        QCOMPARE(Image1()->size(), QSize(360, 300));
    }

    // Drawn in device pixels: run once more with QT_SCALE_FACTOR=2 for a high-density screen.
    void theBoardIsSharpOnAnyPixelDensity() {
        form->SetZoom(150);
        const qreal ratio = form->devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        }
        const QPixmap shown = Image1()->pixmap();
        QCOMPARE(shown.devicePixelRatio(), ratio);
        QCOMPARE(shown.width(), qRound(std::floor(354 * 1.5 * ratio)));
        QCOMPARE(Image1()->size(), QSize(525, 420));  // in the window's own pixels
    }

    void anpassaTillFonstretFillsTheWindow() {
        form->resize(1400, 1000);
        QApplication::processEvents();
        Find<QAction>("ZoomFit")->trigger();
        QVERIFY(form->Zoom() > 150);
        const QSize viewport = form->findChild<QScrollArea*>("scroll")->viewport()->size();
        QVERIFY(Image1()->width() <= viewport.width());
        QVERIFY(Memo1()->y() + 5 * Memo1()->fontMetrics().lineSpacing() <= viewport.height());
        const int fitted = form->Zoom();
        form->resize(900, 700);  // follows the window
        QApplication::processEvents();
        QVERIFY(form->Zoom() < fitted);

        // A board loaded later is fitted too: a smaller one grows.
        const int builtIn = form->Zoom();
        Choose(ubild(), dir->Write("liten.tab", "50 100 150 200 250\r\n40 80 120 160 200\r\n"));
        QVERIFY(form->Zoom() > builtIn);
    }

    // On a screen of 800 x 600 everything a writer needs stays in sight, and at any zoom the
    // help panel stands beside or below the board, over no cell, its text grown with the rest.
    void aSmallScreenKeepsEverythingInSight() {
        form->resize(800, 600);
        QApplication::processEvents();
        Find<QAction>("ZoomFit")->trigger();
        const QRect viewport(QPoint(0, 0),
                             form->findChild<QScrollArea*>("scroll")->viewport()->size());
        for (QWidget* needed : std::initializer_list<QWidget*>{Image1(), Edit1(), Edit2(), Edit3(),
                                                               Edit4(), Edit5(), Edit6(), Memo1()})
            QVERIFY2(viewport.contains(needed->geometry()), qPrintable(needed->objectName()));

        for (const int percent : {100, 200, 300, 400}) {
            form->SetZoom(percent);
            Bruksanvisning2()->trigger();
            QVERIFY2(!Memo2()->geometry().intersects(Image1()->geometry()),
                     qPrintable(QString("at %1 %").arg(percent)));
            QCOMPARE(Memo2()->font().pixelSize(), qRound(11 * TextFactor(percent)));
        }
        for (const QSize size : {QSize(1920, 1080), QSize(800, 600)}) {
            form->resize(size);
            QApplication::processEvents();
            Find<QAction>("ZoomFit")->trigger();
            Bruksanvisning2()->trigger();
            QVERIFY2(!Memo2()->geometry().intersects(Image1()->geometry()),
                     qPrintable(QString("fitted to %1 x %2").arg(size.width()).arg(size.height())));
            QVERIFY(Memo2()->width() >= 240);
        }
    }
};

QTEST_MAIN(ZoomWindowTest)
#include "zoom_window_test.moc"

#include <QImage>
#include <QMap>

#include "app/contrast/high_contrast.h"
#include "app/form/colours.h"
#include "app/predict/word_prediction.h"
#include "app/typing/typing_mode.h"
#include "typing/key_sender.h"
#include "window_test.h"

namespace glidtavla {

namespace {

class NoSender : public KeySender {
  public:
    void Send(const KeyAction&) override {}
};

// The contrast of a text on its background in a picture of it: the background is the colour
// most of the place has, the text the pixel that stands out most from it.
double TextContrast(const QImage& picture, const QRect& place) {
    QMap<QRgb, int> counts;
    for (int y = place.top(); y <= place.bottom(); ++y) {
        for (int x = place.left(); x <= place.right(); ++x)
            ++counts[picture.pixel(x, y)];
    }
    QRgb background = 0;
    for (auto it = counts.begin(); it != counts.end(); ++it) {
        if (it.value() > counts.value(background)) background = it.key();
    }
    double most = 1;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        most = std::max(most, ContrastRatio(QColor(background), QColor(it.key())));
    return most;
}

}  // namespace

// What the window shows, measured as a person reads it: every text against its background, in
// the form's colours and in high contrast.
class ContrastWindowTest : public WindowTest {
    Q_OBJECT

    struct Pair {
        QString Name;
        double Ratio;
    };
    // The place of a widget in the window's picture, inside its frame.
    QRect Place(const QWidget* widget, int inset = 3) const {
        return QRect(widget->mapTo(form.get(), QPoint(0, 0)), widget->size())
            .adjusted(inset, inset, -inset, -inset);
    }
    void Measure(std::vector<Pair>& pairs, const QString& name, const QWidget* widget,
                 int inset = 3) {
        QCoreApplication::processEvents();
        const QImage picture = form->grab().toImage();
        pairs.push_back({name, TextContrast(picture, Place(widget, inset))});
    }
    // The welcome screen, the board with a completion and each indicator, the text area and
    // the compact panel.
    void MeasureAll(std::vector<Pair>& pairs) {
        Measure(pairs, "Label1", Label1(), 0);
        Measure(pairs, "Label2", Label2(), 0);
        Measure(pairs, "Label3", Label3(), 0);
        Measure(pairs, "START", Button1());
        PressStart();
        QTRY_VERIFY(form->Prediction().ModelRead());
        Enter(125, 100);
        Write(4, 3);  // t
        Write(3, 4);  // i: "till" offered
        Measure(pairs, "Teckenrad", Edit1());
        Measure(pairs, "Ordforslag (rest)", Find<QLabel>("OrdforslagRest"), 0);
        Measure(pairs, "Ordforslag (mitt)", Find<QLabel>("Ordforslag"), 2);
        Measure(pairs, "Teckenruta vit", Edit6());
        Move(125, 100);
        Move(75, 100);
        Move(77, 102);
        Measure(pairs, "Teckenruta gul", Edit6());
        Measure(pairs, "Teckenrad gul", Edit1());
        const struct {
            const char* Name;
            int Column, Row;
        } controls[] = {{"LF röd", 6, 6}, {"DL grön", 7, 6}, {"BS lime", 5, 6}};
        for (const auto& cell : controls) {
            Move(125, 100);
            Move(50 * cell.Column - 25, 40 * cell.Row - 20);
            Move(50 * cell.Column - 22, 40 * cell.Row - 18);
            Measure(pairs, QString("Teckenruta ") + cell.Name, Edit6());
            Move(50 * 3 - 25, 40 * 3 - 20);  // back, unfetched, by way of the centre
        }
        Move(125, 100);
        Write(4, 4);
        Write(6, 6);  // LF: the line goes to the text area
        Measure(pairs, "Text", Memo1());
        Measure(pairs, "X0", Edit2());
        form->Typing().SetSenderFactory([] { return std::make_unique<NoSender>(); });
        form->Typing().SetOn(true);
        Enter(125, 100);
        Write(2, 2);
        Measure(pairs, "Panelens teckenrad", Edit1());
        Measure(pairs, "Panelens teckenbord", Image1(), 60);
    }
    void StartPredicting() {
        Start(dir->File("doc.gtv"));
        form->Prediction().UseModel(GLIDTAVLA_WORD_MODEL, "");
        form->Prediction().UseFile(dir->File("ord.txt"));
    }

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
        UseHighContrast(false);
    }

    // High contrast puts every text at 7:1 or more; the form's colours keep the completion's
    // rest at 4.5:1 or more. The figures are printed as measured.
    void everyTextStandsOutInHighContrast() {
        for (const bool high : {false, true}) {
            StartPredicting();
            if (high) Find<QAction>("HogKontrast")->trigger();
            std::vector<Pair> pairs;
            MeasureAll(pairs);
            for (const Pair& pair : pairs) {
                qInfo("%s %-24s %5.1f:1", high ? "hög   " : "formens", qPrintable(pair.Name),
                      pair.Ratio);
                if (high) QVERIFY2(pair.Ratio >= 7, qPrintable(pair.Name));
                if (!high && pair.Name == "Ordforslag (rest)") QVERIFY(pair.Ratio >= 4.5);
            }
            cleanup();
            init();
        }
    }

    // The colours themselves, whatever a picture's smoothing does to thin text: each pair of
    // high contrast at 7:1, and the indicators apart from one another.
    void theHighContrastColoursAreFarApart() {
        UseHighContrast(true);
        const Colours& c = CurrentColours();
        const QColor white(255, 255, 255), yellow(255, 255, 0);
        const struct {
            const char* Name;
            QColor Text, Background;
        } pairs[] = {{"welcome", c.Welcome, c.Background}, {"source line", c.Text, c.SourceLine},
                     {"demo notice", white, c.DemoNotice}, {"completion", c.Suggestion, white},
                     {"rest on white", c.Tail, white},     {"rest on yellow", c.Tail, yellow}};
        for (const auto& pair : pairs)
            QVERIFY2(ContrastRatio(pair.Text, pair.Background) >= 7, pair.Name);
        const IndicatorColour all[] = {IndicatorColour::White, IndicatorColour::Yellow,
                                       IndicatorColour::Blue,  IndicatorColour::Red,
                                       IndicatorColour::Green, IndicatorColour::Lime};
        for (const IndicatorColour one : all) {
            QVERIFY2(ContrastRatio(c.TextOn(one), c.Indicator(one)) >= 7, ColourName(one));
            for (const IndicatorColour other : all) {
                if (other != one) QVERIFY(c.Indicator(one) != c.Indicator(other));
            }
        }
        UseHighContrast(false);
        QVERIFY(ContrastRatio(CurrentColours().Tail, yellow) >= 4.5);
        QCOMPARE(CurrentColours().Indicator(IndicatorColour::Red), QColor(255, 0, 0));
    }

    // Turned off, the window is again exactly as the form colours it; until the user chooses,
    // the desktop's setting decides, and the user's choice wins over it.
    void turningItOffRestoresTheFormsColours() {
        StartPredicting();
        PressStart();
        Enter(125, 100);
        Write(2, 2);
        Move(125, 100);
        Move(75, 100);
        Move(77, 102);  // the cell armed
        const QImage before = form->grab().toImage();
        QAction* item = Find<QAction>("HogKontrast");
        item->trigger();
        QVERIFY(item->isChecked());
        QVERIFY(form->grab().toImage() != before);
        item->trigger();
        QCOMPARE(form->grab().toImage(), before);

        HighContrast& contrast = form->Contrast();
        contrast.Use(HighContrast::Choice::Desktop);
        contrast.DesktopSays("high-contrast", true);
        QVERIFY(item->isChecked() && CurrentColours().High);
        contrast.DesktopSays("contrast", true);
        contrast.DesktopSays("high-contrast", false);
        QVERIFY(CurrentColours().High);  // one of the desktop's keys still says so
        item->trigger();
        QVERIFY(!CurrentColours().High);
        QVERIFY(contrast.Current() == HighContrast::Choice::Normal);
        QCOMPARE(form->grab().toImage(), before);
    }
};

}  // namespace glidtavla

QTEST_MAIN(glidtavla::ContrastWindowTest)
#include "contrast_window_test.moc"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/first_start.h"
#include "app/form/dialogs.h"
#include "app/form/file_chooser.h"
#include "app/pointer/pointer_aids.h"
#include "app/predict/word_prediction.h"
#include "base/files.h"
#include "demo/demo_replay.h"
#include "window_test.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace glidtavla {

// Writing without a button and with a trembling hand, in the window with real events.
class PointerAidsTest : public WindowTest {
    Q_OBJECT

    PointerAids* Aids() const { return form->findChild<PointerAids*>(); }
    std::string LastLine() const {
        const std::vector<std::string> lines = form->TextAreaLines();
        return lines.size() >= 2 ? lines[lines.size() - 2] : "";
    }

    // A window resting presses on, on the test's clock and pointer.
    qint64 now = 0;
    PointerAids::Pointer pointer{};
    void StartResting() {
        Start(dir->File("doc.gtv"));
        now = 0;
        pointer = {};
        Aids()->SetClock([this] { return now; });
        Aids()->SetPointer([this] { return pointer; });
        Find<QAction>("TryckGenomAttVila")->trigger();
    }
    // A full rest on a place of a widget (an item's rectangle, or the whole widget).
    void RestOn(QWidget* widget, std::optional<QRect> item = {}) {
        pointer = {widget, widget->mapToGlobal(item.value_or(widget->rect()).center())};
        Aids()->Check();
        now += 1000;
        Aids()->Check();
        QCoreApplication::processEvents();  // the press comes after the check
    }
    // Runs ask, whose dialog waits in a loop of its own, while the clock goes on and aim points
    // the pointer at what to rest on; a dialog left unanswered is closed after 15 s.
    void WhileResting(const std::function<void()>& aim, const std::function<void()>& ask) {
        QTimer clock, unanswered;
        connect(&clock, &QTimer::timeout, [&] {
            now += 200;
            aim();
        });
        clock.start(20);
        unanswered.setSingleShot(true);
        connect(&unanswered, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        unanswered.start(15000);
        ask();
    }
    void PointAt(QWidget* widget) {
        pointer = {widget, widget->mapToGlobal(widget->rect().center())};
    }
    // A visible widget of that name in any window of the program, or null.
    template <typename T>
    static T* Shown(const char* name) {
        for (QWidget* widget : QApplication::allWidgets()) {
            if (widget->objectName() == name && widget->isVisible())
                return qobject_cast<T*>(widget);
        }
        return nullptr;
    }
    static QRect Global(QWidget* widget, QRect rect) {
        return QRect(widget->mapToGlobal(rect.topLeft()), rect.size());
    }

  private slots:
    void init() { dir = std::make_unique<TempDir>(); }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    // Resting on START presses it after the set time, with the time left on the button; a
    // pointer that moves starts the wait again.
    void restingOnStartPressesIt() {
        StartResting();
        pointer = {Button1(), QPoint(5, 5)};
        Find<QAction>("Vilotid1500")->trigger();
        QVERIFY(form->Prediction().Current().On);  // the other settings stay
        Aids()->Check();
        now = 1000;
        Aids()->Check();
        const QLabel* countdown = Find<QLabel>("Nedrakning");
        QCOMPARE(countdown->text(), QString("0,5 s"));
        const QRect button(Button1()->mapTo(countdown->parentWidget(), QPoint(0, 0)),
                           Button1()->size());
        QVERIFY(!countdown->geometry().intersects(button));  // beside the button's text
        pointer.At = QPoint(30, 5);                          // moved: the wait begins again
        Aids()->Check();
        now = 2400;
        Aids()->Check();
        QVERIFY(!form->Started());
        now = 2500;
        Aids()->Check();
        QTRY_VERIFY(form->Started());
    }

    // Menus too: resting on "Fil" opens it, resting on "Spara" in it saves.
    void restingOnAMenuItemChoosesIt() {
        StartResting();
        QMenuBar* bar = form->menuBar();
        auto* fil = Find<QMenu>("Fil1");
        RestOn(bar, bar->actionGeometry(fil->menuAction()));
        QVERIFY(fil->isVisible());
        RestOn(fil, fil->actionGeometry(Spara2()));
        QVERIFY(!fil->isVisible());
        QVERIFY(StampOf(dir->File("doc.gtv")).has_value());
    }

    // "Sluta" ends the program only after a second rest on a button away from the item; a
    // rest on "Avbryt" there, or on anything else, lets it go.
    void endingTheProgramAsksASecondRest() {
        StartResting();
        QMenuBar* bar = form->menuBar();
        auto* fil = Find<QMenu>("Fil1");
        const auto restOnSluta = [&] {
            RestOn(bar, bar->actionGeometry(fil->menuAction()));
            RestOn(fil, fil->actionGeometry(Find<QAction>("Sluta1")));
        };
        restOnSluta();
        QVERIFY(form->isVisible());
        const QRect item = Global(fil, fil->actionGeometry(Find<QAction>("Sluta1")));
        auto* yes = Shown<QPushButton>("Bekrafta");
        QVERIFY(yes != nullptr);
        QCOMPARE(yes->text(), QString("Ja, avsluta Glidtavla"));
        const QRect second = Global(yes->window(), yes->window()->rect());
        QVERIFY(!second.intersects(item.adjusted(-40, -40, 40, 40)));
        RestOn(Shown<QPushButton>("AvbrytBekrafta"));
        QTRY_VERIFY(Shown<QWidget>("AndraVilan") == nullptr);
        QVERIFY(form->isVisible());

        restOnSluta();
        RestOn(Button1());  // something else pressed instead
        QTRY_VERIFY(Shown<QWidget>("AndraVilan") == nullptr);
        QVERIFY(form->isVisible());

        restOnSluta();
        RestOn(Shown<QPushButton>("Bekrafta"));
        QTRY_VERIFY(!form->isVisible());
    }

    // The questions' buttons that drop text, replace a file or forget words: one rest asks the
    // second, and the answer comes only from that.
    void aQuestionsLosingAnswerAsksASecondRest() {
        StartResting();
        QtDialogs real(form.get());
        const struct {
            const char* button;
            std::function<int()> ask;
            int losing;
        } questions[] = {
            {"Spara inte", [&] { return int(real.AskToSave("doc.gtv")); },
             int(SaveChoice::Discard)},
            {"Ersätt", [&] { return int(real.AskToReplace("doc.gtv", "doc-2.gtv")); },
             int(ReplaceChoice::Replace)},
            {"Ja", [&] { return int(real.Confirm("Glömma alla ord?")) ? 1 : 0; }, 1},
        };
        for (const auto& question : questions) {
            bool secondAsked = false;
            int answer = 0;
            const auto aim = [&] {
                if (auto* yes = Shown<QPushButton>("Bekrafta")) {
                    secondAsked = true;
                    PointAt(yes);
                } else if (QWidget* box = QApplication::activeModalWidget()) {
                    for (auto* button : box->findChildren<QPushButton*>()) {
                        if (button->text() == question.button) PointAt(button);
                    }
                }
            };
            WhileResting(aim, [&] { answer = question.ask(); });
            QVERIFY2(secondAsked, question.button);
            QCOMPARE(answer, question.losing);
        }
    }

    // A tick-box item changes only by a full rest on it: neither the rest that opened its menu
    // nor a pointer passing over it switches it.
    void aTickBoxItemChangesOnlyByAFullRestOnIt() {
        StartResting();
        QAction* learn = Find<QAction>("LarAv");
        QMenu* menu = nullptr;
        for (QMenu* candidate : form->findChildren<QMenu*>()) {
            if (candidate->actions().contains(learn)) menu = candidate;
        }
        QVERIFY(menu != nullptr);
        QVERIFY(learn->isChecked());
        QMenuBar* bar = form->menuBar();
        RestOn(bar, bar->actionGeometry(menu->menuAction()));
        QVERIFY(menu->isVisible());
        const QRect item = menu->actionGeometry(learn);
        pointer = {menu, menu->mapToGlobal(item.center())};  // the menu opened under it
        for (int i = 0; i < 30; ++i) {  // and it passes over the item, a few pixels a sample
            pointer.At =
                menu->mapToGlobal(QPoint(item.left() + 5 * i % item.width(), item.center().y()));
            Aids()->Check();
            now += 100;
        }
        QCoreApplication::processEvents();
        QVERIFY(learn->isChecked());
        RestOn(menu, item);
        QVERIFY(!learn->isChecked());
        // Nor does a submenu open under a pointer passing over its item, though a rest opens
        // it; without resting, Qt's own delay opens it.
        QMenu* visa = form->findChild<QMenu*>("Visa");
        QMenu* zoom = form->findChild<QMenu*>("ForstoraTeckenbordet");
        for (const bool resting : {true, false}) {
            if (!resting) Find<QAction>("TryckGenomAttVila")->trigger();
            visa->popup(QPoint(10, 10));
            QVERIFY(QTest::qWaitForWindowExposed(visa));
            const QRect submenu = visa->actionGeometry(zoom->menuAction());
            for (const int x :
                 {submenu.left() + 5, submenu.center().x()})  // a menu waits for a move
                QTest::mouseMove(visa, QPoint(x, submenu.center().y()));
            QTest::qWait(800);
            QCOMPARE(zoom->isVisible(), !resting);
            if (resting) {
                RestOn(visa, submenu);
                QVERIFY(zoom->isVisible());
            }
            visa->close();
        }
    }

    // The program's own chooser, answered by resting on its rows: a file of the folder, a
    // folder and a file in it, the name from the character line, the free name, "Avbryt".
    // Rows of other kinds stay out; folders come before files.
    void theLargeChooserIsAnsweredByResting() {
        StartResting();
        QVERIFY(Aids()->Current().LargeChooser);  // comes with resting
        dir->Write("brev.gtv", "hej");
        dir->Write("anteckning.txt", "");
        dir->Write("bild.png", "");
        std::filesystem::create_directory(dir->File("sub"));
        dir->Write("sub/a.gtv", "");
        dir->Write("sub/b.gtv", "");
        QtDialogs real(form.get());
        const QString recent = QString::fromStdString(dir->File("sub/b.gtv"));
        const QString gone = QString::fromStdString(dir->File("gone.gtv"));
        real.UseOwnChooser({[this] { return Aids()->Current().LargeChooser; },
                            [] { return QString("kort"); },
                            [=] {
                                return QStringList{recent, gone};
                            }});
        const QString recentRow = "b.gtv (senast, i sub)";
        const QString at = QString::fromStdString(dir->File("doc.gtv"));
        const struct {
            DialogKind kind;
            QStringList rests;
            std::optional<std::string> chosen;
        } cases[] = {
            {DialogKind::OpenDialog1, {"brev.gtv"}, dir->File("brev.gtv")},
            // b.gtv would come where the pointer rests: the pointer must leave first.
            {DialogKind::OpenDialog1, {"▶ sub", "a.gtv"}, dir->File("sub/a.gtv")},
            {DialogKind::OpenDialog1, {recentRow}, dir->File("sub/b.gtv")},
            {DialogKind::SaveDialog1,
             {"Spara som kort.gtv (namnet från teckenraden)"},
             dir->File("kort.gtv")},
            {DialogKind::SaveDialog1, {"Spara som doc.gtv"}, dir->File("doc.gtv")},
            {DialogKind::OpenDialog1, {"Avbryt"}, std::nullopt},
        };
        for (const auto& step : cases) {
            int next = 0;
            QStringList rows;
            std::optional<QString> chosen;
            const auto aim = [&] {
                auto* chooser = Shown<FileChooser>("Filvaljare");
                if (chooser == nullptr) return;
                if (rows.isEmpty()) rows = chooser->Rows();
                for (int i = next; i < step.rests.size(); ++i) {
                    for (auto* button : chooser->findChildren<QPushButton*>()) {
                        if (button->text() != step.rests[i] || !button->isVisible()) continue;
                        next = i;
                        PointAt(button);
                    }
                }
            };
            WhileResting(aim, [&] { chosen = real.Ask(step.kind, at); });
            QCOMPARE(chosen.has_value(), step.chosen.has_value());
            if (chosen) QCOMPARE(chosen->toStdString(), *step.chosen);
            if (step.kind == DialogKind::OpenDialog1 && step.rests.size() == 1) {
                QVERIFY(rows.contains("anteckning.txt"));
                QVERIFY(!rows.contains("bild.png"));
                QVERIFY(rows.indexOf("▶ sub") < rows.indexOf("anteckning.txt"));
                QCOMPARE(rows.first(), recentRow);  // the recent first; one gone is left out
                QVERIFY(!rows.filter("gone.gtv").size());
            }
            if (step.kind == DialogKind::SaveDialog1) QVERIFY(!rows.contains(recentRow));
        }
        Find<QAction>("StorFilvaljare")->trigger();  // off: Qt's dialog again
        QVERIFY(!Aids()->Current().LargeChooser);
    }

    // The first start's questions, answered by resting on their large buttons: a head mouse,
    // no button and much tremor give the large-cell board, resting at 2 s and the widest
    // guard; the other answers what they say.
    void theFirstStartQuestionsAreAnsweredByResting() {
        StartResting();
        const QStringList answers = {"Svar0_2", "Svar1_1", "Svar2_2"};
        const auto aim = [&] {
            for (const QString& name : answers) {
                if (auto* answer = Shown<QPushButton>(qPrintable(name))) PointAt(answer);
            }
        };
        WhileResting(aim, [this] { Find<QAction>("StallIn")->trigger(); });
        QCOMPARE(form->Prediction().Current().Pointer, 2);
        QCOMPARE(Aids()->Current().DwellMs, 2000);
        QCOMPARE(Aids()->Current().GuardPixels, 12);
        QCOMPARE(form->Board().BoardWidth, 500);  // the large cells, 5 x 100

        const struct {
            FirstStartAnswers answers;
            bool dwell;
            int guard;
            std::string board;
        } setups[] = {
            {{0, true, 0}, false, 0, ""},
            {{1, false, 1}, true, 8, "svenska-7x7-skift.tab"},
            {{2, true, 2}, false, 12, "stora-rutor-5x5.tab"},
        };
        for (const auto& expected : setups) {
            const FirstStartSetup setup = SetupFor(expected.answers);
            QCOMPARE(setup.Pointer, expected.answers.Pointer);
            QCOMPARE(setup.DwellPress, expected.dwell);
            QCOMPARE(setup.GuardPixels, expected.guard);
            QCOMPARE(setup.Board, expected.board);
        }
    }

    // The help panel closes by a rest on its own button.
    void theHelpClosesByResting() {
        StartResting();
        Bruksanvisning2()->trigger();
        QVERIFY(Memo2()->isVisible());
        RestOn(Find<QPushButton>("StangBruksanvisning"));
        QVERIFY(!Memo2()->isVisible());
    }

    // A dialog that a rest opens is answered by resting: the rests go on being counted while
    // the dialog waits (the clock and the pointer are the test's, the timer is the real one).
    void aDialogOpenedByRestingIsAnsweredByResting() {
        StartResting();
        QTimer clock;
        connect(&clock, &QTimer::timeout, [this] { now += 200; });
        clock.start(20);
        QPushButton opener("Fråga");
        opener.show();
        int answer = 0;
        connect(&opener, &QPushButton::clicked, [&] {
            QMessageBox box(QMessageBox::Question, "Glidtavla", "Spara?",
                            QMessageBox::Yes | QMessageBox::No);
            QTimer::singleShot(0, &box, [&] {
                QAbstractButton* yes = box.button(QMessageBox::Yes);
                pointer = {yes, yes->mapToGlobal(yes->rect().center())};
            });
            QTimer::singleShot(10000, &box, [&box] { box.done(-1); });  // never answered
            answer = box.exec();
        });
        pointer = {&opener, opener.mapToGlobal(opener.rect().center())};
        QTRY_VERIFY_WITH_TIMEOUT(answer != 0, 15000);
        QCOMPARE(answer, int(QMessageBox::Yes));
    }

    // One rest presses once: a resting pointer, or one that moves but stays on what it
    // pressed, presses nothing more (a dialog opening under it is safe); leaving and coming
    // back to rest presses again.
    void aRestPressesOnceUntilThePointerLeaves() {
        StartResting();
        QPushButton button("Tryck");
        button.resize(200, 60);
        button.show();
        int presses = 0;
        connect(&button, &QPushButton::clicked, [&] { ++presses; });
        const auto restAt = [&](QWidget* under, QPoint at) {
            pointer = {under, at};
            Aids()->Check();
            now += 2000;
            Aids()->Check();
            QCoreApplication::processEvents();
        };
        const QPoint middle = button.mapToGlobal(button.rect().center());
        const struct {
            QWidget* under;
            QPoint at;
            int presses;
        } rests[] = {
            {&button, middle, 1},
            {&button, middle, 1},                      // still resting
            {&button, middle + QPoint(40, 0), 1},      // moved, but on what it pressed
            {form->menuBar(), QPoint(-500, -500), 1},  // away, on nothing to press
            {&button, middle + QPoint(40, 0), 2},      // back: a new press
        };
        for (const auto& rest : rests) {
            restAt(rest.under, rest.at);
            QCOMPARE(presses, rest.presses);
        }
    }

    // "Hej" with its capital through the ready board's shift cell; the state shows at the end
    // of the character line. (Demos are made on the built-in board: the engine's own test
    // replays one made with a shift cell.)
    void theShiftCellWritesACapital() {
        Start(dir->File("doc.gtv"));
        Choose(ubild(), std::string(GLIDTAVLA_BOARDS) + "/svenska-7x7-skift.tab");
        PressStart();
        Enter(125, 100);
        Write(4, 7);  // SK
        QCOMPARE(Find<QLabel>("Skiftlage")->text(), QString("Skift"));
        Write(5, 1);  // H
        QVERIFY(!Find<QLabel>("Skiftlage")->isVisible());
        Write(2, 4);  // e
        Write(5, 3);  // j
        Write(6, 6);  // LF
        QCOMPARE(LastLine(), std::string("Hej\r"));
    }

    // A hand trembling on the edge of o: unguarded it writes stray a's; with "Darrskydd" only
    // o, and the demo of the guarded session replays to the same text without a guard.
    void theGuardKeepsATremblingPointerInItsCell() {
        const auto tremble = [this] {
            for (const auto& [x, y] : std::vector<std::pair<int, int>>{{125, 100},
                                                                       {125, 60},
                                                                       {125, 60},
                                                                       {99, 60},
                                                                       {103, 60},
                                                                       {98, 61},
                                                                       {102, 60},
                                                                       {125, 100},
                                                                       {125, 100}})
                Move(x, y);
            Write(6, 6);
            Move(125, 100);  // the guard moves on the second sample in a cell
        };
        Start(dir->File("doc.gtv"));
        PressStart();
        Enter(125, 100);
        tremble();
        QCOMPARE(LastLine(), std::string("aa\r"));
        Find<QAction>("Darrskydd4")->trigger();
        const std::string demo = dir->File("guard.dem");
        Choose(Mdemo(), demo);
        PressStart();
        Enter(125, 100);
        tremble();
        Mdemo()->trigger();
        QCOMPARE(LastLine(), std::string("o\r"));
        const Replay replay = ReplayDemo(form->Board(), demo);
        QCOMPARE(TextAreaListed(replay.View.TextArea).back(), std::string("o\r"));
        // A pointer that stops on its first sample past the band gets there all the same.
        Move(125, 100);
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{125, 60}, {125, 100}}) {
            Move(x, y);
            QTest::qWait(200);
        }
        QCOMPARE(Edit1()->text(), QString("o"));
        // ...and so does one that leaves the board at once from its first sample back.
        Move(125, 60);
        QTest::qWait(200);
        Move(125, 100);
        Leave();
        QCOMPARE(Edit1()->text(), QString("oo"));
    }
};

}  // namespace glidtavla

QTEST_MAIN(glidtavla::PointerAidsTest)
#include "pointer_aids_test.moc"

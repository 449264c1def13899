#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/predict/word_prediction.h"
#include "app/settings/settings.h"
#include "app/typing/typing_mode.h"
#include "window_test.h"

using namespace glidtavla;

namespace {

// Records what would be typed; can be told to fail.
class RecordingSender : public KeySender {
  public:
    explicit RecordingSender(std::vector<KeyAction>& sent, bool& fail) : sent_(sent), fail_(fail) {}
    void Send(const KeyAction& action) override {
        if (fail_) throw Error("Tangenterna kunde inte skickas till det andra programmet.");
        sent_.push_back(action);
    }

  private:
    std::vector<KeyAction>& sent_;
    bool& fail_;
};

KeyAction Text(const std::string& utf8) {
    return {KeyAction::Kind::Text, utf8, 1};
}
const KeyAction kReturn{KeyAction::Kind::Return, "", 1};
KeyAction Back(int count) {
    return {KeyAction::Kind::BackSpace, "", count};
}

}  // namespace

class TypingWindowTest : public WindowTest {
    Q_OBJECT

    std::vector<KeyAction> sent;
    bool fail = false;

    void TurnOn() {
        form->Typing().SetSenderFactory(
            [this] { return std::make_unique<RecordingSender>(sent, fail); });
        form->Typing().SetOn(true);
        form->SetCaption();
    }

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        sent.clear();
        fail = false;
        StartWriting();
    }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    // Characters as themselves; BS and DL erase in the other program exactly what was typed
    // there, never its own text.
    void codesBecomeKeys() {
        QCOMPARE(*KeyForCharacter(0xE5), Text("\xC3\xA5"));      // å
        QCOMPARE(*KeyForCharacter(0x80), Text("\xE2\x82\xAC"));  // €
        for (const int none : {9, 10, 127, 0x81, 0x9D})
            QVERIFY(!KeyForCharacter(uint8_t(none)));

        TypedLine line;
        const struct {
            uint8_t ch;
            std::size_t before, after;
            std::vector<KeyAction> keys;
        } rows[] = {
            {8, 0, 0, {}},             // an empty line: nothing to erase
            {' ', 0, 1, {Text(" ")}},  // typed
            {9, 1, 2, {}},             // no key for it
            {127, 2, 3, {}},           //
            {'a', 5, 6, {Text("a")}},  // after two characters typed on the keyboard
            {8, 6, 5, {Back(1)}},      // the "a"
            {8, 5, 4, {}},             // a keyboard character: never sent
            {1, 4, 0, {Back(1)}},      // DL: of four characters, only the space was sent
            {'b', 0, 1, {Text("b")}},  //
            {13, 1, 0, {kReturn}},     //
            {1, 0, 0, {}},             // a new line holds nothing
        };
        for (const auto& row : rows) {
            QCOMPARE(line.Fetch(row.ch, row.before, row.after), row.keys);
        }
    }

    void everyFetchIsTypedAsItIsWritten() {
        TurnOn();
        QVERIFY(SkrivAndra()->isChecked());
        QVERIFY(form->windowTitle().endsWith("[Skriver i andra program]"));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QVERIFY(form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Write(5, 1, Qt::LeftButton);  // H
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        Write(1, 7);  // å
        Write(4, 4);  // SP
        Write(5, 6);  // BS
        Write(2, 2);  // a
        Write(7, 6);  // DL: the line held "Håa"
        Write(6, 6);  // LF
        QCOMPARE(sent, (std::vector<KeyAction>{Text("H"), Text("\xC3\xA5"), Text(" "), Back(1),
                                               Text("a"), Back(3), kReturn}));
        QCOMPARE(form->TextAreaLines()[1], std::string("\r"));  // the window goes on as before
    }

    // An accepted completion is typed like the characters it adds; a sign takes its space away
    // there too.
    void anAcceptedCompletionIsTypedLikeItsCharacters() {
        form->Prediction().UseModel(GLIDTAVLA_WORD_MODEL, "");
        TurnOn();
        Write(3, 2);  // o
        Write(1, 1);  // c
        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Write(4, 4, Qt::LeftButton);  // SP with shift: "och "
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        Write(2, 6);  // ,
        QCOMPARE(sent, (std::vector<KeyAction>{Text("o"), Text("c"), Text("h"), Text(" "), Back(1),
                                               Text(",")}));
    }

    // A demo is played in this window, never typed into another program.
    void aPlayedDemoTypesNothingElsewhere() {
        TurnOn();
        Choose(Mdemo(), dir->File("d.dem"));
        Enter(125, 100);
        Write(2, 2);
        Write(6, 6);
        Mdemo()->trigger();  // stop
        sent.clear();
        Choose(Kdemo1(), dir->File("d.dem"));
        for (int ticks = 0; form->Demo().Playing() && ticks < 100; ++ticks)
            form->Guarded([this] { form->Timer1Timer(); });
        QVERIFY(sent.empty());
        QCOMPARE(form->TextAreaLines()[2], std::string("a\r"));  // written here all the same
    }

    void aFailureIsShownOnceAndTheModeGoesOff() {
        TurnOn();
        fail = true;
        Write(2, 2);
        Write(2, 3);
        QCOMPARE(dialogs->Errors,
                 QStringList({"Tangenterna kunde inte skickas till det andra programmet."}));
        QVERIFY(!form->Typing().IsOn());
        QVERIFY(!SkrivAndra()->isChecked());
        QVERIFY(!form->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        QCOMPARE(Edit1()->text(), QString("as"));
        QVERIFY(Memo1()->isVisible());  // a failure ends the panel too

        form->Typing().SetSenderFactory([]() -> std::unique_ptr<KeySender> {
            throw Error("Skriv i andra program kräver en X-server, och ingen kunde nås.");
        });
        form->Typing().SetOn(true);
        QVERIFY(!form->Typing().IsOn());
        QCOMPARE(dialogs->Errors.size(), 2);
    }

    // The program written into stays in sight: the window is a panel of the board, the
    // character cell and the character line, and the whole window again afterwards.
    void theWindowIsACompactPanelWhileTyping() {
        const int fullWidth = Edit1()->width();
        TurnOn();
        for (QWidget* shown : std::initializer_list<QWidget*>{Image1(), Edit6(), Edit1()})
            QVERIFY(shown->isVisible());
        for (QWidget* hidden : std::initializer_list<QWidget*>{Memo1(), Edit2(), Edit9()})
            QVERIFY(!hidden->isVisible());
        QVERIFY(Edit1()->width() >= Image1()->width());
        QCOMPARE(form->width(), Edit1()->width());  // sized to what it shows
        QVERIFY(form->width() < fullWidth);
        QVERIFY(form->height() < 480);
        Write(2, 2);
        QCOMPARE(Edit1()->text(), QString("a"));

        form->Typing().SetOn(false);
        QVERIFY(Memo1()->isVisible() && Edit2()->isVisible());
        QCOMPARE(Edit1()->width(), fullWidth);
    }

    void withoutX11TheItemSaysWhy() {
        // The window tests run on the offscreen platform, which has no X server to type through.
        QVERIFY(!SkrivAndra()->isEnabled());
        QVERIFY(SkrivAndra()->toolTip().contains("X11"));
    }

    void kopieraAlltPutsTheWholeDocumentOnTheClipboard() {
        Write(2, 2);
        Write(6, 6);
        Write(2, 3);
        KopieraAllt()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("\na\ns"));
    }
};

QTEST_MAIN(TypingWindowTest)
#include "typing_window_test.moc"

#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "app/predict/word_prediction.h"
#include "app/settings/settings_store.h"
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

KeyAction Text(char32_t c) {
    return {KeyAction::Kind::Character, c, 1};
}
const KeyAction kReturn{KeyAction::Kind::Return, 0, 1};
KeyAction Back(int count) {
    return {KeyAction::Kind::BackSpace, 0, count};
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
        QCOMPARE(sent, (std::vector<KeyAction>{Text(U'H'), Text(U'\u00E5'), Text(U' '), Back(1),
                                               Text(U'a'), Back(3), kReturn}));
        QCOMPARE(form->TextAreaLines()[1], std::string("\r"));  // the window goes on as before
    }

    // An accepted completion is typed like the characters it adds; a sign takes its space away
    // there too.
    void anAcceptedCompletionIsTypedLikeItsCharacters() {
        form->Prediction().UseModel(GLIDTAVLA_WORD_MODEL, "");
        TurnOn();
        QTRY_VERIFY(form->Prediction().ModelRead());
        Write(3, 2);  // o
        Write(1, 1);  // c
        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Write(4, 4, Qt::LeftButton);  // SP with shift: "och "
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        Write(2, 6);  // , with its own space
        QCOMPARE(sent, (std::vector<KeyAction>{Text(U'o'), Text(U'c'), Text(U'h'), Text(U' '),
                                               Back(1), Text(U','), Text(U' ')}));
    }

    // A demo is played in this window, never typed into another program.
    // While the left button is held for a capital or a completion, a key event would carry the
    // button in its state (Orca took "s" for Orca+S): the keys wait for the release, in order.
    void keysWaitForTheButtonToBeReleased() {
        TurnOn();
        Write(2, 2);  // a
        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Write(1, 3, Qt::LeftButton);  // M
        Write(4, 4, Qt::LeftButton);  // SP
        QCOMPARE(Edit1()->text(), QString("aM "));
        QCOMPARE(sent, (std::vector<KeyAction>{Text(U'a')}));
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(sent, (std::vector<KeyAction>{Text(U'a'), Text(U'M'), Text(U' ')}));
        Write(2, 2);
        QCOMPARE(sent.back(), Text(U'a'));
    }

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

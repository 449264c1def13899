#include <QAccessible>
#include <QMenu>

#include "app/speech/speech.h"
#include "app/speech/spoken_text.h"
#include "window_test.h"

namespace glidtavla {

// A voice that says nothing aloud: what it was given, and whether it still speaks.
class HeardVoice : public Voice {
  public:
    explicit HeardVoice(QStringList& said, bool missing = false) : said_(said), missing_(missing) {}
    void Open() override { Opened(); }
    QString Missing() override { return missing_ ? kSpeechMissing : QString(); }
    void Say(const QString& text) override {
        said_ << text;
        speaking_ = true;
    }
    void Stop() override { Finish(); }
    bool Speaking() const override { return speaking_; }
    QStringList Voices() override { return {"Astrid", "Alva"}; }
    void Use(double, const QString&) override {}
    // What was being said has been said.
    void Finish() {
        if (!speaking_) return;
        speaking_ = false;
        Done();
    }

  private:
    QStringList& said_;
    bool missing_;
    bool speaking_ = false;
};

// Speech in the window, on the built-in board: h (5, 1), e (2, 4), j (5, 3), SP (4, 4),
// d (2, 5), å (1, 7), LF (6, 6), s (2, 3), t (4, 3), i (3, 4).
class SpeechWindowTest : public WindowTest {
    Q_OBJECT

    void StartSpeaking(const SpeechSettings& settings, bool screenReader = false) {
        StartWriting();
        auto voice = std::make_unique<HeardVoice>(said);
        voice_ = voice.get();
        form->Speaking().UseVoice(std::move(voice));
        form->Speaking().SetScreenReader([screenReader] { return screenReader; });
        form->Speaking().Use(settings);
    }
    // Every utterance heard to its end, as a person listening would.
    QStringList Heard() {
        for (int i = 0; i < 50 && voice_->Speaking(); ++i)
            voice_->Finish();
        return said;
    }
    void WriteHejDa() {
        for (const auto& [column, row] : {std::pair{5, 1}, {2, 4}, {5, 3}, {4, 4}, {2, 5}, {1, 7}})
            Write(column, row);
        Write(6, 6);
    }
    // What the screen reader was told, by the two notifications that take turns.
    QStringList Announced() const {
        QStringList names;
        for (QWidget* notice : form->findChildren<QWidget*>("Meddelande till skarmlasare"))
            names << QAccessible::queryAccessibleInterface(notice)->text(QAccessible::Name);
        return names;
    }

    QStringList said;
    HeardVoice* voice_ = nullptr;

  private slots:
    void init() {
        dir = std::make_unique<TempDir>();
        said.clear();
    }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    // "hej då" and LF, heard as the choices say: the last word once, with its line or alone.
    void whatIsWrittenIsHeardAsChosen() {
        struct Case {
            const char* Name;
            bool Words, Lines;
            QStringList Heard;
        };
        const Case cases[] = {
            {"nothing chosen", false, false, {}},
            {"words", true, false, {"hej", "då"}},
            {"lines", false, true, {"hej då"}},
            {"words and lines", true, true, {"hej", "hej då"}},
        };
        for (const Case& c : cases) {
            said.clear();
            SpeechSettings settings;
            settings.Words = c.Words;
            settings.Lines = c.Lines;
            StartSpeaking(settings);
            WriteHejDa();
            QVERIFY2(Heard() == c.Heard, qPrintable(QString(c.Name) + ": " + said.join('|')));
            QCOMPARE(Memo1()->toPlainText().trimmed(), QString("hej då"));
        }
    }

    // The armed cell is said as it is reached, a capital as one, the newest only: a person who
    // cannot watch the board hears what turning back will write.
    void theArmedCellIsSaidOnceAsItIsReached() {
        SpeechSettings settings;
        settings.Character = true;
        StartSpeaking(settings);
        Move(125, 100);
        Move(75, 100);  // s, armed
        Move(77, 102);  // the same cell: not said again
        QCOMPARE(said, QStringList{"s"});
        Move(125, 100);  // written
        Button(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        Move(125, 100, Qt::LeftButton);
        Move(175, 140, Qt::LeftButton);  // SP, shifted
        Move(225, 100, Qt::LeftButton);  // j: interrupts what is not yet said
        Button(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        QVERIFY2(Heard() == (QStringList{"s", "mellanslag", "stort J"}),
                 qPrintable(said.join('|')));
        QCOMPARE(Edit1()->text(), QString("s"));
        QCOMPARE(SpokenCharacter(13), QString("radslut"));
        QCOMPARE(SpokenCharacter(0xc5), QString("stort Å"));
    }

    // With a screen reader, the word goes to it alone, even with speech off; what it does not
    // hear of (the armed cell) stays with the program's voice.
    void aScreenReaderHearsTheWordOnce() {
        QAccessible::setActive(true);
        SpeechSettings settings;
        settings.Words = true;
        settings.Character = true;
        StartSpeaking(settings, true);
        for (const auto& [column, row] : {std::pair{5, 1}, {2, 4}, {5, 3}, {4, 4}})
            Write(column, row);
        QCOMPARE(Announced(), (QStringList{"hej", ""}));
        QCOMPARE(Heard(), (QStringList{"h", "e", "j", "mellanslag"}));
        QAccessibleInterface* notice = QAccessible::queryAccessibleInterface(
            form->findChild<QWidget*>("Meddelande till skarmlasare"));
        QCOMPARE(notice->role(), QAccessible::Notification);
        form->Speaking().Use({});
        Write(2, 5);
        Write(4, 4);
        QCOMPARE(Announced(), (QStringList{"hej", "d"}));
    }

    // "Läs upp allt" reads the document from the top; the next fetch stops it, and its word
    // is said.
    void readingAllGivesWayToTheNextFetch() {
        SpeechSettings settings;
        settings.Words = true;
        StartSpeaking(settings);
        WriteHejDa();
        Heard();
        said.clear();
        Find<QAction>("LasUppAllt")->trigger();
        QCOMPARE(said, QStringList{"hej då"});
        QVERIFY(voice_->Speaking());
        Write(2, 3);  // s
        Write(4, 4);
        QCOMPARE(Heard(), (QStringList{"hej då", "s"}));
    }

    // A demo being played is heard only when asked.
    void aDemoSpeaksOnlyWhenAsked() {
        for (const bool inDemos : {false, true}) {
            said.clear();
            SpeechSettings settings;
            settings.Words = true;
            settings.InDemos = inDemos;
            StartSpeaking(settings);
            Mdemo()->trigger();
            dialogs->Answers.push_back(QString::fromStdString(dir->File("hej.dem")));
            Mdemo()->trigger();
            PressStart();
            Enter(125, 100);
            for (const auto& [column, row] : {std::pair{5, 1}, {2, 4}, {5, 3}, {4, 4}})
                Write(column, row);
            Mdemo()->trigger();
            said.clear();
            Choose(Kdemo1(), dir->File("hej.dem"));
            Move(125, 100);
            for (int i = 0; i < 200 && form->Demo().Playing(); ++i)
                form->Timer1Timer();
            QVERIFY2(Heard() == (inDemos ? QStringList{"hej"} : QStringList{}),
                     qPrintable(said.join('|')));
        }
    }

    // Without the speech service the submenu is disabled and says what to install; nothing
    // is said, and no message stands at the start.
    void aMissingServiceDisablesTheSubmenu() {
        StartWriting();
        form->Speaking().UseVoice(std::make_unique<HeardVoice>(said, true));
        auto* tal = Find<QMenu>("Tal");
        QVERIFY(tal->menuAction()->isEnabled());  // nothing is known before it is needed
        Find<QAction>("LasUppOrd")->trigger();
        QVERIFY(!tal->menuAction()->isEnabled());
        QVERIFY(tal->menuAction()->toolTip().contains("speech-dispatcher-espeak-ng"));
        QVERIFY(!Find<QAction>("LasUppAllt")->isEnabled());
        QVERIFY(dialogs->Errors.isEmpty());
        WriteHejDa();
        QVERIFY(said.isEmpty());
    }
};

}  // namespace glidtavla

QTEST_MAIN(glidtavla::SpeechWindowTest)
#include "speech_window_test.moc"

#include "app/speech/speech.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <array>

#include "app/form/menu_items.h"
#include "app/speech/screen_reader.h"
#include "app/speech/spoken_text.h"
#include "board/character_board.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

constexpr std::array<int, 4> kRates = {-5, 0, 5, 9};

}  // namespace

SpeechSettings SpeechSettings::Read(const SettingValues& values) {
    SpeechSettings speech;
    speech.Words = values.Flag("speech/words", false);
    speech.Lines = values.Flag("speech/lines", false);
    speech.Suggestions = values.Flag("speech/suggestions", false);
    speech.Character = values.Flag("speech/character", false);
    speech.InDemos = values.Flag("speech/demos", false);
    speech.Rate = values.Number("speech/rate", -10, 10).value_or(0);
    speech.VoiceName = values.Value("speech/voice").toString();
    return speech;
}

void SpeechSettings::Write(SettingValues& values) const {
    values.Set("speech/words", Words);
    values.Set("speech/lines", Lines);
    values.Set("speech/suggestions", Suggestions);
    values.Set("speech/character", Character);
    values.Set("speech/demos", InDemos);
    values.Set("speech/rate", Rate);
    values.Set("speech/voice", VoiceName);
}

Speech::Speech(QWidget* window, QMenu* menu, QAction* readAllAfter,
               std::function<QString()> document, std::function<bool()> demoPlaying)
    : QObject(window),
      window_(window),
      document_(std::move(document)),
      demoPlaying_(std::move(demoPlaying)),
      screenReader_(ScreenReaderRunning) {
    CreateMenu(menu, readAllAfter);
    UseVoice(OpenSpeechDispatcherVoice());
}

void Speech::UseVoice(std::unique_ptr<Voice> voice) {
    voice_ = std::move(voice);
    speaking_.reset();
    voice_->OnDone([this] {
        speaking_.reset();
        SayNext();
    });
    voice_->OnOpened([this] { Missing(); });
    Use(settings_);
}

Speech::~Speech() = default;

void Speech::CreateMenu(QMenu* menu, QAction* readAllAfter) {
    menu_ = menu->addMenu("Tal");
    menu_->setObjectName("Tal");
    menu_->setToolTipsVisible(true);
    const auto item = [this](const char* name, const char* text, bool SpeechSettings::*field) {
        return AddCheckable(menu_, name, text, [this, field](bool on) {
            settings_.*field = on;
            Changed();
        });
    };
    words_ = item("LasUppOrd", "Läs upp ord", &SpeechSettings::Words);
    lines_ = item("LasUppRader", "Läs upp rader", &SpeechSettings::Lines);
    suggestions_ = item("LasUppForslag", "Läs upp förslag", &SpeechSettings::Suggestions);
    character_ = item("LasUppTecknet", "Läs upp tecknet", &SpeechSettings::Character);
    demos_ = item("LasUppDemo", "Läs upp när en demo spelas", &SpeechSettings::InDemos);
    menu_->addSeparator();
    rates_ = AddChoices(menu_, "Talhastighet", "Talhastighet",
                        {{"TalLangsamt", "Långsamt"},
                         {"TalNormalt", "Normalt"},
                         {"TalSnabbt", "Snabbt"},
                         {"TalMycketSnabbt", "Mycket snabbt"}},
                        [this](int index) {
                            settings_.Rate = kRates[static_cast<std::size_t>(index)];
                            Changed();
                        });
    voices_ = menu_->addMenu("Röst");
    voices_->setObjectName("Rost");
    // The service is asked for its voices only when the user looks for one.
    connect(voices_, &QMenu::aboutToShow, this, [this] {
        voices_->clear();
        auto* group = new QActionGroup(voices_);
        QStringList names = voice_->Voices();
        names.prepend(QString());
        for (const QString& name : names) {
            QAction* action = voices_->addAction(name.isEmpty() ? "Svenska (förval)" : name);
            action->setCheckable(true);
            action->setChecked(name == settings_.VoiceName);
            group->addAction(action);
            connect(action, &QAction::triggered, this, [this, name] {
                settings_.VoiceName = name;
                Changed();
            });
        }
    });
    connect(menu_, &QMenu::aboutToShow, this, [this] { voice_->Open(); });

    QMenu* fil = qobject_cast<QMenu*>(readAllAfter->parent());
    const QList<QAction*> items = fil->actions();
    const qsizetype after = items.indexOf(readAllAfter);
    readAll_ = new QAction("Läs upp allt", fil);
    readAll_->setObjectName("LasUppAllt");
    fil->insertAction(after + 1 < items.size() ? items[after + 1] : nullptr, readAll_);
    connect(readAll_, &QAction::triggered, this, [this] { ReadAll(); });
}

void Speech::Use(const SpeechSettings& settings) {
    settings_ = settings;
    words_->setChecked(settings.Words);
    lines_->setChecked(settings.Lines);
    suggestions_->setChecked(settings.Suggestions);
    character_->setChecked(settings.Character);
    demos_->setChecked(settings.InDemos);
    for (std::size_t i = 0; i < kRates.size(); ++i)
        rates_[i]->setChecked(kRates[i] == settings.Rate);
    voice_->Use(settings.Rate / 10.0, settings.VoiceName);
    // With speech chosen the service is reached at once, so a missing one shows in the menu
    // before anything is to be said.
    if (settings.Words || settings.Lines || settings.Suggestions || settings.Character)
        voice_->Open();
}

void Speech::Changed() {
    Use(settings_);
    if (changed_) changed_();
}

bool Speech::Missing() {
    const QString missing = voice_->Missing();
    missing_ = !missing.isEmpty();
    if (!missing_) return false;
    // The choices stay as the user made them, for when the service is installed.
    for (QAction* action : menu_->actions())
        action->setEnabled(false);
    menu_->menuAction()->setEnabled(false);
    menu_->menuAction()->setToolTip(missing);
    readAll_->setEnabled(false);
    readAll_->setToolTip(missing);
    return true;
}

bool Speech::Quiet() const {
    return demoPlaying_() && !settings_.InDemos;
}

void Speech::Fetched(uint8_t code, std::size_t lengthBefore, const std::string& lineAfter) {
    // A cell fetched is the writer going on: the document read out gives way.
    std::erase_if(pending_, [](const Utterance& u) { return u.Type == Kind::Document; });
    if (speaking_ == Kind::Document) voice_->Stop();
    if (Quiet()) return;
    const std::string before =
        code == kCodeLineFeed ? movedLine_ : lineAfter.substr(0, lengthBefore);
    const std::optional<std::string> word = WordEnded(before, code);
    // A word is said once: LF after a completion's space (which it takes away) ends no new one,
    // and the line said whole says its last word.
    const bool again = before == wordSaidAt_;
    if (code == kCodeLineFeed || code == kCodeDeleteLine) wordSaidAt_.clear();
    if (!word || again) return;
    if (code != kCodeLineFeed) wordSaidAt_ = before;
    if (!(code == kCodeLineFeed && settings_.Lines)) Say(Kind::Word, ToQString(*word));
}

void Speech::LineWritten(const std::string& line) {
    movedLine_ = line;
    if (!movedLine_.empty() && movedLine_.back() == '\r') movedLine_.pop_back();
    if (!Quiet() && settings_.Lines && !movedLine_.empty()) Say(Kind::Line, ToQString(movedLine_));
}

void Speech::Suggested(const std::string& word) {
    if (word == suggested_) return;
    suggested_ = word;
    if (!word.empty() && !Quiet()) Say(Kind::Suggestion, ToQString(word));
}

void Speech::Armed(uint8_t code) {
    if (code == armed_) return;
    armed_ = code;
    if (code != kCodeEmpty && settings_.Character && !Quiet())
        Say(Kind::Character, SpokenCharacter(code));
}

void Speech::ReadAll() {
    const QString text = document_().trimmed();
    if (text.isEmpty() || Missing()) return;
    pending_.clear();
    if (speaking_) voice_->Stop();  // the document follows once it has stopped
    Say(Kind::Document, text);
}

void Speech::Say(Kind kind, const QString& text) {
    const bool reader = screenReader_();
    if (!reader && missing_) return;
    // With a screen reader running, what is written and offered goes to it alone, and it says
    // so whatever is chosen here: its user expects to hear it.
    if (reader && (kind == Kind::Word || kind == Kind::Suggestion ||
                   (kind == Kind::Line && settings_.Lines))) {
        AnnounceToScreenReader(window_, text);
        return;
    }
    const bool wanted = kind == Kind::Word         ? settings_.Words
                        : kind == Kind::Line       ? settings_.Lines
                        : kind == Kind::Suggestion ? settings_.Suggestions
                        : kind == Kind::Character  ? settings_.Character
                                                   : true;
    if (!wanted) return;
    // Only the newest armed cell and the newest suggestion are worth saying.
    if (kind == Kind::Character || kind == Kind::Suggestion)
        std::erase_if(pending_, [kind](const Utterance& u) { return u.Type == kind; });
    if (kind == Kind::Character) {
        pending_.push_front({kind, text});
        if (speaking_ == Kind::Character) voice_->Stop();
    } else {
        pending_.push_back({kind, text});
    }
    SayNext();
}

void Speech::SayNext() {
    if (speaking_ || pending_.empty() || voice_->Speaking()) return;
    const Utterance next = pending_.front();
    pending_.pop_front();
    speaking_ = next.Type;
    voice_->Say(next.Text);
}

}  // namespace glidtavla

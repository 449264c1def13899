#include "app/predict/word_prediction.h"

#include <utility>

#include <QDate>
#include <QLineEdit>
#include <QMenu>

#include "app/form/dialogs.h"
#include "app/form/menu_items.h"
#include "board/word_column.h"
#include "predict/suggestion_policy.h"
#include "predict/words.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

constexpr const char* kPointerNames[] = {"Mus", "Styrkula", "Huvudmus"};

int Today() {
    return static_cast<int>(QDate(1970, 1, 1).daysTo(QDate::currentDate()));
}

}  // namespace

WordPrediction::WordPrediction(const FormControls& controls, const FormLayout& layout, QMenu* menu,
                               Dialogs& dialogs, const CharacterBoard& engineBoard,
                               std::function<bool()> demoInUse)
    : c_(controls),
      dialogs_(dialogs),
      board_(engineBoard),
      demoInUse_(std::move(demoInUse)),
      overlays_(controls, layout),
      // A switch asked for while the model was read comes once it is there.
      loader_(c_.Edit1, [this] {
          Load();
          UseBase();
      }) {
    writeSoon_.setSingleShot(true);
    writeSoon_.setInterval(kWritePauseMs);
    QObject::connect(&writeSoon_, &QTimer::timeout, c_.Edit1, [this] { WriteLearntSoon(); });
    CreateMenu(menu);
    QObject::connect(c_.Edit1, &QLineEdit::textChanged, c_.Edit1, [this] { Refresh(); });
}

WordPrediction::~WordPrediction() {
    if (writeSoon_.isActive()) WriteLearnt();  // what the last pause had not written yet
}

void WordPrediction::CreateMenu(QMenu* menu) {
    menu->addSeparator();
    on_ = AddCheckable(menu, "Ordforslag", "Ordförslag", [this](bool on) {
        settings_.On = on;
        offForRun_ = false;
        Changed();
    });
    column_ = AddCheckable(menu, "Ordkolumn", "Ordkolumn", [this](bool on) {
        settings_.Column = on;
        Changed();
    });
    std::vector<std::pair<QString, QString>> pointers;
    for (int i = 0; i < 3; ++i)
        pointers.emplace_back(QString("Pekdon%1").arg(i), kPointerNames[i]);
    pointers_ = AddChoices(menu, "Pekdon", "Pekdon", pointers, [this](int i) {
        settings_.Pointer = i;
        // A slow pointer gains from every word it need not write: the column comes too.
        settings_.Column = i == 2;
        Changed();
    });
    // A sign's space as a completion's: taken away again by the sign or line end that follows.
    signSpace_ = AddCheckable(menu, "MellanslagEfterTecken", "Mellanslag efter skiljetecken",
                              [this](bool on) {
                                  settings_.SpaceAfterSigns = on;
                                  Changed();
                              });
    larger_ = AddCheckable(menu, "StorreOrdmodell", "Större ordmodell", [this](bool on) {
        settings_.LargerModel = on;
        Changed();
    });
    learn_ = AddCheckable(menu, "LarAv", "Lär av det jag skriver", [this](bool on) {
        settings_.Learn = on;
        Changed();
    });
    forget_ = menu->addAction("Glöm inlärda ord");
    forget_->setObjectName("GlomOrd");
    QObject::connect(forget_, &QAction::triggered, menu, [this] { Forget(); });
    Use(settings_);
}

void WordPrediction::Changed() {
    Use(settings_);
    if (changed_) changed_();
}

void WordPrediction::Use(const PredictionSettings& settings) {
    settings_ = settings;
    on_->setChecked(settings_.On && !offForRun_);
    column_->setChecked(settings_.Column);
    learn_->setChecked(settings_.Learn);
    signSpace_->setChecked(settings_.SpaceAfterSigns);
    larger_->setChecked(settings_.LargerModel);
    UseBase();
    pointers_[static_cast<std::size_t>(std::clamp(settings_.Pointer, 0, 2))]->setChecked(true);
    if (columnChanged_) columnChanged_(ColumnShown());
    Refresh();
}

// What was learnt goes with the user to the other model; the lines written while it is read
// wait for it, as at the start. A model being read is not waited for.
void WordPrediction::UseBase() {
    if (loader_.Started() && !loader_.Ready()) return;
    const bool failed = !loader_.Error().empty();
    ReportWrite(
        loader_.SwitchBase(settings_.LargerModel ? LargerModelPath() : BaseModelPath(), mayWrite_));
    if (failed && loader_.Error().empty()) {
        on_->setEnabled(true);
        on_->setToolTip("");
    }
}

void WordPrediction::OffForThisRun() {
    offForRun_ = true;
    Use(settings_);
}

void WordPrediction::Started() {
    // Off for the run, or neither suggesting nor learning: the model is read when first asked.
    if (offForRun_ || (!settings_.On && !settings_.Learn)) return;
    loader_.Start();
}

bool WordPrediction::Load() {
    if (loader_.Model() != nullptr) return true;
    if (!loader_.Error().empty()) return false;  // said once already
    if (!loader_.Load()) {
        on_->setEnabled(false);
        on_->setToolTip("Ordmodellen kunde inte läsas: " + QString::fromStdString(loader_.Error()));
        return false;
    }
    if (!loader_.LearntError().empty() && mayWrite_) {
        mayWrite_ = false;
        dialogs_.ShowError("Inlärda ord i " + glidtavla::Shown(loader_.File()) +
                           " kunde inte läsas (" + QString::fromStdString(loader_.LearntError()) +
                           "). Filen lämnas som den är; det du skriver nu lärs bara in "
                           "tills programmet avslutas.");
    }
    for (const std::string& text : std::exchange(unlearnt_, {}))
        Learn(text);
    Refresh();
    return true;
}

// The window never waits for the model: completions appear once it has been read.
bool WordPrediction::ModelReady() {
    if (!loader_.Started()) loader_.Start();
    return loader_.Ready() && Load();
}

bool WordPrediction::Active() const {
    return settings_.On && !offForRun_ && !demoInUse_();
}

std::optional<std::string> WordPrediction::WordToComplete(int slot) {
    if (!Active()) return std::nullopt;
    const auto index = static_cast<std::size_t>(slot);
    if (index >= rest_.size() || rest_[index].empty()) {
        // SP with shift is an ordinary space when no word is shown.
        return slot == 0 ? std::nullopt : std::optional<std::string>("");
    }
    return rest_[index];
}

void WordPrediction::Learn(const std::string& text) {
    if (!settings_.Learn || demoInUse_()) return;
    if (loader_.Model() == nullptr) {
        // Learnt once the model is there: a line written while it is read is not lost.
        if (loader_.Error().empty()) unlearnt_.push_back(text);
        if (!loader_.Started()) loader_.Start();
        return;
    }
    loader_.Model()->Learn(text, Today());
    // Written once the writer pauses, not at every line: the write reads and merges the whole
    // file, which grows with the months of writing.
    if (mayWrite_ && !loader_.File().empty()) writeSoon_.start();
}

// At a pause, on a thread of its own: the window goes on meanwhile.
void WordPrediction::WriteLearntSoon() {
    if (!mayWrite_) return;
    const bool started =
        loader_.StartWritingLearnt([this](const std::string& failure) { ReportWrite(failure); });
    if (!started) writeSoon_.start();  // the last write is still going on: after another pause
}

void WordPrediction::WriteLearnt() {
    writeSoon_.stop();
    if (mayWrite_) ReportWrite(loader_.WriteLearnt());
}

void WordPrediction::ReportWrite(const std::string& failure) {
    if (failure.empty() || reportedWrite_) return;
    reportedWrite_ = true;
    dialogs_.ShowError("Inlärda ord kunde inte sparas i " + glidtavla::Shown(loader_.File()) +
                       " (" + QString::fromStdString(failure) + ").");
}

void WordPrediction::LineWritten(const std::string& line) {
    std::string text = line;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    // A line a save has learnt already is not learnt again when it moves on.
    if (text == lastLearnt_) {
        lastLearnt_.clear();
        return;
    }
    Learn(text);
}

void WordPrediction::CharacterLineSaved() {
    const std::string line = FromQString(c_.Edit1->text());
    if (line.empty() || line == lastLearnt_) return;
    lastLearnt_ = line;
    Learn(line);
}

void WordPrediction::Forget() {
    if (!dialogs_.Confirm("Glömma alla ord som programmet har lärt sig av det du skrivit?")) return;
    if (!Load()) return;
    // Forgotten in the file too, for every window; a damaged file is what the user let go.
    writeSoon_.stop();
    const std::string failure = loader_.ForgetLearnt();
    const QString file = glidtavla::Shown(loader_.File());
    if (!failure.empty()) {
        dialogs_.ShowError("Inlärda ord kunde inte glömmas i " + file + " (" +
                           QString::fromStdString(failure) + ").");
    } else if (!mayWrite_) {
        mayWrite_ = true;
        dialogs_.ShowError("De inlärda orden är glömda, och den skadade filen " + file +
                           " är ersatt med en tom.");
    }
    Refresh();
}

SuggestionPolicy WordPrediction::Policy() const {
    const bool column = settings_.Column || SlotCell(board_, 1);
    // Shown by how often such a guess was right, where the model knows that.
    const bool calibrated = loader_.Model()->HasCalibration();
    const std::optional<double> own = threshold_ ? threshold_(calibrated) : std::nullopt;
    return {true, column ? std::size_t(kMaxSlots) : 0,
            own.value_or(ThresholdFor(settings_.Pointer, calibrated)), calibrated};
}

PredictionOptions WordPrediction::Modelled() const {
    PredictionOptions options;
    if (!ModelInUse()) return options;
    const SuggestionPolicy policy = Policy();
    options.Mode =
        policy.ColumnWords > 0 ? PredictionMode::CentreAndColumn : PredictionMode::Centre;
    options.Suggestions = 1 + int(policy.ColumnWords);
    options.Threshold = policy.Threshold;
    options.Calibrated = policy.Calibrated;
    options.AutoSpace = SpaceAfterSigns();
    return options;
}

void WordPrediction::Refresh() {
    shown_.clear();
    rest_.clear();
    const std::string line = FromQString(c_.Edit1->text());
    const bool begun = !line.empty() && IsWordByte(static_cast<unsigned char>(line.back()));
    if (Active() && begun && ModelReady()) {
        const Suggestions offered = Suggest(*loader_.Model(), line, Policy());
        const std::size_t typed = ContextAtEnd(line).Typed.size();
        const auto show = [&](const std::string& word) {
            shown_.push_back(word);
            rest_.push_back(word.empty() ? "" : word.substr(typed));
        };
        show(offered.Centre ? offered.Centre->Word : "");
        for (const Completion& completion : offered.Column)
            show(completion.Word);
    }
    overlays_.Show(board_, shown_, rest_.empty() ? "" : rest_[0], Active());
    if (centreShown_) centreShown_(shown_.empty() ? "" : shown_[0]);
}

}  // namespace glidtavla

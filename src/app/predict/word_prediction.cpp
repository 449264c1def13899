#include "app/predict/word_prediction.h"

#include <sched.h>

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>

#include "app/board_image.h"
#include "app/board_session.h"
#include "app/dialogs.h"
#include "app/form_controls.h"
#include "app/menu_items.h"
#include "app/zoom/zoom_window.h"
#include "board/errors.h"
#include "board/word_column.h"
#include "model/prediction_cost.h"
#include "predict/model_files.h"
#include "predict/words.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

constexpr const char* kPointerNames[] = {"Mus", "Styrkula", "Huvudmus"};

int Today() {
    return static_cast<int>(QDate(1970, 1, 1).daysTo(QDate::currentDate()));
}

QLabel* Overlay(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setAlignment(Qt::AlignCenter);
    label->hide();
    return label;
}

}  // namespace

WordPrediction::WordPrediction(const FormControls& controls, QMenu* menu, Dialogs& dialogs,
                               const BoardSession& boards, const WindowZoom& zoom,
                               std::function<bool()> demoInUse)
    : c_(controls),
      dialogs_(dialogs),
      boards_(boards),
      zoom_(zoom),
      demoInUse_(std::move(demoInUse)) {
    centre_ = Overlay(c_.Image1, "Ordforslag");
    centre_->setStyleSheet("color: #1a237e; background: rgba(255, 255, 255, 200);");
    ghost_ = Overlay(c_.Edit1, "OrdforslagRest");
    ghost_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ghost_->setStyleSheet("color: #9e9e9e; background: transparent;");
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        QLabel* label = Overlay(c_.Image1, QString("Ordplats%1").arg(slot));
        label->setStyleSheet(
            "color: #1a237e; background: rgba(255, 255, 255, 200);"
            "border: 1px solid #9e9e9e;");
        slots_.push_back(label);
    }
    CreateMenu(menu);
    QObject::connect(c_.Edit1, &QLineEdit::textChanged, c_.Edit1, [this] { Refresh(); });
}

WordPrediction::~WordPrediction() = default;

void WordPrediction::CreateMenu(QMenu* menu) {
    menu->addSeparator();
    on_ = AddCheckable(menu, "Ordforslag", "Ordförslag", [this](bool on) {
        settings_.on = on;
        offForRun_ = false;
        Changed();
    });
    column_ = AddCheckable(menu, "Ordkolumn", "Ordkolumn", [this](bool on) {
        settings_.column = on;
        Changed();
    });
    std::vector<std::pair<QString, QString>> pointers;
    for (int i = 0; i < 3; ++i)
        pointers.emplace_back(QString("Pekdon%1").arg(i), kPointerNames[i]);
    pointers_ = AddChoices(menu, "Pekdon", "Pekdon", pointers, [this](int i) {
        settings_.pointer = i;
        // A slow pointer gains from every word it need not write: the column comes too.
        settings_.column = i == 2;
        Changed();
    });
    learn_ = AddCheckable(menu, "LarAv", "Lär av det jag skriver", [this](bool on) {
        settings_.learn = on;
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
    on_->setChecked(settings_.on && !offForRun_);
    column_->setChecked(settings_.column);
    learn_->setChecked(settings_.learn);
    pointers_[static_cast<std::size_t>(std::clamp(settings_.pointer, 0, 2))]->setChecked(true);
    Refresh();
}

void WordPrediction::OffForThisRun() {
    offForRun_ = true;
    Use(settings_);
}

std::string WordPrediction::DefaultFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QFile::encodeName(folder + "/Glidtavla/inlarda-ord.txt").toStdString();
}

void WordPrediction::UseFile(std::string path) {
    if (reading_.valid()) reading_.get();  // read from the files used before: dropped
    file_ = std::move(path);
}

void WordPrediction::UseModel(std::string base, std::string wordCounts) {
    if (reading_.valid()) reading_.get();
    modelPath_ = std::move(base);
    countsPath_ = std::move(wordCounts);
}

void WordPrediction::Started() {
    // Off for the run, or neither suggesting nor learning: the model is read when first asked.
    if (model_ || reading_.valid() || !loadError_.empty() || offForRun_ ||
        (!settings_.on && !settings_.learn)) {
        return;
    }
    reading_ = std::async(std::launch::async,
                          [this, base = modelPath_, counts = countsPath_, learnt = file_] {
                              // Only what the window and the desktop leave idle: the user glides
                              // meanwhile.
                              const sched_param idle{};
                              sched_setscheduler(0, SCHED_IDLE, &idle);
                              Loaded loaded = ReadModel(base, counts, learnt);
                              QMetaObject::invokeMethod(
                                  c_.Edit1, [this] { Load(); }, Qt::QueuedConnection);
                              return loaded;
                          });
}

WordPrediction::Loaded WordPrediction::ReadModel(const std::string& base, const std::string& counts,
                                                 const std::string& learnt) {
    Loaded loaded;
    try {
        loaded.model = std::make_unique<WordModel>(LoadWordModel(base, counts));
    } catch (const std::exception& error) {
        loaded.error = error.what();
        return loaded;
    }
    if (learnt.empty()) return loaded;
    try {
        ReadLearntWords(*loaded.model, learnt);
    } catch (const std::exception& error) {
        loaded.learntError = error.what();
    }
    return loaded;
}

bool WordPrediction::Load() {
    if (model_ || !loadError_.empty()) return model_ != nullptr;
    Loaded loaded = reading_.valid() ? reading_.get() : ReadModel(modelPath_, countsPath_, file_);
    if (!loaded.error.empty()) {
        loadError_ = loaded.error;
        on_->setEnabled(false);
        on_->setToolTip("Ordmodellen kunde inte läsas: " + QString::fromStdString(loadError_));
        return false;
    }
    model_ = std::move(loaded.model);
    if (!loaded.learntError.empty()) {
        mayWrite_ = false;
        dialogs_.ShowError("Inlärda ord i " + glidtavla::Shown(file_) + " kunde inte läsas (" +
                           QString::fromStdString(loaded.learntError) +
                           "). Filen lämnas som den är; det du skriver nu lärs bara in "
                           "tills programmet avslutas.");
    }
    Refresh();
    return true;
}

bool WordPrediction::Active() const {
    return settings_.on && !offForRun_ && !demoInUse_();
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
    if (!settings_.learn || demoInUse_() || !model_) return;
    model_->Learn(text, Today());
    if (file_.empty() || !mayWrite_) return;
    try {
        QDir().mkpath(QFileInfo(glidtavla::Shown(file_)).absolutePath());
        WriteLearntWords(*model_, file_);
    } catch (const std::exception& error) {
        if (reportedWrite_) return;
        reportedWrite_ = true;
        dialogs_.ShowError("Inlärda ord kunde inte sparas i " + glidtavla::Shown(file_) + " (" +
                           QString::fromUtf8(error.what()) + ").");
    }
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
    if (!model_ && !Load()) return;
    model_->Forget();
    if (!file_.empty() && mayWrite_) {
        try {
            WriteLearntWords(*model_, file_);
        } catch (const std::exception& error) {
            dialogs_.ShowError("Inlärda ord kunde inte glömmas i " + glidtavla::Shown(file_) +
                               " (" + QString::fromUtf8(error.what()) + ").");
        }
    }
    Refresh();
}

const CharacterBoard& WordPrediction::EngineBoard() {
    const CharacterBoard& board = boards_.Board();
    if (!Active() || !settings_.column) return board;
    board_ = WithWordColumn(board, kMaxSlots);
    return board_;
}

void WordPrediction::Refresh() {
    board_ = EngineBoard();
    shown_.clear();
    rest_.clear();
    const std::string line = FromQString(c_.Edit1->text());
    const bool begun = !line.empty() && IsWordByte(static_cast<unsigned char>(line.back()));
    if (Active() && begun && (model_ || Load())) {
        const std::size_t columnWords = settings_.column || SlotCell(board_, 1) ? kMaxSlots : 0;
        const std::vector<Completion> ranked = model_->Complete(line, 1 + columnWords);
        const double threshold =
            kDefaultThresholds[static_cast<std::size_t>(std::clamp(settings_.pointer, 0, 2))];
        const std::string typed = ContextAtEnd(line).typed;
        for (std::size_t i = 0; i < ranked.size(); ++i) {
            // Only a completion likely enough is worth a look where the eye rests.
            const bool show = i > 0 || ranked[i].probability >= threshold;
            shown_.push_back(show ? ranked[i].word : "");
            rest_.push_back(show ? ranked[i].word.substr(typed.size()) : "");
        }
    }
    PlaceCentre(shown_.empty() ? "" : shown_[0]);
    PlaceColumn();
}

void WordPrediction::PlaceCentre(const std::string& word) {
    const QString text = ToQString(word);
    if (description_.isNull()) description_ = c_.Edit1->accessibleDescription();
    c_.Edit1->setAccessibleDescription(text.isEmpty() ? description_
                                                      : description_ + " Ordförslag: " + text +
                                                            ". Mellanslag med skift skriver det.");
    if (text.isEmpty()) {
        centre_->hide();
        ghost_->hide();
        return;
    }
    const CharacterBoard& board = board_;
    const QRect cell(
        QPoint(zoom_.ToWindow(board.ColumnBounds[2]), zoom_.ToWindow(board.RowBounds[2])),
        QPoint(zoom_.ToWindow(board.ColumnBounds[3]) - 1, zoom_.ToWindow(board.RowBounds[3]) - 1));
    centre_->setGeometry(cell);
    QFont font = c_.Edit1->font();
    font.setPixelSize(std::max(8, cell.height() / 3));
    centre_->setFont(font);
    centre_->setText(centre_->fontMetrics().elidedText(text, Qt::ElideRight, cell.width()));
    centre_->show();
    // The rest of the word, greyed, just after the text of the line.
    const QString rest = ToQString(rest_[0]);
    ghost_->setFont(c_.Edit1->font());
    const int x = c_.Edit1->contentsRect().left() + c_.Edit1->textMargins().left() + 2 +
                  c_.Edit1->fontMetrics().horizontalAdvance(c_.Edit1->text());
    ghost_->setText(rest);
    ghost_->setGeometry(x, 0, ghost_->sizeHint().width(), c_.Edit1->height());
    ghost_->setVisible(x + ghost_->width() < c_.Edit1->width());
}

void WordPrediction::PlaceColumn() {
    for (int slot = 1; slot <= kMaxSlots; ++slot) {
        QLabel* label = slots_[static_cast<std::size_t>(slot - 1)];
        const std::optional<BoardCell> cell = Active() ? SlotCell(board_, slot) : std::nullopt;
        if (!cell) {
            label->hide();
            continue;
        }
        const auto edge = [this](const CellLine<int32_t>& bounds, int index) {
            return zoom_.ToWindow(index <= 1 ? 0 : bounds[index - 1]);
        };
        const QRect rect(
            QPoint(edge(board_.ColumnBounds, cell->Column), edge(board_.RowBounds, cell->Row)),
            QPoint(zoom_.ToWindow(board_.ColumnBounds[cell->Column]) - 1,
                   zoom_.ToWindow(board_.RowBounds[cell->Row]) - 1));
        const auto index = static_cast<std::size_t>(slot);
        const QString word = index < shown_.size() ? ToQString(shown_[index]) : QString();
        label->setGeometry(rect);
        QFont font = c_.Edit1->font();
        font.setPixelSize(std::max(8, rect.height() / 3));
        label->setFont(font);
        label->setText(label->fontMetrics().elidedText(word, Qt::ElideRight, rect.width() - 4));
        label->setAccessibleName(QString("Ordplats %1: %2").arg(slot).arg(word));
        label->show();
    }
    // The board image reaches over the column beside it.
    if (Active() && settings_.column && SlotCell(board_, 1)) {
        const int right = zoom_.ToWindow(board_.BoardWidth);
        if (c_.Image1->width() < right) c_.Image1->resize(right, c_.Image1->height());
    }
}

}  // namespace glidtavla

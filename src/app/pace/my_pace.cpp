#include "app/pace/my_pace.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QStandardPaths>
#include <QWidgetAction>
#include <memory>

#include "app/form/dialogs.h"
#include "app/form/menu_items.h"
#include "base/errors.h"
#include "base/files.h"
#include "model/board_cost.h"

namespace glidtavla {

namespace {

// The file's first line holds the choice to steer; the rest is what was measured.
constexpr std::string_view kSteerOn = "steer 1\n", kSteerOff = "steer 0\n";
constexpr std::size_t kMaxFile = 1 << 20;
// Fewer writable characters than this say little of the board's cost: the glides speak then.
constexpr long long kTextForModel = 100;
constexpr std::size_t kTextModelled = 4000;

QString Number(double value, int decimals) {
    return QLocale(QLocale::Swedish).toString(value, 'f', decimals);
}

}  // namespace

MyPace::MyPace(QMenu* menu, Dialogs& dialogs, std::function<bool()> measuring)
    : dialogs_(dialogs), measuring_(std::move(measuring)) {
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    clock_ = [started] { return double(started->nsecsElapsed()) / 1e9; };
    QMenu* pace = menu->addMenu("Min skrivtakt");
    pace->setObjectName("MinSkrivtakt");
    // The figures are text to read, not commands.
    auto* figures = new QWidgetAction(pace);
    figures_ = new QLabel;
    figures_->setObjectName("MinSkrivtaktSiffror");
    figures_->setMargin(6);
    figures->setDefaultWidget(figures_);
    pace->addAction(figures);
    pace->addSeparator();
    steer_ = AddCheckable(pace, "StyrForslagen", "Låt min skrivtakt styra förslagen",
                          [this](bool) { Save(); });
    steer_->setChecked(true);
    AddItem(pace, "GlomSkrivtakt", "Glöm min skrivtakt", [this] { Forget(); });
    QObject::connect(pace, &QMenu::aboutToShow, pace, [this] { Refresh(); });
    Refresh();
}

MyPace::~MyPace() {
    try {
        if (meter_.Glides().size() != saved_) Save();
    } catch (const std::exception&) {
        // Closing: a file that cannot be written keeps what it had.
    }
}

std::string MyPace::DefaultFile() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QFile::encodeName(folder + "/Glidtavla/skrivtakt.txt").toStdString();
}

void MyPace::UseFile(std::string path) {
    path_ = std::move(path);
    meter_.Forget();
    saved_ = 0;
    bool tooLarge = false;
    std::string text;
    try {
        text = ReadRegularFile(path_, kMaxFile, tooLarge);
    } catch (const Error&) {
        return;  // none yet
    }
    const bool off = text.starts_with(kSteerOff);
    if (off || text.starts_with(kSteerOn)) text.erase(0, kSteerOn.size());
    steer_->setChecked(!off);
    // A damaged file is measured anew: what it held was only figures.
    if (!tooLarge && meter_.Read(text)) saved_ = meter_.Glides().size();
    Refresh();
}

void MyPace::Sampled(const CharacterBoard& board, int32_t x, int32_t y) {
    const bool fetched = fetched_;
    fetched_ = false;
    if (!measuring_()) {
        meter_.Interrupt();
        return;
    }
    meter_.Sample(board, x, y, clock_(), fetched);
    // Written now and then, so a crash loses little.
    if (!path_.empty() && meter_.Glides().size() >= saved_ + 50) Save();
}

void MyPace::CompletionShown() {
    if (measuring_()) meter_.CompletionShown();
}

double MyPace::MeanBits() const {
    double bits = 0;
    for (const MeasuredGlide& glide : meter_.Glides())
        bits += glide.Bits;
    return meter_.Glides().empty() ? 0 : bits / double(meter_.Glides().size());
}

WriterFit MyPace::Fit() const {
    return FitWriter(meter_.Glides(), meter_.RestsWithCompletion(), meter_.RestsWithout());
}

std::optional<double> MyPace::Threshold(bool calibrated) const {
    if (!steer_->isChecked()) return std::nullopt;
    const WriterFit fit = Fit();
    if (fit.Glides < kGlidesForFit || fit.BitsPerSecond <= 0) return std::nullopt;
    const double secondsPerCharacter = MeanBits() / fit.BitsPerSecond;
    // Without a measured look, the model's own: 0.2 s + 0.15 s for one word.
    return ThresholdForWriter(fit.Looks > 0 ? fit.LookSeconds : 0.35, secondsPerCharacter,
                              calibrated);
}

QString MyPace::Summary() const {
    const WriterFit fit = Fit();
    if (fit.Glides == 0) return "Inga glid mätta ännu";
    QString text = QString("%1 glid: %2 bit/s (a %3 s, b %4 s/bit)")
                       .arg(fit.Glides)
                       .arg(Number(fit.BitsPerSecond, 2), Number(fit.A, 2), Number(fit.B, 3));
    if (fit.Looks > 0) text += QString(", blick %1 s").arg(Number(fit.LookSeconds, 2));
    if (fit.Glides < kGlidesForFit)
        text += QString(" (styr förslagen från %1 glid)").arg(kGlidesForFit);
    return text;
}

void MyPace::Refresh() {
    const WriterFit fit = Fit();
    figures_->setText("Mätt: " + Summary());
    if (fit.BitsPerSecond <= 0 || !setup_) return;
    const PaceSetup setup = setup_();
    // The newest of what was written says enough, and keeps the menu quick to open.
    const std::size_t from =
        setup.Text.size() > kTextModelled
            ? setup.Text.find_first_of(" \r\n", setup.Text.size() - kTextModelled)
            : 0;
    const std::string text = from == std::string::npos ? "" : setup.Text.substr(from);
    const BoardCost cost = CostOfText(*setup.Board, text);
    long long writable = cost.Characters;
    for (const auto& [code, count] : cost.Missing)
        writable -= count;
    if (writable < kTextForModel) {
        figures_->setText(figures_->text() +
                          QString("\nModellerat på detta teckenbord: %1 tecken/min (efter dina "
                                  "glid, ut och tillbaka)")
                              .arg(Number(60 * fit.BitsPerSecond / MeanBits(), 1)));
        return;
    }
    const WriterSpeeds speeds = ModelWriter(*setup.Board, text, setup.Model, setup.Options, fit);
    figures_->setText(
        figures_->text() +
        QString("\nModellerat på detta teckenbord%1: %2 tecken/min, med kedjade glid %3 (efter "
                "det du skrivit)")
            .arg(setup.Model ? " med ordförslag" : "", Number(speeds.OutAndBack, 1),
                 Number(speeds.Chained, 1)));
}

void MyPace::Save() {
    if (path_.empty()) return;
    std::string text(steer_->isChecked() ? kSteerOn : kSteerOff);
    text += meter_.Write();
    try {
        QDir().mkpath(QFileInfo(QFile::decodeName(path_.c_str())).absolutePath());
        WriteRegularFile(path_, text, 0600);
        saved_ = meter_.Glides().size();
    } catch (const Error& error) {
        saved_ = meter_.Glides().size();  // said once, not at every glide
        dialogs_.ShowError(QString::fromUtf8(error.what()));
    }
}

void MyPace::Forget() {
    if (!dialogs_.Confirm("Glömma allt som programmet har mätt av din skrivtakt?")) return;
    meter_.Forget();
    Save();
    Refresh();
}

}  // namespace glidtavla

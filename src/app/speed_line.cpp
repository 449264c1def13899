#include "app/speed_line.h"

#include <QAction>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

#include <cmath>

namespace glidtavla {

QString SpeedText(const SpeedFigures& figures) {
    const QLocale swedish(QLocale::Swedish, QLocale::Sweden);
    return QString("%1 tecken/min · %2 ord/min · %3 tecken skrivna · %4 % rättningar")
        .arg(swedish.toString(figures.CharactersPerMinute, 'f', 1),
             swedish.toString(figures.WordsPerMinute, 'f', 1),
             swedish.toString(figures.CharactersWritten),
             swedish.toString(std::lround(100 * figures.CorrectionShare)));
}

SpeedLine::SpeedLine(QMainWindow* window, QMenu* menu) : window_(window) {
    item_ = menu->addAction("Visa skrivhastighet");
    item_->setObjectName("VisaSkrivhastighet");
    item_->setCheckable(true);
    label_ = new QLabel(SpeedText({}));
    label_->setObjectName("Skrivhastighet");
    label_->setAccessibleName("Skrivhastighet");
    label_->setAccessibleDescription(
        "Tecken och ord i minuten under den senaste skrivminuten, pauser över tio sekunder "
        "oräknade.");
    window_->statusBar()->addWidget(label_, 1);
    window_->statusBar()->hide();
    clock_.start();
}

void SpeedLine::OnChange(std::function<void()> changed) {
    QObject::connect(item_, &QAction::triggered, window_, [this, changed](bool shown) {
        SetShown(shown);
        changed();
    });
}

void SpeedLine::Fetched(uint8_t ch) {
    speed_.Fetched(ch, WritingSpeed::Clock(clock_.elapsed()));
    if (Shown()) label_->setText(Text());
}

void SpeedLine::SetShown(bool shown) {
    item_->setChecked(shown);
    label_->setText(Text());
    window_->statusBar()->setVisible(shown);
}

bool SpeedLine::Shown() const {
    return item_->isChecked();
}

QString SpeedLine::Text() const {
    return SpeedText(speed_.Figures());
}

}  // namespace glidtavla

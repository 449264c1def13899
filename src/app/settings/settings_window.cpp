#include "app/settings/settings_window.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include "app/pointer/pointer_aids.h"
#include "app/predict/word_prediction.h"
#include "app/speed_line.h"
#include "app/typing/compact_panel.h"
#include "app/typing/typing_mode.h"
#include "app/zoom/zoom_window.h"
#include "text/codec.h"

namespace glidtavla {

const Settings& SettingsKeeper::Use(std::unique_ptr<SettingsStore> store) {
    store_ = std::move(store);
    settings_ = store_->Load();
    return settings_;
}

void SettingsKeeper::Remember() {
    if (!store_ || !active_) return;
    settings_.zoom = zoom_.Percent();
    settings_.zoomToWindow = zoom_.FitsWindow();
    settings_.sendKeys = typing_.IsOn();
    settings_.speedLine = speed_.Shown();
    settings_.prediction = prediction_.Current();
    settings_.pointerAids = aids_.Current();
    // The panel's place is kept apart from the full window's.
    if (panel_.IsOn()) {
        settings_.panelGeometry = panel_.Place();
    } else {
        settings_.geometry = window_.saveGeometry();
    }
    const std::string failure = store_->Save(settings_);
    if (!failure.empty() && !reported_ && report_) {
        reported_ = true;
        report_("Inställningarna kunde inte sparas (" + QString::fromStdString(failure) +
                "). Programmet fungerar som vanligt, men inställningarna behålls inte.");
    }
}

void SettingsKeeper::RememberBoard(const RememberedBoard& board) {
    settings_.board = board;
    Remember();
}

void SettingsKeeper::KeepPortalToken(const std::string& token) {
    settings_.portalToken = token;
    Remember();
}

void SettingsKeeper::RememberDocumentFolder(const std::string& documentPath) {
    settings_.documentFolder =
        QFile::encodeName(QFileInfo(Shown(documentPath)).absolutePath()).toStdString();
    Remember();
}

}  // namespace glidtavla

#include "app/settings_keeper.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

#include "app/contrast/high_contrast.h"
#include "app/form/dialogs.h"
#include "app/pointer/pointer_aids.h"
#include "app/predict/word_prediction.h"
#include "app/settings/settings_store.h"
#include "app/speech/speech.h"
#include "app/speed_line.h"
#include "app/typing/compact_panel.h"
#include "app/typing/typing_mode.h"
#include "app/zoom/window_zoom.h"
#include "text/codec.h"

namespace glidtavla {

namespace {

const char* KindName(RememberedBoard::Kind kind) {
    switch (kind) {
        case RememberedBoard::Kind::Drawn:
            return "drawn";
        case RememberedBoard::Kind::Picture:
            return "picture";
        case RememberedBoard::Kind::BuiltIn:
            break;
    }
    return "builtin";
}

}  // namespace

RememberedBoard RememberedBoard::Read(const SettingValues& values) {
    const QString kind = values.Value("board/kind").toString();
    if (kind != "drawn" && kind != "picture") return {};
    RememberedBoard board{kind == "drawn" ? Kind::Drawn : Kind::Picture,
                          values.Bytes("board/table"), values.Bytes("board/picture")};
    if (board.Table.empty() || (kind == "picture" && board.Picture.empty())) return {};
    return board;
}

void RememberedBoard::Write(SettingValues& values) const {
    values.Set("board/kind", KindName(Type));
    values.Set("board/table", QByteArray::fromStdString(Table));
    values.Set("board/picture", QByteArray::fromStdString(Picture));
}

SettingsKeeper::SettingsKeeper(QWidget& window, WindowZoom& zoom, TypingMode& typing,
                               SpeedLine& speed, const CompactPanel& panel,
                               WordPrediction& prediction, PointerAids& aids, Speech& speech,
                               HighContrast& contrast)
    : window_(window),
      zoom_(zoom),
      typing_(typing),
      speed_(speed),
      panel_(panel),
      prediction_(prediction),
      aids_(aids),
      speech_(speech),
      contrast_(contrast) {
    typing_.KeepPermissionIn([this] { return PortalToken(); },
                             [this](const std::string& token) { KeepPortalToken(token); });
}

SettingsKeeper::~SettingsKeeper() = default;

void SettingsKeeper::Use(std::unique_ptr<SettingsStore> store) {
    store_ = std::move(store);
    values_ = store_->Load();
    board_ = RememberedBoard::Read(values_);
    const ZoomSettings zoom = ZoomSettings::Read(values_);
    zoom_.SetRemembered(zoom.Percent);
    zoom_.SetFitsWindow(zoom.ToWindow);
    if (TypingSettings::Read(values_).SendKeys) typing_.SetOn(true);
    if (values_.Flag("view/speedLine", false)) speed_.SetShown(true);
    prediction_.Use(PredictionSettings::Read(values_));
    aids_.Use(PointerAidSettings::Read(values_));
    speech_.Use(SpeechSettings::Read(values_));
    contrast_.Use(HighContrast::Read(values_));
}

void SettingsKeeper::Activate() {
    active_ = true;
    if (changedBefore_) Remember();
}

void SettingsKeeper::Remember() {
    if (!store_) return;
    if (!active_) {
        changedBefore_ = true;
        return;
    }
    zoom_.Current().Write(values_);
    TypingSettings typing = TypingSettings::Read(values_);
    typing.SendKeys = typing_.IsOn();
    typing.Write(values_);
    values_.Set("view/speedLine", speed_.Shown());
    prediction_.Current().Write(values_);
    aids_.Current().Write(values_);
    speech_.Current().Write(values_);
    HighContrast::Write(contrast_.Current(), values_);
    board_.Write(values_);
    // The panel's place is kept apart from the full window's.
    if (panel_.IsOn()) {
        values_.Set("window/panelGeometry", panel_.Place());
    } else {
        values_.Set("window/geometry", window_.saveGeometry());
    }
    const std::string failure = store_->Save(values_);
    if (failure.empty() || reported_ || dialogs_ == nullptr) return;
    reported_ = true;
    const QString message = "Inställningarna kunde inte sparas (" +
                            QString::fromStdString(failure) +
                            "). Programmet fungerar som vanligt, men inställningarna behålls inte.";
    if (closing_) {
        dialogs_->ShowError(message);
        return;
    }
    QMetaObject::invokeMethod(
        &window_, [this, message] { dialogs_->ShowError(message); }, Qt::QueuedConnection);
}

void SettingsKeeper::RememberAtClose() {
    closing_ = true;
    Remember();
    closing_ = false;
}

void SettingsKeeper::RememberBoard(const RememberedBoard& board) {
    board_ = board;
    Remember();
}

std::string SettingsKeeper::PortalToken() const {
    return TypingSettings::Read(values_).PortalToken;
}

void SettingsKeeper::KeepPortalToken(const std::string& token) {
    TypingSettings typing = TypingSettings::Read(values_);
    typing.PortalToken = token;
    typing.Write(values_);
    Remember();
}

void SettingsKeeper::RememberDocumentFolder(const std::string& documentPath) {
    const QFileInfo document(Shown(documentPath));
    values_.Set("document/folder", QFile::encodeName(document.absolutePath()));
    QStringList recent = RecentDocuments();
    recent.removeAll(document.absoluteFilePath());
    recent.prepend(document.absoluteFilePath());
    values_.Set("document/recent", recent.mid(0, kRecentDocuments));
    Remember();
}

QStringList SettingsKeeper::RecentDocuments() const {
    return values_.Value("document/recent").toStringList();
}

}  // namespace glidtavla

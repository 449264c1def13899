// What the window keeps between runs: the zoom, the mode "Skriv i andra program", the board
// chosen last, the folder of the last document and the window's geometry.
#include <QFileInfo>

#include "app/tform1.h"
#include "board/board_table.h"
#include "board/files.h"
#include "text/codec.h"

namespace glidtavla {

// Read before the window is shown, so the zoom and the mode are in force from the start.
void TForm1::UseSettings(std::unique_ptr<SettingsStore> store) {
    settingsStore_ = std::move(store);
    settings_ = settingsStore_->Load();
    SetZoom(settings_.zoom);
    if (settings_.zoomToWindow) ZoomToWindow->setChecked(true);
    if (settings_.sendKeys) Typing->SetOn(true);
    if (settings_.speedLine) Speed->SetShown(true);
}

void TForm1::RememberSettings() {
    if (!settingsStore_ || !activated_) return;  // nothing is worth keeping before the window shows
    settings_.zoom = Zoom;
    settings_.zoomToWindow = ZoomToWindow->isChecked();
    settings_.sendKeys = Typing->IsOn();
    settings_.speedLine = Speed->Shown();
    settings_.geometry = saveGeometry();
    settingsStore_->Save(settings_);
}

void TForm1::RememberBoard(const RememberedBoard& board) {
    settings_.board = board;
    RememberSettings();
}

// As its command loads it. A file that has gone is forgotten without a word; one that cannot
// be read is reported as the command would report it, and forgotten too.
void TForm1::LoadRememberedBoard() {
    const RememberedBoard board = settings_.board;
    if (board.kind == RememberedBoard::Kind::BuiltIn) return;
    const auto exists = [](const std::string& path) { return IsRegularFile(path); };
    const bool present = exists(board.table) &&
                         (board.kind == RememberedBoard::Kind::Drawn || exists(board.picture));
    if (!present) {
        RememberBoard({});
        return;
    }
    try {
        TablePath = board.table;
        if (board.kind == RememberedBoard::Kind::Picture) {
            PicturePath = board.picture;
            LoadBoardWithPicture();
        } else {
            LoadBoardTable(Board, TablePath);
            ShowBoardSource();
            ApplyBoardLayout(Board.BoardWidth, Board.BoardHeight);
            Picture.ShowDrawn(Board);
            RefreshBoardPicture();
            if (!Started) Image1->hide();
        }
    } catch (...) {
        RememberBoard({});
        throw;
    }
}

// Maximised, unless the window was last left at a size and place of its own.
void TForm1::ShowAsRemembered() {
    if (settings_.geometry.isEmpty() || !restoreGeometry(settings_.geometry)) showMaximized();
    if (ZoomToWindow->isChecked()) FitZoomToWindow();
}

}  // namespace glidtavla

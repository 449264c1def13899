#include "app/board_view.h"

#include <QFile>
#include <QLineEdit>

#include "app/board_session.h"
#include "app/form/board_image.h"
#include "app/form/dialogs.h"
#include "app/form/form_layout.h"
#include "app/predict/word_prediction.h"
#include "app/settings_keeper.h"
#include "app/typing/compact_panel.h"
#include "app/zoom/window_zoom.h"
#include "base/errors.h"
#include "base/files.h"
#include "text/codec.h"

namespace glidtavla {

void BoardView::ShowSource() {
    layout_.PlaceSource();
    c_.Edit8->show();
    c_.Edit8->setText("Tecken från: " + glidtavla::Shown(boards_.TablePath()));
}

void BoardView::Show(bool withSource) {
    if (withSource) {
        ShowSource();
    } else {
        layout_.PlaceSource();
        c_.Edit8->hide();
    }
    layout_.PlaceAroundBoard();
    zoom_.RefreshPicture();
    zoom_.RefitToBoard();
    panel_.Refit();
    prediction_.Refresh();
}

void BoardView::LoadStartup(const std::string& folder) {
    // The separator is always inserted: a doubled one at the root is one to the file system.
    if (boards_.LoadWithPicture(folder + "/tecken.tab", folder + "/tecken.bmp")) Show(true);
}

void BoardView::LoadDrawn(const std::string& table) {
    boards_.LoadDrawn(table);
    Show(true);
    if (!started_) c_.Image1->hide();
}

void BoardView::ShowBuiltIn() {
    boards_.ShowBuiltIn();
    Show(false);
}

void BoardView::AskPicture(Dialogs& dialogs, const char* refused) {
    const std::optional<QString> chosen = dialogs.Ask(DialogKind::OpenPictureDialog1, "");
    if (chosen) UsePicture(QFile::encodeName(*chosen).toStdString(), refused);
}

void BoardView::AskDrawn(Dialogs& dialogs, const char* refused) {
    // Until the user has a board of their own, the dialog starts among the ready ones.
    const bool own = settings_.Board().Type == RememberedBoard::Kind::Drawn;
    const std::optional<QString> chosen =
        dialogs.Ask(DialogKind::OpenDialog3, own ? "" : Shown(InstalledDataPath("boards")) + "/");
    if (chosen) UseDrawn(QFile::encodeName(*chosen).toStdString(), refused);
}

void BoardView::UsePicture(const std::string& picture, const char* refused) {
    // The last three characters give way to "tab", whatever they are.
    const std::string table =
        picture.substr(0, picture.size() - std::min<std::size_t>(3, picture.size())) + "tab";
    boards_.Choose(table, picture);
    if (refused != nullptr) throw Error(refused);
    if (boards_.LoadWithPicture(table, picture)) {
        Show(true);
        settings_.RememberBoard({RememberedBoard::Kind::Picture, table, picture});
    }
}

void BoardView::UseDrawn(const std::string& table, const char* refused) {
    boards_.Choose(table);
    if (refused != nullptr) throw Error(refused);
    if (!IsRegularFile(table)) return;
    LoadDrawn(table);
    settings_.RememberBoard({RememberedBoard::Kind::Drawn, table, ""});
}

void BoardView::LoadRemembered() {
    const RememberedBoard board = settings_.Board();
    if (board.Type == RememberedBoard::Kind::BuiltIn) return;
    const bool picture = board.Type == RememberedBoard::Kind::Picture;
    if (!IsRegularFile(board.Table) || (picture && !IsRegularFile(board.Picture))) {
        settings_.RememberBoard({});
        return;
    }
    try {
        if (picture) {
            if (boards_.LoadWithPicture(board.Table, board.Picture)) Show(true);
        } else {
            LoadDrawn(board.Table);
        }
    } catch (...) {
        settings_.RememberBoard({});
        throw;
    }
}

}  // namespace glidtavla

#include "app/board_view.h"

#include <QLineEdit>

#include "app/board_session.h"
#include "app/form/board_image.h"
#include "app/form/form_layout.h"
#include "app/predict/word_prediction.h"
#include "app/settings_keeper.h"
#include "app/typing/compact_panel.h"
#include "app/zoom/window_zoom.h"
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

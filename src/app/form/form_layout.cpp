#include "app/form/form_layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>
#include <cmath>

#include "app/form/board_image.h"
#include "app/form/client_area.h"
#include "app/form/zoom_scale.h"
#include "board/character_board.h"

namespace glidtavla {

namespace {

// The read-outs' places in the form, left of which the board ends at 100 %.
struct Place {
    QLineEdit* FormControls::*Edit;
    int Left;
};
constexpr Place kReadouts[] = {{&FormControls::Edit2, 688},
                               {&FormControls::Edit3, 736},
                               {&FormControls::Edit4, 688},
                               {&FormControls::Edit5, 736},
                               {&FormControls::Edit9, 712}};

constexpr int kMinPanelWidth = 360;  // room for the menus and a line of text

QFont Grown(const QFont& font, int pixelsAt100, double factor) {
    QFont grown = font;
    grown.setPixelSize(static_cast<int>(std::lround(pixelsAt100 * factor)));
    return grown;
}

}  // namespace

FormLayout::FormLayout(QMainWindow* window, const FormControls& controls,
                       const CharacterBoard& board, const CharacterBoard& engineBoard)
    : window_(window),
      c_(controls),
      board_(board),
      engine_(engineBoard),
      helpSize_(controls.Memo2->size()) {}

void FormLayout::SetPercent(int percent) {
    percent_ = std::clamp(percent, kMinZoom, kMaxZoom);
    const double factor = TextFactor(percent_);
    const auto grown = [factor](int pixels) {
        return static_cast<int>(std::lround(pixels * factor));
    };
    c_.Edit6->setFont(Grown(c_.Edit6->font(), 27, factor));
    c_.Edit6->resize(grown(49), grown(46));
    c_.Edit1->setFont(Grown(c_.Edit1->font(), 14, factor));
    c_.Edit1->resize(grown(793), grown(24));
    c_.Memo1->setFont(Grown(c_.Memo1->font(), 11, factor));
    c_.Memo2->setFont(Grown(c_.Memo2->font(), 11, factor));
    PlaceHelp();
    c_.Memo1->resize(grown(793), c_.Memo1->height());
}

int64_t FormLayout::BelowBoard(int pixelsAt100) const {
    return std::llround(pixelsAt100 * TextFactor(percent_));
}

int32_t FormLayout::ToBoard(int windowPixels) const {
    return Unzoomed(windowPixels, percent_);
}

int FormLayout::ToWindow(int32_t boardPixels) const {
    return Pixels(Zoomed(boardPixels, percent_));
}

QRect FormLayout::CellRect(const CharacterBoard& board, int column, int row) const {
    const auto edge = [this](const CellLine<int32_t>& bounds, int index) {
        return ToWindow(index <= 1 ? 0 : bounds[index - 1]);
    };
    return QRect(
        QPoint(edge(board.ColumnBounds, column), edge(board.RowBounds, row)),
        QPoint(ToWindow(board.ColumnBounds[column]) - 1, ToWindow(board.RowBounds[row]) - 1));
}

int FormLayout::ImageWidth(int boardWidth) const {
    // A word column beside the board widens only the image: the read-outs keep their places.
    const int column = engine_.BoardWidth > board_.BoardWidth ? engine_.BoardWidth : 0;
    return Pixels(Zoomed(std::max({boardWidth, column, 0}), percent_));
}

void FormLayout::PlaceAround(int width, int height) {
    const int64_t top = Zoomed(height, percent_);
    c_.Edit1->move(c_.Edit1->x(), Pixels(top + BelowBoard(80)));
    c_.Edit6->move(c_.Edit6->x(), Pixels(top + BelowBoard(30)));
    const int64_t memoTop = top + BelowBoard(104);
    // A tall board would leave the text area no height: it keeps five lines, and the client
    // grows (and scrolls) instead.
    c_.Memo1->setGeometry(
        c_.Memo1->x(), Pixels(memoTop), c_.Memo1->width(),
        Pixels(std::max<int64_t>(MinimumTextAreaHeight(c_.Memo1), 510 - memoTop)));
    c_.Image1->resize(ImageWidth(width), Pixels(Zoomed(std::max(height, 0), percent_)));
    PlaceReadouts(width);
    PlaceHelp();
    FitClientToControls(c_.Client);
}

void FormLayout::PlaceAroundBoard() {
    PlaceAround(board_.BoardWidth, board_.BoardHeight);
}

void FormLayout::PlaceAtZoom() {
    SetPercent(percent_);
    PlaceAroundBoard();
    PlaceSource();
}

// The help panel stands beside the board, over the read-outs, never over a cell: narrower where
// the window leaves less room, and over the character line and text area below the board where
// it leaves none. Its close button stands in its lower right corner, a rest's target.
void FormLayout::PlaceHelp() {
    constexpr int kNarrowest = 240;
    const QSize room = static_cast<QScrollArea*>(window_->centralWidget())->viewport()->size();
    const int boardRight = ToWindow(board_.BoardWidth) + 8;
    const int boardBottom = Pixels(Zoomed(board_.BoardHeight, percent_)) + 8;
    const int beside = room.width() - boardRight;
    if (beside >= kNarrowest || beside >= helpSize_.width()) {
        c_.Memo2->setGeometry(boardRight, 32, std::min(helpSize_.width(), beside),
                              helpSize_.height());
    } else {
        c_.Memo2->setGeometry(
            0, boardBottom, std::min(helpSize_.width(), room.width()),
            std::max(std::min(helpSize_.height(), room.height() - boardBottom), kNarrowest / 2));
    }
    if (auto* close = c_.Memo2->findChild<QPushButton*>("StangBruksanvisning")) {
        close->adjustSize();
        const QRect text = c_.Memo2->viewport()->geometry();
        close->move(text.right() - close->width() - 4, text.bottom() - close->height() - 4);
        close->raise();
    }
}

void FormLayout::PlaceStarted() {
    const int64_t height = Zoomed(board_.BoardHeight, percent_);
    c_.Edit1->move(c_.Edit1->x(), Pixels(height + BelowBoard(80)));
    c_.Edit6->move(c_.Edit6->x(), Pixels(height + BelowBoard(30)));
    c_.Memo1->move(c_.Memo1->x(), Pixels(height + BelowBoard(104)));
    c_.Image1->resize(ImageWidth(board_.BoardWidth), Pixels(std::max<int64_t>(height, 0)));
    PlaceReadouts(board_.BoardWidth);
}

void FormLayout::PlaceSource() {
    c_.Edit8->move(ToWindow(board_.BoardWidth), c_.Edit8->y());
    c_.DemoNotice->move(c_.Edit8->pos());
}

void FormLayout::PlaceBoardImage() {
    c_.Image1->resize(ImageWidth(board_.BoardWidth), c_.Image1->height());
}

void FormLayout::PlaceDemoMarker(int32_t x, int32_t y) {
    c_.Image2->move(ToWindow(x), ToWindow(y));
}

// The read-outs stand right of the board; a zoomed board would cover them.
void FormLayout::PlaceReadouts(int boardWidth) {
    const int64_t shift = Zoomed(std::max(boardWidth, 0), percent_) - std::max(boardWidth, 0);
    for (const Place& place : kReadouts) {
        QLineEdit* edit = c_.*place.Edit;
        edit->move(Pixels(place.Left + shift), edit->y());
    }
}

int FormLayout::ZoomToFitWindow(bool besideReadOuts) const {
    const QSize available = static_cast<QScrollArea*>(window_->centralWidget())->viewport()->size();
    const int below =
        104 + static_cast<int>(MinimumTextAreaHeight(c_.Memo1) / TextFactor(percent_));
    // The read-outs stand right of the board, up to x = 785 at 100 %.
    const int beside = besideReadOuts ? 785 - board_.BoardWidth : 0;
    return ZoomToFit(board_.BoardWidth, board_.BoardHeight, below, beside, available.width(),
                     available.height());
}

void FormLayout::FitLinesToWindow() {
    const QSize available = static_cast<QScrollArea*>(window_->centralWidget())->viewport()->size();
    const int grown = static_cast<int>(std::lround(793 * TextFactor(percent_)));
    for (QWidget* line : std::initializer_list<QWidget*>{c_.Edit1, c_.Memo1}) {
        line->resize(std::min(grown, available.width() - line->x()), line->height());
    }
}

void FormLayout::PlacePanel() {
    const int width = std::max(c_.Image1->width(), kMinPanelWidth);
    c_.Edit1->resize(width, c_.Edit1->height());
    FitClientToControls(c_.Client);
    const int height = c_.Edit1->y() + c_.Edit1->height() + 4;
    window_->resize(width, window_->menuBar()->sizeHint().height() + height);
}

}  // namespace glidtavla

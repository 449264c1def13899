// The menu "Förstora teckenbordet" and the window around a zoomed board.
#include "app/zoom/zoom_window.h"

#include <QActionGroup>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollArea>

#include <cmath>

#include "app/board_image.h"
#include "app/board_session.h"
#include "app/client_area.h"
#include "app/guard.h"
#include "app/zoom/board_zoom.h"
#include "engine/selection_engine.h"

namespace glidtavla {

namespace {

// The read-outs' places in the form, left of which the board ends at 100 %.
struct Place {
    QLineEdit* FormControls::*edit;
    int left;
};
constexpr Place kReadouts[] = {{&FormControls::Edit2, 688},
                               {&FormControls::Edit3, 736},
                               {&FormControls::Edit4, 688},
                               {&FormControls::Edit5, 736},
                               {&FormControls::Edit9, 712}};

QFont Grown(const QFont& font, int pixelsAt100, double factor) {
    QFont grown = font;
    grown.setPixelSize(static_cast<int>(std::lround(pixelsAt100 * factor)));
    return grown;
}

}  // namespace

WindowZoom::WindowZoom(QMainWindow* window, const FormControls& controls, const BoardSession& board,
                       const SelectionState& state, QMenu* visa, const Guard& guarded,
                       std::function<void()> changed)
    : window_(window), c_(controls), board_(board), state_(state), changed_(std::move(changed)) {
    QMenu* zoom = visa->addMenu("Förstora teckenbordet");
    zoom->setObjectName("ForstoraTeckenbordet");
    auto* group = new QActionGroup(window);
    for (const int percent : {100, 150, 200, 300}) {
        QAction* action = zoom->addAction(QString("%1 %").arg(percent));
        action->setObjectName(QString("Zoom%1").arg(percent));
        action->setCheckable(true);
        action->setChecked(percent == percent_);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, window, [this, guarded, percent] {
            guarded([this, percent] {
                fit_->setChecked(false);
                Set(percent);
            });
        });
    }
    fit_ = zoom->addAction("Anpassa till fönstret");
    fit_->setObjectName("ZoomFit");
    fit_->setCheckable(true);
    group->addAction(fit_);
    QObject::connect(fit_, &QAction::triggered, window,
                     [this, guarded] { guarded([this] { FitToWindow(); }); });
}

bool WindowZoom::FitsWindow() const {
    return fit_->isChecked();
}

void WindowZoom::SetFitsWindow(bool on) {
    fit_->setChecked(on);
    if (on && active_) FitToWindow();
}

int64_t WindowZoom::BelowBoard(int pixelsAt100) const {
    return std::llround(pixelsAt100 * TextFactor(percent_));
}

int32_t WindowZoom::ToBoard(int windowPixels) const {
    return Unzoomed(windowPixels, percent_);
}

int WindowZoom::ToWindow(int32_t boardPixels) const {
    return Pixels(Zoomed(boardPixels, percent_));
}

void WindowZoom::Set(int percent) {
    percent_ = std::clamp(percent, kMinZoom, kMaxZoom);
    for (QAction* action : window_->findChildren<QAction*>()) {
        if (action->objectName() == QString("Zoom%1").arg(percent_)) action->setChecked(true);
    }
    ApplyTextSizes();
    RefreshPicture();
    if (!active_) return;  // START places everything at the zoom
    const CharacterBoard& board = board_.Board();
    PlaceAround(board.BoardWidth, board.BoardHeight);
    PlaceSource();
    c_.Image2->move(ToWindow(state_.X0), ToWindow(state_.Y0));
    changed_();
}

void WindowZoom::FitToWindow() {
    fit_->setChecked(true);
    const QSize available = static_cast<QScrollArea*>(window_->centralWidget())->viewport()->size();
    const int below =
        104 + static_cast<int>(MinimumTextAreaHeight(c_.Memo1) / TextFactor(percent_));
    const CharacterBoard& board = board_.Board();
    // The read-outs stand right of the board, up to x = 785 at 100 %.
    const int beside = 785 - board.BoardWidth;
    const int fit = ZoomToFit(board.BoardWidth, board.BoardHeight, below, beside, available.width(),
                              available.height());
    if (fit != percent_) Set(fit);
    fit_->setChecked(true);
    // The character line and the text area grow with their text, but no wider than the window.
    const int grown = static_cast<int>(std::lround(793 * TextFactor(percent_)));
    for (QWidget* line : std::initializer_list<QWidget*>{c_.Edit1, c_.Memo1}) {
        line->resize(std::min(grown, available.width() - line->x()), line->height());
    }
}

void WindowZoom::WindowResized() {
    if (fit_ != nullptr && fit_->isChecked()) FitToWindow();
}

void WindowZoom::RefreshPicture() {
    c_.Image1->setPixmap(board_.Picture().At(percent_, window_->devicePixelRatioF()));
}

void WindowZoom::PlaceAround(int width, int height) {
    const int64_t top = Zoomed(height, percent_);
    c_.Edit1->move(c_.Edit1->x(), Pixels(top + BelowBoard(80)));
    c_.Edit6->move(c_.Edit6->x(), Pixels(top + BelowBoard(30)));
    const int64_t memoTop = top + BelowBoard(104);
    // A tall board would leave the text area no height: it keeps five lines, and the client
    // grows (and scrolls) instead.
    c_.Memo1->setGeometry(
        c_.Memo1->x(), Pixels(memoTop), c_.Memo1->width(),
        Pixels(std::max<int64_t>(MinimumTextAreaHeight(c_.Memo1), 510 - memoTop)));
    c_.Image1->resize(Pixels(Zoomed(std::max(width, 0), percent_)),
                      Pixels(Zoomed(std::max(height, 0), percent_)));
    PlaceReadouts(width);
    PlaceHelp();
    FitClientToControls(c_.client);
}

// The help panel stands right of the centre cell at any zoom, so it never covers it.
void WindowZoom::PlaceHelp() {
    const int centreRight = ToWindow(board_.Board().ColumnBounds[3]);
    c_.Memo2->move(std::max(296, centreRight + 8), c_.Memo2->y());
}

void WindowZoom::RefitToBoard() {
    if (FitsWindow()) FitToWindow();
}

void WindowZoom::PlaceStarted() {
    const CharacterBoard& board = board_.Board();
    const int64_t width = Zoomed(std::max(board.BoardWidth, 0), percent_);
    const int64_t height = Zoomed(board.BoardHeight, percent_);
    c_.Edit1->move(c_.Edit1->x(), Pixels(height + BelowBoard(80)));
    c_.Edit6->move(c_.Edit6->x(), Pixels(height + BelowBoard(30)));
    c_.Memo1->move(c_.Memo1->x(), Pixels(height + BelowBoard(104)));
    c_.Image1->resize(Pixels(width), Pixels(std::max<int64_t>(height, 0)));
    PlaceReadouts(board.BoardWidth);
}

void WindowZoom::PlaceSource() {
    c_.Edit8->move(ToWindow(board_.Board().BoardWidth), c_.Edit8->y());
    c_.DemoNotice->move(c_.Edit8->pos());
}

// The read-outs stand right of the board; a zoomed board would cover them.
void WindowZoom::PlaceReadouts(int boardWidth) {
    const int64_t shift = Zoomed(std::max(boardWidth, 0), percent_) - std::max(boardWidth, 0);
    for (const Place& place : kReadouts) {
        QLineEdit* edit = c_.*place.edit;
        edit->move(Pixels(place.left + shift), edit->y());
    }
}

void WindowZoom::ApplyTextSizes() {
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

}  // namespace glidtavla

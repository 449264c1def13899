// The menu "Visa" (zoom, speed line); the board at a zoom: the picture drawn at the zoom, the text
// that grows with it. Pointer positions are turned back into board pixels where they come in.
#include <QActionGroup>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollArea>

#include <cmath>

#include "app/client_area.h"
#include "app/tform1.h"
#include "app/zoom/board_zoom.h"

namespace glidtavla {

namespace {

// The read-outs' places in the form, left of which the board ends at 100 %.
struct Place {
    QLineEdit* TForm1::*edit;
    int left;
};
constexpr Place kReadouts[] = {{&TForm1::Edit2, 688},
                               {&TForm1::Edit3, 736},
                               {&TForm1::Edit4, 688},
                               {&TForm1::Edit5, 736},
                               {&TForm1::Edit9, 712}};

QFont Grown(const QFont& font, int pixelsAt100, double factor) {
    QFont grown = font;
    grown.setPixelSize(static_cast<int>(std::lround(pixelsAt100 * factor)));
    return grown;
}

}  // namespace

void TForm1::CreateViewMenu() {
    QMenu* visa = menuBar()->addMenu("Visa");
    visa->setObjectName("Visa");
    QMenu* zoom = visa->addMenu("Förstora teckenbordet");
    zoom->setObjectName("ForstoraTeckenbordet");
    auto* group = new QActionGroup(this);
    for (const int percent : {100, 150, 200, 300}) {
        QAction* action = zoom->addAction(QString("%1 %").arg(percent));
        action->setObjectName(QString("Zoom%1").arg(percent));
        action->setCheckable(true);
        action->setChecked(percent == Zoom);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, percent] {
            Guarded([this, percent] {
                ZoomToWindow->setChecked(false);
                SetZoom(percent);
            });
        });
    }
    ZoomToWindow = zoom->addAction("Anpassa till fönstret");
    ZoomToWindow->setObjectName("ZoomFit");
    ZoomToWindow->setCheckable(true);
    group->addAction(ZoomToWindow);
    Speed = std::make_unique<SpeedLine>(this, visa);
    connect(Speed->Item(), &QAction::triggered, this, [this](bool shown) {
        Guarded([this, shown] {
            Speed->SetShown(shown);
            RememberSettings();
        });
    });
    connect(ZoomToWindow, &QAction::triggered, this,
            [this] { Guarded([this] { FitZoomToWindow(); }); });
}

int64_t TForm1::BelowBoard(int pixelsAt100) const {
    return std::llround(pixelsAt100 * TextFactor(Zoom));
}

// Any zoom at any time, also while a demo is recorded or played: demos are in board pixels.
void TForm1::SetZoom(int percent) {
    Zoom = std::clamp(percent, kMinZoom, kMaxZoom);
    for (QAction* action : findChildren<QAction*>()) {
        if (action->objectName() == QString("Zoom%1").arg(Zoom)) action->setChecked(true);
    }
    ApplyTextSizes();
    RefreshBoardPicture();
    if (!activated_) return;  // START places everything at the zoom
    ApplyBoardLayout(Board.BoardWidth, Board.BoardHeight);
    if (Edit8->isVisible()) ShowBoardSource();
    Image2->move(Pixels(Zoomed(State.X0, Zoom)), Pixels(Zoomed(State.Y0, Zoom)));
    RememberSettings();
}

// The largest zoom at which the board, the character cell, the character line and a text
// area of five lines fit the window.
void TForm1::FitZoomToWindow() {
    ZoomToWindow->setChecked(true);
    const QSize available = static_cast<QScrollArea*>(centralWidget())->viewport()->size();
    const int below = 104 + static_cast<int>(MinimumTextAreaHeight(Memo1) / TextFactor(Zoom));
    const int fit = ZoomToFit(Board.BoardWidth, Board.BoardHeight, below, available.width(),
                              available.height());
    if (fit != Zoom) SetZoom(fit);
    ZoomToWindow->setChecked(true);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (ZoomToWindow != nullptr && ZoomToWindow->isChecked())
        Guarded([this] { FitZoomToWindow(); });
}

void TForm1::RefreshBoardPicture() {
    Image1->setPixmap(Picture.At(Zoom, devicePixelRatioF()));
}

// The read-outs stand right of the board; a zoomed board would cover them.
void TForm1::PlaceReadouts(int boardWidth) {
    const int64_t shift = Zoomed(std::max(boardWidth, 0), Zoom) - std::max(boardWidth, 0);
    for (const Place& place : kReadouts) {
        QLineEdit* edit = this->*place.edit;
        edit->move(Pixels(place.left + shift), edit->y());
    }
}

void TForm1::ApplyTextSizes() {
    const double factor = TextFactor(Zoom);
    const auto grown = [factor](int pixels) {
        return static_cast<int>(std::lround(pixels * factor));
    };
    Edit6->setFont(Grown(Edit6->font(), 27, factor));
    Edit6->resize(grown(49), grown(46));
    Edit1->setFont(Grown(Edit1->font(), 14, factor));
    Edit1->resize(grown(793), grown(24));
    Memo1->setFont(Grown(Memo1->font(), 11, factor));
    Memo1->resize(grown(793), Memo1->height());
}

}  // namespace glidtavla

// The menu "Förstora teckenbordet".
#include "app/zoom/window_zoom.h"

#include <QActionGroup>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScreen>
#include <QWindow>
#include <algorithm>

#include "app/form/form_layout.h"
#include "app/form/zoom_scale.h"
#include "pictures/board_picture.h"

namespace glidtavla {

ZoomSettings ZoomSettings::Read(const SettingValues& values) {
    ZoomSettings zoom;
    zoom.Percent = values.Number("view/zoom", kMinZoom, kMaxZoom).value_or(zoom.Percent);
    zoom.ToWindow = values.Flag("view/zoomToWindow", false);
    return zoom;
}

void ZoomSettings::Write(SettingValues& values) const {
    values.Set("view/zoom", Percent);
    values.Set("view/zoomToWindow", ToWindow);
}

WindowZoom::WindowZoom(QMainWindow* window, QLabel* image, FormLayout& layout,
                       const BoardPicture& picture, QMenu* visa, const Guard& guarded)
    : window_(window), image_(image), layout_(layout), picture_(picture), guarded_(guarded) {
    QMenu* zoom = visa->addMenu("Förstora teckenbordet");
    zoom->setObjectName("ForstoraTeckenbordet");
    auto* group = new QActionGroup(window);
    for (const int percent : {100, 150, 200, 300}) {
        QAction* action = zoom->addAction(QString("%1 %").arg(percent));
        action->setObjectName(QString("Zoom%1").arg(percent));
        action->setCheckable(true);
        action->setChecked(percent == layout_.Percent());
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

int WindowZoom::Percent() const {
    return layout_.Percent();
}

bool WindowZoom::FitsWindow() const {
    return fit_->isChecked();
}

void WindowZoom::SetFitsWindow(bool on) {
    fit_->setChecked(on);
    if (on && active_) FitToWindow();
}

void WindowZoom::Activate() {
    active_ = true;
    ShowWithinWindow();
    // On a screen of another pixel density the board is drawn afresh for it.
    QObject::connect(window_->windowHandle(), &QWindow::screenChanged, window_, [this] {
        guarded_([this] {
            RefreshPicture();
            RefitToBoard();
        });
    });
}

void WindowZoom::Set(int percent) {
    wanted_ = 0;
    Show(percent);
}

void WindowZoom::SetRemembered(int percent) {
    Show(percent);
    wanted_ = percent;
    if (active_) ShowWithinWindow();
}

void WindowZoom::ShowWithinWindow() {
    if (wanted_ == 0 || FitsWindow()) return;
    const int shown = std::min(wanted_, layout_.ZoomToFitWindow(false));
    if (shown != Percent()) Show(shown);
}

void WindowZoom::Show(int percent) {
    layout_.SetPercent(percent);
    for (QAction* action : window_->findChildren<QAction*>()) {
        if (action->objectName() == QString("Zoom%1").arg(Percent())) action->setChecked(true);
    }
    RefreshPicture();
    if (!active_) return;  // START places everything at the zoom
    layout_.PlaceAroundBoard();
    layout_.PlaceSource();
    if (changed_) changed_();
}

void WindowZoom::FitToWindow() {
    wanted_ = 0;
    fit_->setChecked(true);
    const int fit = layout_.ZoomToFitWindow();
    if (fit != Percent()) Set(fit);
    fit_->setChecked(true);
    layout_.FitLinesToWindow();
}

void WindowZoom::WindowResized() {
    if (fit_ != nullptr && fit_->isChecked()) FitToWindow();
    ShowWithinWindow();
}

void WindowZoom::RefreshPicture() {
    image_->setPixmap(picture_.At(Percent(), window_->devicePixelRatioF()));
}

void WindowZoom::RefitToBoard() {
    if (FitsWindow()) FitToWindow();
}

}  // namespace glidtavla

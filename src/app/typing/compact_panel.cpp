#include "app/typing/compact_panel.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QScreen>
#include <QTimer>

#include "app/form/board_image.h"
#include "app/form/form_layout.h"
#include "app/form/window_place.h"

namespace glidtavla {

void CompactPanel::Enter(const QByteArray& place) {
    if (on_) return;
    on_ = true;
    fullGeometry_ = window_->saveGeometry();
    hidden_.clear();
    for (QWidget* widget : c_.Client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool kept = widget == c_.Image1 || widget == c_.Edit6 || widget == c_.Edit1;
        if (!kept && widget->isVisible()) {
            widget->hide();
            hidden_.push_back(widget);
        }
    }
    window_->showNormal();
    Refit();
    if (!place.isEmpty() && window_->restoreGeometry(place)) {
        Refit();  // the remembered place, at the size of the board as it is now
        return;
    }
    const QScreen* screen = window_->screen();
    const QRect available = screen->availableGeometry();
    const QSize frame = window_->frameGeometry().size() - window_->geometry().size();
    const QSize size = window_->size();
    window_->move(available.left() + (available.width() - size.width() - frame.width()) / 2,
                  available.bottom() + 1 - size.height() - frame.height());
    // A window manager adds its frame only once the window is placed: then the panel is
    // moved up by as much as the frame put below the screen's foot.
    QTimer::singleShot(150, window_, [this] {
        if (!on_) return;
        const int foot = window_->screen()->availableGeometry().bottom();
        const int below = window_->frameGeometry().bottom() - foot;
        if (below > 0) window_->move(window_->x(), window_->y() - below);
    });
}

void CompactPanel::Refit() {
    if (!on_) return;
    layout_.PlacePanel();
    KeepOnScreen(window_);
}

void CompactPanel::Leave() {
    if (!on_) return;
    on_ = false;
    for (QWidget* widget : hidden_)
        widget->show();
    hidden_.clear();
    // The window first, so what is remembered next is the full window's place.
    if (!window_->restoreGeometry(fullGeometry_)) window_->showMaximized();
    layout_.PlaceAtZoom();
}

QByteArray CompactPanel::Place() const {
    return on_ ? window_->saveGeometry() : QByteArray();
}

}  // namespace glidtavla

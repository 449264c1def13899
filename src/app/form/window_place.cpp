#include "app/form/window_place.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace glidtavla {

void KeepOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr || window->isMaximized() || window->isFullScreen()) return;
    const QRect available = screen->availableGeometry();
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize fits = window->size().boundedTo(available.size() - frame);
    if (fits != window->size()) window->resize(fits);
    const QRect outer = window->frameGeometry();
    const int x = std::clamp(outer.left(), available.left(),
                             std::max(available.left(), available.right() + 1 - outer.width()));
    const int y = std::clamp(outer.top(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - outer.height()));
    if (x != outer.left() || y != outer.top()) window->move(x, y);
}

}  // namespace glidtavla

#include "app/form/board_image.h"

#include <QMouseEvent>

namespace glidtavla {

void BoardImage::mouseMoveEvent(QMouseEvent* event) {
    if (OnMove) OnMove(event);
}
void BoardImage::mousePressEvent(QMouseEvent* event) {
    held_ = event->buttons() != Qt::NoButton;
    if (OnPress) OnPress(event);
}
void BoardImage::mouseReleaseEvent(QMouseEvent* event) {
    held_ = event->buttons() != Qt::NoButton;
    if (OnRelease) OnRelease(event);
}
void BoardImage::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    if (OnEnter) OnEnter();
}
void BoardImage::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    if (OnLeave) OnLeave();
}

}  // namespace glidtavla

#pragma once

#include <QLabel>

#include <functional>

class QMouseEvent;

namespace glidtavla {

// The board image: shows its picture unscaled at the top left and reports the pointer.
class BoardImage : public QLabel {
  public:
    using QLabel::QLabel;
    std::function<void(QMouseEvent*)> OnMove, OnPress, OnRelease;
    std::function<void()> OnEnter, OnLeave;

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace glidtavla

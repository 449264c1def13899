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
    // Whether a button pressed on the image is still held. Qt's own button state can outlive a
    // press it never saw released (a double-click that closed a dialog), so entering the board
    // asks this instead.
    bool ButtonHeld() const { return held_; }

  protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    bool held_ = false;
};

}  // namespace glidtavla

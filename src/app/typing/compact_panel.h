#pragma once

#include <QByteArray>
#include <QRect>

#include <vector>

#include "app/form/form_controls.h"

class QMainWindow;

namespace glidtavla {

class FormLayout;

// While typing into other programs, the window is a compact panel that leaves the program
// written into in sight: the board at its zoom, the character cell and the character line,
// sized to them and placed along the bottom of the screen (or where the user left it). The
// full window comes back when the mode ends.
class CompactPanel {
  public:
    CompactPanel(QMainWindow* window, const FormControls& controls, FormLayout& layout)
        : window_(window), c_(controls), layout_(layout) {}

    bool IsOn() const { return on_; }
    // place: where the panel was left last, or empty for the bottom of the screen.
    void Enter(const QByteArray& place);
    void Leave();
    // The panel laid out again for the board now shown (a zoom, another board).
    void Refit();
    QByteArray Place() const;

  private:
    QMainWindow* window_;
    const FormControls& c_;
    FormLayout& layout_;
    bool on_ = false;
    std::vector<QWidget*> hidden_;  // what the panel hid, to show again
    QByteArray fullGeometry_;
};

}  // namespace glidtavla

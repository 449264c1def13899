#pragma once

class QWidget;

namespace glidtavla {

// Moves a window, and shrinks it where it must, so that it lies whole on the screen's
// available area: a place remembered on a larger screen never hides the board.
void KeepOnScreen(QWidget* window);

}  // namespace glidtavla

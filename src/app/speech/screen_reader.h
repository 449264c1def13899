#pragma once

class QString;
class QWidget;

namespace glidtavla {

// Whether a screen reader runs: the desktop says so, or Orca is running.
bool ScreenReaderRunning();

// Says text through the screen reader, as a notification of the window: what is written and
// offered, which no control with the focus would tell.
void AnnounceToScreenReader(QWidget* window, const QString& text);

}  // namespace glidtavla

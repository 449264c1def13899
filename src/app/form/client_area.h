#pragma once

#include <cstdint>

class QColor;
class QMainWindow;
class QPlainTextEdit;
class QScrollArea;
class QWidget;

namespace glidtavla {

// The window's client area: controls at fixed places, inside a scroll area so that a board
// larger than the screen hides nothing.
QScrollArea* ScrollingClientArea(QWidget* client);

// The window's client area of that colour, made and set in its scroll area.
QWidget* CreateClientArea(QMainWindow* window, const QColor& background);

// The client grows to hold every shown control; the scroll area scrolls where the screen ends.
void FitClientToControls(QWidget* client);

// A board's size comes from its table and may be anything a 32-bit number holds; widgets take
// positions and sizes up to Qt's limit.
int Pixels(int64_t value);

// The text area never shrinks below five lines of its text with its frame and scroll bar.
int MinimumTextAreaHeight(const QPlainTextEdit* textArea);

}  // namespace glidtavla

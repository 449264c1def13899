#pragma once

#include <QColor>

#include "engine/engine_view.h"

class QWidget;

namespace glidtavla {

struct FormControls;

// The window's colours: the form's own, or high contrast, where every text stands at least 7:1
// on its background and the indicators keep their meanings apart.
struct Colours {
    QColor Background;  // the client area
    QColor Welcome;     // the welcome texts on it
    QColor SourceLine;  // the board's source line
    QColor DemoNotice;  // the recording notice, white text on it
    QColor Suggestion;  // the completion in the centre cell and the word slots
    QColor Tail;        // the rest of the completion after the character line
    QColor Text;        // text on a light indicator
    QColor TextOnDark;  // text on a dark one
    bool High = false;
    // An indicator's background and the colour of the text on it.
    QColor Indicator(IndicatorColour colour) const;
    QColor TextOn(IndicatorColour colour) const;
};

const Colours& CurrentColours();
// Switches the colours; the controls follow once ApplyColours is called (and each feature
// recolours its own).
void UseHighContrast(bool high);
// The form's controls in the current colours.
void ApplyColours(const FormControls& form);
// A widget's background (Base) and text, as the indicators and lines show them.
void SetColours(QWidget* widget, const QColor& base, const QColor& text);

// WCAG's contrast ratio of two colours, 1 to 21.
double ContrastRatio(const QColor& a, const QColor& b);

}  // namespace glidtavla

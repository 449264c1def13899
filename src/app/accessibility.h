#pragma once

class QString;
class QWidget;

namespace glidtavla {

struct FormControls;

// Swedish names and descriptions for screen readers, on every control a user meets. The
// pointer's read-outs, which change at every sample, are never announced.
void NameControlsForAssistiveTechnology(const FormControls& form);

// Tells assistive technology of a change to the character line as one removal of its changed
// end and one insertion, in place of the line's own events for the whole text and its caret.
void AnnounceTextChange(QWidget* line, const QString& before, const QString& after);

}  // namespace glidtavla

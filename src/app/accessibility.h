#pragma once

namespace glidtavla {

class TForm1;

// Swedish names and descriptions for screen readers, on every control a user meets.
void NameControlsForAssistiveTechnology(TForm1& form);

}  // namespace glidtavla

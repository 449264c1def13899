#pragma once

namespace glidtavla {

struct FormControls;

// Swedish names and descriptions for screen readers, on every control a user meets.
void NameControlsForAssistiveTechnology(const FormControls& form);

}  // namespace glidtavla

#pragma once

namespace glidtavla {

struct FormControls;

// Swedish names and descriptions for screen readers, on every control a user meets. The
// pointer's read-outs, which change at every sample, are never announced.
void NameControlsForAssistiveTechnology(const FormControls& form);

}  // namespace glidtavla

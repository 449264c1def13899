#pragma once

#include <functional>

namespace glidtavla {

// Runs a handler's body; an error ends it and is shown in the message box. Every Qt handler
// runs through the window's one guard.
using Guard = std::function<void(const std::function<void()>&)>;

}  // namespace glidtavla

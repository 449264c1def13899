#pragma once

#include <functional>

namespace glidtavla {

// Runs a handler's body; an error ends it and is shown in the message box. Every Qt handler
// runs through the window's one guard.
using Guard = std::function<void(const std::function<void()>&)>;

class Dialogs;
// The guard itself: runs body, and shows an error it ends with in the message box.
void RunGuarded(Dialogs& dialogs, const std::function<void()>& body);

}  // namespace glidtavla

#pragma once

#include <functional>
#include <memory>

#include "typing/key_sender.h"

namespace glidtavla {

// Through the X server's XTest extension, binding what the layout lacks to spare keycodes.
// Throws when there is no X server or it lacks XTest or XKEYBOARD. ownWindow gives our own
// top-level window as it is now: keys are sent only while another program's window has the
// focus.
std::unique_ptr<KeySender> OpenXTestKeySender(std::function<unsigned long()> ownWindow);

}  // namespace glidtavla

#pragma once

#include <functional>
#include <memory>
#include <string>

#include "typing/key_sender.h"

namespace glidtavla {

// Whether the desktop's portal offers remote desktop with a keyboard, and its version.
struct PortalOffer {
    bool Keyboard = false;
    unsigned Version = 0;
};
PortalOffer AskRemoteDesktopPortal();

// Types through the desktop's remote-desktop portal (org.freedesktop.portal.RemoteDesktop):
// a session that asks for the keyboard only, started once (the desktop asks the user), then
// a keysym for each key. Where the portal can keep the permission, restoreToken from the last
// time is offered and keepToken told the new one. Throws Error when the desktop refuses or the
// session cannot be made; a session the desktop closes makes Send throw.
std::unique_ptr<KeySender> OpenPortalKeySender(const std::string& restoreToken,
                                               std::function<void(const std::string&)> keepToken);

}  // namespace glidtavla

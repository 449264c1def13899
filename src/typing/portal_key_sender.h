#pragma once

#include <functional>
#include <memory>
#include <string>

#include "typing/key_sender.h"

namespace glidtavla {

// Whether the session has a desktop portal, asked of the bus alone: a portal that does not
// answer is found out when typing is turned on, not at start.
bool RemoteDesktopPortalPresent();

// Types through the desktop's remote-desktop portal (org.freedesktop.portal.RemoteDesktop):
// a session that asks for the keyboard only, started once (the desktop asks the user), then
// a keysym for each key. Where the portal can keep the permission, restoreToken from the last
// time is offered and keepToken told the new one. Throws Error when the desktop refuses, offers
// no keyboard, or does not answer within seconds; a session the desktop closes or a portal that
// stops answering makes a later Send throw. Never blocks the window's events.
std::unique_ptr<KeySender> OpenPortalKeySender(const std::string& restoreToken,
                                               std::function<void(const std::string&)> keepToken);

}  // namespace glidtavla

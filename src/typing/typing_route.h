#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string>

#include "typing/key_sender.h"

namespace glidtavla {

// How this session lets us type into other programs.
enum class TypingRoute { XTest, VirtualKeyboard, Portal, None };

struct RouteChoice {
    TypingRoute Route = TypingRoute::None;
    QString Description;  // for the item's tooltip: the route in use, or why there is none
};

// Whether the programs written into are Wayland's (our window may run through Xwayland).
bool WaylandSession();

// In this order: an X11 session types through XTest; a Wayland session through the
// compositor's virtual keyboard where it offers one, else through the desktop's remote-desktop
// portal; otherwise there is no way, and the choice says why. platform is the window's Qt
// platform ("xcb" on X11 and through Xwayland).
RouteChoice ChooseTypingRoute(const QString& platform);

// The sender of a route. For the portal, the permission kept from the last time, and where to
// keep a new one. Throws Error with a message for the user.
std::unique_ptr<KeySender> OpenRouteSender(const RouteChoice& choice,
                                           std::function<unsigned long()> ownWindow,
                                           const std::string& portalToken,
                                           std::function<void(const std::string&)> keepToken);

}  // namespace glidtavla

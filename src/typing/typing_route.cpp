#include "typing/typing_route.h"

#include "base/errors.h"
#include "typing/portal_key_sender.h"
#include "typing/virtual_keyboard_sender.h"
#include "typing/xtest_key_sender.h"

namespace glidtavla {

bool WaylandSession() {
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

RouteChoice ChooseTypingRoute(const QString& platform) {
    if (WaylandSession()) {
        if (AskWaylandCompositor().VirtualKeyboard) {
            return {TypingRoute::VirtualKeyboard,
                    "Skriver genom kompositorns virtuella tangentbord (Wayland)."};
        }
        if (RemoteDesktopPortalPresent()) {
            return {TypingRoute::Portal,
                    "Skriver genom skrivbordets fjärrstyrning (portalen RemoteDesktop); "
                    "skrivbordet frågar om lov första gången."};
        }
        QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
        if (desktop.isEmpty()) desktop = "okänd";
        return {TypingRoute::None,
                "Kompositorn (" + desktop +
                    ") erbjuder inget virtuellt tangentbord (zwp_virtual_keyboard_manager_v1), "
                    "och skrivbordets portal för fjärrstyrning med tangentbord "
                    "(org.freedesktop.portal.RemoteDesktop) finns inte."};
    }
    if (platform == "xcb") {
        return {TypingRoute::XTest, "Skriver genom X-serverns XTEST (X11)."};
    }
    return {TypingRoute::None,
            "Fungerar bara i en X11- eller Wayland-session (här: " + platform + ")."};
}

std::unique_ptr<KeySender> OpenRouteSender(const RouteChoice& choice,
                                           std::function<unsigned long()> ownWindow,
                                           const std::string& portalToken,
                                           std::function<void(const std::string&)> keepToken) {
    switch (choice.Route) {
        case TypingRoute::XTest:
            return OpenXTestKeySender(std::move(ownWindow));
        case TypingRoute::VirtualKeyboard:
            return OpenVirtualKeyboardSender();
        case TypingRoute::Portal:
            return OpenPortalKeySender(portalToken, std::move(keepToken));
        case TypingRoute::None:
            break;
    }
    throw Error(choice.Description.toStdString());
}

}  // namespace glidtavla

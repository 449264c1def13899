#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "typing/key_sender.h"

namespace glidtavla {

// A keymap with every character Windows-1252 holds on a key of its own, at the first level,
// and Return and BackSpace: whatever layout the user has, each arrives as itself.
struct VirtualKeymap {
    std::string Text;                   // in the xkb text format
    std::map<char32_t, uint32_t> Keys;  // evdev key codes, as the protocol takes them
    uint32_t ReturnKey = 0, BackSpaceKey = 0;
    uint32_t SilentKey = 0;  // types nothing
};
VirtualKeymap MakeVirtualKeymap();

// What the Wayland compositor of this session offers: whether it has the virtual-keyboard
// protocol, and its name for messages. Empty name when there is no Wayland session to reach.
struct WaylandOffer {
    bool Reachable = false;
    bool VirtualKeyboard = false;
};
WaylandOffer AskWaylandCompositor();

// Types through the compositor's virtual keyboard (zwp_virtual_keyboard_manager_v1). Throws
// Error when there is none; a compositor that drops it makes Send throw.
std::unique_ptr<KeySender> OpenVirtualKeyboardSender();

}  // namespace glidtavla

// A pointer device of the tests' own on a wlroots compositor, as a head mouse would be one:
// each step is "X,Y" (a move to that place of the layout), "down" or "up" (the left button),
// taken 50 ms apart.
// Usage: pointer_probe WIDTH HEIGHT STEP...
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void Global(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}
void GlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistry = {Global, GlobalRemove};

uint32_t Now() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const uint32_t width = static_cast<uint32_t>(std::stoul(argv[1]));
    const uint32_t height = static_cast<uint32_t>(std::stoul(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, nullptr);
    wl_display_roundtrip(display);
    if (manager == nullptr) {
        std::fprintf(stderr, "the compositor has no virtual pointer\n");
        wl_registry_destroy(registry);
        wl_display_disconnect(display);
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    for (int i = 3; i < argc; ++i) {
        const std::string step = argv[i];
        if (step == "down" || step == "up") {
            zwlr_virtual_pointer_v1_button(pointer, Now(), BTN_LEFT,
                                           step == "down" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                          : WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            unsigned x = 0, y = 0;
            if (std::sscanf(step.c_str(), "%u,%u", &x, &y) != 2) {
                std::fprintf(stderr, "not a step: %s\n", step.c_str());
                return 2;
            }
            zwlr_virtual_pointer_v1_motion_absolute(pointer, Now(), x, y, width, height);
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        wl_display_flush(display);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}

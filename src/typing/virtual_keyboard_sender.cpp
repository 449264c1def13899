// Typing through a Wayland compositor's virtual keyboard. No Qt: a connection of our own, so
// it works the same whichever platform the window runs on.
#include "typing/virtual_keyboard_sender.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "base/errors.h"
#include "base/windows1252.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

namespace glidtavla {

namespace {

constexpr uint32_t kFirstKeycode = 9;  // xkb keycodes are evdev codes + 8
constexpr uint32_t kEvdevOffset = 8;
constexpr std::chrono::milliseconds kSettle{100};
// A compositor that has not handled our requests by then has stopped.
constexpr std::chrono::milliseconds kAnswerWithin{2000};

using Clock = std::chrono::steady_clock;

// The callback itself is destroyed by whoever asked, answered or not.
void SyncDone(void* data, wl_callback*, uint32_t) {
    *static_cast<bool*>(data) = true;
}
const wl_callback_listener kSyncListener = {SyncDone};

// Sends what is written and handles what the compositor sent, waiting at most timeout for
// its next event. False when the connection failed.
bool Exchange(wl_display* display, std::chrono::milliseconds timeout) {
    while (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0) return false;
    }
    if (wl_display_flush(display) < 0 && errno != EAGAIN) {
        wl_display_cancel_read(display);
        return false;
    }
    pollfd ready{wl_display_get_fd(display), POLLIN, 0};
    if (poll(&ready, 1, static_cast<int>(timeout.count())) > 0) {
        if (wl_display_read_events(display) < 0) return false;
    } else {
        wl_display_cancel_read(display);
    }
    return wl_display_dispatch_pending(display) >= 0;
}

// A roundtrip that gives up when the compositor does not answer within kAnswerWithin.
bool RoundtripWithin(wl_display* display) {
    bool done = false;
    wl_callback* callback = wl_display_sync(display);
    wl_callback_add_listener(callback, &kSyncListener, &done);
    const Clock::time_point deadline = Clock::now() + kAnswerWithin;
    bool failed = false;
    while (!done && !failed) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        failed = left.count() <= 0 || !Exchange(display, left);
    }
    wl_callback_destroy(callback);
    return done;
}

std::string KeysymName(xkb_keysym_t keysym) {
    char name[64];
    xkb_keysym_get_name(keysym, name, sizeof name);
    return name;
}

// The globals of a registry that we use.
struct Globals {
    wl_seat* Seat = nullptr;
    zwp_virtual_keyboard_manager_v1* Manager = nullptr;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
            uint32_t /*version*/) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->Seat == nullptr) {
        globals->Seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
        globals->Manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    }
}

void GlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

// A display connection and the globals it offers, all released together.
struct Connection {
    Connection() : Wayland(wl_display_connect(nullptr)) {
        if (Wayland == nullptr) return;
        Registry = wl_display_get_registry(Wayland);
        wl_registry_add_listener(Registry, &kRegistryListener, &Offered);
        if (!RoundtripWithin(Wayland)) Offered = Globals();  // a compositor that does not answer
    }
    ~Connection() {
        if (Keyboard != nullptr) zwp_virtual_keyboard_v1_destroy(Keyboard);
        if (Offered.Manager != nullptr) zwp_virtual_keyboard_manager_v1_destroy(Offered.Manager);
        if (Offered.Seat != nullptr) wl_seat_destroy(Offered.Seat);
        if (Registry != nullptr) wl_registry_destroy(Registry);
        if (Wayland != nullptr) wl_display_disconnect(Wayland);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    wl_display* Wayland;
    wl_registry* Registry = nullptr;
    Globals Offered;
    zwp_virtual_keyboard_v1* Keyboard = nullptr;
};

class VirtualKeyboardSender : public KeySender {
  public:
    // What is still buffered reaches the compositor before the connection closes.
    ~VirtualKeyboardSender() override {
        if (asked_ != nullptr) wl_callback_destroy(asked_);
        if (wl_display_get_error(connection_.Wayland) == 0) RoundtripWithin(connection_.Wayland);
    }
    VirtualKeyboardSender(const VirtualKeyboardSender&) = delete;
    VirtualKeyboardSender& operator=(const VirtualKeyboardSender&) = delete;

    VirtualKeyboardSender() : keymap_(MakeVirtualKeymap()) {
        if (connection_.Wayland == nullptr) {
            throw Error("Skriv i andra program når ingen Wayland-kompositor (WAYLAND_DISPLAY).");
        }
        if (connection_.Offered.Manager == nullptr || connection_.Offered.Seat == nullptr) {
            throw Error("Kompositorn erbjuder inget virtuellt tangentbord.");
        }
        connection_.Keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
            connection_.Offered.Manager, connection_.Offered.Seat);
        UploadKeymap();
        // The compositor hands our keymap to the focused program at our first key, and the
        // program reads it before it handles the keys after it: a key that types nothing goes
        // first, and the program is given a moment.
        Tap(keymap_.SilentKey);
        if (!RoundtripWithin(connection_.Wayland)) throw Error(kNotAnswering);
        std::this_thread::sleep_for(kSettle);
    }

    // The window never waits for the compositor: each key asks it to say when it has handled
    // everything, and the next key hears whether it did, or that it has stopped.
    void Send(const KeyAction& action) override {
        CheckAnswered();
        switch (action.Type) {
            case KeyAction::Kind::Character: {
                const auto key = keymap_.Keys.find(action.Character);
                if (key == keymap_.Keys.end()) return;  // not a character we type
                Tap(key->second);
                break;
            }
            case KeyAction::Kind::Return:
                Tap(keymap_.ReturnKey);
                break;
            case KeyAction::Kind::BackSpace:
                for (int i = 0; i < action.Count; ++i)
                    Tap(keymap_.BackSpaceKey);
                break;
        }
        if (answered_) {
            if (asked_ != nullptr) wl_callback_destroy(asked_);
            answered_ = false;
            askedAt_ = Clock::now();
            asked_ = wl_display_sync(connection_.Wayland);
            wl_callback_add_listener(asked_, &kSyncListener, &answered_);
        }
        if (!Exchange(connection_.Wayland, std::chrono::milliseconds(0))) throw Error(kRemoved);
    }

  private:
    void UploadKeymap() {
        const std::size_t size = keymap_.Text.size() + 1;  // with its terminating zero
        const int fd = memfd_create("glidtavla-keymap", MFD_CLOEXEC);
        if (fd < 0 || write(fd, keymap_.Text.c_str(), size) != static_cast<ssize_t>(size)) {
            if (fd >= 0) close(fd);
            throw Error("Tangentbordsbeskrivningen kunde inte lämnas till kompositorn.");
        }
        zwp_virtual_keyboard_v1_keymap(connection_.Keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       static_cast<uint32_t>(size));
        close(fd);
    }

    void Tap(uint32_t key) {
        const auto now =
            static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                      std::chrono::steady_clock::now().time_since_epoch())
                                      .count());
        zwp_virtual_keyboard_v1_key(connection_.Keyboard, now, key, WL_KEYBOARD_KEY_STATE_PRESSED);
        zwp_virtual_keyboard_v1_key(connection_.Keyboard, now, key, WL_KEYBOARD_KEY_STATE_RELEASED);
    }

    void CheckAnswered() {
        if (!Exchange(connection_.Wayland, std::chrono::milliseconds(0)) ||
            wl_display_get_error(connection_.Wayland) != 0) {
            throw Error(kRemoved);
        }
        if (!answered_ && Clock::now() - askedAt_ > kAnswerWithin) throw Error(kNotAnswering);
    }

    static constexpr const char* kRemoved =
        "Kompositorn tog bort det virtuella tangentbordet, så inget mer kan skrivas i andra "
        "program.";
    static constexpr const char* kNotAnswering =
        "Kompositorn svarar inte, så inget mer skrivs i andra program.";

    Connection connection_;
    VirtualKeymap keymap_;
    wl_callback* asked_ = nullptr;  // the compositor's word that it handled all we sent
    bool answered_ = true;
    Clock::time_point askedAt_;
};

}  // namespace

VirtualKeymap MakeVirtualKeymap() {
    VirtualKeymap keymap;
    std::string codes, symbols;
    uint32_t keycode = kFirstKeycode;
    const auto add = [&](xkb_keysym_t keysym) {
        const std::string name = "K" + std::to_string(keycode);
        codes += "  <" + name + "> = " + std::to_string(keycode) + ";\n";
        symbols += "  key <" + name + "> { [ " + KeysymName(keysym) + " ] };\n";
        return keycode++ - kEvdevOffset;
    };
    for (int byte = 0x20; byte <= 0xFF; ++byte) {
        const char32_t c = Windows1252Char(static_cast<uint8_t>(byte));
        if (byte == 0x7F || (c >= 0x80 && c < 0xA0)) continue;  // no character to type
        keymap.Keys[c] = add(xkb_utf32_to_keysym(c));
    }
    keymap.ReturnKey = add(XKB_KEY_Return);
    keymap.BackSpaceKey = add(XKB_KEY_BackSpace);
    keymap.SilentKey = add(XKB_KEY_NoSymbol);
    keymap.Text =
        "xkb_keymap {\n"
        "xkb_keycodes \"glidtavla\" {\n  minimum = 8;\n  maximum = 255;\n" +
        codes +
        "};\n"
        "xkb_types \"glidtavla\" { include \"complete\" };\n"
        "xkb_compatibility \"glidtavla\" { include \"complete\" };\n"
        "xkb_symbols \"glidtavla\" {\n" +
        symbols + "};\n};\n";
    return keymap;
}

WaylandOffer AskWaylandCompositor() {
    const Connection connection;
    return {connection.Wayland != nullptr, connection.Offered.Manager != nullptr};
}

std::unique_ptr<KeySender> OpenVirtualKeyboardSender() {
    return std::make_unique<VirtualKeyboardSender>();
}

}  // namespace glidtavla

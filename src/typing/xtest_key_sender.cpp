// Typing through the X server's XTEST extension. No Qt here: Xlib's macros and Qt's names do
// not mix.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <thread>

#include "base/errors.h"
#include "typing/key_planner.h"
#include "typing/xtest_key_sender.h"

namespace glidtavla {

namespace {

// A keycode typed this recently is not rebound yet: the receiver may not have handled it.
constexpr std::chrono::milliseconds kRebindAfter{200};
// Qt receivers take a few milliseconds to fetch a changed map, and may handle a key that comes
// sooner with the old one. Paid once per binding: bindings are kept.
constexpr std::chrono::milliseconds kSettle{100};

// The focused window may go away while we look at it: an error about it is no failure. Qt talks
// to the server through its own connection, which this handler does not touch.
int IgnoreXError(Display*, XErrorEvent*) {
    return 0;
}

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// The level Shift alone selects on a key of this type, or -1.
int ShiftLevel(const XkbKeyTypeRec& type) {
    for (int i = 0; i < type.map_count; ++i) {
        const XkbKTMapEntryRec& entry = type.map[i];
        if (entry.active && entry.mods.mask == ShiftMask) return entry.level;
    }
    return -1;
}

class XTestKeySender : public KeySender {
  public:
    XTestKeySender(Display* display, std::function<unsigned long()> own)
        : display_(display), own_(std::move(own)) {}
    ~XTestKeySender() override {
        // Our bindings go back to empty; the mode is over, nothing is typed through them now.
        try {
            ReadKeymap();
            for (unsigned keycode : planner_.BoundKeycodes()) {
                KeySym none = NoSymbol;
                XChangeKeyboardMapping(display_, int(keycode), 1, &none, 1);
            }
        } catch (const Error&) {
            // The map cannot be read: leave it as it is rather than guess.
        }
        XCloseDisplay(display_);
    }
    XTestKeySender(const XTestKeySender&) = delete;
    XTestKeySender& operator=(const XTestKeySender&) = delete;

    void Send(const KeyAction& action) override {
        // With no other program's window focused, keys would land under the pointer, in our
        // own document.
        if (!AnotherProgramHasFocus()) {
            throw Error(
                "Inget annat program har tangentbordets fokus, så ingenting skickades. Klicka i "
                "det program du vill skriva i och välj Skriv i andra program igen.");
        }
        // Read at every action: a layout switched since the last key is seen before this one.
        ReadKeymap();
        switch (action.Type) {
            case KeyAction::Kind::Character: {
                const char32_t cp = action.Character;
                Type(xkb_utf32_to_keysym(uint32_t(cp)));
                break;
            }
            case KeyAction::Kind::Return:
                Type(XK_Return);
                break;
            case KeyAction::Kind::BackSpace:
                for (int i = 0; i < action.Count; ++i)
                    Type(XK_BackSpace);
                break;
        }
        XSync(display_, False);
    }

  private:
    [[noreturn]] static void Fail() {
        throw Error("Tangenterna kunde inte skickas till det andra programmet.");
    }

    bool HasProperty(Window window, const char* name) {
        const Atom atom = XInternAtom(display_, name, True);
        if (atom == None) return false;
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display_, window, atom, 0, 0, False, AnyPropertyType,
                                              &type, &format, &items, &after, &data);
        if (data != nullptr) XFree(data);
        return status == Success && type != None;
    }

    // Under a window manager a program's window carries WM_STATE; the manager's own windows,
    // which take the focus when no program has it, do not. Without one, any window but the
    // root and ours is a program's.
    bool AnotherProgramHasFocus() {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        const Window root = DefaultRootWindow(display_);
        if (focus == None || focus == PointerRoot || focus == root) return false;
        const Window own = static_cast<Window>(own_());
        const bool managed = HasProperty(root, "_NET_SUPPORTING_WM_CHECK");
        bool program = !managed;
        for (Window window = focus; window != 0 && window != root;) {
            if (window == own) return false;
            if (managed && HasProperty(window, "WM_STATE")) program = true;
            Window rootOfTree = 0, parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(display_, window, &rootOfTree, &parent, &children, &count)) break;
            if (children != nullptr) XFree(children);
            window = parent;
        }
        return program;
    }

    void ReadKeymap() {
        XkbDescPtr xkb = XkbGetMap(display_, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
        if (xkb == nullptr) Fail();
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        std::vector<KeySlot> keys;
        for (int keycode = xkb->min_key_code; keycode <= xkb->max_key_code; ++keycode) {
            KeySlot slot;
            const int groups = XkbKeyNumGroups(xkb, keycode);
            if (groups > 0) {
                slot.Empty = false;
                const int group = state.group % groups;
                const int width = XkbKeyGroupWidth(xkb, keycode, group);
                const int shiftLevel = ShiftLevel(*XkbKeyKeyType(xkb, keycode, group));
                slot.Plain = uint32_t(XkbKeySymEntry(xkb, keycode, 0, group));
                if (shiftLevel > 0 && shiftLevel < width) {
                    slot.Shifted = uint32_t(XkbKeySymEntry(xkb, keycode, shiftLevel, group));
                }
            }
            keys.push_back(slot);
        }
        const unsigned first = xkb->min_key_code;
        XkbFreeKeyboard(xkb, 0, True);
        shiftKeycode_ = XKeysymToKeycode(display_, XK_Shift_L);
        planner_.Update(first, std::move(keys), shiftKeycode_ != 0);
    }

    void Type(uint32_t keysym) {
        if (keysym == NoSymbol) return;
        const std::optional<KeyStroke> stroke = planner_.Plan(keysym);
        if (!stroke) {
            throw Error(
                "Tangentbordet har ingen ledig tangent för tecknet, och det kunde inte "
                "skickas till det andra programmet.");
        }
        if (stroke->Bind) {
            if (const auto last = planner_.LastUse(stroke->Keycode)) {
                const int64_t wait = kRebindAfter.count() - (NowMs() - *last);
                if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
            }
            // Both levels, so a held Shift types the same; the server has the map, and the
            // receiver has had time to read it, before the key event that needs it.
            KeySym both[2] = {keysym, keysym};
            XChangeKeyboardMapping(display_, int(stroke->Keycode), 2, both, 1);
            XSync(display_, False);
            planner_.Bound(*stroke, keysym, NowMs());
            std::this_thread::sleep_for(kSettle);
        }
        if (stroke->Shift) XTestFakeKeyEvent(display_, shiftKeycode_, True, CurrentTime);
        XTestFakeKeyEvent(display_, stroke->Keycode, True, CurrentTime);
        XTestFakeKeyEvent(display_, stroke->Keycode, False, CurrentTime);
        if (stroke->Shift) XTestFakeKeyEvent(display_, shiftKeycode_, False, CurrentTime);
        planner_.Used(*stroke, NowMs());
    }

    Display* display_;
    std::function<unsigned long()> own_;
    KeyPlanner planner_;
    KeyCode shiftKeycode_ = 0;
};

}  // namespace

std::unique_ptr<KeySender> OpenXTestKeySender(std::function<unsigned long()> ownWindow) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        throw Error("Skriv i andra program kräver en X-server, och ingen kunde nås.");
    }
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        throw Error(
            "Skriv i andra program kräver X-serverns tillägg XTEST, och den här X-servern "
            "saknar det.");
    }
    int xkbOpcode = 0, xkbEvent = 0, xkbError = 0, xkbMajor = XkbMajorVersion,
        xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &xkbOpcode, &xkbEvent, &xkbError, &xkbMajor, &xkbMinor)) {
        XCloseDisplay(display);
        throw Error(
            "Skriv i andra program kräver X-serverns tillägg XKEYBOARD, och den här X-servern "
            "saknar det.");
    }
    XSetErrorHandler(IgnoreXError);
    return std::make_unique<XTestKeySender>(display, std::move(ownWindow));
}

}  // namespace glidtavla

// Typing through the X server's XTEST extension. No Qt here: Xlib's macros and Qt's names do
// not mix.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

#include "base/errors.h"
#include "typing/key_planner.h"
#include "typing/xtest_key_sender.h"

namespace glidtavla {

namespace {

// A keycode typed this recently is not rebound yet: the receiver may not have handled it.
constexpr std::chrono::milliseconds kRebindAfter{200};
// A receiver fetches a changed map when it handles the server's notice, and handles a key that
// comes sooner with the old one; a busy machine makes that slow. Paid once per binding, on the
// typing thread: bindings are kept, and the window goes on meanwhile.
constexpr std::chrono::milliseconds kSettle{250};

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

// Keys are typed on a thread of its own, through a connection of its own: waiting for a
// receiver to read a new binding must not stop the window. The focus is checked on the
// caller's connection, so a key with nowhere to go is refused at once.
class XTestKeySender : public KeySender {
  public:
    XTestKeySender(Display* caller, Display* typing, std::function<unsigned long()> own)
        : caller_(caller), display_(typing), own_(std::move(own)), thread_([this] { Run(); }) {}
    ~XTestKeySender() override {
        // What was written before the mode ended still reaches the program.
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
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
        XCloseDisplay(caller_);
    }
    XTestKeySender(const XTestKeySender&) = delete;
    XTestKeySender& operator=(const XTestKeySender&) = delete;

    // A failure of an earlier key is told at the next one, as no key after it was typed.
    void Send(const KeyAction& action) override {
        // With no other program's window focused, keys would land under the pointer, in our
        // own document.
        if (!AnotherProgramHasFocus(static_cast<Window>(own_()))) {
            throw Error(
                "Inget annat program har tangentbordets fokus, så ingenting skickades. Klicka i "
                "det program du vill skriva i och välj Skriv i andra program igen.");
        }
        std::lock_guard lock(mutex_);
        if (failure_) throw Error(*failure_);
        waiting_.push_back(action);
        changed_.notify_all();
    }

    void Flush() override {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_.empty() && !typing_; });
        if (failure_) throw Error(*failure_);
    }

  private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
            if (waiting_.empty()) return;
            const KeyAction action = waiting_.front();
            waiting_.pop_front();
            typing_ = true;
            lock.unlock();
            std::optional<std::string> failure;
            try {
                TypeAction(action);
            } catch (const Error& error) {
                failure = error.what();
            }
            lock.lock();
            typing_ = false;
            if (failure) {
                failure_ = failure;
                waiting_.clear();  // typed after a lost key, they would make a wrong text
            }
            changed_.notify_all();
        }
    }

    void TypeAction(const KeyAction& action) {
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
        const Atom atom = XInternAtom(caller_, name, True);
        if (atom == None) return false;
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(caller_, window, atom, 0, 0, False, AnyPropertyType,
                                              &type, &format, &items, &after, &data);
        if (data != nullptr) XFree(data);
        return status == Success && type != None;
    }

    // Under a window manager a program's window carries WM_STATE; the manager's own windows,
    // which take the focus when no program has it, do not. Without one, any window but the
    // root and ours is a program's.
    bool AnotherProgramHasFocus(Window own) {
        Window focus = None;
        int revert = 0;
        XGetInputFocus(caller_, &focus, &revert);
        const Window root = DefaultRootWindow(caller_);
        if (focus == None || focus == PointerRoot || focus == root) return false;
        const bool managed = HasProperty(root, "_NET_SUPPORTING_WM_CHECK");
        bool program = !managed;
        for (Window window = focus; window != 0 && window != root;) {
            if (window == own) return false;
            if (managed && HasProperty(window, "WM_STATE")) program = true;
            Window rootOfTree = 0, parent = 0;
            Window* children = nullptr;
            unsigned count = 0;
            if (!XQueryTree(caller_, window, &rootOfTree, &parent, &children, &count)) break;
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
        WaitForButtonsUp();
        if (stroke->Shift) XTestFakeKeyEvent(display_, shiftKeycode_, True, CurrentTime);
        XTestFakeKeyEvent(display_, stroke->Keycode, True, CurrentTime);
        XTestFakeKeyEvent(display_, stroke->Keycode, False, CurrentTime);
        if (stroke->Shift) XTestFakeKeyEvent(display_, shiftKeycode_, False, CurrentTime);
        planner_.Used(*stroke, NowMs());
    }

    // A key typed while a pointer button is held carries the button in its state, which a
    // receiver may take for a chord: it waits for the release, unless the mode is ending.
    void WaitForButtonsUp() {
        constexpr unsigned kButtons =
            Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask;
        for (;;) {
            Window root = 0, child = 0;
            int x = 0, y = 0, wx = 0, wy = 0;
            unsigned mask = 0;
            XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &wx, &wy,
                          &mask);
            if ((mask & kButtons) == 0) return;
            {
                std::lock_guard lock(mutex_);
                if (stopping_) return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    Display* caller_;   // the window's thread: the focus
    Display* display_;  // the typing thread: the map and the keys
    std::function<unsigned long()> own_;
    KeyPlanner planner_;  // the typing thread's
    KeyCode shiftKeycode_ = 0;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<KeyAction> waiting_;
    bool typing_ = false;
    bool stopping_ = false;
    std::optional<std::string> failure_;
    std::thread thread_;  // last: starts when everything it uses is made
};

}  // namespace

std::unique_ptr<KeySender> OpenXTestKeySender(std::function<unsigned long()> ownWindow) {
    Display* caller = XOpenDisplay(nullptr);
    if (caller == nullptr) {
        throw Error("Skriv i andra program kräver en X-server, och ingen kunde nås.");
    }
    const auto refuse = [caller](const char* message) {
        XCloseDisplay(caller);
        throw Error(message);
    };
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(caller, &event, &error, &major, &minor)) {
        refuse(
            "Skriv i andra program kräver X-serverns tillägg XTEST, och den här X-servern "
            "saknar det.");
    }
    int xkbOpcode = 0, xkbEvent = 0, xkbError = 0, xkbMajor = XkbMajorVersion,
        xkbMinor = XkbMinorVersion;
    if (!XkbQueryExtension(caller, &xkbOpcode, &xkbEvent, &xkbError, &xkbMajor, &xkbMinor)) {
        refuse(
            "Skriv i andra program kräver X-serverns tillägg XKEYBOARD, och den här X-servern "
            "saknar det.");
    }
    Display* typing = XOpenDisplay(nullptr);
    if (typing == nullptr) refuse("Skriv i andra program kräver en X-server, och ingen kunde nås.");
    XSetErrorHandler(IgnoreXError);
    return std::make_unique<XTestKeySender>(caller, typing, std::move(ownWindow));
}

}  // namespace glidtavla

// Typing through XTest with libxdo. No Qt here: Xlib's macros and Qt's names do not mix.
extern "C" {
#include <xdo.h>
}

#include <X11/extensions/XTest.h>

#include "app/typing/key_sender.h"
#include "board/errors.h"

namespace glidtavla {

namespace {

// A key typed through a borrowed keycode needs the receiver to read the new keyboard map
// before the map is put back; xdotool waits as long.
constexpr useconds_t kKeyDelay = 12000;

class XdoKeySender : public KeySender {
  public:
    explicit XdoKeySender(xdo_t* xdo) : xdo_(xdo) {}
    ~XdoKeySender() override { xdo_free(xdo_); }
    XdoKeySender(const XdoKeySender&) = delete;
    XdoKeySender& operator=(const XdoKeySender&) = delete;

    void Send(const KeyAction& action) override {
        int failed = XDO_SUCCESS;
        switch (action.kind) {
            case KeyAction::Kind::Text:
                failed = xdo_enter_text_window(xdo_, CURRENTWINDOW, action.text.c_str(), kKeyDelay);
                break;
            case KeyAction::Kind::Return:
                failed = xdo_send_keysequence_window(xdo_, CURRENTWINDOW, "Return", kKeyDelay);
                break;
            case KeyAction::Kind::BackSpace:
                for (int i = 0; i < action.count && failed == XDO_SUCCESS; ++i) {
                    failed =
                        xdo_send_keysequence_window(xdo_, CURRENTWINDOW, "BackSpace", kKeyDelay);
                }
                break;
        }
        XFlush(xdo_->xdpy);
        if (failed != XDO_SUCCESS) {
            throw Error("Tangenterna kunde inte skickas till det andra programmet.");
        }
    }

  private:
    xdo_t* xdo_;
};

}  // namespace

std::unique_ptr<KeySender> OpenXTestKeySender() {
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
    xdo_t* xdo = xdo_new_with_opened_display(display, XDisplayString(display), 1);
    if (xdo == nullptr) {
        XCloseDisplay(display);
        throw Error("Skriv i andra program kunde inte starta.");
    }
    return std::make_unique<XdoKeySender>(xdo);
}

}  // namespace glidtavla

#include "app/typing/typing_mode.h"

#include <QAction>

#include <QGuiApplication>
#include <QVariant>
#include <QWidget>
#include <QWindow>
#include <utility>

#include "app/form/board_image.h"
#include "app/form/dialogs.h"
#include "typing/typing_route.h"

namespace glidtavla {

TypingSettings TypingSettings::Read(const SettingValues& values) {
    return {values.Flag("typing/sendKeys", false),
            values.Value("typing/portalToken").toString().toStdString()};
}

void TypingSettings::Write(SettingValues& values) const {
    values.Set("typing/sendKeys", SendKeys);
    values.Set("typing/portalToken", QString::fromStdString(PortalToken));
}

TypingMode::TypingMode(QWidget* window, QAction* item, Dialogs& dialogs, RouteChoice route,
                       const BoardImage& image)
    : window_(window), item_(item), dialogs_(dialogs), route_(std::move(route)), image_(image) {
    item_->setCheckable(true);
    item_->setEnabled(route_.Route != TypingRoute::None);
    item_->setToolTip(route_.Description);
    factory_ = [this] {
        return OpenRouteSender(
            route_, [this] { return static_cast<unsigned long>(window_->winId()); },
            readPermission_(), keepPermission_);
    };
}

void TypingMode::KeepPermissionIn(std::function<std::string()> read,
                                  std::function<void(const std::string&)> keep) {
    readPermission_ = std::move(read);
    keepPermission_ = std::move(keep);
}

TypingMode::~TypingMode() = default;

void TypingMode::SetOn(bool on) {
    if (on == IsOn()) {
        item_->setChecked(on);
        return;
    }
    if (opening_) {  // the desktop is still asked; the window's events go on meanwhile
        item_->setChecked(false);
        return;
    }
    if (on) {
        line_ = TypedText();  // nothing typed yet
        waiting_.clear();
        // The desktop may ask its user first: the item says so until the answer comes.
        const QString text = item_->text();
        item_->setText(text + " (väntar på skrivbordets svar)");
        opening_ = true;
        try {
            sender_ = factory_();
        } catch (const std::exception& error) {
            opening_ = false;
            item_->setText(text);
            Fail(QString::fromUtf8(error.what()));
            return;
        }
        opening_ = false;
        item_->setText(text);
    } else {
        sender_.reset();
    }
    item_->setChecked(on);
    ApplyWindowFlags(on);
    if (changed_) changed_(on);
}

void TypingMode::Fetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter) {
    if (!IsOn()) return;
    for (const KeyAction& action : line_.Fetch(ch, lengthBefore, lengthAfter))
        waiting_.push_back(action);
    ButtonsReleased();
}

void TypingMode::ButtonsReleased() {
    if (!IsOn() || image_.ButtonHeld()) return;
    const std::vector<KeyAction> keys = std::exchange(waiting_, {});
    try {
        for (const KeyAction& action : keys)
            sender_->Send(action);
    } catch (const std::exception& error) {
        Fail(QString::fromUtf8(error.what()));
    }
}

QString TypingMode::CaptionNote() const {
    return IsOn() ? "  [Skriver i andra program]" : QString();
}

void TypingMode::Fail(const QString& message) {
    const bool wasOn = IsOn();
    sender_.reset();
    item_->setChecked(false);
    if (wasOn) ApplyWindowFlags(false);
    if (wasOn && changed_) changed_(false);
    // Turned on before the window is shown (--send-keys): the message waits to stand over it.
    if (window_->isVisible()) {
        dialogs_.ShowError(message);
    } else {
        QMetaObject::invokeMethod(
            window_, [this, message] { dialogs_.ShowError(message); }, Qt::QueuedConnection);
    }
}

// The window floats above the program being written into and never takes its focus.
void TypingMode::ApplyWindowFlags(bool on) {
    const bool shown = window_->isVisible();
    const Qt::WindowStates state = window_->windowState();
    window_->setWindowFlag(Qt::WindowDoesNotAcceptFocus, on);
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // A Wayland compositor gives a window it manages the focus when it appears and when the
    // pointer enters it; through Xwayland, a window it does not manage gets it only when
    // pressed, unless it says it is a utility window (a press on the panel writes a capital).
    if (WaylandSession() && QGuiApplication::platformName() == "xcb") {
        constexpr int kUtilityWindow = 0x20;  // _NET_WM_WINDOW_TYPE_UTILITY in Qt's xcb plugin
        window_->winId();                     // the property lives on the native window
        window_->windowHandle()->setProperty("_q_xcb_wm_window_type",
                                             on ? QVariant(kUtilityWindow) : QVariant());
        window_->setWindowFlag(Qt::X11BypassWindowManagerHint, on);
    }
    if (shown) {
        window_->setWindowState(state);
        window_->show();  // changing the flags hides a shown window
    }
}

}  // namespace glidtavla

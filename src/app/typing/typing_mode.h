#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "app/form/setting_values.h"
#include "typing/typed_text.h"
#include "typing/typing_route.h"

class QAction;
class QWidget;

namespace glidtavla {

class BoardImage;
class Dialogs;

// What typing keeps between runs.
struct TypingSettings {
    bool SendKeys = false;
    std::string PortalToken;  // the desktop's permission to type, kept from the last time
    static TypingSettings Read(const SettingValues& values);
    void Write(SettingValues& values) const;
};

// "Skriv i andra program": while on, the window stays above the others without ever taking
// the keyboard focus, and every fetch is typed into the program that has it.
class TypingMode {
  public:
    using SenderFactory = std::function<std::unique_ptr<KeySender>()>;

    // item is the menu's checkable item; it is disabled where the session gives no way to type
    // into other programs, and its tooltip tells the way or why there is none.
    // image is the board: while a button pressed on it is held, the keys wait (see Fetched).
    TypingMode(QWidget* window, QAction* item, Dialogs& dialogs, RouteChoice route,
               const BoardImage& image);
    ~TypingMode();

    bool IsOn() const { return sender_ != nullptr; }
    const RouteChoice& Route() const { return route_; }
    // Turning on opens the sender; a failure is shown once and leaves the mode off.
    void SetOn(bool on);
    // The keys of a fetch. While a button is held on the board (a shifted character, an
    // accepted completion) they wait for its release: a key event carries the pointer's button
    // state, and a screen reader or the receiver would read a held button as a modifier.
    void Fetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter);
    // The board's buttons are all up: what waited is typed.
    void ButtonsReleased();
    // What the caption adds while the mode is on.
    QString CaptionNote() const;
    // What opens the sender when the mode is turned on: the route's own sender by default;
    // tests type through a fake.
    void SetSenderFactory(SenderFactory factory) { factory_ = std::move(factory); }
    // Where the desktop's permission to type is read and kept between runs.
    void KeepPermissionIn(std::function<std::string()> read,
                          std::function<void(const std::string&)> keep);
    // Told whenever the mode goes on or off, also when a failure ends it.
    void SetListener(std::function<void(bool)> changed) { changed_ = std::move(changed); }

  private:
    void ApplyWindowFlags(bool on);
    void Fail(const QString& message);

    QWidget* window_;
    QAction* item_;
    Dialogs& dialogs_;
    RouteChoice route_;
    SenderFactory factory_;
    std::function<std::string()> readPermission_ = [] { return std::string(); };
    std::function<void(const std::string&)> keepPermission_ = [](const std::string&) {};
    bool opening_ = false;
    std::unique_ptr<KeySender> sender_;
    TypedText line_;
    const BoardImage& image_;
    std::vector<KeyAction> waiting_;
    std::function<void(bool)> changed_;
};

}  // namespace glidtavla

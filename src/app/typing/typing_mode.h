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
    TypingMode(QWidget* window, QAction* item, Dialogs& dialogs, RouteChoice route);
    ~TypingMode();

    bool IsOn() const { return sender_ != nullptr; }
    const RouteChoice& Route() const { return route_; }
    // Turning on opens the sender; a failure is shown once and leaves the mode off.
    void SetOn(bool on);
    void Fetched(uint8_t ch, std::size_t lengthBefore, std::size_t lengthAfter);
    // What the caption adds while the mode is on.
    QString CaptionNote() const;
    // What opens the sender when the mode is turned on; tests type through a fake.
    void SetSenderFactory(SenderFactory factory) { factory_ = std::move(factory); }
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
    std::unique_ptr<KeySender> sender_;
    TypedText line_;
    std::function<void(bool)> changed_;
};

}  // namespace glidtavla

#pragma once

#include <functional>

#include "app/form/guard.h"
#include "app/form/setting_values.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;

namespace glidtavla {

class BoardPicture;
class FormLayout;

// What the zoom keeps between runs.
struct ZoomSettings {
    int Percent = 100;
    bool ToWindow = false;  // "Anpassa till fönstret"
    bool operator==(const ZoomSettings&) const = default;
    static ZoomSettings Read(const SettingValues& values);
    void Write(SettingValues& values) const;
};

// "Förstora teckenbordet": the zoom menu, the picture drawn at the zoom, and the layout told
// the zoom. The engine, tables and demos stay in board pixels.
class WindowZoom {
  public:
    WindowZoom(QMainWindow* window, QLabel* image, FormLayout& layout, const BoardPicture& picture,
               QMenu* visa, const Guard& guarded);
    // Told after every change of the zoom the user would want kept, once the layout has placed
    // the controls at it.
    void OnChange(std::function<void()> changed) { changed_ = std::move(changed); }

    int Percent() const;
    bool FitsWindow() const;
    // What is kept: a remembered zoom the board is shown below stays the one remembered.
    ZoomSettings Current() const { return {wanted_ > 0 ? wanted_ : Percent(), FitsWindow()}; }
    // Any zoom at any time, also while a demo is recorded or played: demos are in board pixels.
    void Set(int percent);
    // The zoom of an earlier run, on a screen that may be smaller: the board is shown at the
    // largest zoom up to it at which it fits, until the user chooses one.
    void SetRemembered(int percent);
    // "Anpassa till fönstret": the largest zoom at which the board, the character cell, the
    // character line and a text area of five lines fit the window.
    void FitToWindow();
    void SetFitsWindow(bool on);
    // Once the window shows, every change places the controls; before, START does.
    void Activate();
    // Not told while the window is the compact panel: that is sized to the board.
    void WindowResized();
    // A board loaded or the screen changed: "Anpassa till fönstret" fits it again.
    void RefitToBoard();
    void RefreshPicture();

  private:
    void Show(int percent);
    void ShowWithinWindow();

    QMainWindow* window_;
    QLabel* image_;
    FormLayout& layout_;
    const BoardPicture& picture_;
    Guard guarded_;
    std::function<void()> changed_;
    QAction* fit_ = nullptr;
    bool active_ = false;
    int wanted_ = 0;  // the remembered zoom while it is not chosen anew
};

}  // namespace glidtavla

#pragma once

#include <cstdint>
#include <functional>

#include "app/form_controls.h"
#include "app/guard.h"

class QAction;
class QMainWindow;
class QMenu;

namespace glidtavla {

class BoardSession;
struct SelectionState;

// The board at a zoom in the window: the zoom menu, the picture drawn at the zoom, and the
// controls placed around the zoomed board with text that grows with it. The engine, tables and
// demos stay in board pixels.
class WindowZoom {
  public:
    // changed runs after every change of the zoom the user would want kept.
    WindowZoom(QMainWindow* window, const FormControls& controls, const BoardSession& board,
               const SelectionState& state, QMenu* visa, const Guard& guarded,
               std::function<void()> changed);

    int Percent() const { return percent_; }
    bool FitsWindow() const;
    // Any zoom at any time, also while a demo is recorded or played: demos are in board pixels.
    void Set(int percent);
    // "Anpassa till fönstret": the largest zoom at which the board, the character cell, the
    // character line and a text area of five lines fit the window.
    void FitToWindow();
    void SetFitsWindow(bool on);
    // Once the window shows, every change places the controls; before, START does.
    void Activate() { active_ = true; }
    void WindowResized();
    // A board loaded or the screen changed: "Anpassa till fönstret" fits it again.
    void RefitToBoard();

    // The controls below and right of a board of this size at the zoom; at 100 % every place
    // is the form's.
    void PlaceAround(int width, int height);
    // Where START puts the board, the read-outs, the character line and the text area.
    void PlaceStarted();
    // The board's source line right of the board.
    void PlaceSource();
    void RefreshPicture();
    // A pointer position in the image, in board pixels.
    int32_t ToBoard(int windowPixels) const;
    int ToWindow(int32_t boardPixels) const;

  private:
    void PlaceReadouts(int boardWidth);
    void ApplyTextSizes();
    void PlaceHelp();
    int64_t BelowBoard(int pixelsAt100) const;

    QMainWindow* window_;
    const FormControls& c_;
    const BoardSession& board_;
    const SelectionState& state_;
    std::function<void()> changed_;
    QAction* fit_ = nullptr;
    int percent_ = 100;
    bool active_ = false;
};

}  // namespace glidtavla

#pragma once

#include <QRect>
#include <QSize>

#include <cstdint>

#include "app/form/form_controls.h"

class QMainWindow;

namespace glidtavla {

struct CharacterBoard;

// The one owner of the controls' geometry: where the board, the read-outs, the character cell,
// the character line, the text area, the help panel, the demo marker and the compact panel
// stand, and how large they are, from the board's size, the zoom, the mode and the window's
// size. Zoom, prediction and the compact panel ask it; they never move a control themselves.
class FormLayout {
  public:
    // board is the board shown; engineBoard the one the engine writes on, wider by a word
    // column when one is shown. Both are kept by their owner for the window's lifetime.
    FormLayout(QMainWindow* window, const FormControls& controls, const CharacterBoard& board,
               const CharacterBoard& engineBoard);

    // The zoom in whole percent: text sizes follow at once; the places at the next Place call.
    int Percent() const { return percent_; }
    void SetPercent(int percent);
    // A pointer position in the image, in board pixels, and back.
    int32_t ToBoard(int windowPixels) const;
    int ToWindow(int32_t boardPixels) const;
    // A cell of board in the image at the zoom (column and row from 1).
    QRect CellRect(const CharacterBoard& board, int column, int row) const;

    // The controls below and right of a board of this size at the zoom; at 100 % every place
    // is the form's.
    void PlaceAround(int width, int height);
    void PlaceAroundBoard();
    // Every control at its own size and place for the zoom again, after the panel.
    void PlaceAtZoom();
    // Where START puts the board, the read-outs, the character line and the text area.
    void PlaceStarted();
    // The board's source line right of the board.
    void PlaceSource();
    // The board image reaches over a word column beside the board.
    void PlaceBoardImage();
    void PlaceDemoMarker(int32_t x, int32_t y);
    // The largest zoom at which the board, the character cell, the character line and a text
    // area of five lines fit the window's client area, with the read-outs beside the board or
    // (besideReadOuts false) not counted: the window scrolls to them.
    int ZoomToFitWindow(bool besideReadOuts = true) const;
    // The character line and the text area grow with their text, but no wider than the window.
    void FitLinesToWindow();
    // The compact panel: the board, the character cell and the character line, and the window
    // sized to hold them.
    void PlacePanel();
    // The help panel beside the board in the window's present size.
    void PlaceHelp();

  private:
    void PlaceReadouts(int boardWidth);
    int64_t BelowBoard(int pixelsAt100) const;
    int ImageWidth(int boardWidth) const;

    QMainWindow* window_;
    const FormControls& c_;
    const CharacterBoard& board_;
    const CharacterBoard& engine_;
    int percent_ = 100;
    const QSize helpSize_;  // the help panel where it has room
};

}  // namespace glidtavla

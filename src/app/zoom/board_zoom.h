#pragma once

#include <QImage>
#include <QPixmap>

#include <cstdint>

#include "board/character_board.h"

namespace glidtavla {

// The board is shown at a zoom, in whole percent; the engine, tables and demos keep working in
// board pixels.
constexpr int kMinZoom = 100;
constexpr int kMaxZoom = 400;

// Board pixels to window pixels, and back (rounded down, also below zero).
int64_t Zoomed(int64_t boardPixels, int percent);
int32_t Unzoomed(int windowPixels, int percent);

// How much the character cell, the character line and the text area grow: with the zoom, up
// to twice their size, so they stay readable without crowding out the board.
double TextFactor(int percent);

// The largest zoom at which a board, what stands below it (belowAt100 pixels at 100 %, growing
// by TextFactor) and what stands right of it (besideAt100, not growing) fit into available;
// kMinZoom when even that does not.
int ZoomToFit(int boardWidth, int boardHeight, int belowAt100, int besideAt100, int availableWidth,
              int availableHeight);

// What the board image shows, kept as its source so that every zoom draws it afresh: the
// built-in picture and a board drawn from its table are drawn at the zoom, a picture file is
// scaled smoothly.
class BoardPicture {
  public:
    void ShowBuiltIn() { kind_ = Kind::BuiltIn; }
    void ShowDrawn(const CharacterBoard& board) {
        kind_ = Kind::Drawn;
        drawn_ = board;
    }
    void ShowPicture(const QImage& picture) {
        kind_ = Kind::Picture;
        picture_ = picture;
    }
    // At percent, for a screen of devicePixelRatio.
    QPixmap At(int percent, qreal devicePixelRatio) const;

  private:
    enum class Kind { BuiltIn, Drawn, Picture };
    Kind kind_ = Kind::BuiltIn;
    CharacterBoard drawn_;
    QImage picture_;
};

}  // namespace glidtavla

#pragma once

#include <QImage>
#include <QPixmap>

#include "board/character_board.h"

namespace glidtavla {

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

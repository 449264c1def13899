#pragma once

#include <string>

#include "board/character_board.h"
#include "pictures/board_picture.h"

namespace glidtavla {

// The board the pointer writes on, the files it came from and the picture shown for it. A
// load takes its paths as arguments, so start-up, the remembered board and the menu's three
// board commands share one load each.
class BoardSession {
  public:
    BoardSession() { ShowBuiltIn(); }

    const CharacterBoard& Board() const { return board_; }
    // The board the engine writes on: the board, with a column of word slots beside it while
    // one is shown. Made again only when the board or the column changes, never per sample.
    const CharacterBoard& EngineBoard() const { return engine_; }
    void ShowWordColumn(bool shown);
    const BoardPicture& Picture() const { return picture_; }
    // The table and picture last chosen, loaded or not.
    const std::string& TablePath() const { return tablePath_; }
    const std::string& PicturePath() const { return picturePath_; }
    void Choose(std::string table, std::string picture = "");

    void ShowBuiltIn();
    // A table with its picture, all or nothing: a table or picture that fails leaves the board
    // that was shown, so the picture never shows one board while the pointer writes from
    // another. False, with nothing changed, when either file is missing.
    bool LoadWithPicture(const std::string& table, const std::string& picture);
    // A table drawn as its board; a table that fails halfway leaves what it gave.
    void LoadDrawn(const std::string& table);

  private:
    void BoardChanged();

    CharacterBoard board_;
    CharacterBoard engine_;
    bool column_ = false;
    BoardPicture picture_;
    std::string tablePath_, picturePath_;
};

}  // namespace glidtavla

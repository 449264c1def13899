#include "app/board_session.h"

#include "base/files.h"
#include "board/board_table.h"
#include "board/word_column.h"
#include "pictures/picture_file.h"

namespace glidtavla {

void BoardSession::Choose(std::string table, std::string picture) {
    tablePath_ = std::move(table);
    if (!picture.empty()) picturePath_ = std::move(picture);
}

void BoardSession::ShowBuiltIn() {
    ResetToBuiltInBoard(board_);
    picture_.ShowBuiltIn();
    BoardChanged();
}

void BoardSession::ShowWordColumn(bool shown) {
    if (shown == column_) return;
    column_ = shown;
    BoardChanged();
}

void BoardSession::BoardChanged() {
    engine_ = column_ ? WithWordColumn(board_, kMaxSlots) : board_;
}

bool BoardSession::LoadWithPicture(const std::string& table, const std::string& picture) {
    Choose(table, picture);
    if (!IsRegularFile(picture) || !IsRegularFile(table)) return false;
    CharacterBoard loaded = board_;
    LoadBoardTable(loaded, table);
    const QImage image = LoadPictureFile(picture);
    board_ = loaded;
    picture_.ShowPicture(image);
    BoardChanged();
    return true;
}

void BoardSession::LoadDrawn(const std::string& table) {
    Choose(table);
    // A table that fails halfway leaves what it gave: the engine writes on that too.
    struct Changed {
        BoardSession& session;
        ~Changed() { session.BoardChanged(); }
    } changed{*this};
    LoadBoardTable(board_, table);
    picture_.ShowDrawn(board_);  // drawn afresh on the built-in picture at every zoom
}

}  // namespace glidtavla

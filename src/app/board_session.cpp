#include "app/board_session.h"

#include "board/board_table.h"
#include "board/files.h"
#include "pictures/picture_file.h"

namespace glidtavla {

void BoardSession::Choose(std::string table, std::string picture) {
    tablePath_ = std::move(table);
    if (!picture.empty()) picturePath_ = std::move(picture);
}

void BoardSession::ShowBuiltIn() {
    ResetToBuiltInBoard(board_);
    picture_.ShowBuiltIn();
}

bool BoardSession::LoadWithPicture(const std::string& table, const std::string& picture) {
    Choose(table, picture);
    if (!IsRegularFile(picture) || !IsRegularFile(table)) return false;
    CharacterBoard loaded = board_;
    LoadBoardTable(loaded, table);
    const QImage image = LoadPictureFile(picture);
    board_ = loaded;
    picture_.ShowPicture(image);
    return true;
}

void BoardSession::LoadDrawn(const std::string& table) {
    Choose(table);
    LoadBoardTable(board_, table);
    picture_.ShowDrawn(board_);  // drawn afresh on the built-in picture at every zoom
}

}  // namespace glidtavla

#pragma once

#include <QJsonObject>

#include "board/character_board.h"

namespace glidtavla {

// The board as glidtavla-cli prints it: codes indexed [column - 1][row - 1].
QJsonObject BoardToJson(const CharacterBoard& board);

}  // namespace glidtavla

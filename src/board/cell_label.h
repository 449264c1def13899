#pragma once

#include <string>
#include <vector>

#include "board/character_board.h"

namespace glidtavla {

// The text drawn in a cell of a board drawn from its table (Windows-1252 bytes): the shifted
// character, or the key's two characters, or the control cell's name.
std::string CellLabel(const CharacterBoard& board, int column, int row);

// The labels of the cells in use, row by row.
std::vector<std::vector<std::string>> CellLabels(const CharacterBoard& board);

}  // namespace glidtavla

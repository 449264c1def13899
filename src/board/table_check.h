#pragma once

#include <string>
#include <vector>

#include "board/character_board.h"

namespace glidtavla {

// What the table reader made of a board table file, in words for the board's author.
struct TableCheck {
    std::vector<std::string> Lines;     // "line 2: column line, 7 values"
    std::string LineEnds;               // which line ends the file was read by
    std::string Summary;                // the resulting board
    std::vector<std::string> Warnings;  // traps of the format, each naming its line
    std::string Error;                  // the reader's error message, or empty
    std::string Fault;                  // where a number was wanted: "line 3, \"7x\"", or empty
};

// Reads the table at path over board (as the program would) and explains it.
TableCheck CheckBoardTable(CharacterBoard& board, const std::string& path);

}  // namespace glidtavla

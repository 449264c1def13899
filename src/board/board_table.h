#pragma once

#include <cstdint>
#include <string>

#include "base/text_reader.h"
#include "board/character_board.h"

namespace glidtavla {

enum class TableSection { Sensitivity, ColumnLine, RowLine, NormalBlock, Separator, ShiftBlock };

// Told what the reader makes of the file, for a board's author (glidtavla-cli board check).
class TableObserver {
  public:
    virtual ~TableObserver() = default;
    // A line of the file is taken in a role: row is the code or shift row, 0 for the others.
    virtual void OnLine(TableSection section, int row, int line) = 0;
    // A value stored (or, for Sensitivity, passed over), read from the given line of the file.
    virtual void OnValue(TableSection section, int row, int line, int32_t value) = 0;
};

constexpr int64_t kMaxTableFile = 64LL << 20;

// Reads the board table file at path over the board: only what the file gives is written.
// A file larger than kMaxTableFile is refused unread.
// On an error, everything written before it stays.
void LoadBoardTable(CharacterBoard& board, const std::string& path,
                    TableObserver* observer = nullptr);
void LoadBoardTable(CharacterBoard& board, TextReader& reader, TableObserver* observer = nullptr);

// The table text that gives the first columns x rows cells of a board as it stands: the column
// bounds, the row bounds and the codes, CR LF line ends, no shift block.
std::string WriteBoardTable(const CharacterBoard& board, int columns, int rows);

}  // namespace glidtavla

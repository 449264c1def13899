#include "board/board_table.h"

#include <algorithm>
#include <climits>

#include "base/errors.h"
#include "base/files.h"

namespace glidtavla {

namespace {

constexpr int32_t kSensitivityThreshold = 1000;

class TableReading {
  public:
    TableReading(CharacterBoard& board, TextReader& reader, TableObserver* observer)
        : board_(board), reader_(reader), observer_(observer) {}

    void Run() {
        ReadColumnLine();
        reader_.SkipLine();
        ReadRowLine();
        reader_.SkipLine();
        ReadNormalBlock();
        if (!reader_.AtEndOfFile()) {
            TellLine(TableSection::Separator, 0);
            reader_.SkipLine();
        }
        ReadShiftBlock();
    }

  private:
    // A bound's entry takes the digits converted before a fault, so read into it first.
    int32_t ReadInto(int32_t& entry) {
        const ValueRead read = reader_.TryReadValue();
        entry = read.Value;
        if (!read.Ok) throw IoError(kCodeInvalidNumericInput);
        return read.Value;
    }

    void TellLine(TableSection section, int row) {
        if (observer_ != nullptr) observer_->OnLine(section, row, reader_.LineNumber());
    }
    void Tell(TableSection section, int row, int32_t value) {
        // A token holds no line end, so the reader still stands on the value's line.
        if (observer_ != nullptr) observer_->OnValue(section, row, reader_.LineNumber(), value);
    }

    void ReadColumnLine() {
        TellLine(TableSection::ColumnLine, 0);
        int i = 1;
        while (!reader_.AtEndOfLine()) {
            int32_t v = ReadInto(board_.ColumnBounds[i]);
            if (v > kSensitivityThreshold) {
                Tell(TableSection::Sensitivity, 0, v);
                reader_.SkipLine();
                v = ReadInto(board_.ColumnBounds[i]);
            }
            Tell(TableSection::ColumnLine, 0, v);
            board_.BoardWidth = board_.ColumnBounds[i];
            i = std::min(i + 1, kMaxCells);
        }
    }

    void ReadRowLine() {
        TellLine(TableSection::RowLine, 0);
        int i = 1;
        while (!reader_.AtEndOfLine()) {
            const int32_t v = ReadInto(board_.RowBounds[i]);
            Tell(TableSection::RowLine, 0, v);
            board_.BoardHeight = v;
            board_.RowCount = static_cast<uint8_t>(i);
            i = std::min(i + 1, kMaxCells);
        }
    }

    void ReadNormalBlock() {
        for (int r = 1; !reader_.AtEndOfFile() && r <= board_.RowCount; ++r) {
            TellLine(TableSection::NormalBlock, r);
            int k = 1;
            while (!reader_.AtEndOfLine()) {
                int32_t v = 0;
                ReadInto(v);
                Tell(TableSection::NormalBlock, r, v);
                board_.NormalCodes[k][r] = static_cast<uint8_t>(v & 0xFF);
                k = std::min(k + 1, kMaxCells);
            }
            reader_.SkipLine();
        }
    }

    void ReadShiftBlock() {
        for (int r = 1; !reader_.AtEndOfFile(); r = r < INT_MAX ? r + 1 : r) {
            TellLine(TableSection::ShiftBlock, r);
            const int row = std::min(r, kMaxCells);  // a 21st and later line overwrite row 20
            int k = 1;
            while (!reader_.AtEndOfLine()) {
                int32_t v = 0;
                ReadInto(v);
                Tell(TableSection::ShiftBlock, r, v);
                board_.ShiftCodes[k][row] = v;
                k = std::min(k + 1, kMaxCells);
            }
            reader_.SkipLine();
        }
    }

    CharacterBoard& board_;
    TextReader& reader_;
    TableObserver* observer_;
};

}  // namespace

void LoadBoardTable(CharacterBoard& board, TextReader& reader, TableObserver* observer) {
    TableReading(board, reader, observer).Run();
}

void LoadBoardTable(CharacterBoard& board, const std::string& path, TableObserver* observer) {
    // A board's table is a few hundred bytes: a huge file would only hold the window up.
    if (const std::optional<FileStamp> file = StampOf(path); file && file->Size > kMaxTableFile)
        throw Error("Table file is too large (at most 64 MiB)");
    TextReader reader(path);  // closed on every way out, the error's included
    LoadBoardTable(board, reader, observer);
}

std::string WriteBoardTable(const CharacterBoard& board, int columns, int rows) {
    std::string table;
    const auto line = [&table](int count, const auto& value) {
        for (int i = 1; i <= count; ++i)
            table += std::to_string(value(i)) + (i < count ? " " : "\r\n");
    };
    line(columns, [&](int i) { return board.ColumnBounds[i]; });
    line(rows, [&](int i) { return board.RowBounds[i]; });
    for (int row = 1; row <= rows; ++row)
        line(columns, [&](int column) { return int{board.NormalCodes[column][row]}; });
    return table;
}

}  // namespace glidtavla

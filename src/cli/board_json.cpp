#include "cli/board_json.h"

#include <QJsonArray>

#include "board/cell_label.h"
#include "cli/cli_common.h"

namespace glidtavla {

namespace {

template <typename T>
QJsonArray Line(const CellLine<T>& line) {
    QJsonArray array;
    for (int i = 1; i <= kMaxCells; ++i)
        array.append(static_cast<qint64>(line[i]));
    return array;
}

template <typename T>
QJsonArray Table(const CellTable<T>& table) {
    QJsonArray columns;
    for (int column = 1; column <= kMaxCells; ++column)
        columns.append(Line(table[column]));
    return columns;
}

}  // namespace

QJsonObject BoardToJson(const CharacterBoard& board) {
    QJsonObject json;
    json["columnBounds"] = Line(board.ColumnBounds);
    json["rowBounds"] = Line(board.RowBounds);
    json["boardWidth"] = board.BoardWidth;
    json["boardHeight"] = board.BoardHeight;
    json["rowCount"] = board.RowCount;
    json["normalCodes"] = Table(board.NormalCodes);
    json["shiftCodes"] = Table(board.ShiftCodes);
    // What "Utan bild" draws in each cell in use, row by row: "SK", "SP", "A", "1!".
    QJsonArray labels;
    for (const std::vector<std::string>& row : CellLabels(board)) {
        QJsonArray cells;
        for (const std::string& label : row)
            cells.append(JsonText(label));
        labels.append(cells);
    }
    json["labels"] = labels;
    return json;
}

}  // namespace glidtavla

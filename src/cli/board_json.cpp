#include "cli/board_json.h"

#include <QJsonArray>

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
    return json;
}

}  // namespace glidtavla

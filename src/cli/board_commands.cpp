// glidtavla-cli board ...: tables. Drawing and pictures are glidtavla-cli-pictures's.
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "base/errors.h"
#include "board/board_table.h"
#include "board/cell_label.h"
#include "board/table_check.h"
#include "cli/board_json.h"
#include "cli/cli_common.h"

namespace glidtavla {

int BoardDumpCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Read a board table and print the board as JSON.");
    parser.addOption(kOverOption);
    parser.addPositionalArgument("TABLE", "The .tab file.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    CharacterBoard board;
    if (!StartBoard(parser, board)) return kExitUsage;

    QJsonValue error = QJsonValue::Null;
    try {
        LoadBoardTable(board, LocalPath(parser.positionalArguments()[0]));
    } catch (const Error& e) {
        error = QString::fromStdString(e.what());
        Print(stderr, std::string(e.what()) + "\n");
    }
    QJsonObject json = BoardToJson(board);
    json["error"] = error;
    Print(stdout, QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n");
    return error.isNull() ? kExitOk : kExitError;
}

int BoardCheckCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription("Explain how a board table is read, and warn about traps.");
    parser.addPositionalArgument("TABLE", "The .tab file.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;

    CharacterBoard board;
    ResetToBuiltInBoard(board);
    const TableCheck check = CheckBoardTable(board, LocalPath(parser.positionalArguments()[0]));
    for (const std::string& line : check.Lines)
        Print(stdout, line + "\n");
    Print(stdout, check.LineEnds + "\n");
    Print(stdout, check.Summary + "\n");
    if (check.Error.empty()) {
        int row = 0;
        for (const std::vector<std::string>& labels : CellLabels(board)) {
            QString line = QString("row %1:").arg(++row);
            for (const std::string& label : labels)
                line += " [" + JsonText(label) + "]";
            Print(stdout, line.toStdString() + "\n");
        }
    }
    for (const std::string& warning : check.Warnings)
        Print(stdout, "warning: " + warning + "\n");
    if (!check.Error.empty()) {
        Print(stderr, "error: " + check.Error +
                          (check.Fault.empty() ? "" : " (" + check.Fault + ")") + "\n");
        return kExitError;
    }
    return kExitOk;
}

}  // namespace glidtavla

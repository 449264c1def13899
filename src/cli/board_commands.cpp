// glidtavla-cli board ...: tables and pictures.
#include <QBuffer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "app/codec.h"
#include "board/board_table.h"
#include "board/errors.h"
#include "board/files.h"
#include "board/pictures/board_drawing.h"
#include "board/pictures/builtin_picture.h"
#include "board/pictures/picture_file.h"
#include "board/table_check.h"
#include "cli/board_json.h"
#include "cli/cli_common.h"

namespace glidtavla {

namespace {

int BoardDump(const QStringList& args) {
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

int BoardCheck(const QStringList& args) {
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
    for (const std::string& warning : check.Warnings)
        Print(stdout, "warning: " + warning + "\n");
    if (!check.Error.empty()) {
        Print(stdout, "error: " + check.Error + "\n");
        Print(stderr, check.Error + "\n");
        return kExitError;
    }
    return kExitOk;
}

int BoardDraw(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Draw the board a table gives, as \"Utan bild\" shows it, into a PNG of at least "
        "354 x 284 pixels.");
    parser.addOption(kOverOption);
    parser.addPositionalArgument("TABLE", "The .tab file.");
    parser.addPositionalArgument("OUT.png", "The picture to write.");
    if (!ParseSub(parser, args, 2)) return kExitUsage;
    CharacterBoard board;
    if (!StartBoard(parser, board)) return kExitUsage;
    try {
        LoadBoardTable(board, LocalPath(parser.positionalArguments()[0]));
    } catch (const Error& error) {
        Print(stderr, std::string(error.what()) + "\n");
        return kExitError;
    }
    const QImage picture = DrawnBoard(BuiltInBoardPicture(), board);
    // Encoded first, then written with every write checked: a full disk is a failure.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const std::string out = LocalPath(parser.positionalArguments()[1]);
    try {
        if (!picture.save(&buffer, "PNG")) throw Error("PNG");
        WriteRegularFile(out, png.toStdString());
    } catch (const Error& error) {
        Print(stderr, "Cannot create file " + out + " (" + error.what() + ")\n");
        return kExitError;
    }
    return kExitOk;
}

int BoardPicture(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Load a board picture as \"Med bild\" would and print its size, or why it fails.");
    parser.addPositionalArgument("PICTURE", "A .bmp, .ico, .emf or .wmf file.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    try {
        const QImage picture = LoadPictureFile(LocalPath(parser.positionalArguments()[0]));
        Print(stdout,
              std::to_string(picture.width()) + "x" + std::to_string(picture.height()) + "\n");
    } catch (const Error& error) {
        Print(stdout, std::string(error.what()) + "\n");
        return kExitError;
    }
    return kExitOk;
}

// args: the program, the sub-command, then its own arguments.
}  // namespace

int Board(const QStringList& args) {
    const QString command = args.size() > 1 ? args[1] : QString();
    const QStringList rest = QStringList{args[0] + " board " + command} + args.mid(2);
    if (command == "dump") return BoardDump(rest);
    if (command == "check") return BoardCheck(rest);
    if (command == "draw") return BoardDraw(rest);
    if (command == "picture") return BoardPicture(rest);
    if (command == "cost") return BoardCostCommand(rest);
    if (command == "make") return BoardMakeCommand(rest);
    Print(stderr, "usage: glidtavla-cli board dump|check|draw|picture|cost|make ...\n");
    return kExitUsage;
}

}  // namespace glidtavla

// glidtavla-cli: boards and demos without a window.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <cstdio>
#include <string>

#include "board/board_table.h"
#include "board/errors.h"
#include "board/table_check.h"
#include "cli/board_json.h"

namespace glidtavla {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void Print(FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
}

// Parses a sub-command's own options; on failure prints the reason and returns false.
bool ParseSub(QCommandLineParser& parser, const QStringList& args, int positionals) {
    parser.addHelpOption();
    if (!parser.parse(args)) {
        Print(stderr, parser.errorText().toStdString() + "\n");
        return false;
    }
    if (parser.isSet("help")) {
        Print(stdout, parser.helpText().toStdString());
        return false;
    }
    if (parser.positionalArguments().size() != positionals) {
        Print(stderr, parser.helpText().toStdString());
        return false;
    }
    return true;
}

// --over builtin|empty: what the table is read over.
bool StartBoard(const QCommandLineParser& parser, CharacterBoard& board) {
    const QString over = parser.value("over");
    if (over == "builtin") {
        ResetToBuiltInBoard(board);
    } else if (over == "empty") {
        board = CharacterBoard{};
    } else {
        Print(stderr, "--over takes builtin or empty\n");
        return false;
    }
    return true;
}

const QCommandLineOption kOverOption{"over",
                                     "Read the table over the built-in board or an "
                                     "all-zero one.",
                                     "builtin|empty", "builtin"};

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

// args: the program, the sub-command, then its own arguments.
int Board(const QStringList& args) {
    const QString command = args.size() > 1 ? args[1] : QString();
    const QStringList rest = QStringList{args[0] + " board " + command} + args.mid(2);
    if (command == "dump") return BoardDump(rest);
    if (command == "check") return BoardCheck(rest);
    Print(stderr, "usage: glidtavla-cli board dump|check ...\n");
    return kExitUsage;
}

}  // namespace
}  // namespace glidtavla

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("glidtavla-cli");
    QCoreApplication::setApplicationVersion("1.01");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Glidtavla's command-line tool.\n\n"
        "Commands:\n"
        "  board dump [--over builtin|empty] TABLE   print the board a table gives, as JSON\n"
        "  board check TABLE                        explain a table line by line");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command", "board");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) parser.showHelp(2);
    const QStringList rest = QStringList{app.arguments().first()} + args.mid(1);
    if (args[0] == "board") return glidtavla::Board(rest);
    std::fprintf(stderr, "unknown command: %s\n", qPrintable(args[0]));
    return 2;
}

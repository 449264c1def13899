// glidtavla-cli: boards and demos without a window.
#include <QCommandLineParser>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/codec.h"
#include "app/document.h"
#include "board/board_table.h"
#include "board/errors.h"
#include "board/pictures/board_drawing.h"
#include "board/pictures/builtin_picture.h"
#include "board/pictures/picture_file.h"
#include "board/table_check.h"
#include "cli/board_json.h"
#include "demo/demo_replay.h"
#include "demo/demo_typist.h"

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

const QCommandLineOption kBoardOption{"board", "Read TABLE over the built-in board first.",
                                      "TABLE"};

// The built-in board, or TABLE read over it; on a table error prints it and returns false.
bool LoadStartBoard(const QCommandLineParser& parser, CharacterBoard& board) {
    ResetToBuiltInBoard(board);
    if (!parser.isSet(kBoardOption)) return true;
    try {
        LoadBoardTable(board, LocalPath(parser.value(kBoardOption)));
    } catch (const Error& error) {
        Print(stderr, parser.value(kBoardOption).toStdString() + ": " + error.what() + "\n");
        return false;
    }
    return true;
}

// Text-area bytes as UTF-8, the code 13 kept as a CR.
QString JsonText(const std::string& bytes) {
    QString text = ToQString(bytes);
    text.replace(QChar(0x240D), QChar('\r'));
    return text;
}

QJsonObject TraceJson(const ReplayTick& tick) {
    QJsonObject json;
    json["x0"] = tick.X0;
    json["y0"] = tick.Y0;
    json["x1"] = static_cast<qint64>(tick.X1);
    json["y1"] = static_cast<qint64>(tick.Y1);
    json["column"] = tick.Cell.Column;
    json["row"] = tick.Cell.Row;
    json["ch"] = tick.ch;
    json["cell"] = ColourName(tick.CellColour);
    json["line"] = ColourName(tick.LineColour);
    json["armed"] = tick.Armed;
    json["shift"] = tick.ShiftHeld;
    json["fetched"] = tick.Fetched ? QJsonValue(*tick.Fetched) : QJsonValue(QJsonValue::Null);
    return json;
}

int ReplayCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Play a demo as the window would after START, and print the document it writes.");
    parser.addOption(kBoardOption);
    parser.addOption({"json", "Print one JSON object instead of the document."});
    parser.addOption({"trace", "With --json: one object per tick."});
    parser.addPositionalArgument("DEMO", "The .dem file.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;

    Replay replay;
    try {
        replay =
            ReplayDemo(board, LocalPath(parser.positionalArguments()[0]), parser.isSet("trace"));
    } catch (const Error& error) {
        Print(stderr, std::string(error.what()) + "\n");
        return kExitError;
    }
    if (!parser.isSet("json")) {
        Print(stdout, JoinDocument(replay.View.TextArea));
        Print(stderr, "character line: " + JsonText(replay.View.Line).toStdString() + "\n");
        for (const std::string& error : replay.Errors)
            Print(stderr, error + "\n");
        return kExitOk;
    }
    QJsonArray textArea, errors, trace;
    for (const std::string& line : TextAreaListed(replay.View.TextArea)) {
        textArea.append(JsonText(line));
    }
    for (const std::string& error : replay.Errors)
        errors.append(QString::fromStdString(error));
    for (const ReplayTick& tick : replay.Trace)
        trace.append(TraceJson(tick));
    QJsonObject json;
    json["textArea"] = textArea;
    json["characterLine"] = JsonText(replay.View.Line);
    json["samples"] = replay.Samples;
    json["errors"] = errors;
    if (parser.isSet("trace")) json["trace"] = trace;
    Print(stdout, QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n");
    return kExitOk;
}

int TypeCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Print a demo that writes TEXT when replayed (\\n in TEXT is a line feed).");
    parser.addOption(kBoardOption);
    parser.addPositionalArgument("TEXT", "The text to write.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;

    QString text = parser.positionalArguments()[0];
    text.replace("\\n", "\n");
    std::string bytes;
    for (const QChar c : text) {
        const std::string byte = c == '\n' ? std::string("\n") : FromQString(QString(c));
        if (byte == "?" && c != '?') {
            Print(stderr, "No cell of the board gives \"" + QString(c).toStdString() + "\"\n");
            return kExitError;
        }
        bytes += byte;
    }
    try {
        Print(stdout, TypeDemo(board, bytes));
    } catch (const Error& error) {
        Print(stderr, JsonText(error.what()).toStdString() + "\n");
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
    const QString out = parser.positionalArguments()[1];
    if (!picture.save(out, "PNG")) {
        Print(stderr, "Cannot create file " + LocalPath(out) + "\n");
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
int Board(const QStringList& args) {
    const QString command = args.size() > 1 ? args[1] : QString();
    const QStringList rest = QStringList{args[0] + " board " + command} + args.mid(2);
    if (command == "dump") return BoardDump(rest);
    if (command == "check") return BoardCheck(rest);
    if (command == "draw") return BoardDraw(rest);
    if (command == "picture") return BoardPicture(rest);
    Print(stderr, "usage: glidtavla-cli board dump|check|draw|picture ...\n");
    return kExitUsage;
}

}  // namespace
}  // namespace glidtavla

// Qt's own notes about the platform (a missing runtime folder and the like) are not the
// tool's output: standard error carries only the tool's messages.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Only drawing and pictures need Qt Gui; the rest starts without a platform, which is most of
// the time a short replay takes.
bool NeedsGui(int argc, char** argv) {
    const auto is = [&](int i, const char* word) {
        return i < argc && std::strcmp(argv[i], word) == 0;
    };
    return is(1, "board") && (is(2, "draw") || is(2, "picture"));
}

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietQt);
    // Drawing needs fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application;
    if (NeedsGui(argc, argv)) {
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    QCoreApplication::setApplicationName("glidtavla-cli");
    QCoreApplication::setApplicationVersion("1.01");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Glidtavla's command-line tool.\n\n"
        "Commands:\n"
        "  board dump [--over builtin|empty] TABLE   print the board a table gives, as JSON\n"
        "  board check TABLE                        explain a table line by line\n"
        "  board draw [--over builtin|empty] TABLE OUT.png   draw the board without picture\n"
        "  board picture PICTURE                    check a board picture\n"
        "  replay [--board TABLE] [--json] [--trace] DEMO   play a demo, print the document\n"
        "  type [--board TABLE] TEXT                print a demo that writes TEXT");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("command", "board, replay or type");
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty()) parser.showHelp(2);
    const QStringList rest = QStringList{app.arguments().first()} + args.mid(1);
    if (args[0] == "board") return glidtavla::Board(rest);
    const QStringList own = QStringList{rest[0] + " " + args[0]} + args.mid(1);
    if (args[0] == "replay") return glidtavla::ReplayCommand(own);
    if (args[0] == "type") return glidtavla::TypeCommand(own);
    std::fprintf(stderr, "unknown command: %s\n", qPrintable(args[0]));
    return 2;
}

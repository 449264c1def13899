#include "cli/cli_common.h"

#include <QFile>

#include <cstdlib>
#include <map>

#include "base/errors.h"
#include "base/windows1252.h"
#include "board/board_table.h"

namespace glidtavla {

namespace {

// The arguments as they were given: Qt decodes them, and a name that is not UTF-8 would not
// survive the way back.
std::map<QString, std::string>& GivenArguments() {
    static std::map<QString, std::string> given;
    return given;
}

}  // namespace

void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

void RememberArguments(int argc, char** argv) {
    for (int i = 0; i < argc; ++i)
        GivenArguments().emplace(QFile::decodeName(argv[i]), argv[i]);
}

std::string LocalPath(const QString& path) {
    const auto given = GivenArguments().find(path);
    return given != GivenArguments().end() ? given->second : QFile::encodeName(path).toStdString();
}

void Print(FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
}

namespace {

// The parser's help, its usage line naming the command as it is typed.
std::string HelpOf(const QCommandLineParser& parser, const QString& command) {
    QString help = parser.helpText();
    const qsizetype end = help.indexOf('\n');
    const QString usage = help.left(end);
    const qsizetype options = usage.indexOf(" [options]");
    help.replace(0, options < 0 ? end : options, "Usage: glidtavla-cli " + command);
    return help.toStdString();
}

}  // namespace

bool ParseSub(QCommandLineParser& parser, const QStringList& args, int positionals) {
    parser.addHelpOption();
    // args[0] is the program and the command's words.
    const QString command = args.isEmpty() ? QString() : args[0].section(' ', 1);
    if (!parser.parse(args)) {
        Print(stderr, parser.errorText().toStdString() + "\n" + HelpOf(parser, command));
        return false;
    }
    if (parser.isSet("help")) {
        Print(stdout, HelpOf(parser, command));
        std::exit(kExitOk);  // asked for: the help is the answer
    }
    const auto given = parser.positionalArguments().size();
    if (positionals >= 0 ? given != positionals : given < 1) {
        Print(stderr, HelpOf(parser, command));
        return false;
    }
    return true;
}

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

extern const QCommandLineOption kOverOption;
const QCommandLineOption kOverOption{"over",
                                     "Read the table over the built-in board or an "
                                     "all-zero one.",
                                     "builtin|empty", "builtin"};

const QCommandLineOption kBoardOption{"board", "Read TABLE over the built-in board first.",
                                      "TABLE"};

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

QString JsonText(const std::string& bytes) {
    const std::u32string text = DecodeWindows1252(bytes);
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace glidtavla

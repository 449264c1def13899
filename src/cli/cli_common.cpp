#include "cli/cli_common.h"

#include <QFile>

#include "app/codec.h"
#include "board/board_table.h"
#include "board/errors.h"

namespace glidtavla {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

void Print(FILE* stream, const std::string& text) {
    std::fputs(text.c_str(), stream);
}

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
    QString text = ToQString(bytes);
    text.replace(QChar(0x240D), QChar('\r'));
    return text;
}

}  // namespace glidtavla

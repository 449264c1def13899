// glidtavla-cli board cost and board make: what a board costs a text, and a board for a text.
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <map>

#include "board/errors.h"
#include "board/files.h"
#include "board/windows1252.h"
#include "cli/cli_common.h"
#include "model/board_cost.h"
#include "text/document.h"

namespace glidtavla {

namespace {

constexpr std::size_t kMaxCorpus = 64U << 20;

// A corpus: UTF-8, or Windows-1252 when it is not valid UTF-8. Its Windows-1252 bytes, and the
// characters that Windows-1252 cannot hold, with their counts.
struct Corpus {
    std::string bytes;
    std::map<QString, long long> unwritable;
};

bool ReadCorpus(const QString& path, Corpus& corpus) {
    bool tooLarge = false;
    std::string raw;
    try {
        raw = ReadRegularFile(LocalPath(path), kMaxCorpus, tooLarge);
    } catch (const Error& error) {
        Print(stderr, "Cannot open file " + LocalPath(path) + " (" + error.what() + ")\n");
        return false;
    }
    if (tooLarge) {
        Print(stderr, LocalPath(path) + ": a corpus of at most 64 MiB, please\n");
        return false;
    }
    if (EncodingOf(raw) == TextEncoding::Windows1252) {
        corpus.bytes = raw;
        return true;
    }
    for (const char32_t c : QString::fromStdString(raw).toUcs4()) {
        if (const std::optional<uint8_t> byte = Windows1252Byte(c)) {
            corpus.bytes += static_cast<char>(*byte);
        } else {
            ++corpus.unwritable[QString::fromUcs4(&c, 1)];
        }
    }
    return true;
}

QString CodeText(uint8_t code) {
    if (code == kCodeLineFeed) return "\n";
    const char32_t c = Windows1252Char(code);
    return QString::fromUcs4(&c, 1);
}

}  // namespace

int BoardCostCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Model writing a text on a board: what it cannot write, the left button, the path, "
        "Fitts' index of difficulty and the speed for a mouse, a trackball and a head mouse.");
    parser.addOption(kBoardOption);
    parser.addOption({"json", "Print one JSON object."});
    parser.addPositionalArgument("CORPUS", "A text file, UTF-8 or Windows-1252.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;
    Corpus corpus;
    if (!ReadCorpus(parser.positionalArguments()[0], corpus)) return kExitError;
    const BoardCost cost = CostOfText(board, corpus.bytes);

    std::map<QString, long long> missing = corpus.unwritable;
    long long characters = cost.Characters;
    for (const auto& [text, count] : corpus.unwritable)
        characters += count;
    for (const auto& [code, count] : cost.Missing)
        missing[CodeText(code)] += count;

    if (parser.isSet("json")) {
        QJsonObject missingJson, profiles;
        for (const auto& [text, count] : missing)
            missingJson[text] = count;
        for (std::size_t i = 0; i < kPointerProfiles.size(); ++i) {
            QJsonObject speed;
            speed["charactersPerMinute"] = cost.Speeds[i].CharactersPerMinute;
            speed["wordsPerMinute"] = cost.Speeds[i].WordsPerMinute;
            profiles[kPointerProfiles[i].Name] = speed;
        }
        QJsonObject json;
        json["characters"] = characters;
        json["missing"] = missingJson;
        json["shiftShare"] = cost.ShiftShare;
        json["pathPerCharacter"] = cost.PathPerCharacter;
        json["indexOfDifficulty"] = cost.IndexOfDifficulty;
        json["profiles"] = profiles;
        Print(stdout, QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() + "\n");
        return kExitOk;
    }
    QString text = QString("characters: %1\n").arg(characters);
    for (const auto& [character, count] : missing) {
        const QString shown = character == "\n" ? "LF" : character == " " ? "SP" : character;
        text += QString("missing: %1 (%2 times)\n").arg(shown).arg(count);
    }
    text += QString("left button: %1 % of the characters\n").arg(100 * cost.ShiftShare, 0, 'f', 1);
    text += QString("path: %1 pixels a character, out and back\n")
                .arg(cost.PathPerCharacter, 0, 'f', 1);
    text +=
        QString("index of difficulty: %1 bits a movement\n").arg(cost.IndexOfDifficulty, 0, 'f', 2);
    for (std::size_t i = 0; i < kPointerProfiles.size(); ++i) {
        text += QString("%1: %2 characters, %3 words a minute\n")
                    .arg(kPointerProfiles[i].Name, -10)
                    .arg(cost.Speeds[i].CharactersPerMinute, 0, 'f', 1)
                    .arg(cost.Speeds[i].WordsPerMinute, 0, 'f', 1);
    }
    Print(stdout, text.toStdString());
    return kExitOk;
}

int BoardMakeCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Make a board table for a text: the most frequent characters in the cells that cost "
        "least.");
    parser.addOption({"columns", "Columns, 3 to 20.", "C"});
    parser.addOption({"rows", "Rows, 3 to 20.", "R"});
    parser.addOption({"cell", "Cell size in pixels (default 50x40).", "WxH", "50x40"});
    parser.addOption({"keep-controls", "SP, BS, LF and DL where the built-in board has them."});
    parser.addPositionalArgument("CORPUS", "A text file, UTF-8 or Windows-1252.");
    parser.addPositionalArgument("OUT.tab", "The table to write.");
    if (!ParseSub(parser, args, 2)) return kExitUsage;
    bool columnsOk = false, rowsOk = false;
    const int columns = parser.value("columns").toInt(&columnsOk);
    const int rows = parser.value("rows").toInt(&rowsOk);
    const QRegularExpressionMatch cell =
        QRegularExpression("^(\\d{1,4})x(\\d{1,4})$").match(parser.value("cell"));
    if (!columnsOk || !rowsOk || !cell.hasMatch()) {
        Print(stderr, "--columns and --rows take whole numbers, --cell takes WxH\n");
        return kExitUsage;
    }
    Corpus corpus;
    if (!ReadCorpus(parser.positionalArguments()[0], corpus)) return kExitError;
    std::vector<uint8_t> leftOut;
    std::string table;
    try {
        table = MakeBoardTable(corpus.bytes, columns, rows, cell.captured(1).toInt(),
                               cell.captured(2).toInt(), parser.isSet("keep-controls"), leftOut);
    } catch (const Error& error) {
        Print(stderr, std::string(error.what()) + "\n");
        return kExitUsage;
    }
    const std::string out = LocalPath(parser.positionalArguments()[1]);
    try {
        WriteRegularFile(out, table);
    } catch (const Error& error) {
        Print(stderr, "Cannot create file " + out + " (" + error.what() + ")\n");
        return kExitError;
    }
    if (!leftOut.empty()) {
        QString names;
        for (const uint8_t code : leftOut)
            names += (names.isEmpty() ? "" : " ") + CodeText(code);
        Print(stderr, "no cell left for: " + names.toStdString() + "\n");
    }
    for (const auto& [text, count] : corpus.unwritable) {
        Print(stderr, "not in Windows-1252, so no cell: " + text.toStdString() + "\n");
    }
    return kExitOk;
}

}  // namespace glidtavla

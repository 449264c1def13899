// glidtavla-cli board cost and board make: what a board costs a text, and a board for a text.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <map>
#include <optional>

#include "base/errors.h"
#include "base/files.h"
#include "base/windows1252.h"
#include "cli/cli_common.h"
#include "model/board_cost.h"
#include "model/prediction_cost.h"
#include "predict/calibration.h"
#include "predict/model_files.h"
#include "text/document.h"

namespace glidtavla {

namespace {

constexpr std::size_t kMaxCorpus = 64U << 20;

// A corpus: UTF-8, or Windows-1252 when it is not valid UTF-8. Its Windows-1252 bytes, and the
// characters that Windows-1252 cannot hold, with their counts.
struct Corpus {
    std::string Bytes;
    std::map<QString, long long> Unwritable;
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
        corpus.Bytes = raw;
        return true;
    }
    for (const char32_t c : QString::fromStdString(raw).toUcs4()) {
        if (const std::optional<uint8_t> byte = Windows1252Byte(c)) {
            corpus.Bytes += static_cast<char>(*byte);
        } else {
            ++corpus.Unwritable[QString::fromUcs4(&c, 1)];
        }
    }
    return true;
}

bool ReadProfile(const std::string& path, PredictionOptions& options) {
    bool tooLarge = false;
    std::string json;
    try {
        json = ReadRegularFile(path, 4096, tooLarge);
    } catch (const Error& error) {
        Print(stderr, "Cannot open file " + path + " (" + error.what() + ")\n");
        return false;
    }
    options.Writer = tooLarge ? std::nullopt : ParseWriterFit(json);
    if (!options.Writer) Print(stderr, path + ": not a writer's fit (stats --fit writes one)\n");
    return options.Writer.has_value();
}

QString CodeText(uint8_t code) {
    if (code == kCodeLineFeed) return "\n";
    const char32_t c = Windows1252Char(code);
    return QString::fromUcs4(&c, 1);
}

}  // namespace

// The prediction and glide options of board cost; false with a message when one is wrong.
bool ReadPredictionOptions(const QCommandLineParser& parser, PredictionOptions& options) {
    const QString mode = parser.value("predict");
    const std::map<QString, PredictionMode> modes = {
        {"none", PredictionMode::None},
        {"centre", PredictionMode::Centre},
        {"column", PredictionMode::Column},
        {"centre+column", PredictionMode::CentreAndColumn}};
    bool ok = modes.contains(mode);
    if (ok) options.Mode = modes.at(mode);
    const QString glide = parser.value("glide");
    ok = ok && (glide == "out-back" || glide == "chained");
    options.Glide = glide == "chained" ? GlideKind::Chained : GlideKind::OutAndBack;
    const auto number = [&](const char* name, double low, double high, double& out) {
        if (!parser.isSet(name)) return;
        bool read = false;
        out = parser.value(name).toDouble(&read);
        ok = ok && read && out >= low && out <= high;
    };
    double suggestions = options.Suggestions;
    number("suggestions", 1, 7, suggestions);
    options.Suggestions = static_cast<int>(suggestions);
    number("threshold", 0, 1, options.Threshold);
    number("look-a", 0, 60, options.LookA);
    number("look-b", 0, 60, options.LookB);
    options.LearnOnline = parser.isSet("learn-online");
    options.AutoSpace = parser.isSet("auto-space");
    options.Calibrated = parser.isSet("calibrated");
    if (!ok) {
        Print(stderr,
              "--predict takes none, centre, column or centre+column, --glide out-back or "
              "chained, --suggestions 1 to 7, --threshold 0 to 1, --look-a and --look-b "
              "seconds\n");
    }
    return ok;
}

int BoardCostCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Model writing a text on a board: what it cannot write, the left button, the path, "
        "Fitts' index of difficulty and the speed for a mouse, a trackball and a head mouse, "
        "with word prediction and chained glides if asked.");
    parser.addOption(kBoardOption);
    parser.addOption({"json", "Print one JSON object."});
    parser.addOption(
        {"predict", "Word prediction: none, centre, column or centre+column.", "MODE", "none"});
    parser.addOption(
        {"suggestions", "Words shown in all, the centre's among them (default 5).", "N"});
    parser.addOption({"threshold",
                      "Least probability for the centre completion (default: each profile's).",
                      "T"});
    parser.addOption(
        {"glide", "out-back (to the centre each time) or chained.", "KIND", "out-back"});
    parser.addOption({"model", "A word model file (default: the installed one).", "FILE"});
    parser.addOption(
        {"larger-model", "The larger installed model, of more text (it adds dasher-data's)."});
    parser.addOption({"learn-online", "The model learns each line once it is written."});
    parser.addOption({"auto-space", "A space after . , ; : ! ? as the window writes it."});
    parser.addOption({"calibrated",
                      "The centre completion is weighed by how often the model's guesses at its "
                      "probability were right, as the build measured."});
    parser.addOption({"calibration",
                      "Also how often the model's likeliest completion is right on the text, by "
                      "its probability (the calibrated one with --calibrated)."});
    parser.addOption({"look-a", "Seconds to look at suggestions: A + B log2(N + 1); A.", "A"});
    parser.addOption({"look-b", "B of the look time (default 0.15).", "B"});
    parser.addOption({"profile",
                      "A writer's own fit (JSON of stats --fit, or the window's Min skrivtakt), "
                      "modelled beside the pointer kinds.",
                      "FILE"});
    parser.addPositionalArgument("CORPUS", "A text file, UTF-8 or Windows-1252.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    PredictionOptions options;
    if (!ReadPredictionOptions(parser, options)) return kExitUsage;
    if (parser.isSet("model") && parser.isSet("larger-model")) {
        Print(stderr, "Give --model or --larger-model, not both\n");
        return kExitUsage;
    }
    if (parser.isSet("profile") && !ReadProfile(LocalPath(parser.value("profile")), options))
        return kExitError;
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;
    Corpus corpus;
    if (!ReadCorpus(parser.positionalArguments()[0], corpus)) return kExitError;
    const BoardCost cost = CostOfText(board, corpus.Bytes);
    std::optional<PredictionCost> predicted;
    const bool calibration = parser.isSet("calibration");
    std::optional<CalibrationTable> table;
    if (options.Mode != PredictionMode::None || options.Glide != GlideKind::OutAndBack ||
        options.Writer || options.AutoSpace || calibration) {
        WordModel model;
        try {
            if (options.Mode != PredictionMode::None || calibration)
                model = parser.isSet("model")
                            ? LoadWordModel(LocalPath(parser.value("model")), "")
                            : LoadWordModel(parser.isSet("larger-model") ? LargerModelPath()
                                                                         : BaseModelPath(),
                                            kSystemWordCounts);
        } catch (const Error& error) {
            Print(stderr, std::string(error.what()) + "\n");
            return kExitError;
        }
        predicted = CostWithPrediction(board, corpus.Bytes, model, options);
        if (calibration) table = MeasureCalibration(model, corpus.Bytes, options.Calibrated);
    }
    // The pointer kinds, and the writer's own fit when one is given.
    std::vector<std::pair<QString, ProfileCost>> rows;
    for (std::size_t i = 0; i < kPointerProfiles.size(); ++i) {
        ProfileCost row;
        if (predicted) {
            row = predicted->Profiles[i];
        } else {
            row.Speed = cost.Speeds[i];
        }
        rows.emplace_back(kPointerProfiles[i].Name, row);
    }
    if (predicted && predicted->Writer) rows.emplace_back("writer", *predicted->Writer);

    std::map<QString, long long> missing = corpus.Unwritable;
    long long characters = cost.Characters;
    for (const auto& [text, count] : corpus.Unwritable)
        characters += count;
    for (const auto& [code, count] : cost.Missing)
        missing[CodeText(code)] += count;

    if (parser.isSet("json")) {
        QJsonObject missingJson, profiles;
        for (const auto& [text, count] : missing)
            missingJson[text] = count;
        for (const auto& [name, row] : rows) {
            QJsonObject profile;
            profile["charactersPerMinute"] = row.Speed.CharactersPerMinute;
            profile["wordsPerMinute"] = row.Speed.WordsPerMinute;
            profile["looksPerCharacter"] = row.LooksPerCharacter;
            profile["breakEvenLookSeconds"] = row.BreakEvenLookSeconds;
            profiles[name] = profile;
        }
        QJsonObject json;
        json["characters"] = characters;
        json["missing"] = missingJson;
        json["shiftShare"] = cost.ShiftShare;
        json["pathPerCharacter"] = cost.PathPerCharacter;
        json["indexOfDifficulty"] = cost.IndexOfDifficulty;
        json["keystrokeSavings"] = predicted ? predicted->KeystrokeSavings : 0;
        json["profiles"] = profiles;
        if (table) {
            QJsonArray bins;
            for (const CalibrationBin& bin : *table) {
                bins.append(QJsonObject{{"shown", qint64(bin.Shown)},
                                        {"meanProbability", bin.MeanProbability},
                                        {"right", bin.Right}});
            }
            json["calibration"] = bins;
        }
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
    if (predicted) {
        text +=
            QString("keystroke savings: %1 %\n").arg(100 * predicted->KeystrokeSavings, 0, 'f', 1);
    }
    for (const auto& [name, row] : rows) {
        text += QString("%1: %2 characters, %3 words a minute\n")
                    .arg(name, -10)
                    .arg(row.Speed.CharactersPerMinute, 0, 'f', 1)
                    .arg(row.Speed.WordsPerMinute, 0, 'f', 1);
    }
    if (table) {
        text += "likeliest completion: probability, shown, mean probability, right\n";
        for (std::size_t bin = 0; bin < table->size(); ++bin) {
            const CalibrationBin& b = (*table)[bin];
            text += QString("  %1-%2: %3, %4, %5\n")
                        .arg(double(bin) / 10, 0, 'f', 1)
                        .arg(double(bin + 1) / 10, 0, 'f', 1)
                        .arg(b.Shown, 6)
                        .arg(b.MeanProbability, 0, 'f', 2)
                        .arg(b.Right, 0, 'f', 2);
        }
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
    parser.addOption({"square", "Square cells, as wide as --cell gives them."});
    parser.addOption(
        {"shift-cell", "A shift cell (code 14), for writing capitals without a button."});
    parser.addOption({"chained",
                      "Arrange the cells for chained glides over the text's pairs of characters "
                      "(with the digits, é and the apostrophe)."});
    parser.addOption({"words", "Word slots for predicted words, 0 to 6 (codes 2 to 7).", "N", "0"});
    parser.addPositionalArgument("CORPUS", "A text file, UTF-8 or Windows-1252.");
    parser.addPositionalArgument("OUT.tab", "The table to write.");
    if (!ParseSub(parser, args, 2)) return kExitUsage;
    bool columnsOk = false, rowsOk = false;
    const int columns = parser.value("columns").toInt(&columnsOk);
    const int rows = parser.value("rows").toInt(&rowsOk);
    const QRegularExpressionMatch cell =
        QRegularExpression("^(\\d{1,4})x(\\d{1,4})$").match(parser.value("cell"));
    bool wordsOk = false;
    const int words = parser.value("words").toInt(&wordsOk);
    if (!columnsOk || !rowsOk || !cell.hasMatch() || !wordsOk) {
        Print(stderr, "--columns, --rows and --words take whole numbers, --cell takes WxH\n");
        return kExitUsage;
    }
    Corpus corpus;
    if (!ReadCorpus(parser.positionalArguments()[0], corpus)) return kExitError;
    std::vector<uint8_t> leftOut;
    std::string table;
    try {
        const int width = cell.captured(1).toInt();
        const int height = parser.isSet("square") ? width : cell.captured(2).toInt();
        table = MakeBoardTable(corpus.Bytes, columns, rows, width, height,
                               parser.isSet("keep-controls"), words, parser.isSet("shift-cell"),
                               leftOut, parser.isSet("chained"));
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
    for (const auto& [text, count] : corpus.Unwritable) {
        Print(stderr, "not in Windows-1252, so no cell: " + text.toStdString() + "\n");
    }
    return kExitOk;
}

}  // namespace glidtavla

// glidtavla-cli replay, stats and type: demos without a window.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include "base/errors.h"
#include "base/windows1252.h"
#include "cli/cli_common.h"
#include "demo/demo_replay.h"
#include "demo/demo_stats.h"
#include "demo/demo_typist.h"
#include "model/writer_fit.h"
#include "text/document.h"

namespace glidtavla {

namespace {

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

}  // namespace

namespace {

std::string Compact(const QJsonObject& json) {
    return QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString();
}

// Errors as they were kept, and how many more there were.
std::string ErrorSummary(const Replay& replay) {
    return replay.MoreErrors == 0
               ? std::string()
               : "... and " + std::to_string(replay.MoreErrors) + " more errors\n";
}

}  // namespace

int ReplayCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Play a demo as the window would after START, and print the document it writes.");
    parser.addOption(kBoardOption);
    parser.addOption({"json", "Print one JSON object instead of the document."});
    parser.addOption({"trace", "With --json: one object per tick."});
    parser.addOption({"raw", "The document's own bytes (Windows-1252), not the terminal's UTF-8."});
    parser.addOption({"guard",
                      "Replay with the tremor guard of the window's Darrskydd: a cell changes "
                      "only PIXELS past its edge (the engine then arms by itself).",
                      "PIXELS", "0"});
    parser.addPositionalArgument("DEMO", "The .dem file.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    bool guardOk = false;
    const int guard = parser.value("guard").toInt(&guardOk);
    if (!guardOk || guard < 0 || guard > 100) {
        Print(stderr, "--guard takes pixels, 0 to 100\n");
        return kExitUsage;
    }
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;
    const bool json = parser.isSet("json");
    const bool trace = parser.isSet("trace");
    if (trace && !json) {
        Print(stderr, "--trace needs --json\n");
        return kExitUsage;
    }

    // The trace is printed as the ticks come, so a long demo needs no memory for it; the
    // object's other fields follow it.
    bool first = true;
    const TickObserver printTicks = [&first](std::span<const ReplayTick> ticks) {
        for (const ReplayTick& tick : ticks) {
            if (!first) Print(stdout, ",");
            Print(stdout, Compact(TraceJson(tick)));
            first = false;
        }
    };
    Replay replay;
    try {
        if (trace) Print(stdout, "{\"trace\":[");
        replay = ReplayDemo(board, LocalPath(parser.positionalArguments()[0]),
                            trace ? printTicks : TickObserver(), guard);
    } catch (const Error& error) {
        if (trace) Print(stdout, "]}\n");
        Print(stderr, std::string(error.what()) + "\n");
        return kExitError;
    }
    const long long malformed = static_cast<long long>(replay.Errors.size()) + replay.MoreErrors;
    const int status = malformed > 0 ? kExitError : kExitOk;
    if (!json) {
        const std::string document = JoinDocument(replay.View.TextArea);
        // The terminal's encoding (UTF-8); --raw gives the document's own bytes.
        Print(stdout, parser.isSet("raw") ? document : Windows1252ToUtf8(document));
        Print(stderr, "character line: " + JsonText(replay.View.Line).toStdString() + "\n");
        for (const std::string& error : replay.Errors)
            Print(stderr, error + "\n");
        Print(stderr, ErrorSummary(replay));
        if (malformed > 0) Print(stderr, std::to_string(malformed) + " malformed lines\n");
        return status;
    }
    QJsonArray textArea, errors;
    for (const std::string& line : TextAreaListed(replay.View.TextArea)) {
        textArea.append(JsonText(line));
    }
    for (const std::string& error : replay.Errors)
        errors.append(QString::fromStdString(error));
    QJsonObject result;
    result["textArea"] = textArea;
    result["characterLine"] = JsonText(replay.View.Line);
    result["samples"] = replay.Samples;
    result["errors"] = errors;
    result["moreErrors"] = replay.MoreErrors;
    const std::string fields = Compact(result);
    Print(stdout, trace ? "]," + fields.substr(1) + "\n" : fields + "\n");
    if (malformed > 0) Print(stderr, std::to_string(malformed) + " malformed lines\n");
    return status;
}

int StatsCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Replay a demo as the window would (one sample every 50 ms) and tell how it was "
        "written.");
    parser.addOption(kBoardOption);
    parser.addOption({"json", "Print one JSON object."});
    parser.addOption({"fit",
                      "Fit the writer's throughput (Fitts' a and b, bits/s with a at 0) from the "
                      "glides of one demo or more, as JSON for board cost --profile."});
    parser.addPositionalArgument("DEMO", "The .dem file (with --fit, one or more).");
    const bool fit = args.contains("--fit");
    if (!ParseSub(parser, args, fit ? -1 : 1)) return kExitUsage;
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;
    if (fit) {
        GlideMeter meter;
        try {
            for (const QString& demo : parser.positionalArguments())
                MeasureDemo(board, LocalPath(demo), meter);
        } catch (const Error& error) {
            Print(stderr, std::string(error.what()) + "\n");
            return kExitError;
        }
        const WriterFit found =
            FitWriter(meter.Glides(), meter.RestsWithCompletion(), meter.RestsWithout());
        if (found.Glides == 0) {
            Print(stderr, "no glide out and back to fit\n");
            return kExitError;
        }
        Print(stdout, WriterFitJson(found));
        return kExitOk;
    }
    DemoStats stats;
    try {
        stats = StatsOfDemo(board, LocalPath(parser.positionalArguments()[0]));
    } catch (const Error& error) {
        Print(stderr, std::string(error.what()) + "\n");
        return kExitError;
    }
    if (parser.isSet("json")) {
        QJsonObject controls;
        controls["SP"] = stats.SpaceFetches;
        controls["BS"] = stats.BackspaceFetches;
        controls["LF"] = stats.LineFeedFetches;
        controls["DL"] = stats.DeleteLineFetches;
        QJsonObject json;
        json["samples"] = stats.Samples;
        json["seconds"] = stats.Seconds;
        json["characters"] = stats.Characters;
        json["words"] = stats.Words;
        json["charactersPerMinute"] = stats.CharactersPerMinute;
        json["pathPerCharacter"] = stats.PathPerCharacter;
        json["controlFetches"] = controls;
        json["emptyFetches"] = stats.EmptyFetches;
        json["errors"] = stats.Errors;
        Print(stdout, Compact(json) + "\n");
        if (stats.Errors > 0) Print(stderr, std::to_string(stats.Errors) + " malformed lines\n");
        return stats.Errors > 0 ? kExitError : kExitOk;
    }
    char text[1024];
    std::snprintf(text, sizeof text,
                  "samples:              %lld (%.2f s of writing at 20 samples a second)\n"
                  "characters written:   %lld, in %lld words\n"
                  "speed:                %.1f characters a minute\n"
                  "pointer path:         %.1f pixels a character\n"
                  "control fetches:      SP %lld, BS %lld, LF %lld, DL %lld\n"
                  "gestures that wrote nothing: %lld\n",
                  stats.Samples, stats.Seconds, stats.Characters, stats.Words,
                  stats.CharactersPerMinute, stats.PathPerCharacter, stats.SpaceFetches,
                  stats.BackspaceFetches, stats.LineFeedFetches, stats.DeleteLineFetches,
                  stats.EmptyFetches);
    Print(stdout, text);
    if (stats.Errors > 0) Print(stderr, std::to_string(stats.Errors) + " malformed lines\n");
    return stats.Errors > 0 ? kExitError : kExitOk;
}

int TypeCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Print a demo that writes TEXT when replayed (\\n in TEXT is a line feed).");
    parser.addOption(kBoardOption);
    parser.addOption({"chained",
                      "Chained glides: turn back only as far as the way out to the next "
                      "character needs, not to the centre."});
    parser.addOption({"jitter",
                      "A real pointer instead: straight out and back, a sample every two "
                      "pixels, each with Gaussian noise of SIGMA pixels.",
                      "SIGMA"});
    parser.addOption({"seed", "The noise's seed (default 1).", "N", "1"});
    parser.addOption({"throughput",
                      "A pointer of this throughput, out and back: each movement takes Fitts' "
                      "index over BITS a second, sampled every 50 ms (with --jitter too).",
                      "BITS"});
    parser.addPositionalArgument("TEXT", "The text to write.");
    if (!ParseSub(parser, args, 1)) return kExitUsage;
    bool sigmaOk = true, seedOk = false;
    const double sigma = parser.isSet("jitter") ? parser.value("jitter").toDouble(&sigmaOk) : 0;
    const uint seed = parser.value("seed").toUInt(&seedOk);
    const bool timed = parser.isSet("throughput");
    bool throughputOk = true;
    const double throughput = timed ? parser.value("throughput").toDouble(&throughputOk) : 0;
    if (!sigmaOk || !seedOk || !(sigma >= 0 && sigma <= 100) ||  // NaN is neither
        !throughputOk || !(throughput >= 0 && throughput <= 100) || (timed && throughput == 0) ||
        ((parser.isSet("jitter") || timed) && parser.isSet("chained"))) {
        Print(stderr,
              "--jitter takes pixels (0 to 100), --throughput bits a second (above 0, to 100) and "
              "--seed a whole number; both glide out and back, not --chained\n");
        return kExitUsage;
    }
    CharacterBoard board;
    if (!LoadStartBoard(parser, board)) return kExitError;

    QString text = parser.positionalArguments()[0];
    text.replace("\\n", "\n");
    std::string bytes;
    for (const char32_t c : text.toUcs4()) {
        const std::optional<uint8_t> byte = Windows1252Byte(c);
        if (!byte) {
            Print(stderr, "No cell of the board gives \"" + QString::fromUcs4(&c, 1).toStdString() +
                              "\"\n");
            return kExitError;
        }
        bytes += static_cast<char>(*byte);
    }
    try {
        Print(stdout, parser.isSet("jitter") || timed
                          ? TypeJitteredDemo(board, bytes, sigma, seed, throughput)
                          : TypeDemo(board, bytes, parser.isSet("chained")));
    } catch (const Error& error) {
        Print(stderr, JsonText(error.what()).toStdString() + "\n");
        return kExitError;
    }
    return kExitOk;
}

}  // namespace glidtavla

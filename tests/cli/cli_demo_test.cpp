#include <QJsonArray>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "cli/cli_run.h"
#include "test_support.h"

namespace glidtavla {
namespace {

TEST(CliReplay, PrintsTheDocumentAndTheCharacterLine) {
    TempDir dir;
    const CliRun typed = Cli({"type", "Hej\\nå"});
    ASSERT_EQ(typed.exitCode, 0) << typed.err.toStdString();
    const std::string demo = dir.Write("t.dem", typed.out.toStdString());
    const CliRun run = Cli({"replay", QString::fromStdString(demo)});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("\r\nHej\r\n"));
    EXPECT_EQ(run.err, QByteArray("character line: å\n"));
}

// Every command's --help names the command as it is typed and exits 0; "board --help" lists
// the board commands.
TEST(CliHelp, EachCommandNamesItself) {
    for (const QString command : {"board dump", "board check", "board draw", "board picture",
                                  "board cost", "board make", "replay", "stats", "type"}) {
        const CliRun run = Cli(command.split(' ') + QStringList{"--help"});
        EXPECT_EQ(run.exitCode, 0) << command.toStdString();
        EXPECT_TRUE(run.out.startsWith("Usage: glidtavla-cli " + command.toUtf8() + " [options]"))
            << run.out.left(80).toStdString();
    }
    const CliRun board = Cli({"board", "--help"});
    EXPECT_EQ(board.exitCode, 0);
    EXPECT_TRUE(board.out.contains("board make")) << board.out.toStdString();
    EXPECT_EQ(Cli({"board"}).exitCode, 2);
}

TEST(CliReplay, JsonWithTrace) {
    TempDir dir;
    const std::string demo = dir.Write("t.dem",
                                       "125 100 0 0\r\n75 100 0 0\r\n7x 1 0 0\r\n"
                                       "25 100 1 1\r\n75 100 1 1\r\n");
    const CliRun run = Cli({"replay", "--json", "--trace", QString::fromStdString(demo)});
    EXPECT_EQ(run.exitCode, 1);  // a malformed line, counted
    EXPECT_EQ(run.err, QByteArray("1 malformed lines\n"));
    EXPECT_EQ(Cli({"replay", "--trace", QString::fromStdString(demo)}).exitCode, 2);
    const QJsonObject json = Json(run.out);
    EXPECT_EQ(json["textArea"].toArray(), QJsonArray({""}));
    EXPECT_EQ(json["characterLine"].toString(), "M");
    EXPECT_EQ(json["samples"].toInt(), 4);
    EXPECT_EQ(json["errors"].toArray(), QJsonArray({"Invalid numeric input"}));
    const QJsonArray trace = json["trace"].toArray();
    ASSERT_EQ(trace.size(), 4);
    const QJsonObject last = trace[3].toObject();
    EXPECT_EQ(last["x1"].toInt(), -50);
    EXPECT_EQ(last["column"].toInt(), 2);
    EXPECT_EQ(last["ch"].toInt(), 'M');
    EXPECT_EQ(last["cell"].toString(), "yellow");
    EXPECT_EQ(last["line"].toString(), "yellow");
    EXPECT_FALSE(last["armed"].toBool());
    EXPECT_TRUE(last["shift"].toBool());
    EXPECT_EQ(last["fetched"].toInt(), 'M');
    EXPECT_TRUE(trace[0].toObject()["fetched"].isNull());
}

TEST(CliReplay, LineFeedKeepsItsCodeInJsonAndBoardsApply) {
    TempDir dir;
    const std::string table = dir.Write("b.tab",
                                        "30 60 90\r\n20 40 60\r\n13 97 98\r\n99 100 "
                                        "101\r\n102 103 0\r\n");
    const CliRun typed = Cli({"type", "--board", QString::fromStdString(table), "ab\\ncd"});
    ASSERT_EQ(typed.exitCode, 0) << typed.err.toStdString();
    const std::string demo = dir.Write("t.dem", typed.out.toStdString());
    const QJsonObject json = Json(Cli({"replay", "--json", "--board", QString::fromStdString(table),
                                       QString::fromStdString(demo)})
                                      .out);
    EXPECT_EQ(json["textArea"].toArray(), QJsonArray({"", "ab\r"}));
    EXPECT_EQ(json["characterLine"].toString(), "cd");
}

// The figures follow from the text the demo was typed from.
TEST(CliStats, FiguresOfATypedDemo) {
    TempDir dir;
    const std::string demo = dir.Write("t.dem", Cli({"type", "ab c\\nd"}).out.toStdString());
    // Back to the centre after a gesture that fetched nothing: one empty fetch.
    const std::string withEmpty =
        dir.Write("e.dem", ReadAll(demo) + "125 100 0 0\r\n225 260 0 0\r\n125 100 1 0\r\n");
    const CliRun run = Cli({"stats", "--json", QString::fromStdString(withEmpty)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject json = Json(run.out);

    // What the file says: its samples, and the pointer's path from sample to sample.
    std::istringstream lines(ReadAll(withEmpty));
    int samples = 0;
    double path = 0, x0 = 0, y0 = 0;
    for (double x, y, a, b; lines >> x >> y >> a >> b; ++samples) {
        if (samples > 0) path += std::hypot(x - x0, y - y0);
        x0 = x;
        y0 = y;
    }
    EXPECT_EQ(json["samples"].toInt(), samples);
    EXPECT_DOUBLE_EQ(json["seconds"].toDouble(), samples * 0.05);
    EXPECT_EQ(json["characters"].toInt(), 6);  // a b SP c LF d
    EXPECT_EQ(json["words"].toInt(), 3);
    EXPECT_DOUBLE_EQ(json["charactersPerMinute"].toDouble(), 6 * 60 / (samples * 0.05));
    EXPECT_NEAR(json["pathPerCharacter"].toDouble(), path / 6, 1e-9);
    const QJsonObject controls = json["controlFetches"].toObject();
    EXPECT_EQ(controls["SP"].toInt(), 1);
    EXPECT_EQ(controls["LF"].toInt(), 1);
    EXPECT_EQ(controls["BS"].toInt(), 0);
    EXPECT_EQ(controls["DL"].toInt(), 0);
    EXPECT_EQ(json["emptyFetches"].toInt(), 1);

    const CliRun text = Cli({"stats", QString::fromStdString(demo)});
    EXPECT_TRUE(text.out.contains("characters written:   6, in 3 words")) << text.out.toStdString();
}

TEST(CliStats, TheFitOfTwoDemosModelsTheirWriterInBoardCost) {
    TempDir dir;
    const QString text = "det var en gang en flicka som bodde vid havet, och hon hade en hund.";
    QStringList fit = {"stats", "--fit"};
    for (const QString seed : {"1", "2"}) {
        const CliRun typed =
            Cli({"type", "--throughput", "3", "--jitter", "1", "--seed", seed, text});
        ASSERT_EQ(typed.exitCode, 0) << typed.err.toStdString();
        fit << QString::fromStdString(
            dir.Write(seed.toStdString() + ".dem", typed.out.toStdString()));
    }
    const CliRun fitted = Cli(fit);
    ASSERT_EQ(fitted.exitCode, 0) << fitted.err.toStdString();
    const QJsonObject json = Json(fitted.out);
    EXPECT_GT(json["glides"].toInt(), 2 * 60);
    EXPECT_NEAR(json["bitsPerSecond"].toDouble(), 3, 0.15);

    // A writer of the trackball's throughput writes about as fast as the trackball.
    const std::string profile = dir.Write("fit.json", fitted.out.toStdString());
    const std::string corpus = dir.Write("corpus.txt", text.toStdString());
    const CliRun cost = Cli({"board", "cost", "--json", "--profile",
                             QString::fromStdString(profile), QString::fromStdString(corpus)});
    ASSERT_EQ(cost.exitCode, 0) << cost.err.toStdString();
    const QJsonObject profiles = Json(cost.out)["profiles"].toObject();
    const double trackball = profiles["trackball"].toObject()["charactersPerMinute"].toDouble();
    EXPECT_NEAR(profiles["writer"].toObject()["charactersPerMinute"].toDouble(), trackball,
                0.05 * trackball);

    // What cannot be fitted or read is said, with exit 1.
    const std::string empty = dir.Write("empty.dem", "");
    const std::string broken = dir.Write("broken.json", "{\"bitsPerSecond\": -1}");
    for (const QStringList& args :
         {QStringList{"stats", "--fit", QString::fromStdString(empty)},
          QStringList{"board", "cost", "--profile", QString::fromStdString(broken),
                      QString::fromStdString(corpus)}}) {
        const CliRun failed = Cli(args);
        EXPECT_EQ(failed.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_FALSE(failed.err.isEmpty());
    }
}

TEST(CliReplay, FailuresExitOne) {
    TempDir dir;
    const CliRun missing = Cli({"replay", QString::fromStdString(dir.File("none.dem"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err.trimmed(), "File not found");
    const CliRun unwritable = Cli({"type", "w"});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.out.isEmpty());
    EXPECT_EQ(unwritable.err.trimmed(), "No cell of the board gives \"w\" (code 119)");
    EXPECT_EQ(Cli({"type", "€"}).exitCode, 1);
    for (const char* sigma : {"nan", "-1", "101", "inf"})
        EXPECT_EQ(Cli({"type", "--jitter", sigma, "ab"}).exitCode, 2) << sigma;
}

}  // namespace
}  // namespace glidtavla

// Runs the real glidtavla-cli and checks what it prints and how it exits.
#include <QColor>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <string>

#include "cli/cli_run.h"
#include "test_support.h"

namespace glidtavla {
namespace {

int Code(const QJsonObject& json, const char* table, int column, int row) {
    return json[table].toArray()[column - 1].toArray()[row - 1].toInt();
}

TEST(CliBoardDump, PrintsTheBoardAndNoError) {
    TempDir dir;
    const std::string table = dir.Write("t.tab", "60 120\r\n50\r\n65 66\r\n\r\n0 87\r\n");
    const CliRun run = Cli({"board", "dump", QString::fromStdString(table)});
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject json = Json(run.out);
    EXPECT_TRUE(json["error"].isNull());
    EXPECT_EQ(json["boardWidth"].toInt(), 120);
    EXPECT_EQ(json["boardHeight"].toInt(), 50);
    EXPECT_EQ(json["rowCount"].toInt(), 1);
    EXPECT_EQ(json["columnBounds"].toArray().size(), 20);
    EXPECT_EQ(json["columnBounds"].toArray()[2].toInt(), 150);  // built-in beyond the table
    EXPECT_EQ(json["rowBounds"].toArray()[1].toInt(), 80);
    EXPECT_EQ(Code(json, "normalCodes", 2, 1), 66);
    EXPECT_EQ(Code(json, "normalCodes", 1, 3), 'm');
    EXPECT_EQ(Code(json, "shiftCodes", 2, 1), 87);
}

TEST(CliBoardDump, OverEmptyStartsFromZeros) {
    TempDir dir;
    const std::string table = dir.Write("t.tab", "60\r\n50\r\n65\r\n");
    const QJsonObject json =
        Json(Cli({"board", "dump", "--over", "empty", QString::fromStdString(table)}).out);
    EXPECT_EQ(json["columnBounds"].toArray()[1].toInt(), 0);
    EXPECT_EQ(Code(json, "normalCodes", 1, 3), 0);
}

TEST(CliBoardDump, AnErrorStillPrintsTheBoardAndExitsOne) {
    TempDir dir;
    const std::string table = dir.Write("t.tab", "60 7q\r\n50\r\n");
    const CliRun run = Cli({"board", "dump", QString::fromStdString(table)});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonObject json = Json(run.out);
    EXPECT_EQ(json["error"].toString(), "Invalid numeric input");
    EXPECT_EQ(json["columnBounds"].toArray()[1].toInt(), 7);
    EXPECT_EQ(json["boardWidth"].toInt(), 60);
    EXPECT_EQ(run.err.trimmed(), "Invalid numeric input");

    const CliRun missing = Cli({"board", "dump", QString::fromStdString(dir.File("none.tab"))});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(Json(missing.out)["error"].toString(), "File not found");
}

TEST(CliBoardCheck, ExplainsAndWarnsWithExitStatus) {
    TempDir dir;
    const CliRun ok = Cli(
        {"board", "check", QString::fromStdString(dir.Write("a.tab", "50 100 \r\n40\r\n1\r\n"))});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_TRUE(ok.out.contains("line 1: column line, 2 values"));
    EXPECT_TRUE(ok.out.contains("warning: line 1: a blank after the last value"));
    EXPECT_TRUE(ok.out.contains("line ends: CR or CR LF\n"));
    const CliRun bad = Cli({"board", "check", QString::fromStdString(dir.Write("b.tab", "x\r\n"))});
    EXPECT_EQ(bad.exitCode, 1);
    // Once, where errors go, with the token at fault.
    EXPECT_EQ(bad.err, QByteArray("error: Invalid numeric input (line 1, \"x\")\n"));
    EXPECT_FALSE(bad.out.contains("error"));
    const CliRun traps = Cli({"board", "check",
                              QString::fromStdString(dir.Write("c.tab",
                                                               "50 100 150\r\n40 80 120\r\n"
                                                               "0 0 0\r\n0 0 0\r\n0 0 9\r\n"))});
    EXPECT_TRUE(traps.out.contains("warning: the centre cell (column 3, row 3) holds code 9"));
    const CliRun empty =
        Cli({"board", "check",
             QString::fromStdString(
                 dir.Write("d.tab", "50 100 150\r\n40 80 120\r\n0 0 0\r\n0 0 0\r\n0 0 0\r\n"))});
    EXPECT_TRUE(empty.out.contains("warning: the table is empty")) << empty.out.toStdString();
}

TEST(CliBoardDraw, WritesTheDrawnBoardAsPng) {
    TempDir dir;
    const std::string table = dir.Write("t.tab", "60 120\r\n50 100\r\n97 98\r\n99 100\r\n");
    const std::string out = dir.File("board.png");
    const CliRun run =
        Cli({"board", "draw", QString::fromStdString(table), QString::fromStdString(out)});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage picture(QString::fromStdString(out));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(354, 284));
    EXPECT_EQ(QColor(picture.pixel(119, 20)), QColor(Qt::black));  // the frame at W - 1
    EXPECT_EQ(QColor(picture.pixel(60, 20)), QColor(Qt::black));   // the grid line
    // A board larger than the built-in picture is drawn whole, with LF line ends too.
    const std::string large = dir.Write("large.tab", "280 560\n200 385\n97 98\n99 100\n");
    ASSERT_EQ(
        Cli({"board", "draw", QString::fromStdString(large), QString::fromStdString(out)}).exitCode,
        0);
    const QImage whole(QString::fromStdString(out));
    EXPECT_EQ(whole.size(), QSize(560, 385));
    EXPECT_EQ(QColor(whole.pixel(559, 300)), QColor(Qt::black));
    EXPECT_EQ(QColor(whole.pixel(400, 200)), QColor(Qt::black));
    const CliRun bad = Cli({"board", "draw", QString::fromStdString(dir.Write("b.tab", "x")),
                            QString::fromStdString(out)});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err.trimmed(), "Invalid numeric input");
}

TEST(CliBoardPicture, PrintsTheSizeOrTheWindowsMessage) {
    TempDir dir;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::green);
    const std::string bmp = dir.File("p.bmp");
    ASSERT_TRUE(image.save(QString::fromStdString(bmp), "BMP"));
    const CliRun ok = Cli({"board", "picture", QString::fromStdString(bmp)});
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, "40x30\n");
    const CliRun bad = Cli({"board", "picture", QString::fromStdString(dir.Write("p.Gif", "x"))});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, "Unknown picture file extension (.Gif)\n");
}

// Drawing is done by a program of its own beside glidtavla-cli; without it the user is told
// which program is missing, and nothing else is started.
TEST(CliBoardPicture, WithoutItsDrawingProgramSaysWhichIsMissing) {
    TempDir dir;
    const QString alone = QString::fromStdString(dir.File("glidtavla-cli"));
    ASSERT_TRUE(QFile::copy(GLIDTAVLA_CLI, alone));
    QProcess process;
    process.start(alone, {"board", "picture", QString::fromStdString(dir.File("p.bmp"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    const QString err = process.readAllStandardError();
    EXPECT_TRUE(err.startsWith("Cannot start ")) << err.toStdString();
    EXPECT_TRUE(err.contains("glidtavla-cli-pictures (No such file or directory)"))
        << err.toStdString();
}

TEST(CliBoardModel, CostAndMakeForACorpus) {
    TempDir dir;
    const std::string corpus =
        dir.Write("c.txt", "Hej p\xC3\xA5 dig \xE2\x82\xAC \xE2\x98\x83\nw\n");
    const CliRun cost = Cli({"board", "cost", "--json", QString::fromStdString(corpus)});
    ASSERT_EQ(cost.exitCode, 0) << cost.err.toStdString();
    const QJsonObject json = Json(cost.out);
    EXPECT_EQ(json["characters"].toInt(), 17);
    const QJsonObject missing = json["missing"].toObject();
    EXPECT_EQ(missing["w"].toInt(), 1);           // no cell of the built-in board
    EXPECT_EQ(missing["\u2603"].toInt(), 1);      // not in Windows-1252 at all
    EXPECT_EQ(missing["\u20AC"].toInt(), 1);      // in Windows-1252, but on no cell
    EXPECT_GT(json["shiftShare"].toDouble(), 0);  // the H
    for (const char* profile : {"mouse", "trackball", "headMouse"}) {
        const QJsonObject speed = json["profiles"].toObject()[profile].toObject();
        EXPECT_GT(speed["charactersPerMinute"].toDouble(), 0) << profile;
        EXPECT_DOUBLE_EQ(speed["wordsPerMinute"].toDouble(),
                         speed["charactersPerMinute"].toDouble() / 5);
    }

    const std::string made = dir.File("made.tab");
    const CliRun make = Cli({"board", "make", QString::fromStdString(corpus), "--columns", "6",
                             "--rows", "5", "--cell", "60x50", QString::fromStdString(made)});
    ASSERT_EQ(make.exitCode, 0) << make.err.toStdString();
    EXPECT_TRUE(make.err.contains("not in Windows-1252")) << make.err.toStdString();
    const CliRun check = Cli({"board", "check", QString::fromStdString(made)});
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_FALSE(check.out.contains("warning")) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("width 360, height 250"));
    EXPECT_EQ(Cli({"board", "draw", QString::fromStdString(made),
                   QString::fromStdString(dir.File("made.png"))})
                  .exitCode,
              0);
    EXPECT_EQ(Cli({"board", "make", QString::fromStdString(corpus), "--columns", "2", "--rows", "5",
                   QString::fromStdString(made)})
                  .exitCode,
              2);
}

// --larger-model saves more on the Swedish text; --calibration tables the same guesses by
// their own probability or, with --calibrated, by the one observed, never above 0.9.
TEST(CliBoardModel, TheLargerModelAndTheCalibrationAreOptions) {
    const QString corpus = GLIDTAVLA_DATA "/svensk_text.txt";
    const auto cost = [&](const QStringList& more) {
        const CliRun run = Cli(QStringList{"board", "cost", "--json", "--predict", "centre+column",
                                           "--calibration", corpus} +
                               more);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return Json(run.out);
    };
    const QJsonObject base = cost({}), calibrated = cost({"--calibrated"});
    EXPECT_GT(cost({"--larger-model"})["keystrokeSavings"].toDouble(),
              base["keystrokeSavings"].toDouble());
    const auto shown = [](const QJsonObject& json, int bin) {
        return json["calibration"].toArray()[bin].toObject()["shown"].toInteger();
    };
    long long all = 0, allCalibrated = 0;
    for (int bin = 0; bin < 10; ++bin) {
        all += shown(base, bin);
        allCalibrated += shown(calibrated, bin);
    }
    EXPECT_GT(all, 1000);
    EXPECT_EQ(all, allCalibrated);
    EXPECT_GT(shown(base, 9), 0);
    EXPECT_EQ(shown(calibrated, 9), 0);
    const CliRun both =
        Cli({"board", "cost", "--predict", "centre", "--larger-model", "--model", corpus, corpus});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.err.contains("not both")) << both.err.toStdString();
}

// A board made for the Swedish text writes its first lines back through type and replay, and
// models faster than the built-in board on it.
TEST(CliBoardModel, AMadeBoardWritesItsCorpus) {
    TempDir dir;
    const QString corpus = GLIDTAVLA_DATA "/svensk_text.txt";
    const QString made = QString::fromStdString(dir.File("sv.tab"));
    ASSERT_EQ(Cli({"board", "make", corpus, "--columns", "7", "--rows", "7", made}).exitCode, 0);
    const QString text =
        "Om att skriva med en mus\\n\\nDet finns människor som inte kan "
        "använda ett tangentbord.\\n";
    const CliRun typed = Cli({"type", "--board", made, text});
    ASSERT_EQ(typed.exitCode, 0) << typed.err.toStdString();
    const std::string demo = dir.Write("sv.dem", typed.out.toStdString());
    // The terminal gets UTF-8; --raw the document's own Windows-1252 bytes.
    const QByteArray document(
        "\r\nOm att skriva med en mus\r\n\r\nDet finns m\xE4nniskor som "
        "inte kan anv\xE4nda ett tangentbord.\r\n");
    const CliRun raw = Cli({"replay", "--raw", "--board", made, QString::fromStdString(demo)});
    EXPECT_EQ(raw.out, document);
    const CliRun replay = Cli({"replay", "--board", made, QString::fromStdString(demo)});
    EXPECT_EQ(replay.out, QString::fromLatin1(document).toUtf8());
    const auto mouse = [](const CliRun& run) {
        return Json(run.out)["profiles"]
            .toObject()["mouse"]
            .toObject()["charactersPerMinute"]
            .toDouble();
    };
    EXPECT_GT(mouse(Cli({"board", "cost", "--json", "--board", made, corpus})),
              mouse(Cli({"board", "cost", "--json", corpus})));
}

TEST(CliBoardModel, AChainedBoardIsTheReadyOneAndChainsFasterThanTheSquare) {
    TempDir dir;
    const QString corpus = GLIDTAVLA_DATA "/svensk_text.txt";
    const QStringList square = {"board",  "make",  corpus,     "--columns",      "7", "--rows", "7",
                                "--cell", "50x50", "--square", "--keep-controls"};
    const QString squareTab = QString::fromStdString(dir.File("square.tab"));
    const QString chainedTab = QString::fromStdString(dir.File("chained.tab"));
    ASSERT_EQ(Cli(QStringList(square) << squareTab).exitCode, 0);
    ASSERT_EQ(Cli(QStringList(square) << "--chained" << chainedTab).exitCode, 0);
    // The ready board is this very board, made again the same.
    EXPECT_EQ(ReadAll(chainedTab.toStdString()),
              ReadAll(GLIDTAVLA_DATA "/../../data/boards/svenska-7x7-kedja.tab"));
    const auto mouse = [&](const QString& board) {
        const CliRun run =
            Cli({"board", "cost", "--json", "--glide", "chained", "--board", board, corpus});
        return Json(run.out)["profiles"]
            .toObject()["mouse"]
            .toObject()["charactersPerMinute"]
            .toDouble();
    };
    EXPECT_GT(mouse(chainedTab), mouse(squareTab));
    // The digits, é and the apostrophe have cells, which the text alone would not give them.
    const CliRun typed = Cli({"type", "--board", chainedTab, "år 1998 kom idén: 't'"});
    EXPECT_EQ(typed.exitCode, 0) << typed.err.toStdString();
}

TEST(CliUsage, UnknownCommandsAreRefused) {
    EXPECT_EQ(Cli({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Cli({"board", "paint"}).exitCode, 2);
    EXPECT_EQ(Cli({"board", "dump"}).exitCode, 2);
    EXPECT_EQ(Cli({"--version"}).out.trimmed(), "glidtavla-cli 1.01");
}

// Every command the help lists is dispatched to itself, in whichever program runs it.
TEST(CliUsage, EveryListedCommandAnswersToItsName) {
    const QString help = QString::fromUtf8(Cli({"--help"}).out);
    const QStringList names = {"board dump",    "board check", "board draw",
                               "board picture", "board cost",  "board make",
                               "replay",        "stats",       "type"};
    for (const QString& name : names) {
        EXPECT_TRUE(help.contains("\n  " + name + " ")) << name.toStdString();
        const CliRun own = Cli(name.split(' ') + QStringList{"--help"});
        EXPECT_TRUE(own.out.startsWith("Usage: ")) << name.toStdString();
        EXPECT_FALSE(own.err.contains("usage: glidtavla-cli board")) << name.toStdString();
        EXPECT_FALSE(own.err.contains("unknown command")) << name.toStdString();
    }
}

}  // namespace
}  // namespace glidtavla

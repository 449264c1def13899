#include <QJsonArray>

#include <gtest/gtest.h>

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

TEST(CliReplay, JsonWithTrace) {
    TempDir dir;
    const std::string demo = dir.Write("t.dem",
                                       "125 100 0 0\r\n75 100 0 0\r\n7x 1 0 0\r\n"
                                       "25 100 1 1\r\n75 100 1 1\r\n");
    const CliRun run = Cli({"replay", "--json", "--trace", QString::fromStdString(demo)});
    EXPECT_EQ(run.exitCode, 0);
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
}

}  // namespace
}  // namespace glidtavla

#include "app/command_line.h"

#include <gtest/gtest.h>

namespace glidtavla {
namespace {

TEST(CommandLine, TheDocumentIsTakenWhateverItsName) {
    EXPECT_EQ(ParseCommandLine({}).Document, "");
    EXPECT_EQ(ParseCommandLine({"brev.gtv"}).Document, "brev.gtv");
    EXPECT_EQ(ParseCommandLine({"--", "-title"}).Document, "-title");
    EXPECT_EQ(ParseCommandLine({"--", "--help"}).Document, "--help");
    EXPECT_EQ(ParseCommandLine({"-"}).Document, "-");
    // An unknown option is an error, not a document: the program exits with 2 and says so.
    EXPECT_NE(ParseCommandLine({"-title"}).Error.find("okänd flagga"), std::string::npos);
    EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
    EXPECT_EQ(ParseCommandLine({"bad\xFF\xFE.gtv"}).Document, "bad\xFF\xFE.gtv");
    EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
    EXPECT_FALSE(ParseCommandLine({"a.gtv", "b.gtv"}).Error.empty());
}

// --vila with a time of its own or none: a following word that is no time is the document.
TEST(CommandLine, RestingWithOrWithoutItsTime) {
    EXPECT_EQ(ParseCommandLine({}).RestMs, 0);
    EXPECT_EQ(ParseCommandLine({"--vila"}).RestMs, -1);
    EXPECT_EQ(ParseCommandLine({"--vila", "1"}).RestMs, 1000);
    EXPECT_EQ(ParseCommandLine({"--vila", "1,5"}).RestMs, 1500);
    EXPECT_EQ(ParseCommandLine({"--vila=0.3"}).RestMs, 300);
    const CommandLine withDocument = ParseCommandLine({"--vila", "brev.gtv"});
    EXPECT_EQ(withDocument.RestMs, -1);
    EXPECT_EQ(withDocument.Document, "brev.gtv");
    EXPECT_EQ(ParseCommandLine({"--vila", "20"}).Document, "20");  // no time: a document
    for (const char* bad : {"--vila=0,2", "--vila=11", "--vila=", "--vila=1..5", "--vila=x"})
        EXPECT_FALSE(ParseCommandLine({bad}).Error.empty()) << bad;
}

TEST(CommandLine, OptionsForSendingKeysAndZoom) {
    const CommandLine line = ParseCommandLine({"--send-keys", "--zoom", "250", "brev.gtv"});
    EXPECT_TRUE(line.SendKeys);
    EXPECT_EQ(line.Zoom, 250);
    EXPECT_EQ(line.Document, "brev.gtv");
    EXPECT_EQ(ParseCommandLine({"--zoom=400"}).Zoom, 400);
    for (const char* bad : {"99", "401", "150.5", "abc", "", "-100", "2000"}) {
        EXPECT_FALSE(ParseCommandLine({"--zoom", bad}).Error.empty()) << bad;
    }
    EXPECT_FALSE(ParseCommandLine({"--zoom"}).Error.empty());
}

}  // namespace
}  // namespace glidtavla

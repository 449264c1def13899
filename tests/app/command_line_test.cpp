#include "app/command_line.h"

#include <gtest/gtest.h>

namespace glidtavla {
namespace {

TEST(CommandLine, TheDocumentIsTakenWhateverItsName) {
    EXPECT_EQ(ParseCommandLine({}).Document, "");
    EXPECT_EQ(ParseCommandLine({"brev.gtv"}).Document, "brev.gtv");
    EXPECT_EQ(ParseCommandLine({"-title"}).Document, "-title");  // a name Qt would take
    EXPECT_EQ(ParseCommandLine({"--", "--help"}).Document, "--help");
    EXPECT_EQ(ParseCommandLine({"bad\xFF\xFE.gtv"}).Document, "bad\xFF\xFE.gtv");
    EXPECT_TRUE(ParseCommandLine({"--help"}).Help);
    EXPECT_FALSE(ParseCommandLine({"a.gtv", "b.gtv"}).Error.empty());
}

}  // namespace
}  // namespace glidtavla

#include "engine/character_line.h"

#include <gtest/gtest.h>

#include "board/character_board.h"
#include "engine/plain_view.h"

namespace glidtavla {
namespace {

std::string Edited(std::string line, uint8_t ch) {
    PlainView view;
    view.Line = std::move(line);
    EditCharacterLine(view, ch);
    EXPECT_EQ(view.TextArea.size(), 2u) << "only LF may touch the text area";
    return view.Line;
}

TEST(EditCharacterLine, AppendsCharactersAndSpace) {
    EXPECT_EQ(Edited("ab", 'c'), "abc");
    EXPECT_EQ(Edited("ab", kCodeSpace), "ab ");
    EXPECT_EQ(Edited("", 229), "\xE5");
}

TEST(EditCharacterLine, EmptyCodeChangesNothing) {
    EXPECT_EQ(Edited("abc", kCodeEmpty), "abc");
}

TEST(EditCharacterLine, DeleteLineEmptiesTheLine) {
    EXPECT_EQ(Edited("abc", kCodeDeleteLine), "");
    EXPECT_EQ(Edited("", kCodeDeleteLine), "");
}

TEST(EditCharacterLine, BackspaceRemovesTheLastCharacter) {
    EXPECT_EQ(Edited("abc", kCodeBackspace), "ab");
    EXPECT_EQ(Edited("a", kCodeBackspace), "");
    EXPECT_EQ(Edited("", kCodeBackspace), "");
}

TEST(EditCharacterLine, BackspaceCutsALongLineToTwoHundredFiftyFive) {
    const std::string line256(256, 'x');
    EXPECT_EQ(Edited(line256, kCodeBackspace), std::string(255, 'x'));
    std::string line300;
    for (int i = 0; i < 300; ++i)
        line300.push_back(static_cast<char>('a' + i % 26));
    EXPECT_EQ(Edited(line300, kCodeBackspace), line300.substr(0, 255));
    const std::string line257(257, 'y');
    EXPECT_EQ(Edited(line257, kCodeBackspace), std::string(255, 'y'));
}

TEST(TextArea, ANewLineTakesTheEmptyPlaceAfterTheLastBreak) {
    std::vector<std::string> lines{"", ""};
    AddTextAreaLine(lines, "a\r");
    EXPECT_EQ(lines, (std::vector<std::string>{"", "a\r", ""}));
    lines = {"typed"};
    AddTextAreaLine(lines, "b\r");
    EXPECT_EQ(lines, (std::vector<std::string>{"typed", "b\r", ""}));
    lines = {""};
    AddTextAreaLine(lines, "c\r");
    EXPECT_EQ(lines, (std::vector<std::string>{"c\r", ""}));
    EXPECT_EQ(TextAreaListed(lines), (std::vector<std::string>{"c\r"}));
    EXPECT_EQ(TextAreaListed({"", ""}), (std::vector<std::string>{""}));
}

TEST(EditCharacterLine, LineFeedMovesTheLineWithItsCode13) {
    PlainView view;
    view.Line = "abc";
    EditCharacterLine(view, kCodeLineFeed);
    EXPECT_EQ(view.Line, "");
    EXPECT_EQ(view.TextArea, (std::vector<std::string>{"", "abc\r", ""}));

    EditCharacterLine(view, kCodeLineFeed);
    EXPECT_EQ(view.TextArea, (std::vector<std::string>{"", "abc\r", "\r", ""}));
}

}  // namespace
}  // namespace glidtavla

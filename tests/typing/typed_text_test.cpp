#include "typing/typed_text.h"

#include <gtest/gtest.h>

namespace glidtavla {
namespace {

KeyAction Text(char32_t c) {
    return {KeyAction::Kind::Character, c, 1};
}
const KeyAction kReturn{KeyAction::Kind::Return, 0, 1};
KeyAction Back(int count) {
    return {KeyAction::Kind::BackSpace, 0, count};
}

// Characters as themselves, as code points: the senders never decode a string again.
TEST(TypedText, CodesBecomeTheirOwnCharacters) {
    EXPECT_EQ(*KeyForCharacter(0xE5), Text(U'\u00E5'));  // å
    EXPECT_EQ(*KeyForCharacter(0x80), Text(U'\u20AC'));  // €
    EXPECT_EQ(*KeyForCharacter(0x9F), Text(U'\u0178'));  // Ÿ
    EXPECT_EQ(*KeyForCharacter(' '), Text(U' '));
    for (const int none : {0, 9, 10, 13, 31, 127, 0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_FALSE(KeyForCharacter(uint8_t(none))) << none;
}

// BS and DL erase in the other program exactly what was typed there, never its own text.
TEST(TypedText, ErasesOnlyWhatItTyped) {
    TypedText line;
    const struct {
        uint8_t ch;
        std::size_t before, after;
        std::vector<KeyAction> keys;
    } rows[] = {
        {8, 0, 0, {}},              // an empty line: nothing to erase
        {' ', 0, 1, {Text(U' ')}},  // typed
        {9, 1, 2, {}},              // no key for it
        {127, 2, 3, {}},            //
        {'a', 5, 6, {Text(U'a')}},  // after two characters typed on the keyboard
        {8, 6, 5, {Back(1)}},       // the "a"
        {8, 5, 4, {}},              // a keyboard character: never sent
        {1, 4, 0, {Back(1)}},       // DL: of four characters, only the space was sent
        {'b', 0, 1, {Text(U'b')}},  //
        {13, 1, 0, {kReturn}},      //
        {1, 0, 0, {}},              // a new line holds nothing
    };
    for (const auto& row : rows)
        EXPECT_EQ(line.Fetch(row.ch, row.before, row.after), row.keys) << int(row.ch);
}

}  // namespace
}  // namespace glidtavla

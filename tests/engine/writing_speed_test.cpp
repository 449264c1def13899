#include "engine/writing_speed.h"

#include <gtest/gtest.h>

#include "board/character_board.h"

namespace glidtavla {
namespace {

using Ms = WritingSpeed::Clock;

TEST(WritingSpeed, CountsOverTheLastMinuteOfWriting) {
    WritingSpeed speed;
    for (int second = 0; second <= 120; ++second)
        speed.Fetched('a', Ms(second * 1000));  // one a second for two minutes
    SpeedFigures figures = speed.Figures();
    EXPECT_DOUBLE_EQ(figures.CharactersPerMinute, 60);
    EXPECT_DOUBLE_EQ(figures.WordsPerMinute, 12);
    EXPECT_EQ(figures.CharactersWritten, 121);

    // Faster for the last minute: only that minute counts.
    for (int i = 1; i <= 120; ++i)
        speed.Fetched('a', Ms(120'000 + i * 500));
    EXPECT_DOUBLE_EQ(speed.Figures().CharactersPerMinute, 120);
}

TEST(WritingSpeed, PausesLongerThanTenSecondsDoNotCount) {
    WritingSpeed speed;
    for (int i = 0; i <= 10; ++i)
        speed.Fetched('a', Ms(i * 2000));  // 10 characters in 20 s
    for (int i = 0; i <= 10; ++i)
        speed.Fetched('b', Ms(600'000 + i * 2000));  // after ten minutes away
    // 21 characters after the first, in 40 s of writing: the ten minutes away are not counted.
    EXPECT_DOUBLE_EQ(speed.Figures().CharactersPerMinute, 31.5);
    // A pause of exactly ten seconds still counts as writing.
    WritingSpeed steady;
    steady.Fetched('a', Ms(0));
    steady.Fetched('b', Ms(10'000));
    EXPECT_DOUBLE_EQ(steady.Figures().CharactersPerMinute, 6);
}

TEST(WritingSpeed, CorrectionsAndEmptyFetches) {
    WritingSpeed speed;
    for (const uint8_t ch :
         std::initializer_list<uint8_t>{'a', 'b', kCodeSpace, kCodeBackspace, kCodeLineFeed, 'c',
                                        'd', 'e', 'f', kCodeDeleteLine, kCodeEmpty}) {
        speed.Fetched(ch, Ms(0));
    }
    const SpeedFigures figures = speed.Figures();
    EXPECT_EQ(figures.CharactersWritten, 8);
    EXPECT_DOUBLE_EQ(figures.CorrectionShare, 0.2);  // code 0 is no fetch that did something
    EXPECT_EQ(figures.CharactersPerMinute, 0);       // no writing time yet
}

}  // namespace
}  // namespace glidtavla

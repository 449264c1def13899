#pragma once

#include <string>

#include "board/character_board.h"

namespace glidtavla {

// What a demo shows of its writer, replayed as the window plays it (one sample every 50 ms).
struct DemoStats {
    long long Samples = 0;
    double Seconds = 0;
    long long Characters = 0;  // fetches that add to the text: characters, SP and LF
    long long Words = 0;       // words of the document the demo leaves
    double CharactersPerMinute = 0;
    double PathPerCharacter = 0;  // pointer path in board pixels per character
    long long SpaceFetches = 0, BackspaceFetches = 0, LineFeedFetches = 0, DeleteLineFetches = 0;
    long long EmptyFetches = 0;  // gestures that fetched code 0
    long long Errors = 0;        // malformed lines passed over
};

// Throws when the demo cannot be opened.
DemoStats StatsOfDemo(const CharacterBoard& board, const std::string& demoPath);

// The words of a text: runs of characters between blanks and line ends.
long long CountWords(const std::string& text);

}  // namespace glidtavla

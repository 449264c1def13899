#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "board/character_board.h"

namespace glidtavla {

// A pointer's speed as a throughput, in bits of Fitts' index of difficulty per second.
struct PointerProfile {
    const char* Name;
    double BitsPerSecond;
};
extern const std::array<PointerProfile, 3> kPointerProfiles;  // mouse, trackball, head mouse

struct ModelledSpeed {
    double CharactersPerMinute = 0;
    double WordsPerMinute = 0;  // five characters to a word
};

// What writing a text on a board costs, modelled from the board's geometry alone.
struct BoardCost {
    long long Characters = 0;               // of the text; a line end is one
    std::map<uint8_t, long long> Missing;   // codes no cell gives, with their counts
    double ShiftShare = 0;                  // of the writable characters, those shifted
    double PathPerCharacter = 0;            // out from the centre point and back, pixels
    double IndexOfDifficulty = 0;           // mean per movement (out, back), bits
    std::array<ModelledSpeed, 3> Speeds{};  // by kPointerProfiles
};

// A cell's centre is the middle of its bounds, with 0 as the left (top) edge of column
// (row) 1. Each character is a movement from the centre cell's centre out to its cell's centre
// and one back, each of Fitts' index log2(D / W + 1) with W the target cell's smaller side.
// On a board with a shift cell a shifted character is written through it, as by a writer
// without a usable button: its glide to the shift cell counts too.
BoardCost CostOfText(const CharacterBoard& board, const std::string& text);

// The text's codes: a line end ("\n", "\r\n" or "\r") is one LF.
std::vector<uint8_t> TextCodes(const std::string& text);

// A board table for a text: every character of the text that fits gets a cell, the most
// frequent in the cells that cost least; the centre cell is empty; SP, BS, LF and DL are
// always there (with keepControls where the built-in board has them); capital letters come
// by shift from their small letters; wordSlots word slots (codes 2 up) come among them, as
// often used as a word in ten characters, the first slot most; with shiftCell a shift cell,
// as often as the text has capitals and at least once in thirty characters. leftOut gets the codes
// that found no cell. Chained, the digits, é and the apostrophe get cells too, and the cells
// are then arranged so that chained glides over the text's pairs of characters cost least.
// Throws an Error with the reason when the board cannot be made.
std::string MakeBoardTable(const std::string& text, int columns, int rows, int cellWidth,
                           int cellHeight, bool keepControls, int wordSlots, bool shiftCell,
                           std::vector<uint8_t>& leftOut, bool chained = false);

}  // namespace glidtavla

#pragma once

#include <optional>

#include "board/character_board.h"

namespace glidtavla {

// Cell codes 2 to 7 are the word slots 1 to 6: a fetch writes the word shown in the slot.
constexpr uint8_t kCodeFirstSlot = 2;
constexpr int kMaxSlots = 6;
inline bool IsSlotCode(uint8_t code) {
    return code >= kCodeFirstSlot && code < kCodeFirstSlot + kMaxSlots;
}

// The cell of a slot (1 to 6) on the board, if it has one.
std::optional<BoardCell> SlotCell(const CharacterBoard& board, int slot);

// The board with a column of slots 1 to slots beside its right edge, one in each of its first
// rows, as wide as two of its columns; the board itself when it has slots of its own, is 20
// columns wide already, or slots is 0.
CharacterBoard WithWordColumn(const CharacterBoard& board, int slots);

}  // namespace glidtavla

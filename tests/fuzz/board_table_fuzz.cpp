// Fuzz entry for the board table reader: any bytes must read without a crash, a hang or an
// out-of-bounds access. Built for libFuzzer with clang; with g++ the corpus runner drives it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/errors.h"
#include "board/board_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glidtavla;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    TextReader reader(TextReader::InMemory{},
                      std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        LoadBoardTable(board, reader);
    } catch (const Error&) {
        // A malformed table is an ordinary outcome.
    }
    return 0;
}

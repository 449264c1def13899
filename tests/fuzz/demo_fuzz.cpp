// Fuzz entry for the demo reader with the engine: any bytes replay without a crash, a hang or
// an out-of-bounds access, on the built-in board, as the window's timer plays them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "board/errors.h"
#include "demo/demo_file.h"
#include "engine/plain_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glidtavla;
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    TextReader reader(TextReader::InMemory{},
                      std::string_view(reinterpret_cast<const char*>(data), size));
    SelectionState state;
    PlainView view;
    bool playing = true;
    while (playing) {
        try {
            ReadDemoSample(reader, state, playing);
        } catch (const Error&) {
            continue;  // a malformed line: the tick ends, the next reads on
        }
        ProcessPointerSample(state, board, view, nullptr, state.X0, state.Y0);
    }
    return 0;
}

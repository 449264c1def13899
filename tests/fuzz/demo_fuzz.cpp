// Fuzz entry for the demo reader with the engine: any bytes replay without a crash, a hang or
// an out-of-bounds access, on the built-in board, as the window's timer plays them; and the
// quick reading of plain lines gives what the general reading gives, value for value.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/errors.h"
#include "demo/demo_file.h"
#include "engine/plain_view.h"

namespace {

using namespace glidtavla;

// One line as the general way reads it: four values, then the rest of the line skipped.
bool ReadGenerally(TextReader& reader, int32_t* values) {
    bool ok = true;
    for (int i = 0; i < kDemoValues && ok; ++i) {
        const ValueRead got = reader.TryReadValue();
        ok = got.Ok;
        values[i] = got.Value;
    }
    reader.SkipLine();
    return ok;
}

void CompareWithTheGeneralWay(std::string_view bytes) {
    TextReader quick(TextReader::InMemory{}, bytes), general(TextReader::InMemory{}, bytes);
    while (!general.AtEndOfFile()) {
        int32_t fast[kDemoValues] = {}, slow[kDemoValues] = {};
        bool quickOk = true;
        try {
            if (!ReadDemoValues(quick, fast)) __builtin_trap();  // ended early
        } catch (const Error&) {
            quickOk = false;
        }
        const bool generalOk = ReadGenerally(general, slow);
        if (quickOk != generalOk || quick.LineNumber() != general.LineNumber()) __builtin_trap();
        for (int i = 0; i < kDemoValues && generalOk; ++i) {
            if (fast[i] != slow[i]) __builtin_trap();
        }
    }
    if (!quick.AtEndOfFile()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CharacterBoard board;
    ResetToBuiltInBoard(board);
    TextReader reader(TextReader::InMemory{}, bytes);
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
    CompareWithTheGeneralWay(bytes);
    return 0;
}

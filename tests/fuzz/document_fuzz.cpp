// Fuzz entry for reading a document: any bytes split into lines, turn into the text area's
// text in their encoding and back into exactly the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text/codec.h"
#include "text/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace glidtavla;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const TextEncoding encoding = EncodingOf(bytes);
    const std::vector<std::string> lines = SplitDocument(bytes);
    for (const std::string& line : lines) {
        if (FromQString(ToQString(line, encoding), encoding) != line) std::abort();
    }
    if (SplitDocument(JoinDocument(lines)) != lines) std::abort();
    return 0;
}

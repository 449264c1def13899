#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace glidtavla {

// The character of a Windows-1252 byte. The five bytes the code page leaves undefined stand for
// the C1 controls of the same value, so every byte has one and survives a round trip.
char32_t Windows1252Char(uint8_t byte);

// The byte that stands for c, or nothing when Windows-1252 cannot hold it.
std::optional<uint8_t> Windows1252Byte(char32_t c);

// Bytes as UTF-32, byte for byte.
std::u32string DecodeWindows1252(std::string_view bytes);

// UTF-8 as Windows-1252 bytes; nothing when it is not UTF-8 or holds a character Windows-1252
// has not (four-byte characters never fit). With c1AsBytes a C1 control stands for the byte of
// its value, as in a Windows-1252 text once misread as Latin-1 (U+0096 for the dash 0x96).
std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, bool c1AsBytes = false);
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace glidtavla

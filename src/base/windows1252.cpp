#include "base/windows1252.h"

#include <array>

namespace glidtavla {

namespace {

// 0x80..0x9F; the undefined five keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t Windows1252Char(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80];
    return byte;
}

std::optional<uint8_t> Windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<uint8_t>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<uint8_t>(0x80 + i);
    }
    return std::nullopt;
}

std::u32string DecodeWindows1252(std::string_view bytes) {
    std::u32string text(bytes.size(), U'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text[i] = Windows1252Char(static_cast<uint8_t>(bytes[i]));
    }
    return text;
}

std::optional<std::string> Utf8ToWindows1252(std::string_view utf8, bool c1AsBytes) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : 0;
        if (length == 0 || i + length > utf8.size()) return std::nullopt;
        char32_t c = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<uint8_t>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            c = (c << 6) | (next & 0x3F);
        }
        // Overlong forms are not this character.
        if ((length == 2 && c < 0x80) || (length == 3 && c < 0x800)) return std::nullopt;
        const std::optional<uint8_t> byte =
            c1AsBytes && c >= 0x80 && c <= 0x9F ? static_cast<uint8_t>(c) : Windows1252Byte(c);
        if (!byte) return std::nullopt;
        bytes += static_cast<char>(*byte);
        i += length;
    }
    return bytes;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string utf8;
    for (const char32_t c : DecodeWindows1252(bytes)) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

}  // namespace glidtavla

#pragma once

#include <cstddef>
#include <cstdint>

namespace glidtavla {

// The fast path of the text reader: plain decimal numbers read many bytes at a time. Anything
// that is not plain is left to the general reader, which knows every fault.

// Up to seven decimal digits at p (eight bytes readable): the number of leading digits (8 for
// eight or more), and their value.
struct Digits {
    int Count;
    uint32_t Value;
};
Digits LeadingDigits(const unsigned char* p);

// The room a plain line needs in the buffer: the whole line and its end within 32 bytes, eight
// bytes to read from its last field on, and the LF after a CR.
constexpr std::ptrdiff_t kPlainLineRoom = 32 + 8;

// A line at p (kPlainLineRoom bytes readable) of kCount or more plain numbers (up to seven
// digits, a minus allowed) one space apart, then lineEnd: its length with the LF after a CR,
// and its first kCount values. 0 when the line is not plain.
template <int kCount>
std::size_t PlainLineLength(const unsigned char* p, int lineEnd, int32_t* values);

}  // namespace glidtavla

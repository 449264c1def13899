// Plain decimal numbers read many bytes at a time. The general reader in text_reader.cpp is the
// reference: every result here must equal its, and the tests compare the two.
#include "base/plain_numbers.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace glidtavla {

namespace {

constexpr int kCR = 13;
constexpr int kLF = 10;

// The value of `count` (one to seven) decimal digits at p, without a branch per digit: the
// digits are shifted up so the missing ones read as leading zeros. Up to four, the common
// case, take half the work.
uint32_t DigitsValue(const unsigned char* p, int count) {
    if (count <= 4) {
        uint32_t value;
        std::memcpy(&value, p, sizeof value);
        value = (value - 0x30303030u) << (8 * (4 - count));
        value = (value * 10) + (value >> 8);
        return ((value & 0x00FF00FFu) * (1 + (100u << 16))) >> 16;
    }
    uint64_t value;
    std::memcpy(&value, p, sizeof value);
    value = (value - 0x3030303030303030ULL) << (8 * (8 - count));
    value = (value * 10) + (value >> 8);
    value = (((value & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
             (((value >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
            32;
    return static_cast<uint32_t>(value);
}

// One bit for each of 32 bytes: which are digits, spaces, minus signs and the line end. Bytes
// after the first line end may be left out.
struct ByteClasses {
    uint32_t Digit, space, minus, lineEnd;
};

#if defined(__SSE2__)
ByteClasses ClassifyBytes(const unsigned char* p, int lineEnd) {
    const auto classify = [lineEnd](__m128i bytes, int shift) {
        // Bytes below '0' wrap to large values, so one unsigned compare finds the digits.
        const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
        const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero);
        const auto bits = [shift](__m128i match) {
            return static_cast<uint32_t>(_mm_movemask_epi8(match)) << shift;
        };
        return ByteClasses{bits(digit), bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '))),
                           bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('-'))),
                           bits(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(lineEnd))))};
    };
    const ByteClasses low = classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), 0);
    if (low.lineEnd != 0) return low;  // most lines: the rest is never looked at
    const ByteClasses high =
        classify(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16)), 16);
    return {low.Digit | high.Digit, low.space | high.space, low.minus | high.minus, high.lineEnd};
}
#else
ByteClasses ClassifyBytes(const unsigned char* p, int lineEnd) {
    ByteClasses classes{};
    for (int i = 0; i < 32; ++i) {
        const uint32_t bit = 1u << i;
        if (p[i] >= '0' && p[i] <= '9') classes.Digit |= bit;
        if (p[i] == ' ') classes.space |= bit;
        if (p[i] == '-') classes.minus |= bit;
        if (p[i] == lineEnd) classes.lineEnd |= bit;
    }
    return classes;
}
#endif

#if defined(__SSE2__)
// upTo[i]: the value of the digits of a field up to byte i of p, for fields of at most four
// digits, all sixteen bytes at once: two digits make pairs, pairs make fours.
void FieldValuesUpTo(const unsigned char* p, uint16_t* upTo) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i isDigit = _mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero);
    const __m128i digits = _mm_and_si128(fromZero, isDigit);
    const __m128i twice = _mm_add_epi8(_mm_slli_si128(digits, 1), _mm_slli_si128(digits, 1));
    const __m128i eight = _mm_add_epi8(_mm_add_epi8(twice, twice), _mm_add_epi8(twice, twice));
    const __m128i pairs = _mm_and_si128(_mm_add_epi8(digits, _mm_add_epi8(eight, twice)), isDigit);
    // The pair two bytes back belongs to the same field only when the byte between is a digit.
    const __m128i before = _mm_and_si128(_mm_slli_si128(pairs, 2), _mm_slli_si128(isDigit, 1));
    const __m128i zero = _mm_setzero_si128(), hundred = _mm_set1_epi16(100);
    const __m128i low = _mm_add_epi16(_mm_unpacklo_epi8(pairs, zero),
                                      _mm_mullo_epi16(_mm_unpacklo_epi8(before, zero), hundred));
    const __m128i high = _mm_add_epi16(_mm_unpackhi_epi8(pairs, zero),
                                       _mm_mullo_epi16(_mm_unpackhi_epi8(before, zero), hundred));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(upTo), low);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(upTo + 8), high);
}
#endif

}  // namespace

Digits LeadingDigits(const unsigned char* p) {
    uint64_t chunk;
    std::memcpy(&chunk, p, sizeof chunk);
    constexpr uint64_t kHigh = 0x8080808080808080ULL;
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    // A byte's high bit marks it as no digit: above '9' (or above 127), or below '0'.
    const uint64_t above = (((chunk & kLow7) + 0x4646464646464646ULL) | chunk) & kHigh;
    const uint64_t below = ~((chunk | kHigh) - 0x3030303030303030ULL) & kHigh;
    const uint64_t notDigit = above | below;
    if (notDigit == 0) return {8, 0};  // eight digits or more: the careful way
    const int count = std::countr_zero(notDigit) / 8;
    if (count == 0) return {0, 0};
    return {count, DigitsValue(p, count)};
}

template <int kCount>
std::size_t PlainLineLength(const unsigned char* p, int lineEnd, int32_t* values) {
    const ByteClasses bytes = ClassifyBytes(p, lineEnd);
    if (bytes.lineEnd == 0) return 0;
    const int end = std::countr_zero(bytes.lineEnd);
    const uint32_t line = (1u << end) - 1;
    const uint32_t spaces = bytes.space & line;
    // A field starts the line or follows a space; a minus may only open one, and a digit
    // must come first or right after that minus. Everything else in the line is a digit.
    const uint32_t starts = (spaces << 1) | 1;
    const uint32_t minus = bytes.minus & line;
    const uint32_t firstDigits = (starts & ~minus) | ((starts & minus) << 1);
    if ((minus & ~starts) != 0 || (firstDigits & ~bytes.Digit) != 0 ||
        ((bytes.Digit | spaces | minus) & line) != line)
        return 0;
    const std::size_t length = static_cast<std::size_t>(end) + 1;
    const std::size_t withLf = lineEnd == kCR && p[length] == kLF ? length + 1 : length;

    // Each field runs from its start to the next space, or to the line end for the last.
    uint32_t fieldEnds = spaces | (1u << end);
#if defined(__SSE2__)
    // Most lines: within sixteen bytes, no field longer than four digits.
    const uint32_t digits = bytes.Digit & line;
    if (end < 16 && (digits & digits >> 1 & digits >> 2 & digits >> 3 & digits >> 4) == 0) {
        uint16_t upTo[16];
        FieldValuesUpTo(p, upTo);
        for (int i = 0, start = 0; i < kCount; ++i) {
            const int next = std::countr_zero(fieldEnds);  // 32 when the line has too few fields
            if (next == 32) return 0;
            const int32_t value = upTo[next - 1];
            values[i] = (minus >> start) & 1 ? -value : value;
            fieldEnds &= fieldEnds - 1;
            start = next + 1;
        }
        return withLf;
    }
#endif
    for (int i = 0, start = 0; i < kCount; ++i) {
        const int next = std::countr_zero(fieldEnds);
        const int negative = static_cast<int>(uint64_t{minus} >> start) & 1;  // start <= 32
        const int first = start + negative, fieldLength = next - first;
        if (next == 32 || fieldLength > 7) return 0;
        const int32_t value = static_cast<int32_t>(DigitsValue(p + first, fieldLength));
        values[i] = negative ? -value : value;
        fieldEnds &= fieldEnds - 1;
        start = next + 1;
    }
    return withLf;
}

template std::size_t PlainLineLength<4>(const unsigned char* p, int lineEnd, int32_t* values);

}  // namespace glidtavla

#pragma once

#include <cstdint>

namespace glidtavla {

// numerator / denominator rounded to the nearest integer, exact halves to the even
// neighbour. denominator must be positive.
constexpr int64_t RoundHalfToEven(int64_t numerator, int64_t denominator) {
    int64_t quotient = numerator / denominator;
    int64_t remainder = numerator % denominator;
    if (remainder < 0) {  // floor division
        quotient -= 1;
        remainder += denominator;
    }
    const int64_t twice = 2 * remainder;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) quotient += 1;
    return quotient;
}

}  // namespace glidtavla

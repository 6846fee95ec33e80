#pragma once
// The one rounding rule of the program: to the nearest whole number, halves to
// the even neighbour (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). Prices, flags, picture
// steps, pixel boxes and drawing coordinates all go through here.

#include <cstdint>

namespace dorv {

// Rounds to a 32-bit whole number. NaN gives 0; values beyond the 32-bit
// range are clamped rather than left undefined.
int32_t RoundHalfEvenOutOfRange(double v);
inline int32_t RoundHalfEven(double v)
{
    // Every drawn coordinate comes through here, so it is inline and makes no
    // library calls: cut toward zero, then step to the nearer neighbour, the
    // even one on a tie. The remainder is exact for every value in range, and
    // nothing depends on the floating-point environment's rounding mode.
    if (v > -2147483648.0 && v < 2147483647.0) {  // false for NaN
        int64_t i = static_cast<int64_t>(v);
        const double rest = v - static_cast<double>(i);
        if (rest > 0.5 || (rest == 0.5 && (i & 1)))
            ++i;
        else if (rest < -0.5 || (rest == -0.5 && (i & 1)))
            --i;
        return static_cast<int32_t>(i);
    }
    return RoundHalfEvenOutOfRange(v);
}

// The same rule for 16-bit results (clamped to the 16-bit range).
int16_t RoundHalfEven16(double v);

}  // namespace dorv

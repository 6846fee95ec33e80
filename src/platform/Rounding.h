#pragma once
// The one rounding rule of the program: to the nearest whole number, halves to
// the even neighbour (0.5 -> 0, 1.5 -> 2, -2.5 -> -2). Prices, flags, picture
// steps, pixel boxes and drawing coordinates all go through here.

#include <cstdint>

namespace dorv {

// Rounds to a 32-bit whole number. NaN gives 0; values beyond the 32-bit
// range are clamped rather than left undefined.
int32_t RoundHalfEven(double v);

// The same rule for 16-bit results (clamped to the 16-bit range).
int16_t RoundHalfEven16(double v);

}  // namespace dorv

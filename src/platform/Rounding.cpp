#include "platform/Rounding.h"

#include <cmath>
#include <limits>

namespace dorv {

int32_t RoundHalfEven(double v)
{
    // Every drawn coordinate comes through here, so no library calls: cut
    // toward zero, then step to the nearer neighbour, the even one on a tie.
    // The remainder is exact for every value in range, and nothing depends
    // on the floating-point environment's rounding mode.
    if (v > -2147483648.0 && v < 2147483647.0) {  // false for NaN
        int64_t i = static_cast<int64_t>(v);
        const double rest = v - static_cast<double>(i);
        if (rest > 0.5 || (rest == 0.5 && (i & 1)))
            ++i;
        else if (rest < -0.5 || (rest == -0.5 && (i & 1)))
            --i;
        return static_cast<int32_t>(i);
    }
    if (std::isnan(v)) return 0;
    return v > 0 ? std::numeric_limits<int32_t>::max() : std::numeric_limits<int32_t>::min();
}

int16_t RoundHalfEven16(double v)
{
    int32_t r = RoundHalfEven(v);
    if (r > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (r < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(r);
}

}  // namespace dorv

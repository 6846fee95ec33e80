#include "platform/Rounding.h"

#include <cmath>
#include <limits>

namespace dorv {

int32_t RoundHalfEvenOutOfRange(double v)
{
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

#include "platform/Rounding.h"

#include <cmath>
#include <limits>

namespace dorv {

namespace {
double RoundToEven(double v)
{
    // Not dependent on the floating-point environment's rounding mode.
    double f = std::floor(v);
    double diff = v - f;
    if (diff > 0.5) return f + 1.0;
    if (diff < 0.5) return f;
    return std::fmod(f, 2.0) == 0.0 ? f : f + 1.0;
}
}  // namespace

int32_t RoundHalfEven(double v)
{
    if (std::isnan(v)) return 0;
    double r = RoundToEven(v);
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

int16_t RoundHalfEven16(double v)
{
    int32_t r = RoundHalfEven(v);
    if (r > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (r < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(r);
}

}  // namespace dorv

#pragma once
// Rounding to the nearest whole number with halves to even (2.5 -> 2, 3.5 -> 4), the rounding
// the region tools' sizes and samples follow; what std::nearbyint gives in the default
// rounding mode, without its library call in the per-pixel loops.

#include <cmath>

namespace pb {

inline double RoundHalfEven(double x) {
    // Adding 1.5 x 2^52 leaves no bits below the units, so the sum is rounded by the default
    // mode (to nearest, ties to even); taking it away again is exact. Good for |x| < 2^51;
    // larger values (and infinities, NaN) are whole already or left as they are.
    constexpr double kShift = 6755399441055744.0;
    if (!(std::fabs(x) < 2251799813685248.0)) return x;
    return (x + kShift) - kShift;
}

}  // namespace pb

// Rounding shared by the pointer rules and the statistics bar.
#pragma once

#include <cmath>

namespace quellon {

// Nearest whole number, halves to the even one.
inline int roundHalfEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    double rounded = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0))
        rounded = below + 1.0;
    return static_cast<int>(rounded);
}

}  // namespace quellon

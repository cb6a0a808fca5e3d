#pragma once

#include <cmath>

namespace siacci {

inline constexpr double kTwipsPerInch = 1440.0;

// Twips (1/1440 inch) to device pixels at a logical resolution of `dpi` dots per inch.
inline int twipsToPixels(double twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

} // namespace siacci

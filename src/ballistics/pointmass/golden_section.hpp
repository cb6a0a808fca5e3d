#pragma once

#include <algorithm>

namespace siacci::pointmass {

// The highest value of a function with one peak between lo and hi, found by golden-section
// search to within `tolerance` of its place: where it is and how high.
struct Peak {
    double x = 0;
    double value = 0;
};

template <class F>
Peak goldenSectionMaximum(F f, double lo, double hi, double tolerance)
{
    constexpr double kInvPhi = 0.6180339887498949;
    double x1 = hi - kInvPhi * (hi - lo), x2 = lo + kInvPhi * (hi - lo);
    double f1 = f(x1), f2 = f(x2);
    while (hi - lo > tolerance) {
        if (f1 < f2) {
            lo = x1;
            x1 = x2;
            f1 = f2;
            x2 = lo + kInvPhi * (hi - lo);
            f2 = f(x2);
        } else {
            hi = x2;
            x2 = x1;
            f2 = f1;
            x1 = hi - kInvPhi * (hi - lo);
            f1 = f(x1);
        }
    }
    return f1 >= f2 ? Peak{x1, f1} : Peak{x2, f2};
}

} // namespace siacci::pointmass

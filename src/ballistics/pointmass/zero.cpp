#include "ballistics/pointmass/zero.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace siacci::pointmass {

namespace {

constexpr double kZeroTolerance_m = 1e-6;
constexpr double kHighestElevation_rad = std::numbers::pi / 4;
constexpr double kLowestElevation_rad = -std::numbers::pi / 4;
constexpr int kMaxTrials = 60;

} // namespace

std::optional<double> solveZero(FlightSetup setup, double sightHeight_m, double zero_m,
                                const Tolerance& tolerance, int* trials)
{
    int count = 0;
    // The path at the zero distance for a bore elevation; minus infinity when the bullet falls
    // behind (or out of time) before it: it is then far below the line.
    const auto pathAt = [&](double elevation) {
        ++count;
        setup.launchAngle_rad = elevation;
        const double distance[] = {zero_m};
        FlightPoint point;
        if (fly(setup, distance, std::span(&point, 1), tolerance) == 0)
            return -std::numeric_limits<double>::infinity();
        return SightFrame(0).height(point.state) - sightOffset_m(sightHeight_m, elevation);
    };
    const auto done = [&](std::optional<double> e) {
        if (trials)
            *trials = count;
        return e;
    };

    // Seeds: the straight line through the sight and the zero, then that line raised by the
    // bullet's fall there (the path grows by about zero * delta per radian).
    double a = std::atan2(sightHeight_m, zero_m);
    double fa = pathAt(a);
    if (std::fabs(fa) <= kZeroTolerance_m)
        return done(a);
    double b = std::isfinite(fa) ? a - fa / zero_m : a + 0.01;

    // Secant steps until the root is bracketed (or hit).
    double fb = 0;
    for (;;) {
        b = std::clamp(b, kLowestElevation_rad, kHighestElevation_rad);
        fb = pathAt(b);
        if (std::fabs(fb) <= kZeroTolerance_m)
            return done(b);
        if ((fa < 0) != (fb < 0))
            break;
        if (count >= kMaxTrials || (fb < 0 && b >= kHighestElevation_rad) ||
            (fb > 0 && b <= kLowestElevation_rad))
            return done(std::nullopt);
        double next;
        if (std::isfinite(fa) && std::isfinite(fb) && fa != fb)
            next = b - fb * (b - a) / (fb - fa);
        else
            next = b + 2 * (b - a);
        // A secant step toward the far side may overshoot; it is never allowed to go backward.
        if ((fb < 0 && next <= b) || (fb > 0 && next >= b))
            next = b + 2 * (b - a);
        a = b;
        fa = fb;
        b = next;
    }

    // Bracketed: regula falsi with the Illinois rule, bisection across an infinite end.
    double lo = a, flo = fa, hi = b, fhi = fb;
    int side = 0;
    while (count < kMaxTrials) {
        double c;
        if (std::isfinite(flo) && std::isfinite(fhi))
            c = hi - fhi * (hi - lo) / (fhi - flo);
        else
            c = 0.5 * (lo + hi);
        const double fc = pathAt(c);
        if (std::fabs(fc) <= kZeroTolerance_m || std::fabs(hi - lo) < 1e-14)
            return done(c);
        if ((fc < 0) == (fhi < 0)) {
            hi = c;
            fhi = fc;
            if (side == -1)
                flo /= 2;
            side = -1;
        } else {
            lo = c;
            flo = fc;
            if (side == 1)
                fhi /= 2;
            side = 1;
        }
    }
    return done(std::nullopt);
}

} // namespace siacci::pointmass

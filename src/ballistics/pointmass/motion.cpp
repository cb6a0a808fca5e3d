#include "ballistics/pointmass/flight.hpp"

#include "ballistics/pointmass/atmosphere.hpp"
#include "ballistics/pointmass/dense_step.hpp"
#include "common/portable_math.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace siacci::pointmass {

namespace {

// The first step tried; the error control adapts it at once.
constexpr double kFirstStep_s = 1e-3;
// From how many rows in one step the step's polynomial is written out in powers of its fraction
// (fewer are found from a cubic guess, each point from the stages' weights).
constexpr std::size_t kManyRows = 3;
// The lowest absolute temperature the air is given with height, as a share of the muzzle's
// (only a bullet several kilometres up comes near it).
constexpr double kColdestShare = 0.5;

// (T / T0)^4.255876 = (1 + x)^n: near the muzzle's height (|x| <= 0.01, some 440 m) the binomial
// series to x^6 is exact to 1e-15 and several times faster than pow.
double densityRatio(double x)
{
    constexpr double n = kDensityExponent;
    if (std::fabs(x) > 0.01)
        return pm::pow(1 + x, n);
    constexpr double c1 = n, c2 = c1 * (n - 1) / 2, c3 = c2 * (n - 2) / 3, c4 = c3 * (n - 3) / 4,
                     c5 = c4 * (n - 4) / 5, c6 = c5 * (n - 5) / 6;
    return 1 + x * (c1 + x * (c2 + x * (c3 + x * (c4 + x * (c5 + x * c6)))));
}

} // namespace

double Dynamics::speedOfSound_ms(double height_m) const
{
    const double t_K = std::max(setup.muzzleTemperature_K - kLapseRate_Kpm * height_m,
                                kColdestShare * setup.muzzleTemperature_K);
    return 20.0467 * std::sqrt(t_K);
}

// Inlined into the stepper: it is called six times a step.
[[gnu::always_inline]] inline void Dynamics::operator()(const State& s, State& ds, double) const
{
    const auto& w = setup.wind_ms;
    const double ax = s[3] - w[0], ay = s[4] - w[1], az = s[5] - w[2];
    const double airSpeed = std::sqrt(ax * ax + ay * ay + az * az);
    // The air at the bullet's height: the temperature falls 6.5 K per km, the pressure and the
    // density follow the standard atmosphere's law from the muzzle's values.
    const double t_K = std::max(setup.muzzleTemperature_K - kLapseRate_Kpm * s[1],
                                kColdestShare * setup.muzzleTemperature_K);
    const double density =
        setup.muzzleDensity_kgm3 * densityRatio(t_K / setup.muzzleTemperature_K - 1);
    const double mach = airSpeed / (20.0467 * std::sqrt(t_K));
    const double k = setup.drag->coefficient_perm(density, airSpeed, mach) * airSpeed;
    ds[0] = s[3];
    ds[1] = s[4];
    ds[2] = s[5];
    ds[3] = -k * ax;
    ds[4] = -k * ay - kGravity_ms2;
    ds[5] = -k * az;
    if (setup.earthRotation_rads) {
        // a = -2 Omega x v, v over ground.
        const auto& o = *setup.earthRotation_rads;
        ds[3] -= 2 * (o[1] * s[5] - o[2] * s[4]);
        ds[4] -= 2 * (o[2] * s[3] - o[0] * s[5]);
        ds[5] -= 2 * (o[0] * s[4] - o[1] * s[3]);
    }
}

SightFrame::SightFrame(double lookAngle_rad)
    : along_x(pm::cos(lookAngle_rad)), along_y(pm::sin(lookAngle_rad)),
      up_x(-pm::sin(lookAngle_rad)), up_y(pm::cos(lookAngle_rad))
{
}

namespace {

State muzzleState(const FlightSetup& setup)
{
    State s{0, 0, 0, setup.muzzleVelocity_ms * pm::cos(setup.launchAngle_rad),
            setup.muzzleVelocity_ms * pm::sin(setup.launchAngle_rad), 0};
    if (setup.launchAzimuth_rad != 0) {
        const double level = s[3];
        s[3] = level * pm::cos(setup.launchAzimuth_rad);
        s[5] = level * pm::sin(setup.launchAzimuth_rad);
    }
    return s;
}

// Where a quantity g of the state crosses 0 upward inside the last step, g(previous) < 0 <=
// g(current): Newton's method on the step's dense output (`stateAt(t, s)`), kept inside the step
// by bisection. `g` gives the value and its time derivative; `guess` is the first time tried.
template <typename StateAt, typename G>
FlightPoint locate(StateAt stateAt, double lo, double hi, double guess, G g,
                   double settled = 1e-7)
{
    // A tenth of a micrometre along the line of sight moves the path by far less.
    const double kSettled = settled; // m, or m/s
    double t = guess;
    State s;
    for (int i = 0; i < 50; ++i) {
        stateAt(t, s);
        const auto [value, rate] = g(s);
        if (std::fabs(value) < kSettled ||
            hi - lo <= 4 * std::numeric_limits<double>::epsilon() * hi)
            break;
        (value < 0 ? lo : hi) = t;
        const double next = rate > 0 ? t - value / rate : lo - 1;
        t = next > lo && next < hi ? next : 0.5 * (lo + hi);
    }
    return {t, s};
}

// The first guess of a crossing: the cubic through both ends of the step with their slopes,
// solved by two Newton steps from the straight line (exact enough that one Newton step on the
// dense output usually settles it).
double crossingGuess(double t0, double t1, double g0, double g1, double rate0, double rate1)
{
    const double h = t1 - t0;
    const double m0 = rate0 * h, m1 = rate1 * h;
    // Hermite cubic on u in [0, 1].
    const auto value = [&](double u) {
        const double u2 = u * u, u3 = u2 * u;
        return (2 * u3 - 3 * u2 + 1) * g0 + (u3 - 2 * u2 + u) * m0 + (-2 * u3 + 3 * u2) * g1 +
               (u3 - u2) * m1;
    };
    const auto slope = [&](double u) {
        const double u2 = u * u;
        return (6 * u2 - 6 * u) * g0 + (3 * u2 - 4 * u + 1) * m0 + (-6 * u2 + 6 * u) * g1 +
               (3 * u2 - 2 * u) * m1;
    };
    double u = g0 / (g0 - g1);
    for (int i = 0; i < 2; ++i) {
        const double d = slope(u);
        if (!(d > 0))
            break;
        const double next = u - value(u) / d;
        if (!(next > 0 && next < 1))
            break;
        u = next;
    }
    return t0 + u * h;
}

} // namespace

std::size_t fly(const FlightSetup& setup, std::span<const double> distances,
                std::span<FlightPoint> out, const Tolerance& tolerance, FlightPoint* apex,
                double maxTime_s)
{
    const SightFrame frame(setup.lookAngle_rad);
    const State muzzle = muzzleState(setup);
    // The rate at which the bullet climbs away from the line of sight, negated: it increases
    // through 0 at the highest point.
    const auto sinking = [&frame](const State& s) {
        return -(s[3] * frame.up_x + s[4] * frame.up_y);
    };
    const auto forward = [&frame](const State& s) {
        return s[3] * frame.along_x + s[4] * frame.along_y;
    };

    std::size_t reached = 0;
    while (reached < distances.size() && distances[reached] <= 0)
        out[reached++] = {0, muzzle};
    bool apexFound = apex == nullptr;
    if (apex && sinking(muzzle) >= 0) {
        *apex = {0, muzzle};
        apexFound = true;
    }
    if (reached == distances.size())
        return reached;

    StageLog log;
    const LoggedSystem<Dynamics> dynamics{Dynamics{setup}, &log};
    Dense dense = makeDense(tolerance.absolute, tolerance.relative);
    dense.initialize(muzzle, 0.0, kFirstStep_s);
    StepInterpolant step;
    // The derivative at the start of the step (its first stage): the last one of the step before.
    const State* first = nullptr;
    // Whether the logged derivatives are the step's stages (always, unless the stepper took
    // them in another order: the points are then found on its own dense output).
    bool stagesKnown = true;
    for (int count = 0;; ++count) {
        const std::uint64_t callsBefore = log.calls;
        const auto [t0, t1] = dense.do_step(dynamics);
        const State& previous = dense.previous_state();
        const State& current = dense.current_state();
        if (count == 0)
            first = log.first;
        const std::uint64_t calls = log.calls - callsBefore - (count == 0 ? 1 : 0);
        stagesKnown = stagesKnown && calls > 0 && calls % 6 == 0 && log.lastInput == &current;
        const double along = frame.distance(current);
        const bool rowHere = reached < distances.size() && along >= distances[reached];
        const bool apexHere = !apexFound && sinking(current) >= 0;
        if ((rowHere || apexHere) && stagesKnown)
            step.reset(previous, t0, t1,
                       {first, &log.back(5), &log.back(4), &log.back(3), &log.back(2),
                        &log.back(1)});
        const auto stateAt = [&](double t, State& s) {
            if (stagesKnown)
                s = step.at(t);
            else
                dense.calc_state(t, s);
        };
        if (apexHere) {
            const auto g = [&frame, &sinking](const State& s) {
                // d/dt of the sinking rate: the acceleration across the line of sight. It is
                // close to g cos(look angle) and positive; Newton only needs its sign and size.
                return std::pair{sinking(s), kGravity_ms2 * frame.up_y};
            };
            const double guess =
                t0 + (t1 - t0) * sinking(previous) / (sinking(previous) - sinking(current));
            *apex = locate(stateAt, t0, t1, guess, g);
            apexFound = true;
        }
        const double before = frame.distance(previous);
        // Several rows in this step: Newton's method on the distance, the step's polynomial
        // written out once.
        if (stagesKnown && reached + kManyRows <= distances.size() &&
            along >= distances[reached + kManyRows - 1]) {
            step.expand(frame);
            while (reached < distances.size() && along >= distances[reached]) {
                const double target = distances[reached];
                const auto point = step.atDistance(target, (target - before) / (along - before),
                                                   tolerance.rowDistance_m);
                if (!point)
                    break;
                out[reached++] = *point;
            }
        }
        // One or two: from the cubic through the step's ends to the tolerance of a row.
        while (reached < distances.size() && along >= distances[reached]) {
            const double target = distances[reached];
            const auto g = [&](const State& s) {
                return std::pair{frame.distance(s) - target, forward(s)};
            };
            const double guess = crossingGuess(t0, t1, before - target, along - target,
                                               forward(previous), forward(current));
            out[reached++] = locate(stateAt, t0, t1, guess, g, tolerance.rowDistance_m);
        }
        if (stagesKnown)
            first = &log.back(1);
        if (reached == distances.size() || forward(current) <= 0 || t1 > maxTime_s ||
            count >= kMaxFlightSteps)
            break;
    }
    if (!apexFound && reached > 0)
        *apex = out[reached - 1];
    return reached;
}

double flyToMuzzleHeight_m(const FlightSetup& setup, double maxTime_s)
{
    const Dynamics dynamics{setup};
    Dense dense = makeDense(1e-7, 1e-7);
    dense.initialize(muzzleState(setup), 0.0, kFirstStep_s);
    for (int step = 0;; ++step) {
        const auto [t0, t1] = dense.do_step(dynamics);
        const State& previous = dense.previous_state();
        const State& current = dense.current_state();
        if (current[1] < 0 && current[4] < 0) {
            const auto g = [](const State& s) { return std::pair{-s[1], -s[4]}; };
            const double guess = t0 + (t1 - t0) * previous[1] / (previous[1] - current[1]);
            const auto stateAt = [&dense](double t, State& s) { dense.calc_state(t, s); };
            const FlightPoint landing = locate(stateAt, t0, t1, guess, g);
            return pm::hypot(landing.state[0], landing.state[2]);
        }
        if (t1 > maxTime_s || step >= kMaxFlightSteps)
            return 0;
    }
}

} // namespace siacci::pointmass

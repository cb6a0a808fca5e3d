#include "ballistics/pointmass/flight.hpp"

#include "ballistics/pointmass/atmosphere.hpp"
#include "common/portable_math.hpp"

#include <boost/numeric/odeint/stepper/generation.hpp>
#include <boost/numeric/odeint/stepper/runge_kutta_dopri5.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

namespace siacci::pointmass {

namespace odeint = boost::numeric::odeint;

namespace {

// The first step tried; the error control adapts it at once.
constexpr double kFirstStep_s = 1e-3;
// From how many rows in one step they are read off the step's polynomial (four evaluations of
// the dense output for the whole step, against about two for each row).
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

void Dynamics::operator()(const State& s, State& ds, double) const
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

// Odeint's step-size control as its default, but with the program's pow (the C libraries' pow
// differs in the last bit between platforms, and so would every step after it) and without
// the pow of a constant: the floor of an accepted step's growth, 5^-5, is written out. The
// roots stay pows: a cube root differs from pow(x, -1/3) in the last bit, and a step one bit
// longer or shorter moves a transonic row by a ten-millionth.
class PortableStepAdjuster : public odeint::default_step_adjuster<double, double> {
public:
    double decrease_step(double dt, double error, int errorOrder) const
    {
        return dt * std::max(0.9 * pm::pow(error, -1.0 / (errorOrder - 1)), 0.2);
    }
    double increase_step(double dt, double error, int stepperOrder) const
    {
        if (error < 0.5) {
            error = std::max(stepperOrder == 5 ? kFifthPowerOfOneFifth
                                               : pm::pow(5.0, -static_cast<double>(stepperOrder)),
                             error);
            dt *= 0.9 * pm::pow(error, -1.0 / stepperOrder);
        }
        return dt;
    }

private:
    // pm::pow(5, -5), to the bit (one unit in the last place above 1 / 3125), so that the steps
    // are the ones the control has always taken.
    static constexpr double kFifthPowerOfOneFifth = 0x1.4f8b588e368f2p-12;
};

using Stepper = odeint::runge_kutta_dopri5<State>;
using ErrorChecker =
    odeint::default_error_checker<double, Stepper::algebra_type, Stepper::operations_type>;
using Controlled = odeint::controlled_runge_kutta<Stepper, ErrorChecker, PortableStepAdjuster>;
using Dense = odeint::dense_output_runge_kutta<Controlled>;

Dense makeDense(double absolute, double relative)
{
    return Dense(Controlled(ErrorChecker(absolute, relative), PortableStepAdjuster(), Stepper()));
}

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
// g(current): Newton's method on the dense output, kept inside the step by bisection. `g` gives
// the value and its time derivative; `guess` is the first time tried.
template <typename G>
FlightPoint locate(const Dense& dense, double lo, double hi, double guess, G g,
                   double settled = 1e-7)
{
    // A tenth of a micrometre along the line of sight moves the path by far less.
    const double kSettled = settled; // m, or m/s
    double t = guess;
    State s;
    for (int i = 0; i < 50; ++i) {
        dense.calc_state(t, s);
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

// The dense output over one step is a polynomial of degree 5 in the step's fraction: sampled
// at six fractions (the two ends and four inside), it is that polynomial again, to rounding, in
// Newton's form. A step that holds many rows takes the four samples once; each row is then found
// by Newton's method on the distance along the line of sight and read off the polynomial, a few
// dozen multiplications instead of evaluations of the dense output.
class StepPolynomial {
public:
    StepPolynomial(const Dense& dense, const SightFrame& frame)
        : m_t0(dense.previous_time()), m_h(dense.current_time() - dense.previous_time())
    {
        std::array<State, kNodes> samples;
        samples[0] = dense.previous_state();
        samples[kNodes - 1] = dense.current_state();
        for (std::size_t j = 1; j + 1 < kNodes; ++j)
            dense.calc_state(m_t0 + m_h * kFraction[j], samples[j]);
        for (std::size_t i = 0; i < 6; ++i) {
            std::array<double, kNodes> c;
            for (std::size_t j = 0; j < kNodes; ++j)
                c[j] = samples[j][i];
            dividedDifferences(c);
            m_state[i] = c;
        }
        for (std::size_t j = 0; j < kNodes; ++j)
            m_distance[j] = m_state[0][j] * frame.along_x + m_state[1][j] * frame.along_y;
    }

    // The point at the slant distance `target`, which the step reaches; nullopt when Newton's
    // method does not settle (the caller then locates it on the dense output).
    std::optional<FlightPoint> at(double target, double startFraction) const
    {
        double u = startFraction;
        for (int i = 0; i < 12; ++i) {
            double value = m_distance[kNodes - 1], rate = 0;
            for (std::size_t j = kNodes - 1; j-- > 0;) {
                rate = rate * (u - kFraction[j]) + value;
                value = value * (u - kFraction[j]) + m_distance[j];
            }
            if (!(rate > 0))
                return std::nullopt;
            const double next = u - (value - target) / rate;
            if (!(next >= 0 && next <= 1))
                return std::nullopt;
            // Newton converges quadratically: after a step of 1e-9 of the step, the error left
            // is below rounding.
            const bool settled = std::fabs(next - u) <= 1e-9;
            u = next;
            if (settled)
                return point(u);
        }
        return std::nullopt;
    }

private:
    static constexpr std::size_t kNodes = 6;
    static constexpr std::array<double, kNodes> kFraction{0, 0.2, 0.4, 0.6, 0.8, 1};

    // Newton's divided differences of the samples, in place.
    // The nodes are evenly spaced: the divisor of an order is that order's span, and its
    // reciprocal is taken once (divisions cost more than the rest of the step's polynomial).
    static void dividedDifferences(std::array<double, kNodes>& c)
    {
        static constexpr double kPerSpan[kNodes] = {0, 1 / 0.2, 1 / 0.4, 1 / 0.6, 1 / 0.8, 1 / 1.0};
        for (std::size_t order = 1; order < kNodes; ++order)
            for (std::size_t j = kNodes - 1; j >= order; --j)
                c[j] = (c[j] - c[j - 1]) * kPerSpan[order];
    }

    FlightPoint point(double u) const
    {
        FlightPoint p;
        p.time_s = m_t0 + m_h * u;
        for (std::size_t i = 0; i < 6; ++i) {
            const auto& c = m_state[i];
            double value = c[kNodes - 1];
            for (std::size_t j = kNodes - 1; j-- > 0;)
                value = value * (u - kFraction[j]) + c[j];
            p.state[i] = value;
        }
        return p;
    }

    double m_t0, m_h;
    std::array<std::array<double, kNodes>, 6> m_state;
    std::array<double, kNodes> m_distance;
};

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
    const auto distanceOf = [&frame](const State& s) {
        return std::pair{frame.distance(s), s[3] * frame.along_x + s[4] * frame.along_y};
    };
    // The rate at which the bullet climbs away from the line of sight, negated: it increases
    // through 0 at the highest point.
    const auto sinking = [&frame](const State& s) {
        return -(s[3] * frame.up_x + s[4] * frame.up_y);
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

    const Dynamics dynamics{setup};
    Dense dense = makeDense(tolerance.absolute, tolerance.relative);
    dense.initialize(muzzle, 0.0, kFirstStep_s);
    for (int step = 0;; ++step) {
        const auto [t0, t1] = dense.do_step(dynamics);
        const State& previous = dense.previous_state();
        const State& current = dense.current_state();
        if (!apexFound && sinking(current) >= 0) {
            const auto g = [&frame, &sinking](const State& s) {
                // d/dt of the sinking rate: the acceleration across the line of sight. It is
                // close to g cos(look angle) and positive; Newton only needs its sign and size.
                return std::pair{sinking(s), kGravity_ms2 * frame.up_y};
            };
            const double guess =
                t0 + (t1 - t0) * sinking(previous) / (sinking(previous) - sinking(current));
            *apex = locate(dense, t0, t1, guess, g);
            apexFound = true;
        }
        const double along = frame.distance(current);
        // Several rows in this step: read them off the step's polynomial.
        if (reached + kManyRows <= distances.size() &&
            along >= distances[reached + kManyRows - 1]) {
            const StepPolynomial polynomial(dense, frame);
            const double before = frame.distance(previous);
            while (reached < distances.size() && along >= distances[reached]) {
                const double target = distances[reached];
                const auto point = polynomial.at(target, (target - before) / (along - before));
                if (!point)
                    break;
                out[reached++] = *point;
            }
        }
        while (reached < distances.size() && along >= distances[reached]) {
            const double target = distances[reached];
            const auto g = [&](const State& s) {
                const auto [d, rate] = distanceOf(s);
                return std::pair{d - target, rate};
            };
            const double guess =
                crossingGuess(t0, t1, frame.distance(previous) - target, along - target,
                              distanceOf(previous).second, distanceOf(current).second);
            out[reached++] = locate(dense, t0, t1, guess, g, tolerance.rowDistance_m);
        }
        if (reached == distances.size() || distanceOf(current).second <= 0 || t1 > maxTime_s ||
            step >= kMaxFlightSteps)
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
            const FlightPoint landing = locate(dense, t0, t1, guess, g);
            return pm::hypot(landing.state[0], landing.state[2]);
        }
        if (t1 > maxTime_s || step >= kMaxFlightSteps)
            return 0;
    }
}

} // namespace siacci::pointmass

#pragma once

#include "ballistics/pointmass/flight.hpp"
#include "common/portable_math.hpp"

#include <boost/numeric/odeint/stepper/controlled_runge_kutta.hpp>
#include <boost/numeric/odeint/stepper/dense_output_runge_kutta.hpp>
#include <boost/numeric/odeint/stepper/runge_kutta_dopri5.hpp>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

// The integrator of the flight (odeint's Dormand-Prince 5(4) with its dense output and error
// control) and the flight's points read off each step's dense output.
namespace siacci::pointmass {

// Odeint's step-size control as its default, but with the program's pow (the C libraries' pow
// differs in the last bit between platforms, and so would every step after it) and without
// the pow of a constant: the floor of an accepted step's growth, 5^-5, is written out. The
// roots stay pows: a cube root differs from pow(x, -1/3) in the last bit, and a step one bit
// longer or shorter moves a transonic row by a ten-millionth.
class PortableStepAdjuster : public boost::numeric::odeint::default_step_adjuster<double, double> {
public:
    double decrease_step(double dt, double error, int errorOrder) const
    {
        return dt * std::max(0.9 * pm::pow(error, -1.0 / (errorOrder - 1)), 0.2);
    }
    double increase_step(double dt, double error, int stepperOrder) const
    {
        if (error < 0.5) {
            if (stepperOrder == 5 && error <= kFifthPowerOfOneFifth)
                return dt * (0.9 * fastestGrowth());
            error = std::max(stepperOrder == 5 ? kFifthPowerOfOneFifth
                                               : pm::pow(5.0, -static_cast<double>(stepperOrder)),
                             error);
            dt *= 0.9 * pm::pow(error, -1.0 / stepperOrder);
        }
        return dt;
    }

private:
    // The growth of a step whose error is at the floor or below (the first steps of every
    // flight, from 1 ms), as the control computes it: reckoned once.
    static double fastestGrowth()
    {
        static const double growth = pm::pow(kFifthPowerOfOneFifth, -1.0 / 5);
        return growth;
    }
    // pm::pow(5, -5), to the bit (one unit in the last place above 1 / 3125), so that the steps
    // are the ones the control has always taken.
    static constexpr double kFifthPowerOfOneFifth = 0x1.4f8b588e368f2p-12;
};

using Stepper = boost::numeric::odeint::runge_kutta_dopri5<State>;
using ErrorChecker = boost::numeric::odeint::default_error_checker<double, Stepper::algebra_type,
                                                                   Stepper::operations_type>;
using Controlled =
    boost::numeric::odeint::controlled_runge_kutta<Stepper, ErrorChecker, PortableStepAdjuster>;
using Dense = boost::numeric::odeint::dense_output_runge_kutta<Controlled>;

Dense makeDense(double absolute, double relative);

// Where the stepper put the derivatives it asked of the equations of motion. The Dormand-Prince
// step evaluates its stages in order, the last one at the new state (the first of the next
// step), each into a buffer of its own that it keeps until the next step: after an accepted step
// the last six are its stages 2 to 7, still in place.
struct StageLog {
    std::array<const State*, 8> ring{}; // call n wrote into *ring[n % 8]
    std::uint64_t calls = 0;
    const State* first = nullptr;       // the very first derivative: the muzzle's
    const State* lastInput = nullptr;   // where the stepper held the state of the last call

    const State& back(std::uint64_t k) const { return *ring[(calls - k) & 7]; }
};

// A system of equations (the flight's: Dynamics) noting in a StageLog where each derivative
// went (the stepper copies the system it is given, so the log is held by pointer).
template <typename System>
struct LoggedSystem {
    System system;
    StageLog* log;
    void operator()(const State& s, State& ds, double t) const
    {
        system(s, ds, t);
        if (log->calls == 0)
            log->first = &ds;
        log->ring[log->calls++ & 7] = &ds;
        log->lastInput = &s;
    }
};

// The dense output of one step, x(u) = x0 + h sum_i b_i(u) k_i for the fraction u of the step,
// from the stages the stepper left in place: the same numbers as odeint's calc_state without the
// stepper, and for many points in one step the polynomial written out in powers of u.
class StepInterpolant {
public:
    // The step from x0 at t0 to t1, with the derivatives at its stages 1, 3, 4, 5, 6 and 7
    // (stage 2 has no weight in the dense output). They must outlive the use.
    void reset(const State& x0, double t0, double t1, const std::array<const State*, 6>& k)
    {
        m_x0 = &x0;
        m_t0 = t0;
        m_t1 = t1;
        m_k = k;
    }

    // The state at the time t of the step, to the bit what odeint's calc_state gives.
    State at(double t) const;

    // For many points in the step: the polynomial of every component in powers of u, then the
    // point at the slant distance `target` along the line of sight of `frame`, which the step
    // reaches, by Newton's method from the fraction `guess` until what is left is far below
    // `settled_m`; nullopt when it does not settle inside the step.
    void expand(const SightFrame& frame);
    std::optional<FlightPoint> atDistance(double target, double guess, double settled_m) const;

private:
    double m_t0 = 0, m_t1 = 0;
    const State* m_x0 = nullptr;
    std::array<const State*, 6> m_k{};
    // After expand: m_c[p - 1][i], the coefficient of u^p in component i, and the distance's.
    std::array<State, 5> m_c{};
    std::array<double, 5> m_distance{};
    double m_distance0 = 0;
};

} // namespace siacci::pointmass

#include "ballistics/pointmass/dense_step.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::pointmass {
namespace {

// A bullet's equations of motion reduced to what shapes its path: drag growing with the square
// of the air speed (faster below Mach 1), a side wind and gravity.
struct Projectile {
    double drag_perm = 5e-4;
    double wind_ms = -4;
    void operator()(const State& s, State& ds, double) const
    {
        const double ax = s[3], ay = s[4], az = s[5] - wind_ms;
        const double speed = std::sqrt(ax * ax + ay * ay + az * az);
        const double k = (speed > 340 ? drag_perm : 0.6 * drag_perm) * speed;
        ds = {s[3], s[4], s[5], -k * ax, -k * ay - kGravity_ms2, -k * az};
    }
};

// A flight's steps, each with the interpolant made from the stages the log points at, beside
// odeint's own dense output of the same step.
template <typename Check>
void forEachStep(const State& muzzle, const Projectile& projectile, int steps, Check check)
{
    StageLog log;
    const LoggedSystem<Projectile> system{projectile, &log};
    Dense dense = makeDense(1e-8, 1e-8);
    dense.initialize(muzzle, 0.0, 1e-3);
    const State* first = nullptr;
    for (int count = 0; count < steps; ++count) {
        const std::uint64_t before = log.calls;
        const auto [t0, t1] = dense.do_step(system);
        if (count == 0)
            first = log.first;
        // Accepted or retried, a step asks six derivatives per try, the last at its new state.
        ASSERT_EQ((log.calls - before - (count == 0 ? 1 : 0)) % 6, 0u);
        ASSERT_EQ(log.lastInput, &dense.current_state());
        StepInterpolant step;
        step.reset(dense.previous_state(), t0, t1,
                   {first, &log.back(5), &log.back(4), &log.back(3), &log.back(2), &log.back(1)});
        check(dense, step, t0, t1);
        first = &log.back(1);
    }
}

struct Flight {
    State muzzle;
    Projectile projectile;
    double lookAngle_rad;
};

// Level and supersonic; steep uphill through Mach 1 with a strong wind.
const Flight kFlights[] = {
    {{0, 0, 0, 800, 1, 0}, {}, 0},
    {{0, 0, 0, 400, 250, 0}, {8e-4, 10}, 0.55},
};

// The figures of the engine were recorded with odeint's dense output: a point between two steps
// must be the same to the bit, or a row near its tolerance settles one Newton step apart.
TEST(StepInterpolant, GivesOdeintsDenseOutputToTheBit)
{
    for (const Flight& flight : kFlights)
        forEachStep(flight.muzzle, flight.projectile, 40, [](const Dense& dense, const StepInterpolant& step, double t0,
                                  double t1) {
            for (const double u : {0.0, 0.013, 0.25, 0.5, 0.77, 0.999, 1.0}) {
                const double t = t0 + u * (t1 - t0);
                State expected;
                dense.calc_state(t, expected);
                const State got = step.at(t);
                for (std::size_t i = 0; i < 6; ++i)
                    ASSERT_EQ(got[i], expected[i]) << "component " << i << " at " << t;
            }
        });
}

// Many rows in one step are read off the polynomial written out in powers of the fraction: the
// same dense output to rounding, at the slant distance asked, with the tolerance of the row
// honoured (a Monte Carlo asks a millimetre, a card a tenth of a micrometre).
TEST(StepInterpolant, FindsEveryDistanceInsideTheStep)
{
    for (const Flight& flight : kFlights) {
        const SightFrame frame(flight.lookAngle_rad);
        forEachStep(flight.muzzle, flight.projectile, 40, [&](const Dense&, StepInterpolant& step, double t0, double t1) {
            const double before = frame.distance(step.at(t0));
            const double after = frame.distance(step.at(t1));
            step.expand(frame);
            for (const double share : {0.0, 0.1, 0.5, 0.9, 1.0})
                for (const double settled : {1e-7, 1e-3}) {
                    const double target = before + share * (after - before);
                    const auto point = step.atDistance(target, share, settled);
                    ASSERT_TRUE(point) << target;
                    EXPECT_NEAR(frame.distance(point->state), target, 1e-3 * settled + 1e-12 * target);
                    const State exact = step.at(point->time_s);
                    for (std::size_t i = 0; i < 6; ++i)
                        EXPECT_NEAR(point->state[i], exact[i], 1e-12 * (1 + std::fabs(exact[i])));
                }
        });
    }
}

} // namespace
} // namespace siacci::pointmass

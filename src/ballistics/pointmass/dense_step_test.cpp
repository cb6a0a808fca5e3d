#include "ballistics/pointmass/dense_step.hpp"

#include "ballistics/pointmass/classic_bullet.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::pointmass {
namespace {

// A flight's steps, each with the interpolant made from the stages the log points at, beside
// odeint's own dense output of the same step.
template <typename Check>
void forEachStep(const FlightSetup& setup, int steps, Check check)
{
    StageLog log;
    const LoggedDynamics dynamics{Dynamics{setup}, &log};
    Dense dense = makeDense(1e-8, 1e-8);
    dense.initialize(State{0, 0, 0, setup.muzzleVelocity_ms, 0, 0}, 0.0, 1e-3);
    const State* first = nullptr;
    for (int count = 0; count < steps; ++count) {
        const std::uint64_t before = log.calls;
        const auto [t0, t1] = dense.do_step(dynamics);
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

struct Flights {
    Bullet g1 = classicBullet();
    Bullet g7;
    DragFunction g1Drag{g1};
    std::optional<DragFunction> g7Drag;
    Flights()
    {
        g7 = g1;
        g7.model = DragModel::G7;
        g7.bc_lbin2 = 0.243;
        g7.bcSteps = {{0.25, 600}};
        g7Drag.emplace(g7);
    }
    std::vector<FlightSetup> setups() const
    {
        FlightSetup level;
        level.drag = &g1Drag;
        level.muzzleDensity_kgm3 = 1.225;
        level.muzzleTemperature_K = 288.15;
        level.muzzleVelocity_ms = 800;
        level.wind_ms = {0, 0, -4};
        FlightSetup uphill = level;
        uphill.drag = &*g7Drag;
        uphill.lookAngle_rad = 0.3;
        uphill.launchAngle_rad = 0.302;
        uphill.earthRotation_rads = std::array<double, 3>{5e-5, 5e-5, -1e-5};
        return {level, uphill};
    }
};

// The figures of the engine were recorded with odeint's dense output: a point between two steps
// must be the same to the bit, or a row near its tolerance settles one Newton step apart.
TEST(StepInterpolant, GivesOdeintsDenseOutputToTheBit)
{
    const Flights flights;
    for (const FlightSetup& setup : flights.setups())
        forEachStep(setup, 40, [](const Dense& dense, const StepInterpolant& step, double t0,
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
    const Flights flights;
    for (const FlightSetup& setup : flights.setups()) {
        const SightFrame frame(setup.lookAngle_rad);
        forEachStep(setup, 40, [&](const Dense&, StepInterpolant& step, double t0, double t1) {
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

#include "ballistics/pointmass/fixed_bore.hpp"
#include "ballistics/pointmass/flight.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <vector>

#include <benchmark/benchmark.h>

namespace siacci::pointmass {
namespace {

// The worked example of the point-mass engine: G1 0.4, 800 m/s, 150 grains, sight 4 cm,
// zero 220 m, ICAO air, 16 km/h of wind from 3 o'clock.
struct Example {
    Bullet bullet;
    Conditions conditions;
    Zeroing zeroing;
    Example()
    {
        bullet.muzzleVelocity_ms = 800;
        bullet.weight_gr = 150;
        bullet.bc_lbin2 = 0.4;
        conditions.wind = {16 / 3.6, 90};
        zeroing.sightHeight_cm = 4;
        zeroing.zeroDistance_m = 220;
    }
};

// The card a hunter prints: 0 to 300 m every 25 m, with its zero.
void BM_PointMass13RowsWithZero(benchmark::State& state)
{
    const Example e;
    for (auto _ : state)
        benchmark::DoNotOptimize(computeTrajectory(e.bullet, e.conditions, e.zeroing, {300, 25}));
}
BENCHMARK(BM_PointMass13RowsWithZero)->Unit(benchmark::kMicrosecond);

// Every metre to 1000 m (the zero included).
void BM_PointMass1001Rows(benchmark::State& state)
{
    const Example e;
    for (auto _ : state)
        benchmark::DoNotOptimize(computeTrajectory(e.bullet, e.conditions, e.zeroing, {1000, 1}));
}
BENCHMARK(BM_PointMass1001Rows)->Unit(benchmark::kMicrosecond);

// The long-range case: G7 with the maker's-style stepped coefficient, Coriolis, spin drift and
// a 10 degree uphill shot, every 50 m to 1500 m.
void BM_PointMassEverythingTo1500m(benchmark::State& state)
{
    Example e;
    e.bullet.model = DragModel::G7;
    e.bullet.bc_lbin2 = 0.22;
    e.bullet.bcSteps = {{0.243, 600}};
    e.bullet.diameter_mm = 7.82;
    e.bullet.length_mm = 30.8;
    e.bullet.twist_in = 10;
    e.conditions.earth = EarthPosition{45, 90};
    e.conditions.lookAngle_deg = 10;
    e.zeroing.zeroDistance_m = 100;
    for (auto _ : state)
        benchmark::DoNotOptimize(computeTrajectory(e.bullet, e.conditions, e.zeroing, {1500, 50}));
}
BENCHMARK(BM_PointMassEverythingTo1500m)->Unit(benchmark::kMicrosecond);

// A G7 card to 1500 m every 50 m, 10 degrees uphill, with its 100 m zero.
void BM_PointMassG7To1500mUphill(benchmark::State& state)
{
    Example e;
    e.bullet.model = DragModel::G7;
    e.bullet.bc_lbin2 = 0.243;
    e.conditions.lookAngle_deg = 10;
    e.zeroing.zeroDistance_m = 100;
    for (auto _ : state)
        benchmark::DoNotOptimize(computeTrajectory(e.bullet, e.conditions, e.zeroing, {1500, 50}));
}
BENCHMARK(BM_PointMassG7To1500mUphill)->Unit(benchmark::kMicrosecond);

// One shot of the chance of a hit: the bore fixed (no zero search), impacts every 10 m to
// 500 m, flown as the Monte Carlo flies it (its own error control) and, beside it, at the
// card's (flyFixedBore's rows).
void BM_PointMassFixedBoreFlight51Points(benchmark::State& state, const Tolerance& tolerance)
{
    const Example e;
    const FixedBoreFlight flight(e.bullet, e.conditions, FixedBore{4.1, 4, 0, 0});
    std::vector<double> distances;
    for (int d = 0; d <= 500; d += 10)
        distances.push_back(d);
    std::vector<Impact> impacts(distances.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(flight.fly(flight.nominal(), distances, impacts, tolerance));
}
BENCHMARK_CAPTURE(BM_PointMassFixedBoreFlight51Points, SampleTolerance, kSampleTolerance)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PointMassFixedBoreFlight51Points, CardTolerance, kCardTolerance)
    ->Unit(benchmark::kMicrosecond);

// The same 13-row card from the closed-form engine.
void BM_SiacciCard13Rows(benchmark::State& state)
{
    const Example e;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            computeSiacciTrajectory(e.bullet, e.conditions, e.zeroing, {300, 25}));
}
BENCHMARK(BM_SiacciCard13Rows)->Unit(benchmark::kMicrosecond);

// The safety figure: the best launch angle found by golden section, each trial a flight of
// several kilometres.
void BM_MaximumRange(benchmark::State& state)
{
    const Example e;
    for (auto _ : state)
        benchmark::DoNotOptimize(maximumRange_m(e.bullet, e.conditions));
}
BENCHMARK(BM_MaximumRange)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci::pointmass

#include "card/hit_presets.hpp"
#include "card/hit_probability.hpp"

#include <vector>

#include <benchmark/benchmark.h>

namespace siacci::card {
namespace {

// The hunter's card: every 10 m to 500 m (50 rows past the muzzle), 10,000 samples, a boar
// from the sticks with a rangefinder and a guessed wind.
void BM_HitProbability10000Samples50Rows(benchmark::State& state)
{
    pm::Bullet bullet;
    bullet.muzzleVelocity_ms = 800;
    bullet.weight_gr = 150;
    bullet.bc_lbin2 = 0.4;
    pm::Conditions conditions;
    conditions.wind = {10 / 3.6, 90};
    pm::Zeroing zeroing;
    zeroing.sightHeight_cm = 4;
    zeroing.zeroDistance_m = 200;
    std::vector<double> distances;
    for (int d = 10; d <= 500; d += 10)
        distances.push_back(d);
    HitSettings settings;
    settings.vitalZone_cm = 15;
    settings.sd = {1, 0, windReadingSd_kmh(WindReading::Stimato), 10, 2,
                   coneSd_moa(1, ShootingPosition::Bastone)};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            computeHitTable(bullet, conditions, zeroing, distances, settings));
}
BENCHMARK(BM_HitProbability10000Samples50Rows)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci::card

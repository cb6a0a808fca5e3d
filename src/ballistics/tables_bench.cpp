#include "ballistics/engine/engine.hpp"
#include "ballistics/tables.hpp"
#include "ballistics/worked_example.hpp"

#include <benchmark/benchmark.h>

namespace siacci {
namespace {

// One distance of a table: the band moves a little between successive points, as in a run.
void BM_EvaluatePoint(benchmark::State& state)
{
    auto shot = *prepareShot(800, 0.4, 0, 15, 150, 4);
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluatePoint(shot, x));
        x += 82.02;
        if (x > 4000)
            x = 0;
    }
}
BENCHMARK(BM_EvaluatePoint);

// The 13-row metric table with its cell texts.
void BM_MetricTable13Rows(benchmark::State& state)
{
    const ShotInput in = workedExample();
    for (auto _ : state)
        benchmark::DoNotOptimize(tableEuropa(in, RunKind::Screen));
}
BENCHMARK(BM_MetricTable13Rows);

// The largest table the program accepts, printed so that no energy stop cuts it short.
void BM_MetricTable10000Rows(benchmark::State& state)
{
    ShotInput in = workedExample();
    in.increment = 1;
    in.maxDistance = 9999;
    for (auto _ : state)
        benchmark::DoNotOptimize(tableEuropa(in, RunKind::Print));
}
BENCHMARK(BM_MetricTable10000Rows)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci

// The ballistic-coefficient search: every press of CALCOLA must answer well within 10 ms.
#include "bc/bc_search.hpp"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using siacci::BcReadings;

// Readings as users bring them: rifles, pistols, short and long chronograph spacings.
const std::vector<BcReadings>& typicalReadings()
{
    static const std::vector<BcReadings> readings = {
        {800, 594, 300}, {853, 780, 100}, {940, 700, 300}, {715, 660, 50},  {980, 610, 500},
        {350, 330, 25},  {380, 340, 50},  {290, 270, 25},  {260, 240, 50},  {1100, 900, 200},
        {830, 790, 30},  {760, 430, 600}, {353, 351, 5},   {450, 300, 200}, {1200, 1150, 50},
        {870, 860, 10},  {300, 299, 5},   {650, 500, 200}, {1000, 990, 20}, {420, 380, 100},
    };
    return readings;
}

void BM_BcSearch_Typical(benchmark::State& state)
{
    const auto& readings = typicalReadings();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(siacci::searchBc(readings[i]));
        i = (i + 1) % readings.size();
    }
    state.SetLabel("one search, cycling through typical readings");
}
BENCHMARK(BM_BcSearch_Typical)->Unit(benchmark::kMicrosecond);

void BM_BcSearch_WorkedExample(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(siacci::searchBc({800, 594, 300}));
}
BENCHMARK(BM_BcSearch_WorkedExample)->Unit(benchmark::kMicrosecond);

// The same velocity over 1000 m: no coefficient up to 10 reaches it, so the search runs to its
// bound. Arguments: the first (and second) velocity, m/s.
void BM_BcSearch_WorstCase(benchmark::State& state)
{
    const double v = static_cast<double>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(siacci::searchBc({v, v, 1000}));
}
BENCHMARK(BM_BcSearch_WorstCase)->Arg(100)->Arg(353)->Arg(800)->Arg(1371)
    ->Unit(benchmark::kMicrosecond);

// The reference, for scale: 100000 trials in the worst case.
void BM_BcSearchLinear_WorstCase(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(siacci::searchBcLinear({800, 800, 1000}));
}
BENCHMARK(BM_BcSearchLinear_WorstCase)->Unit(benchmark::kMicrosecond);

} // namespace

// What one shot costs: the solution at the rangefinder's distance (target: under 30 us), and a
// keystroke of "Il tiro" from the typed distance to the answer and the reticle drawn (one frame).
#include "card/il_tiro.hpp"
#include "card/reticle_drawing.hpp"

#include <benchmark/benchmark.h>

#include <string>

namespace siacci::card {
namespace {

CardSetup workedShot()
{
    CardSetup s;
    s.bullet.muzzleVelocity_ms = 800;
    s.bullet.weight_gr = 150;
    s.bullet.bc_lbin2 = 0.4;
    s.zeroing.sightHeight_cm = 4;
    s.zeroing.zeroDistance_m = 100;
    s.conditions.wind = {16 / 3.6, 90};
    s.span = {500, 50};
    return s;
}

// The solution with its wind bracket: three flights to the distance, each with its zero.
void Tiro_SolutionAt287m(benchmark::State& state)
{
    const CardSetup s = workedShot();
    for (auto _ : state)
        benchmark::DoNotOptimize(solveAt(s, 287));
}
BENCHMARK(Tiro_SolutionAt287m)->Unit(benchmark::kMicrosecond);

// A digit of the distance typed: the solution, the hold, the holds of the card's rows, the
// reticle drawn and written as the page's SVG.
void Tiro_KeystrokeToTheDrawnReticle(benchmark::State& state)
{
    Cartellino card;
    card.fieldChanged(CardField::WindSpeed, "16");
    IlTiro tiro(card);
    tiro.reticleChosen(1);
    bool odd = false;
    for (auto _ : state) {
        tiro.fieldChanged(TiroField::Distance, (odd = !odd) ? "287" : "288");
        benchmark::DoNotOptimize(reticleSvg(*tiro.view().drawing, 300));
    }
}
BENCHMARK(Tiro_KeystrokeToTheDrawnReticle)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace siacci::card

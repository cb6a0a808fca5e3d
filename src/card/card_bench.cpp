// What an edit costs in the range card's window model: from the changed field to the card ready
// to be shown (target: under 16 ms, one frame).
#include "card/cartellino.hpp"

#include <benchmark/benchmark.h>

namespace siacci::card {
namespace {

// The hunter's card: .308 165 grains, wind 15 km/h from 9, 20 degrees downhill, 1/4 MOA,
// every 50 m to 500 m, a 12 cm vital zone and a minimum energy.
Cartellino huntersCard()
{
    Cartellino card;
    card.fieldChanged(CardField::Velocity, "823");
    card.fieldChanged(CardField::Bc, "0,285");
    card.fieldChanged(CardField::Weight, "165");
    card.fieldChanged(CardField::WindSpeed, "15");
    card.windClockChosen(9);
    card.fieldChanged(CardField::LookAngle, "-20");
    card.clickChosen(ClickChoice::Moa025);
    return card;
}

// An edit that changes the flight (the velocity): everything is recomputed, the optimal zero
// and the maximum range included.
void Card_EditVelocity(benchmark::State& state)
{
    Cartellino card = huntersCard();
    bool odd = false;
    for (auto _ : state) {
        card.fieldChanged(CardField::Velocity, (odd = !odd) ? "824" : "823");
        benchmark::DoNotOptimize(card.sheet().rows.data());
    }
}
BENCHMARK(Card_EditVelocity)->Unit(benchmark::kMillisecond);

// An edit of the table only (the increment): the optimal zero and the range are kept.
void Card_EditIncrement(benchmark::State& state)
{
    Cartellino card = huntersCard();
    bool odd = false;
    for (auto _ : state) {
        card.fieldChanged(CardField::Increment, (odd = !odd) ? "25" : "50");
        benchmark::DoNotOptimize(card.sheet().rows.data());
    }
}
BENCHMARK(Card_EditIncrement)->Unit(benchmark::kMillisecond);

// The wind's clock: the flight changes, so the range is recomputed too.
void Card_WindClock(benchmark::State& state)
{
    Cartellino card = huntersCard();
    bool odd = false;
    for (auto _ : state) {
        card.windClockChosen((odd = !odd) ? 3 : 9);
        benchmark::DoNotOptimize(card.sheet().rows.data());
    }
}
BENCHMARK(Card_WindClock)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace siacci::card

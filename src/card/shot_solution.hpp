#pragma once

#include "card/card_sheet.hpp"

#include <optional>
#include <string>

// The answer for one shot: everything the card says of a row, exactly at the distance the
// rangefinder gives (any distance, not only a row of the table), with the bracket of the wind
// (the windage a little more or less wind needs) and the lead for a crossing animal.
namespace siacci::card {

// The wind bracket: the windage correction for the card's wind less and more this much.
inline constexpr double kWindBracket_kmh = 5;

struct ShotSolution {
    pm::Row row;                       // at exactly the distance asked
    pm::Correction correction;         // to dial, + up / right
    // With the wind kWindBracket_kmh weaker (never below still air) and stronger.
    double windSpeedLess_kmh = 0, windSpeedMore_kmh = 0;
    pm::Correction windLess, windMore;
    std::optional<double> lead_cm;     // a crossing animal: how far ahead to aim
    std::optional<double> leadBodies;  // the same in the animal's lengths
    bool belowMinimumEnergy = false;
};

struct SolutionResult {
    std::string refusal;               // Italian; empty when solved
    ShotSolution solution;
    bool ok() const { return refusal.empty(); }
};

// The solution at slant distance `distance_m` (along the line of sight) for the card's load,
// rifle and conditions, computed by the card's engine at that very distance.
SolutionResult solveAt(const CardSetup& setup, double distance_m);

} // namespace siacci::card

#include "card/shot_solution.hpp"

#include "card/input_limits.hpp"
#include "common/number_text.hpp"

#include <algorithm>

namespace siacci::card {

namespace {

// The card's engine for a table whose only row past the muzzle is the distance itself.
pm::Result flyTo(const CardSetup& setup, const pm::Conditions& conditions, double distance_m)
{
    const pm::TableSpan span{distance_m, distance_m};
    return setup.method == Method::Siacci
               ? pm::computeSiacciTrajectory(setup.bullet, conditions, setup.zeroing, span)
               : pm::computeTrajectory(setup.bullet, conditions, setup.zeroing, span);
}

} // namespace

SolutionResult solveAt(const CardSetup& setup, double distance_m)
{
    SolutionResult out;
    if (std::string r = limitRefusal(LimitedInput::ShotDistance, distance_m); !r.empty()) {
        out.refusal = r;
        return out;
    }
    const pm::Result main = flyTo(setup, setup.conditions, distance_m);
    if (!main.ok()) {
        out.refusal = pm::refusalText(main.refusal);
        return out;
    }
    if (main.trajectory.rows.size() < 2) {
        out.refusal = "Il proiettile non arriva a " + roundedText(distance_m, 0) + " m.";
        return out;
    }
    ShotSolution& s = out.solution;
    s.row = main.trajectory.rows.back();
    s.correction = pm::correctionAt(s.row, setup.click);
    s.belowMinimumEnergy = setup.minEnergy_J && s.row.energy_J < *setup.minEnergy_J;
    if (setup.crossingSpeed_kmh && *setup.crossingSpeed_kmh > 0) {
        const double lead_m = *setup.crossingSpeed_kmh / 3.6 * s.row.time_s;
        s.lead_cm = lead_m * 100;
        if (setup.animalLength_m && *setup.animalLength_m > 0)
            s.leadBodies = lead_m / *setup.animalLength_m;
    }

    // The bracket: the same zero and air, the wind from the same side a little weaker and
    // stronger. A weaker wind than still air is still air.
    const double wind_kmh = setup.conditions.wind.speed_ms * 3.6;
    s.windSpeedLess_kmh = std::max(0.0, wind_kmh - kWindBracket_kmh);
    s.windSpeedMore_kmh = wind_kmh + kWindBracket_kmh;
    const auto windageWith = [&](double speed_kmh) {
        pm::Conditions c = setup.conditions;
        c.wind.speed_ms = speed_kmh / 3.6;
        const pm::Result r = flyTo(setup, c, distance_m);
        return r.ok() && r.trajectory.rows.size() >= 2
                   ? pm::correctionAt(r.trajectory.rows.back(), setup.click)
                   : s.correction;
    };
    s.windLess = windageWith(s.windSpeedLess_kmh);
    s.windMore = windageWith(s.windSpeedMore_kmh);
    return out;
}

} // namespace siacci::card

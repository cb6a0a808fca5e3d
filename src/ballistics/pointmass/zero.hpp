#pragma once

#include "ballistics/pointmass/flight.hpp"

#include <cmath>

#include <optional>

namespace siacci::pointmass {

// The height of the line of sight above the bore at the muzzle, measured perpendicular to the
// line of sight, for a sight `sightHeight_m` above the bore and perpendicular to it.
inline double sightOffset_m(double sightHeight_m, double boreElevation_rad)
{
    return sightHeight_m * std::cos(boreElevation_rad);
}

// The bore elevation (rad, above the line of sight) that brings the bullet back to the line of
// sight at `zero_m`, solved to 1e-6 m by a bracketed secant. `setup` is the zeroing flight (look
// angle 0, no wind, the zero's air, Coriolis when known); its launch angle is ignored. Empty
// when no elevation up to 45 degrees reaches the zero.
std::optional<double> solveZero(FlightSetup setup, double sightHeight_m, double zero_m,
                                const Tolerance& tolerance, int* trials = nullptr);

} // namespace siacci::pointmass

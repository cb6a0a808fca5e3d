#pragma once

// The program's conversion constants. They are deliberately distinct and not interchangeable:
// the published tables depend on each one as it stands, so none is "corrected" to its exact
// physical value.
namespace siacci {

inline constexpr double kFeetPerMetreVelocity = 3.281;   // velocity and altitude
inline constexpr double kFeetPerMetreDistance = 3.2808;  // every distance
inline constexpr double kFeetPerYard = 3.0;              // distances of the imperial table
inline constexpr double kMetresPerFootVelocity = 0.3048; // displayed velocities
inline constexpr double kKgmPerFootPound = 0.1383;
inline constexpr double kFootPoundsPerKgm = 7.233;
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kCentimetresPerInch = 2.54;
inline constexpr double kInchesPerCentimetre = 0.3937;
inline constexpr double kGramsPerGrain = 0.0648;

} // namespace siacci

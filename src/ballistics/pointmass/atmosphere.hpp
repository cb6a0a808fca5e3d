#pragma once

#include "ballistics/pointmass/pointmass.hpp"

// The constants of the air shared by the engine's files (the public functions are declared in
// pointmass.hpp).
namespace siacci::pointmass {

inline constexpr double kCelsiusZero_K = 273.15;
inline constexpr double kStandardTemperature_C = 15;
inline constexpr double kStandardPressure_hPa = 1013.25;
inline constexpr double kStandardDensity_kgm3 = 1.2250; // what ballistic coefficients refer to
inline constexpr double kLapseRate_Kpm = 0.0065;          // temperature falls with height
inline constexpr double kDensityExponent = 4.255876;      // rho ~ T^(5.255876 - 1) with height

// The air the engine accepts: -80 to +60 C, 100 to 1200 hPa of station pressure.
inline constexpr double kColdestAir_C = -80, kHottestAir_C = 60;
inline constexpr double kLowestPressure_hPa = 100, kHighestPressure_hPa = 1200;
bool atmosphereUsable(const Atmosphere& air);

} // namespace siacci::pointmass

#include "ballistics/pointmass/atmosphere.hpp"

#include <cmath>

namespace siacci::pointmass {

namespace {

// ICAO standard atmosphere below 11 km, written as the field's barometric formula.
constexpr double kAltitudeFactor_perm = 2.25577e-5;
constexpr double kAltitudeExponent = 5.25588;

// CIPM-2007 moist-air density, Pa, K, mole fraction of water vapour.
double cipmDensity_kgm3(double temperature_C, double pressure_Pa, double humidity_pct)
{
    const double t = temperature_C;
    const double tK = t + kCelsiusZero_K;
    const double p = pressure_Pa;
    const double saturation_Pa =
        std::exp(1.2378847e-5 * tK * tK - 1.9121316e-2 * tK + 33.93711047 - 6.3431645e3 / tK);
    const double enhancement = 1.00062 + 3.14e-8 * p + 5.6e-7 * t * t;
    const double xv = humidity_pct / 100 * enhancement * saturation_Pa / p;
    constexpr double a0 = 1.58123e-6, a1 = -2.9331e-8, a2 = 1.1043e-10;
    constexpr double b0 = 5.707e-6, b1 = -2.051e-8, c0 = 1.9898e-4, c1 = -2.376e-6;
    constexpr double d = 1.83e-11, e = -0.765e-8;
    const double pt = p / tK;
    const double z =
        1 - pt * (a0 + a1 * t + a2 * t * t + (b0 + b1 * t) * xv + (c0 + c1 * t) * xv * xv) +
        pt * pt * (d + e * xv * xv);
    constexpr double molarAir = 28.96546e-3, molarWater = 18.01528e-3, gasConstant = 8.314472;
    return p * molarAir / (z * gasConstant * tK) * (1 - xv * (1 - molarWater / molarAir));
}

} // namespace

double pressureAtAltitude_hPa(double altitude_m)
{
    return stationPressureFromQnh_hPa(kStandardPressure_hPa, altitude_m);
}

double stationPressureFromQnh_hPa(double qnh_hPa, double altitude_m)
{
    return qnh_hPa * std::pow(1 - kAltitudeFactor_perm * altitude_m, kAltitudeExponent);
}

double airDensity_kgm3(const Atmosphere& air)
{
    // CIPM alone gives 1.2255 in the standard air; ballistic coefficients refer to 1.2250.
    static const double scale =
        kStandardDensity_kgm3 /
        cipmDensity_kgm3(kStandardTemperature_C, kStandardPressure_hPa * 100, 0);
    return scale * cipmDensity_kgm3(air.temperature_C, air.pressure_hPa * 100, air.humidity_pct);
}

double speedOfSound_ms(double temperature_C)
{
    return 20.0467 * std::sqrt(temperature_C + kCelsiusZero_K);
}

bool atmosphereUsable(const Atmosphere& air)
{
    return std::isfinite(air.temperature_C) && air.temperature_C >= kColdestAir_C &&
           air.temperature_C <= kHottestAir_C && std::isfinite(air.pressure_hPa) &&
           air.pressure_hPa >= kLowestPressure_hPa && air.pressure_hPa <= kHighestPressure_hPa;
}

} // namespace siacci::pointmass

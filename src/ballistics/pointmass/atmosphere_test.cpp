#include "ballistics/pointmass/pointmass.hpp"

#include <gtest/gtest.h>

namespace siacci::pointmass {
namespace {

TEST(PointMassAir, StandardAirIsTheCoefficientsReference)
{
    // CIPM-2007 alone gives 1.2255 here; ballistic coefficients refer to 1.2250.
    EXPECT_NEAR(airDensity_kgm3({15, 1013.25, 0}), 1.2250, 1e-12);
    EXPECT_NEAR(speedOfSound_ms(15), 340.292, 1e-3);
}

TEST(PointMassAir, DensityFollowsTemperaturePressureAndHumidity)
{
    // Dry air is close to an ideal gas: the ratio is that of p / T within the compressibility.
    EXPECT_NEAR(airDensity_kgm3({-10, 1013.25, 0}) / 1.2250, 288.15 / 263.15, 5e-4);
    EXPECT_NEAR(airDensity_kgm3({15, 850, 0}) / 1.2250, 850 / 1013.25, 2e-4);
    // Water vapour is lighter than air: humid air is thinner, by about 1 % at 30 C and 100 %.
    const double dry = airDensity_kgm3({30, 1013.25, 0});
    const double humid = airDensity_kgm3({30, 1013.25, 100});
    EXPECT_LT(humid, dry);
    EXPECT_NEAR(1 - humid / dry, 0.0155, 0.002);
}

TEST(PointMassAir, StationPressureFromAltitudeAndQnh)
{
    EXPECT_DOUBLE_EQ(pressureAtAltitude_hPa(0), 1013.25);
    EXPECT_NEAR(pressureAtAltitude_hPa(1500), 845.6, 0.1);
    // A weather report's 1020 hPa at 1500 m is a station pressure near 851 hPa; typed as station
    // pressure it would make the air some 17 % too dense.
    const double station = stationPressureFromQnh_hPa(1020, 1500);
    EXPECT_NEAR(station, 851.2, 0.1);
    EXPECT_NEAR(airDensity_kgm3({15, 1020, 0}) / airDensity_kgm3({15, station, 0}), 1.198, 0.002);
}

} // namespace
} // namespace siacci::pointmass

#include "ballistics/engine/engine.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci {
namespace {

// 800 m/s, BC 0.4, sea level, 15 C, 150 grains, sight 4 cm, zero 220 m.
ShotContext workedExample()
{
    auto shot = prepareShot(800, 0.4, 0, 15, 150, 4);
    EXPECT_TRUE(shot);
    evaluatePoint(*shot, 0);
    zeroShot(*shot, 220);
    return *shot;
}

TEST(Engine, StandardAtmosphereLeavesTheCoefficientAsItIs)
{
    const auto shot = prepareShot(800, 0.4, 0, 15, 150, 4);
    ASSERT_TRUE(shot);
    // Computed as written: 0.9999999999999998, not special-cased to 1.
    EXPECT_NEAR(shot->density, 1.0, 1e-15);
    EXPECT_NEAR(shot->effectiveBc, 0.4, 1e-15);
    // Thinner air (height, warmth) carries the bullet further.
    EXPECT_GT(prepareShot(800, 0.4, 300, 5, 150, 4)->effectiveBc, 0.4 * 0.97);
    EXPECT_GT(prepareShot(800, 0.4, 1000, 15, 150, 4)->effectiveBc, 0.4);
}

TEST(Engine, WorkedExampleMuzzleAndZero)
{
    auto shot = prepareShot(800, 0.4, 0, 15, 150, 4);
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->v0_fps, 2624);
    EXPECT_EQ(shot->band, 18); // band 19 of the table, counted from 1
    EXPECT_NEAR(shot->s0, 7910.31, 0.005);
    EXPECT_NEAR(shot->t0, 2.038514, 1e-6);

    evaluatePoint(*shot, 0);
    const auto atZero = evaluatePoint(*shot, 721); // floor(3.2808 * 220)
    EXPECT_EQ(atZero.band, 17);
    EXPECT_NEAR(atZero.velocity_fps, 2118.39, 0.005);
    EXPECT_NEAR(atZero.time_s, 0.306026, 1e-6);
    EXPECT_NEAR(atZero.drop, 42.806, 0.0005);

    zeroShot(*shot, 220);
    EXPECT_NEAR(shot->zeroSlope, 19.4756, 0.00005);
    EXPECT_DOUBLE_EQ(shot->zeroSlope, atZero.aim);
}

TEST(Engine, WorkedExampleAt300Metres)
{
    auto shot = workedExample();
    const double x = 984.24;
    const auto p = evaluatePoint(shot, x);
    EXPECT_EQ(p.band, 16);
    EXPECT_NEAR(p.velocity_fps, 1948.33, 0.005);
    EXPECT_NEAR(p.velocity_ms, 593.85, 0.005);
    EXPECT_NEAR(p.time_s, 0.434916, 1e-6);
    EXPECT_NEAR(p.drop, 84.175, 0.0005);
    EXPECT_NEAR(p.drift, 26.744, 0.0005);
    EXPECT_NEAR(p.energy_ftlb, 1264.2, 0.05);
    EXPECT_NEAR(p.energy_kgm, 174.84, 0.005);
    EXPECT_NEAR(p.mrt, 21.750, 0.0005);
    EXPECT_NEAR(p.aim, 26.876, 0.0005);
    EXPECT_NEAR(pathHeight(shot, x, p), -24.28, 0.005);
}

TEST(Engine, MuzzleResetsTimeDropAndOrdinate)
{
    auto shot = workedExample();
    const auto p = evaluatePoint(shot, 0);
    EXPECT_NEAR(p.velocity_fps, 2624, 1e-6);
    EXPECT_NEAR(p.energy_ftlb, 150.0 * 2624 * 2624 / 450400, 1e-6);
    EXPECT_EQ(p.time_s, 0);
    EXPECT_EQ(p.drop, 0);
    EXPECT_EQ(p.mrt, 0);
    EXPECT_EQ(p.aim, 4);
    EXPECT_NEAR(p.drift, 0, 1e-9);
    EXPECT_EQ(pathHeight(shot, 0, p), -4);
}

TEST(Engine, PathHeightIsExactlyZeroAtTheZeroDistance)
{
    auto shot = workedExample();
    const auto p = evaluatePoint(shot, 721);
    EXPECT_EQ(pathHeight(shot, 721, p), 0.0);
}

TEST(Engine, ZeroDistanceZeroAimsWithTheSightHeight)
{
    auto shot = prepareShot(800, 0.4, 0, 15, 150, 4);
    evaluatePoint(*shot, 0);
    zeroShot(*shot, 0);
    EXPECT_EQ(shot->zeroSlope, 4);
    const auto p = evaluatePoint(*shot, 984.24);
    EXPECT_NEAR(pathHeight(*shot, 984.24, p), 984.24 * 4 / 300 - 4 - p.drop, 1e-9);
}

TEST(Engine, MuzzleBandEdges)
{
    EXPECT_EQ(muzzleBand(300), 0);
    EXPECT_EQ(muzzleBand(399.999), 0);
    EXPECT_EQ(muzzleBand(999.5), 6);
    EXPECT_EQ(muzzleBand(1000), 7); // 1000-1050, not 900-1000
    EXPECT_EQ(muzzleBand(4499), 21);
    EXPECT_EQ(muzzleBand(4499.9), 21);
    EXPECT_FALSE(muzzleBand(4500));
    EXPECT_FALSE(muzzleBand(299.9));
    EXPECT_FALSE(muzzleBand(std::nan("")));
    // The window's metric limits stay inside the table.
    EXPECT_EQ(prepareShot(92, 0.4, 0, 15, 150, 4)->v0_fps, 301);
    EXPECT_EQ(prepareShot(1371, 0.4, 0, 15, 150, 4)->v0_fps, 4498);
    EXPECT_FALSE(prepareShot(1372, 0.4, 0, 15, 150, 4));
    EXPECT_FALSE(prepareShot(91, 0.4, 0, 15, 150, 4));
    EXPECT_FALSE(prepareShotImperial(4500, 0.4, 0, 15, 150, 4));
    EXPECT_EQ(prepareShotImperial(4499, 0.4, 0, 15, 150, 4)->band, 21);
}

TEST(Engine, RefusesAContextThatCouldOnlyGiveNaN)
{
    EXPECT_EQ(prepareShot(800, 0, 0, 15, 150, 4).refusal, ShotRefusal::NotComputable);
}

// Before, a temperature at absolute zero gave -43 billion m/s, an altitude of 20,000 m a bullet
// that slowed as if at 4,000 m (the density quadratic turns above 11.5 km), and a negative
// coefficient a bullet that sped up, all without a word.
TEST(Engine, RefusesConditionsOutsideItsLimits)
{
    struct Case {
        double velocity, bc, altitude, temperature;
        ShotRefusal refusal;
    };
    const Case cases[] = {
        {800, 0.4, -500, -60, ShotRefusal::None},
        {800, 0.4, 9000, 60, ShotRefusal::None},
        {800, 0.4, -500.01, 15, ShotRefusal::AltitudeOutOfRange},
        {800, 0.4, 9000.01, 15, ShotRefusal::AltitudeOutOfRange},
        {800, 0.4, 20000, 15, ShotRefusal::AltitudeOutOfRange},
        {800, 0.4, std::nan(""), 15, ShotRefusal::AltitudeOutOfRange},
        {800, 0.4, 0, -60.01, ShotRefusal::TemperatureOutOfRange},
        {800, 0.4, 0, 60.01, ShotRefusal::TemperatureOutOfRange},
        {800, 0.4, 0, -273.15, ShotRefusal::TemperatureOutOfRange},
        {800, -0.4, 0, 15, ShotRefusal::NegativeCoefficient},
        {800, -0.4, 20000, -300, ShotRefusal::NegativeCoefficient}, // the first reason wins
        {1372, -0.4, 20000, -300, ShotRefusal::VelocityOutOfBand},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(prepareShot(c.velocity, c.bc, c.altitude, c.temperature, 150, 4).refusal,
                  c.refusal)
            << c.bc << " " << c.altitude << " " << c.temperature;
        EXPECT_EQ(prepareShotImperial(2624, c.bc, c.altitude, c.temperature, 150, 4).refusal,
                  c.velocity == 1372 ? ShotRefusal::NegativeCoefficient : c.refusal);
    }
}

// The four whole muzzle velocities whose S0 lies outside their own band's stored range: the
// muzzle is evaluated in the next slower band and a small drift remains at X = 0.
TEST(Engine, DriftAtTheMuzzle)
{
    struct Case {
        double v0_fps;
        double drift_cm;
        double tolerance;
    };
    const Case cases[] = {
        {500, 1.207, 0.0005}, {800, 0.292, 0.0005}, {1100, 0, 0.05}, {1120, 0, 0.05},
        {2624, 0, 1e-9},      {1000, 0, 1e-9},      {4499, 0, 1e-9},
    };
    for (const auto& c : cases) {
        auto metric = prepareShotImperial(c.v0_fps, 0.4, 0, 15, 150, 0);
        ASSERT_TRUE(metric);
        // Imperial context with inches; the metric one with the same V0 gives 2.54 times that.
        const auto inches = evaluatePoint(*metric, 0);
        EXPECT_NEAR(inches.drift * 2.54, c.drift_cm, c.tolerance) << c.v0_fps;
        EXPECT_EQ(inches.time_s, 0) << c.v0_fps;
        EXPECT_EQ(inches.drop, 0) << c.v0_fps;
    }
    // 800 fps typed in imperial shows 0.1 inch at the muzzle.
    auto imperial = prepareShotImperial(800, 0.4, 0, 15, 150, 0);
    EXPECT_NEAR(evaluatePoint(*imperial, 0).drift, 0.115, 0.001);
    EXPECT_GT(evaluatePoint(*imperial, 0).drift, 0.1);
    // The metric form: 153 m/s gives floor(501.99) = 501 fps, so take 152.4 m/s -> 500 fps.
    auto metric = prepareShot(152.4, 0.4, 0, 15, 150, 0);
    ASSERT_EQ(metric->v0_fps, 500);
    EXPECT_NEAR(evaluatePoint(*metric, 0).drift, 1.207, 0.0005);
}

TEST(Engine, ExtrapolatesTheLastBandPastTheSlowEnd)
{
    auto shot = prepareShot(120, 0.2, 0, 15, 150, 4); // 393 fps, band 1
    ASSERT_EQ(shot->band, 0);
    double previous = shot->v0_fps;
    for (double x = 0; x <= 30000; x += 1000) {
        const auto p = evaluatePoint(*shot, x);
        EXPECT_EQ(p.band, 0);
        EXPECT_TRUE(std::isfinite(p.velocity_fps));
        EXPECT_LE(p.velocity_fps, previous);
        previous = p.velocity_fps;
    }
    EXPECT_LT(previous, 300); // S well past 43041: slower than the table reaches
}

TEST(Engine, BandMemoryKeepsAFastBandPastTheSlowEnd)
{
    // Past the slow end the band last used is kept: stepping out keeps the slowest band (1),
    // a single jump from the muzzle keeps the muzzle band.
    auto stepped = prepareShot(800, 0.1, 0, 15, 150, 4);
    for (double x = 0; x < 5000; x += 100)
        evaluatePoint(*stepped, x);
    ASSERT_GT(stepped->s0 + 5000 / stepped->effectiveBc, 43041);
    EXPECT_EQ(evaluatePoint(*stepped, 5000).band, 0);

    auto jumped = prepareShot(800, 0.1, 0, 15, 150, 4);
    EXPECT_EQ(evaluatePoint(*jumped, 5000).band, 18);
    // Back at the muzzle the muzzle band is found again.
    EXPECT_EQ(evaluatePoint(*stepped, 0).band, 18);
}

TEST(Engine, NeverNaNFarBeyondTheTable)
{
    for (double bc : {0.4, 1e-6}) {
        auto shot = prepareShot(800, bc, 9000, bc == 0.4 ? -60 : 60, 150, 4);
        ASSERT_TRUE(shot);
        for (double x : {0.0, 1e3, 1e6, 1e9, 1e12}) {
            const auto p = evaluatePoint(*shot, x);
            EXPECT_FALSE(std::isnan(p.velocity_fps)) << bc << " " << x;
            EXPECT_FALSE(std::isnan(p.time_s)) << bc << " " << x;
            EXPECT_FALSE(std::isnan(p.drift)) << bc << " " << x;
        }
    }
}

TEST(Engine, ImperialForm)
{
    // 2624 fps, 1.57 inches, zero 240 yards: X_z = 720 ft exactly.
    auto shot = prepareShotImperial(2624, 0.4, 0, 15, 150, 1.57);
    ASSERT_TRUE(shot);
    evaluatePoint(*shot, 0);
    zeroShot(*shot, 240);
    EXPECT_NEAR(shot->zeroSlope, 7.65527, 0.000005);
    const auto p = evaluatePoint(*shot, 720);
    EXPECT_EQ(pathHeight(*shot, 720, p), 0.0);
    EXPECT_NEAR(p.mrt, 48.6 * p.time_s * p.time_s - 0.4 * 1.57, 1e-12);
    // The velocity is used as typed, not rounded.
    EXPECT_EQ(prepareShotImperial(2624.6, 0.4, 0, 15, 150, 1.57)->v0_fps, 2624.6);
    // 100 yards is exactly 300 ft.
    auto hundred = prepareShotImperial(2624, 0.4, 0, 15, 150, 1.57);
    evaluatePoint(*hundred, 0);
    zeroShot(*hundred, 100);
    EXPECT_EQ(hundred->zeroSlope, evaluatePoint(*hundred, 300).aim);
}

TEST(SiteCorrection, Examples)
{
    EXPECT_EQ(siteCorrection({0, 0}, 0.5, 150), 0);
    EXPECT_DOUBLE_EQ(siteCorrection({45, 250}, 0.5, 150), 30.0);
    // k (1 - cos n), the cosine of n radians.
    const struct {
        SiteAngle angle;
        double factor;
    } factors[] = {{{15, 8}, 14.0775}, {{30, 65}, 54.9737}, {{45, 250}, 118.6695},
                   {{60, 107}, 208.9082}};
    for (const auto& f : factors) {
        const double t = 1.0, w = 100;
        EXPECT_DOUBLE_EQ(siteCorrection(f.angle, t, w),
                         std::floor(10 * f.factor * (0.49 + w) / w + 1e-9) / 10)
            << f.angle.degrees;
    }
    EXPECT_EQ(siteCorrection({45, 250}, 0.5, 0), 0);
    EXPECT_EQ(siteCorrection({45, 250}, 0.5, -150), 0);
}

} // namespace
} // namespace siacci

// What the engine refuses, and what the hunter dials.
#include "ballistics/pointmass/classic_bullet.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::pointmass {
namespace {

Refusal refusalOf(const Bullet& b, const Conditions& c = {}, const Zeroing& z = {},
                  const TableSpan& s = {})
{
    return computeTrajectory(b, c, z, s).refusal;
}

TEST(PointMassRefusals, EachBadInputHasItsReason)
{
    Bullet b = classicBullet();
    b.muzzleVelocity_ms = 0;
    EXPECT_EQ(refusalOf(b), Refusal::VelocityNotPositive);
    b = classicBullet();
    b.bc_lbin2 = -0.4;
    EXPECT_EQ(refusalOf(b), Refusal::BcNotPositive);
    b = classicBullet();
    b.bcSteps = {{0, 700}};
    EXPECT_EQ(refusalOf(b), Refusal::BcNotPositive);
    b = classicBullet();
    b.weight_gr = 0;
    EXPECT_EQ(refusalOf(b), Refusal::WeightNotPositive);
    b = classicBullet();
    b.diameter_mm = 7.82;
    b.dragTable = {{1, 0.3}, {0.5, 0.3}};
    EXPECT_EQ(refusalOf(b), Refusal::BadDragTable);
    b.dragTable = {{0.5, 0.3}, {1, 0.3}};
    b.diameter_mm.reset();
    EXPECT_EQ(refusalOf(b), Refusal::DiameterNeeded);
    b = classicBullet();
    b.twist_in = 0;
    EXPECT_EQ(refusalOf(b), Refusal::BadBulletSize);

    Conditions c;
    c.atmosphere.humidity_pct = 100.5;
    EXPECT_EQ(refusalOf(classicBullet(), c), Refusal::HumidityOutOfRange);
    c = {};
    c.atmosphere.pressure_hPa = 0;
    EXPECT_EQ(refusalOf(classicBullet(), c), Refusal::BadAtmosphere);
    c = {};
    c.lookAngle_deg = -80.5;
    EXPECT_EQ(refusalOf(classicBullet(), c), Refusal::LookAngleOutOfRange);
    c.lookAngle_deg = 80;
    EXPECT_EQ(refusalOf(classicBullet(), c), Refusal::None);

    c = {};
    c.wind.speed_ms = -3;
    EXPECT_EQ(refusalOf(classicBullet(), c), Refusal::BadWind);

    EXPECT_EQ(refusalOf(classicBullet(), {}, {}, {1000, 0}), Refusal::BadSpan);
    EXPECT_EQ(refusalOf(classicBullet(), {}, {}, {10000, 1}), Refusal::TooManyRows);
    EXPECT_EQ(refusalOf(classicBullet(), {}, {}, {9999, 1}), Refusal::None);
    Zeroing z;
    z.zeroDistance_m = 0;
    EXPECT_EQ(refusalOf(classicBullet(), {}, z), Refusal::ZeroNotPositive);
    Zeroing wet;
    wet.atmosphere = Atmosphere{15, 1013.25, -1};
    EXPECT_EQ(refusalOf(classicBullet(), {}, wet), Refusal::HumidityOutOfRange);

    for (int r = static_cast<int>(Refusal::VelocityNotPositive);
         r <= static_cast<int>(Refusal::BadWind); ++r)
        EXPECT_FALSE(refusalText(static_cast<Refusal>(r)).empty()) << r;
}

TEST(PointMassRefusals, ZeroTheBulletCannotReach)
{
    // A slow, blunt bullet carries some 1.5 km at best: no elevation zeroes it at 3 km.
    Bullet b;
    b.muzzleVelocity_ms = 250;
    b.weight_gr = 158;
    b.bc_lbin2 = 0.15;
    Zeroing z;
    z.zeroDistance_m = 3000;
    EXPECT_EQ(refusalOf(b, {}, z, {3000, 100}), Refusal::ZeroUnreachable);
    EXPECT_LT(maximumRange_m(b, {}), 3000);
    z.zeroDistance_m = 500;
    EXPECT_EQ(refusalOf(b, {}, z, {3000, 100}), Refusal::None);
}

TEST(PointMassRange, MaximumRangeIsTheVacuumFormulaWithoutDrag)
{
    Bullet vacuum = classicBullet();
    vacuum.muzzleVelocity_ms = 300;
    vacuum.diameter_mm = 7.82;
    vacuum.dragTable = {{0, 0}, {5, 0}};
    EXPECT_NEAR(maximumRange_m(vacuum, {}), 300.0 * 300 / 9.80665, 0.5);
    // With air the classic bullet carries some 4 km (at about 30 degrees, not 45).
    const double range = maximumRange_m(classicBullet(), {});
    EXPECT_GT(range, 3500);
    EXPECT_LT(range, 5500);
}

TEST(PointMassStability, MillerFactorFollowsTwistAndAir)
{
    // A long .224 bullet (Sierra 77 gr HPBT MatchKing, 0.995 in long) in a 1:14 twist is not
    // stable; in a 1:8 it is.
    Bullet b;
    b.muzzleVelocity_ms = 823;
    b.weight_gr = 77;
    b.bc_lbin2 = 0.372;
    b.diameter_mm = 0.224 * 25.4;
    b.length_mm = 0.995 * 25.4;
    b.twist_in = 14;
    const Atmosphere icao;
    const double slow = *stabilityFactor(b, icao);
    EXPECT_LT(slow, 1);
    b.twist_in = -8;
    const double fast = *stabilityFactor(b, icao);
    EXPECT_GT(fast, 1.3);
    EXPECT_NEAR(fast / slow, (14.0 * 14) / (8 * 8), 1e-9);
    // Thinner air steadies the bullet.
    EXPECT_GT(*stabilityFactor(b, Atmosphere{15, 800, 0}), fast);
    b.length_mm.reset();
    EXPECT_FALSE(stabilityFactor(b, icao));
    // An unstable bullet is computed all the same; the factor says so.
    b.length_mm = 0.995 * 25.4;
    b.twist_in = 14;
    Zeroing z;
    const Result r = computeTrajectory(b, {}, z, {300, 100});
    ASSERT_TRUE(r.ok());
    EXPECT_LT(*r.trajectory.stability_sg, 1);
}

TEST(PointMassCorrections, WhatToDial)
{
    Row row;
    row.distance_m = 100;
    row.path_cm = -10;     // 1 mrad low
    row.windage_cm = 2.9089; // about 1 MOA right
    const Correction c = correctionAt(row, {0.1, AngleUnit::Mrad});
    EXPECT_NEAR(c.elevation_mrad, 0.99999967, 1e-6);
    EXPECT_NEAR(c.elevation_moa, 3.43774, 1e-4);
    EXPECT_EQ(c.elevationClicks, 10);
    EXPECT_NEAR(c.windage_moa, -1.0, 1e-4);
    EXPECT_EQ(c.windageClicks, -3); // -0.846 mrad
    const Correction quarter = correctionAt(row, {0.25, AngleUnit::Moa});
    EXPECT_EQ(quarter.elevationClicks, 14); // 13.75 rounds up
    EXPECT_EQ(quarter.windageClicks, -4);
    // At the muzzle there is nothing to dial (and nothing to divide by).
    Row muzzle;
    muzzle.path_cm = -4;
    const Correction none = correctionAt(muzzle, {0.1, AngleUnit::Mrad});
    EXPECT_EQ(none.elevation_moa, 0);
    EXPECT_EQ(none.elevationClicks, 0);
    EXPECT_EQ(none.windage_mrad, 0);
}

} // namespace
} // namespace siacci::pointmass

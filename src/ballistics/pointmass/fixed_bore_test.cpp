#include "ballistics/pointmass/fixed_bore.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace siacci::pointmass {
namespace {

constexpr double kRadPerMoa = std::numbers::pi / (180 * 60);

struct Shot {
    Bullet bullet;
    Conditions conditions;
    Zeroing zeroing;
    Shot()
    {
        bullet.muzzleVelocity_ms = 800;
        bullet.weight_gr = 150;
        bullet.bc_lbin2 = 0.4;
        conditions.wind = {16 / 3.6, 90};
        zeroing.sightHeight_cm = 4;
        zeroing.zeroDistance_m = 220;
    }
    FixedBore bore(double elevation_moa) const
    {
        return {elevation_moa, zeroing.sightHeight_cm, 0, 0};
    }
};

// Held where the zero left it, the rifle flies the card's own rows: the fixed bore and the
// zeroed card are one engine.
TEST(FixedBore, TheZerosBoreGivesTheCardsRows)
{
    for (const bool spin : {false, true}) {
        Shot s;
        if (spin) {
            s.bullet.diameter_mm = 7.82;
            s.bullet.length_mm = 30.8;
            s.bullet.twist_in = 10;
            s.conditions.lookAngle_deg = 10;
        }
        const Result card = computeTrajectory(s.bullet, s.conditions, s.zeroing, {500, 50});
        ASSERT_TRUE(card.ok());
        const Result fixed = flyFixedBore(s.bullet, s.conditions,
                                          s.bore(card.trajectory.boreElevation_moa), {500, 50});
        ASSERT_TRUE(fixed.ok());
        ASSERT_EQ(fixed.trajectory.rows.size(), card.trajectory.rows.size());
        for (std::size_t k = 0; k < card.trajectory.rows.size(); ++k) {
            const Row& a = card.trajectory.rows[k];
            const Row& b = fixed.trajectory.rows[k];
            EXPECT_NEAR(b.path_cm, a.path_cm, 1e-9) << spin << " " << a.distance_m;
            EXPECT_NEAR(b.windage_cm, a.windage_cm, 1e-9) << spin << " " << a.distance_m;
            EXPECT_NEAR(b.velocity_ms, a.velocity_ms, 1e-9) << spin << " " << a.distance_m;
            EXPECT_NEAR(b.drop_cm, a.drop_cm, 1e-9) << spin << " " << a.distance_m;
        }
        // The prepared flight gives the same impacts.
        const FixedBoreFlight flight(s.bullet, s.conditions,
                                     s.bore(card.trajectory.boreElevation_moa));
        const std::vector<double> distances{100, 250, 500};
        std::vector<Impact> impacts(distances.size());
        ASSERT_EQ(flight.fly(flight.nominal(), distances, impacts), 3u);
        EXPECT_NEAR(impacts[2].path_cm, card.trajectory.rows[10].path_cm, 1e-9);
        EXPECT_NEAR(impacts[2].windage_cm, card.trajectory.rows[10].windage_cm, 1e-9);
    }
}

// The correction the card gives at a distance, dialled, puts the bullet on the aim point there
// (to the rounding of atan and the slight turn of gravity against the bore); and dialling only
// turns the trajectory about the muzzle, which the Monte Carlo relies on to share one flight
// among every row: to a millimetre out to 500 m.
TEST(FixedBore, ADialledCorrectionTurnsTheTrajectoryOntoTheAimPoint)
{
    const Shot s;
    const Result card = computeTrajectory(s.bullet, s.conditions, s.zeroing, {500, 100});
    ASSERT_TRUE(card.ok());
    const double bore = card.trajectory.boreElevation_moa;
    for (const Row& row : card.trajectory.rows) {
        if (row.distance_m == 0)
            continue;
        const Correction c = correctionAt(row, {});
        FixedBore dialled = s.bore(bore);
        dialled.dialElevation_moa = c.elevation_moa;
        dialled.dialWindage_moa = c.windage_moa;
        const FixedBoreFlight flight(s.bullet, s.conditions, dialled);
        const double distance[] = {row.distance_m};
        Impact impact;
        ASSERT_EQ(flight.fly(flight.nominal(), distance, std::span(&impact, 1)), 1u);
        EXPECT_NEAR(impact.path_cm, 0, 0.1) << row.distance_m;
        EXPECT_NEAR(impact.windage_cm, 0, 0.1) << row.distance_m;
        // The turned trajectory: the undialled impact plus distance times the correction.
        const double turnedPath =
            row.path_cm + 100 * row.distance_m * std::tan(c.elevation_moa * kRadPerMoa);
        EXPECT_NEAR(impact.path_cm, turnedPath, 0.1) << row.distance_m;
    }
}

// A coefficient 5 % higher is the drag 1 / 1.05 times: the variation flies the bullet with the
// higher coefficient; a faster muzzle velocity the faster bullet; a wind the wind.
TEST(FixedBore, AVariationFliesTheVariedShot)
{
    const Shot s;
    const FixedBoreFlight flight(s.bullet, s.conditions, s.bore(5));
    const double distance[] = {400};
    struct Case {
        const char* what;
        double bcFactor, velocity_ms, wind_ms;
    };
    for (const Case& c : {Case{"coefficient", 1.05, 800, 16 / 3.6},
                          Case{"velocity", 1, 815, 16 / 3.6}, Case{"wind", 1, 800, 2}}) {
        Shot varied = s;
        varied.bullet.bc_lbin2 *= c.bcFactor;
        varied.bullet.muzzleVelocity_ms = c.velocity_ms;
        varied.conditions.wind.speed_ms = c.wind_ms;
        const FixedBoreFlight direct(varied.bullet, varied.conditions, s.bore(5));
        ShotVariation v = flight.nominal();
        v.dragFactor = 1 / c.bcFactor;
        v.muzzleVelocity_ms = c.velocity_ms;
        v.wind.speed_ms = c.wind_ms;
        Impact a, b;
        ASSERT_EQ(flight.fly(v, distance, std::span(&a, 1)), 1u);
        ASSERT_EQ(direct.fly(direct.nominal(), distance, std::span(&b, 1)), 1u);
        EXPECT_NEAR(a.path_cm, b.path_cm, 1e-6) << c.what;
        EXPECT_NEAR(a.windage_cm, b.windage_cm, 1e-6) << c.what;
    }
}

TEST(FixedBore, RefusesABoreOrCorrectionNoRifleHas)
{
    const Shot s;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const FixedBore bore : {FixedBore{nan, 4, 0, 0}, FixedBore{3000, 4, 0, 0},
                                 FixedBore{5, 4, nan, 0}, FixedBore{5, 4, 0, -2701}})
        EXPECT_EQ(flyFixedBore(s.bullet, s.conditions, bore, {300, 100}).refusal,
                  Refusal::BadSpan);
    Bullet slow = s.bullet;
    slow.muzzleVelocity_ms = 0;
    EXPECT_EQ(flyFixedBore(slow, s.conditions, s.bore(5), {300, 100}).refusal,
              Refusal::VelocityNotPositive);
    EXPECT_EQ(flyFixedBore(s.bullet, s.conditions, s.bore(5), {300, 0}).refusal, Refusal::BadSpan);
}

} // namespace
} // namespace siacci::pointmass

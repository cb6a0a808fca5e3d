#include "ballistics/pointmass/drag_tables.hpp"
#include "ballistics/pointmass/flight.hpp"
#include "ballistics/pointmass/classic_bullet.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::pointmass {
namespace {

constexpr double kKmh = 1 / 3.6;

Zeroing zeroAt(double zero_m)
{
    Zeroing z;
    z.sightHeight_cm = 4;
    z.zeroDistance_m = zero_m;
    return z;
}

Trajectory computed(const Bullet& b, const Conditions& c, const Zeroing& z, const TableSpan& s)
{
    const Result r = computeTrajectory(b, c, z, s);
    EXPECT_TRUE(r.ok()) << refusalText(r.refusal);
    return r.trajectory;
}

Row rowAt(const Trajectory& t, double distance_m)
{
    for (const Row& row : t.rows)
        if (std::fabs(row.distance_m - distance_m) < 1e-9)
            return row;
    ADD_FAILURE() << "no row at " << distance_m;
    return {};
}

TEST(PointMassWorkedExample, RowByRow)
{
    // The worked example of the field's physics: zero 220 m, wind 16 km/h from 3 o'clock.
    Conditions c;
    c.wind = {16 * kKmh, 90};
    const Trajectory t = computed(classicBullet(), c, zeroAt(220), {1000, 100});
    ASSERT_EQ(t.rows.size(), 11u);
    EXPECT_NEAR(t.rows[0].energy_J, 3110.35, 0.01);
    struct Expected {
        double distance, velocity, time, path, windage, drop, tolerance_cm;
    };
    const Expected rows[] = {
        {100, 726.42, 0.13119, 9.17, -2.75, 8.17, 0.2},
        {300, 591.03, 0.43649, -24.64, -27.33, 84.67, 0.2},
        {500, 473.17, 0.81511, -172.82, -84.50, 275.54, 0.2},
        {1000, 301.27, 2.18972, -1535.96, -417.65, 1745.41, 0.5},
    };
    for (const Expected& e : rows) {
        SCOPED_TRACE(e.distance);
        const Row& row = rowAt(t, e.distance);
        EXPECT_NEAR(row.velocity_ms, e.velocity, 0.001 * e.velocity);
        EXPECT_NEAR(row.time_s, e.time, 0.001 * e.time);
        EXPECT_NEAR(row.path_cm, e.path, e.tolerance_cm);
        EXPECT_NEAR(row.windage_cm, e.windage, e.tolerance_cm);
        EXPECT_NEAR(row.drop_cm, e.drop, e.tolerance_cm);
        EXPECT_NEAR(row.energy_kgm, row.energy_J / 9.80665, 1e-9);
    }
}

TEST(PointMassIntegration, HalvingTheToleranceMovesNothingAt1000m)
{
    const Bullet b = classicBullet();
    const DragFunction drag(b);
    FlightSetup setup;
    setup.drag = &drag;
    setup.muzzleDensity_kgm3 = 1.2250;
    setup.muzzleTemperature_K = 288.15;
    setup.wind_ms = {0, 0, -16 * kKmh};
    setup.muzzleVelocity_ms = 800;
    setup.launchAngle_rad = 0.0021345;
    const double distance[] = {1000};
    FlightPoint normal, fine;
    ASSERT_EQ(fly(setup, distance, std::span(&normal, 1), kCardTolerance), 1u);
    const Tolerance half{kCardTolerance.absolute / 2, kCardTolerance.relative / 2};
    ASSERT_EQ(fly(setup, distance, std::span(&fine, 1), half), 1u);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(normal.state[i], fine.state[i], 1e-4) << i; // 0.01 cm
    const auto speed = [](const State& s) { return std::hypot(s[3], s[4], s[5]); };
    EXPECT_NEAR(speed(normal.state), speed(fine.state), 0.001);
}

// A bullet without drag: a measured curve of Cd 0.
Bullet inVacuum()
{
    Bullet b = classicBullet();
    b.dragTable = {{0, 0}, {10, 0}};
    b.diameter_mm = 7.82;
    return b;
}

TEST(PointMassIntegration, WithoutDragThePathIsTheParabola)
{
    Conditions c;
    c.lookAngle_deg = 20;
    const Zeroing z = zeroAt(300);
    const Trajectory t = computed(inVacuum(), c, z, {1000, 50});
    ASSERT_EQ(t.rows.size(), 21u);
    constexpr double g = 9.80665, v = 800;
    // The zero in vacuum, level, sight h: e solves D tan e - g D^2 / (2 v^2 cos^2 e) = h cos e.
    const double e = t.boreElevation_moa / 60 * M_PI / 180;
    EXPECT_NEAR(300 * std::tan(e) - g * 300 * 300 / (2 * v * v * std::cos(e) * std::cos(e)),
                0.04 * std::cos(e), 1e-6);
    const double look = 20 * M_PI / 180, launch = look + e;
    for (const Row& row : t.rows) {
        // The bullet at slant distance d: x cos(look) + y sin(look) = d on the parabola.
        const double d = row.distance_m;
        const auto along = [&](double time) {
            const double x = v * std::cos(launch) * time;
            const double y = v * std::sin(launch) * time - g * time * time / 2;
            return std::pair{x * std::cos(look) + y * std::sin(look),
                             -x * std::sin(look) + y * std::cos(look)};
        };
        double lo = 0, hi = 5;
        for (int i = 0; i < 200; ++i)
            (along(0.5 * (lo + hi)).first < d ? lo : hi) = 0.5 * (lo + hi);
        const double time = 0.5 * (lo + hi);
        SCOPED_TRACE(d);
        EXPECT_NEAR(row.time_s, time, 1e-9);
        EXPECT_NEAR(row.path_cm, 100 * (along(time).second - 0.04 * std::cos(e)), 1e-5);
        EXPECT_NEAR(row.windage_cm, 0, 1e-12);
    }
}

TEST(PointMassIntegration, ZeroRowAndMuzzleRow)
{
    // The zero's own conditions (level, still air), with the earth turning.
    Conditions c;
    c.earth = EarthPosition{45, 30};
    const Trajectory t = computed(classicBullet(), c, zeroAt(220), {300, 10});
    EXPECT_NEAR(rowAt(t, 220).path_cm, 0, 1e-4);
    const Row& muzzle = t.rows.front();
    EXPECT_EQ(muzzle.distance_m, 0);
    EXPECT_NEAR(muzzle.path_cm, -4, 1e-4);
    EXPECT_EQ(muzzle.time_s, 0);
    EXPECT_EQ(muzzle.windage_cm, 0);
    EXPECT_NEAR(muzzle.drop_cm, 0, 1e-12);
    EXPECT_NEAR(muzzle.velocity_ms, 800, 1e-9);
    // The highest point of this trajectory lies between the rows of 120 and 130 m.
    EXPECT_GT(t.maxOrdinate_cm, rowAt(t, 120).path_cm);
    EXPECT_GT(t.maxOrdinate_cm, rowAt(t, 130).path_cm);
    EXPECT_GT(t.maxOrdinateDistance_m, 115);
    EXPECT_LT(t.maxOrdinateDistance_m, 135);
}

TEST(PointMassIntegration, AgreesWithTheClassicEngineTo300m)
{
    // Same shot, no wind: the two methods differ by a few millimetres and tenths of a percent.
    const Bullet b = classicBullet();
    const Trajectory pm = computed(b, {}, zeroAt(220), {300, 25});
    const Result classic = computeSiacciTrajectory(b, {}, zeroAt(220), {300, 25});
    ASSERT_TRUE(classic.ok());
    ASSERT_EQ(pm.rows.size(), classic.trajectory.rows.size());
    for (std::size_t k = 1; k < pm.rows.size(); ++k) {
        const Row& p = pm.rows[k];
        const Row& s = classic.trajectory.rows[k];
        SCOPED_TRACE(p.distance_m);
        EXPECT_NEAR(p.path_cm, s.path_cm, 0.5);
        EXPECT_NEAR(p.velocity_ms, s.velocity_ms, 0.006 * s.velocity_ms);
    }
}

// Rows are located two ways: one at a time on the dense output, or, when a step holds many
// rows, read off the step's polynomial. A card every metre (the second way) and one every 50 m
// (the first) must agree at their common distances to far below what a card shows, and the
// times of flight must grow row after row (a fault in the polynomial's Newton iteration would
// move rows or lose the ones after the first that failed).
TEST(PointMassIntegration, DenseCardsAgreeWithSparseOnesRowForRow)
{
    Bullet g7 = classicBullet();
    g7.model = DragModel::G7;
    g7.bc_lbin2 = 0.243;
    g7.bcSteps = {{0.25, 600}};
    Conditions uphill;
    uphill.lookAngle_deg = 10;
    uphill.wind = {16 * kKmh, 45};
    uphill.earth = EarthPosition{45, 90};
    const struct {
        Bullet bullet;
        Conditions conditions;
    } cases[] = {{classicBullet(), Conditions{}}, {g7, uphill}};
    for (const auto& c : cases) {
        const Trajectory dense = computed(c.bullet, c.conditions, zeroAt(220), {1500, 1});
        const Trajectory sparse = computed(c.bullet, c.conditions, zeroAt(220), {1500, 50});
        ASSERT_EQ(dense.rows.size(), 1501u);
        for (const Row& s : sparse.rows) {
            const Row d = rowAt(dense, s.distance_m);
            EXPECT_NEAR(d.path_cm, s.path_cm, 1e-6 + 1e-9 * std::fabs(s.path_cm)) << s.distance_m;
            EXPECT_NEAR(d.windage_cm, s.windage_cm, 1e-6) << s.distance_m;
            EXPECT_NEAR(d.velocity_ms, s.velocity_ms, 1e-9 * s.velocity_ms) << s.distance_m;
            // A row on the dense output is settled to a tenth of a micrometre: 1e-10 s.
            EXPECT_NEAR(d.time_s, s.time_s, 1e-9) << s.distance_m;
        }
        for (std::size_t k = 1; k < dense.rows.size(); ++k)
            ASSERT_GT(dense.rows[k].time_s, dense.rows[k - 1].time_s) << k;
    }
}

TEST(PointMassSigns, WindEarthTwistAndSlope)
{
    const Bullet b = classicBullet();
    const TableSpan span{1000, 100};
    Conditions fromRight;
    fromRight.wind = {16 * kKmh, 90};
    EXPECT_LT(rowAt(computed(b, fromRight, zeroAt(100), span), 500).windage_cm, -50);
    Conditions fromLeft;
    fromLeft.wind = {16 * kKmh, 270};
    EXPECT_GT(rowAt(computed(b, fromLeft, zeroAt(100), span), 500).windage_cm, 50);
    // A headwind (12 o'clock) slows the bullet and pushes nothing sideways.
    Conditions head;
    head.wind = {16 * kKmh, 0};
    const Row headRow = rowAt(computed(b, head, zeroAt(100), span), 500);
    EXPECT_NEAR(headRow.windage_cm, 0, 1e-9);
    EXPECT_LT(headRow.velocity_ms, rowAt(computed(b, {}, zeroAt(100), span), 500).velocity_ms);

    // 45 N firing north: the earth turns under the bullet, which goes right, some 9.5 cm at 1000 m.
    Conditions north;
    north.earth = EarthPosition{45, 0};
    EXPECT_NEAR(rowAt(computed(b, north, zeroAt(100), span), 1000).windage_cm, 9.5, 1.0);
    Conditions south;
    south.earth = EarthPosition{-45, 0};
    EXPECT_LT(rowAt(computed(b, south, zeroAt(100), span), 1000).windage_cm, -8);

    // Spin drift toward the twist: right for right-hand rifling, left for left-hand.
    Bullet spinning = b;
    spinning.diameter_mm = 7.82;
    spinning.length_mm = 30.8;
    spinning.twist_in = 12;
    const Trajectory right = computed(spinning, {}, zeroAt(100), span);
    ASSERT_TRUE(right.stability_sg);
    EXPECT_TRUE(right.spinDrift);
    EXPECT_GT(rowAt(right, 1000).windage_cm, 20);
    spinning.twist_in = -12;
    EXPECT_NEAR(rowAt(computed(spinning, {}, zeroAt(100), span), 1000).windage_cm,
                -rowAt(right, 1000).windage_cm, 1e-9);

    // Uphill and downhill alike, the bullet flies higher above the line of sight than level.
    const double level = rowAt(computed(b, {}, zeroAt(100), span), 800).path_cm;
    for (const double angle : {30.0, -30.0}) {
        Conditions sloped;
        sloped.lookAngle_deg = angle;
        EXPECT_GT(rowAt(computed(b, sloped, zeroAt(100), span), 800).path_cm, level + 100) << angle;
    }
}

TEST(PointMassBullets, MakersStepsAndCurves)
{
    // Sierra 168 gr HPBT MatchKing (.308, #2200), the maker's stepped G1 coefficients: 0.462 from
    // 2600 ft/s up, 0.447 from 2100, 0.424 from 1600, 0.405 below.
    Bullet smk;
    smk.muzzleVelocity_ms = 2650 * 0.3048;
    smk.weight_gr = 168;
    smk.bc_lbin2 = 0.405;
    smk.bcSteps = {{0.424, 1600 * 0.3048}, {0.462, 2600 * 0.3048}, {0.447, 2100 * 0.3048}};
    Bullet single = smk;
    single.bcSteps.clear();
    single.bc_lbin2 = 0.462;
    const TableSpan span{1000, 100};
    const Row stepped = rowAt(computed(smk, {}, zeroAt(100), span), 1000);
    const Row once = rowAt(computed(single, {}, zeroAt(100), span), 1000);
    // The single top coefficient flatters the bullet at long range by a few MOA.
    const double moa =
        (correctionAt(stepped, {}).elevation_moa - correctionAt(once, {}).elevation_moa);
    EXPECT_GT(moa, 1.5);
    EXPECT_LT(moa, 4.5);
    EXPECT_LT(stepped.velocity_ms, once.velocity_ms);

    // Hornady 143 gr ELD-X (6.5 mm): the maker publishes G1 0.625 and G7 0.315 for it; through
    // the two standard functions they must describe the same flight, to a percent of the fall
    // even at 1000 m.
    Bullet eldxG1;
    eldxG1.muzzleVelocity_ms = 2700 * 0.3048;
    eldxG1.weight_gr = 143;
    eldxG1.bc_lbin2 = 0.625;
    Bullet eldxG7 = eldxG1;
    eldxG7.model = DragModel::G7;
    eldxG7.bc_lbin2 = 0.315;
    const Trajectory byG1 = computed(eldxG1, {}, zeroAt(100), span);
    const Trajectory byG7 = computed(eldxG7, {}, zeroAt(100), span);
    EXPECT_NEAR(rowAt(byG1, 300).path_cm, rowAt(byG7, 300).path_cm, 1.5);
    EXPECT_NEAR(rowAt(byG1, 300).velocity_ms, rowAt(byG7, 300).velocity_ms, 5);
    EXPECT_NEAR(rowAt(byG1, 1000).path_cm, rowAt(byG7, 1000).path_cm,
                0.01 * std::fabs(rowAt(byG7, 1000).path_cm));
}

TEST(PointMassBullets, MeasuredCurveOfFormFactorOneIsTheStandardFunction)
{
    // A bullet whose measured curve is the G7 function itself flies as the G7 bullet of
    // coefficient m / d^2.
    Bullet g7 = classicBullet();
    g7.model = DragModel::G7;
    const double d_in = 7.82 / 25.4;
    g7.bc_lbin2 = 150.0 / 7000 / (d_in * d_in);
    Bullet measured = classicBullet();
    measured.diameter_mm = 7.82;
    const auto points = standardDragPoints(DragModel::G7);
    measured.dragTable.assign(points.begin(), points.end());
    const Trajectory a = computed(g7, {}, zeroAt(200), {1000, 100});
    const Trajectory b = computed(measured, {}, zeroAt(200), {1000, 100});
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (std::size_t k = 0; k < a.rows.size(); ++k) {
        EXPECT_NEAR(a.rows[k].path_cm, b.rows[k].path_cm, 1e-3);
        EXPECT_NEAR(a.rows[k].velocity_ms, b.rows[k].velocity_ms, 1e-4);
    }
}

} // namespace
} // namespace siacci::pointmass

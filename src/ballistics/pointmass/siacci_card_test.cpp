#include "ballistics/pointmass/classic_bullet.hpp"
#include "ballistics/pointmass/pointmass.hpp"
#include "ballistics/tables.hpp"
#include "ballistics/worked_example.hpp"
#include "common/number_text.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::pointmass {
namespace {

// The classic table's wind: 10 mph, its 176 inches per second, typed as 16.0934 km/h.
constexpr double kClassicWind_ms = 16.0934 / 3.6;

// The card's number as the classic table rounds it: floor(10 x + 0.49) / 10.
double tableRounded(double x) { return std::floor(10 * x + 0.49) / 10; }

TEST(SiacciCard, IsTheClassicMetricTableInItsOwnConditions)
{
    for (const double windFrom : {90.0, 270.0}) {
        for (const auto& [increment, maximum] :
             {std::pair{25.0, 300.0}, std::pair{100.0, 1000.0}}) {
            ShotInput in = workedExample();
            in.increment = increment;
            in.maxDistance = maximum;
            const TableRun table = tableEuropa(in, RunKind::Screen);
            ASSERT_EQ(table.refusal, TableRefusal::None);

            Conditions c;
            c.wind = {kClassicWind_ms, windFrom};
            Zeroing z;
            z.sightHeight_cm = 4;
            z.zeroDistance_m = 220;
            const Result card =
                computeSiacciTrajectory(classicBullet(), c, z, {maximum, increment});
            ASSERT_TRUE(card.ok());
            ASSERT_EQ(card.trajectory.rows.size(), table.rows.size());
            for (std::size_t k = 0; k < table.rows.size(); ++k) {
                const Row& row = card.trajectory.rows[k];
                const TrajectoryRow& cells = table.rows[k];
                SCOPED_TRACE(cells[0]);
                EXPECT_EQ(cellText(row.distance_m), cells[0]);
                EXPECT_EQ(cellText(std::floor(row.velocity_ms + 0.49)), cells[1]);
                EXPECT_EQ(cellText(std::floor(1000 * row.time_s + 0.49) / 1000), cells[2]);
                EXPECT_EQ(cellText(tableRounded(row.path_cm)), cells[3]);
                EXPECT_NEAR(tableRounded(std::fabs(row.windage_cm)), readField(cells[4]), 0.1001);
                EXPECT_EQ(row.windage_cm < 0, windFrom == 90 && k > 0);
                EXPECT_EQ(cellText(tableRounded(row.drop_cm)), cells[6]);
            }
        }
    }
}

TEST(SiacciCard, CardConditionsExtendTheTable)
{
    const Bullet b = classicBullet();
    Zeroing z;
    z.sightHeight_cm = 4;
    z.zeroDistance_m = 200;
    const TableSpan span{600, 100};
    const Trajectory level = computeSiacciTrajectory(b, {}, z, span).trajectory;
    // Thinner air: flatter and faster at 600 m.
    Conditions high;
    high.atmosphere.pressure_hPa = pressureAtAltitude_hPa(2000);
    const Trajectory thin = computeSiacciTrajectory(b, high, z, span).trajectory;
    EXPECT_GT(thin.rows.back().velocity_ms, level.rows.back().velocity_ms);
    // A look angle scales the drop by its cosine; the path rises by what the drop loses.
    Conditions uphill;
    uphill.lookAngle_deg = 30;
    const Trajectory sloped = computeSiacciTrajectory(b, uphill, z, span).trajectory;
    for (std::size_t k = 1; k < level.rows.size(); ++k) {
        EXPECT_NEAR(sloped.rows[k].drop_cm, level.rows[k].drop_cm * std::cos(M_PI / 6), 1e-9);
        EXPECT_NEAR(sloped.rows[k].path_cm - level.rows[k].path_cm,
                    level.rows[k].drop_cm - sloped.rows[k].drop_cm, 1e-9);
    }
    // Half the crosswind, half the drift; a headwind none.
    Conditions quartering;
    quartering.wind = {kClassicWind_ms, 30};
    Conditions full;
    full.wind = {kClassicWind_ms, 90};
    EXPECT_NEAR(computeSiacciTrajectory(b, quartering, z, span).trajectory.rows.back().windage_cm,
                computeSiacciTrajectory(b, full, z, span).trajectory.rows.back().windage_cm / 2,
                1e-9);
}

TEST(SiacciCard, RefusesWhatTheClassicEngineCannotHonour)
{
    const Zeroing z;
    const TableSpan span;
    const auto refusal = [&](const Bullet& b, const Conditions& c) {
        return computeSiacciTrajectory(b, c, z, span).refusal;
    };
    Bullet g7 = classicBullet();
    g7.model = DragModel::G7;
    EXPECT_EQ(refusal(g7, {}), Refusal::NotForSiacci);
    Bullet stepped = classicBullet();
    stepped.bcSteps = {{0.45, 700}};
    EXPECT_EQ(refusal(stepped, {}), Refusal::NotForSiacci);
    Bullet measured = classicBullet();
    measured.diameter_mm = 7.82;
    measured.dragTable = {{0, 0.3}, {3, 0.3}};
    EXPECT_EQ(refusal(measured, {}), Refusal::NotForSiacci);
    Bullet spinning = classicBullet();
    spinning.diameter_mm = 7.82;
    spinning.length_mm = 30;
    spinning.twist_in = 12;
    EXPECT_EQ(refusal(spinning, {}), Refusal::NotForSiacci);
    Conditions earth;
    earth.earth = EarthPosition{45, 0};
    EXPECT_EQ(refusal(classicBullet(), earth), Refusal::NotForSiacci);
    Bullet slow = classicBullet();
    slow.muzzleVelocity_ms = 80;
    EXPECT_EQ(refusal(slow, {}), Refusal::OutsideSiacciVelocities);
    EXPECT_FALSE(refusalText(Refusal::OutsideSiacciVelocities).empty());
}

// Before, the rows went on past the slowest band: -5.8 m/s at 8000 m, a negative Mach, 87 s of
// flight. They stop where the bullet leaves the bands, every velocity a real one.
TEST(SiacciCard, RowsStopBelowTheSlowestBand)
{
    const Result card = computeSiacciTrajectory(classicBullet(), {}, {}, {8000, 100});
    ASSERT_TRUE(card.ok());
    ASSERT_FALSE(card.trajectory.rows.empty());
    EXPECT_LT(card.trajectory.rows.back().distance_m, 8000);
    for (const Row& row : card.trajectory.rows) {
        EXPECT_GE(row.velocity_ms, 91.4) << row.distance_m;
        EXPECT_GT(row.mach, 0) << row.distance_m;
        EXPECT_LT(row.time_s, 60) << row.distance_m;
    }
}

} // namespace
} // namespace siacci::pointmass

#include "card/shot_solution.hpp"

#include <gtest/gtest.h>

namespace siacci::card {
namespace {

// The worked shot of the point-mass engine: G1 0.4, 800 m/s, 150 grains, sight 4 cm, zero
// 220 m, ICAO air, 16 km/h from 3 o'clock.
CardSetup workedShot()
{
    CardSetup s;
    s.bullet.muzzleVelocity_ms = 800;
    s.bullet.weight_gr = 150;
    s.bullet.bc_lbin2 = 0.4;
    s.zeroing.sightHeight_cm = 4;
    s.zeroing.zeroDistance_m = 220;
    s.conditions.wind = {16 / 3.6, 90};
    s.span = {500, 50};
    s.click = {0.1, pm::AngleUnit::Mrad};
    return s;
}

void expectSameRow(const pm::Row& a, const pm::Row& b)
{
    EXPECT_NEAR(a.distance_m, b.distance_m, 1e-9);
    EXPECT_NEAR(a.velocity_ms, b.velocity_ms, 1e-3);
    EXPECT_NEAR(a.time_s, b.time_s, 1e-6);
    EXPECT_NEAR(a.path_cm, b.path_cm, 1e-3);
    EXPECT_NEAR(a.drop_cm, b.drop_cm, 1e-3);
    EXPECT_NEAR(a.windage_cm, b.windage_cm, 1e-3);
    EXPECT_NEAR(a.energy_J, b.energy_J, 1e-2);
}

TEST(ShotSolution, AtARowDistanceIsTheCardsRow)
{
    const CardSetup s = workedShot();
    const CardSheet sheet = computeCard(s);
    ASSERT_TRUE(sheet.ok());
    for (const CardRow& row : sheet.rows) {
        if (row.row.distance_m == 0)
            continue;
        SCOPED_TRACE(row.row.distance_m);
        const SolutionResult r = solveAt(s, row.row.distance_m);
        ASSERT_TRUE(r.ok()) << r.refusal;
        expectSameRow(r.solution.row, row.row);
        EXPECT_EQ(r.solution.correction.elevationClicks, row.correction.elevationClicks);
        EXPECT_EQ(r.solution.correction.windageClicks, row.correction.windageClicks);
    }
}

TEST(ShotSolution, BetweenRowsIsTheCardWhoseIncrementLandsThere)
{
    for (double d : {287.0, 33.3, 612.5}) {
        SCOPED_TRACE(d);
        CardSetup s = workedShot();
        const SolutionResult r = solveAt(s, d);
        ASSERT_TRUE(r.ok()) << r.refusal;
        s.span = {3 * d, d};
        const CardSheet sheet = computeCard(s);
        ASSERT_GE(sheet.rows.size(), 2u);
        expectSameRow(r.solution.row, sheet.rows[1].row);
    }
}

TEST(ShotSolution, GivesTheWorkedExampleAt300m)
{
    const SolutionResult r = solveAt(workedShot(), 300);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.solution.row.velocity_ms, 591.03, 0.01);
    EXPECT_NEAR(r.solution.row.time_s, 0.43649, 1e-5);
    EXPECT_NEAR(r.solution.row.path_cm, -24.64, 0.01);
    EXPECT_NEAR(r.solution.row.windage_cm, -27.33, 0.01);
    // 24.64 cm low at 300 m is 0.82 mrad up; the wind from the right pushes left: dial right.
    EXPECT_EQ(r.solution.correction.elevationClicks, 8);
    EXPECT_EQ(r.solution.correction.windageClicks, 9);
}

TEST(ShotSolution, BracketsTheWindFiveKilometresAnHourEitherWay)
{
    CardSetup s = workedShot();
    const SolutionResult r = solveAt(s, 400);
    ASSERT_TRUE(r.ok());
    EXPECT_DOUBLE_EQ(r.solution.windSpeedLess_kmh, 11);
    EXPECT_DOUBLE_EQ(r.solution.windSpeedMore_kmh, 21);
    EXPECT_LT(r.solution.windLess.windage_mrad, r.solution.correction.windage_mrad);
    EXPECT_GT(r.solution.windMore.windage_mrad, r.solution.correction.windage_mrad);
    // The windage is nearly linear in the wind: 5 km/h moves it by 5/16 of the whole.
    EXPECT_NEAR(r.solution.windMore.windage_mrad - r.solution.correction.windage_mrad,
                r.solution.correction.windage_mrad * 5 / 16, 0.02);

    // A breeze weaker than the bracket: the weaker side is still air, not a wind from the
    // other side.
    s.conditions.wind.speed_ms = 3 / 3.6;
    const SolutionResult calm = solveAt(s, 400);
    EXPECT_DOUBLE_EQ(calm.solution.windSpeedLess_kmh, 0);
    EXPECT_NEAR(calm.solution.windLess.windage_mrad, 0, 1e-9);
}

TEST(ShotSolution, LeadAndEnergyOfTheGame)
{
    CardSetup s = workedShot();
    s.crossingSpeed_kmh = 18;
    s.animalLength_m = 1.25;
    s.minEnergy_J = 1500;
    const SolutionResult near = solveAt(s, 100);
    ASSERT_TRUE(near.ok());
    EXPECT_NEAR(*near.solution.lead_cm, 18 / 3.6 * near.solution.row.time_s * 100, 1e-9);
    EXPECT_NEAR(*near.solution.leadBodies, *near.solution.lead_cm / 125, 1e-9);
    EXPECT_FALSE(near.solution.belowMinimumEnergy);
    EXPECT_TRUE(solveAt(s, 600).solution.belowMinimumEnergy);
}

TEST(ShotSolution, RefusesWhatItCannotAnswer)
{
    const struct {
        double distance_m;
        double velocity_ms;
        const char* refusal;
    } cases[] = {
        {0, 800, "Distanza del tiro: deve essere tra 1 e 5000 m"},
        {-10, 800, "Distanza del tiro: deve essere tra 1 e 5000 m"},
        {6000, 800, "Distanza del tiro: deve essere tra 1 e 5000 m"},
        // A slow bullet that the 30 s of flight do not carry to 4 km.
        {4000, 120, "Il proiettile non arriva a 4000 m."},
    };
    for (const auto& c : cases) {
        CardSetup s = workedShot();
        s.bullet.muzzleVelocity_ms = c.velocity_ms;
        s.zeroing.zeroDistance_m = 50;
        const SolutionResult r = solveAt(s, c.distance_m);
        EXPECT_EQ(r.refusal, c.refusal) << c.distance_m;
    }
}

TEST(ShotSolution, TheSiacciEngineToo)
{
    CardSetup s = workedShot();
    s.method = Method::Siacci;
    const CardSheet sheet = computeCard(s);
    const SolutionResult r = solveAt(s, 250);
    ASSERT_TRUE(r.ok()) << r.refusal;
    expectSameRow(r.solution.row, sheet.rows[5].row);
}

} // namespace
} // namespace siacci::card

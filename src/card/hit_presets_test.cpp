#include "card/hit_presets.hpp"

#include "common/portable_random.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace siacci::card {
namespace {

// The stated conversion from a 5-shot group to the cone: five shots drawn from a circular normal
// cone of SD 1 per axis group, on average, 3.07 wide (centre to centre of the farthest two).
TEST(HitPresets, FiveShotGroupsAreAboutThreeStandardDeviationsWide)
{
    PortableRandom random(5);
    constexpr int kGroups = 40000;
    double sum = 0;
    for (int g = 0; g < kGroups; ++g) {
        double x[5], y[5];
        for (int i = 0; i < 5; ++i) {
            x[i] = random.normal();
            y[i] = random.normal();
        }
        double widest = 0;
        for (int i = 0; i < 5; ++i)
            for (int j = i + 1; j < 5; ++j)
                widest = std::max(widest, std::hypot(x[i] - x[j], y[i] - y[j]));
        sum += widest;
    }
    EXPECT_NEAR(sum / kGroups, kFiveShotSpreadPerSd, 0.015);
    EXPECT_NEAR(coneSdFromGroup_moa(3.07), 1, 1e-12);
}

TEST(HitPresets, ThePositionAddsToTheRiflesOwnCone)
{
    EXPECT_DOUBLE_EQ(coneSd_moa(1.535, ShootingPosition::Banco), 0.5);
    EXPECT_DOUBLE_EQ(coneSd_moa(0, ShootingPosition::InPiedi), 2.5);
    EXPECT_DOUBLE_EQ(coneSd_moa(3.07 * 0.8, ShootingPosition::Seduto), std::hypot(0.8, 0.8));
    // Steadier positions throw smaller cones: bench, prone, sitting, sticks, standing.
    const ShootingPosition steadiestFirst[] = {ShootingPosition::Banco, ShootingPosition::ATerra,
                                               ShootingPosition::Seduto, ShootingPosition::Bastone,
                                               ShootingPosition::InPiedi};
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(positionSd_moa(steadiestFirst[i - 1]), positionSd_moa(steadiestFirst[i]));
}

TEST(HitPresets, ReadingsAsTheHunterNamesThem)
{
    EXPECT_EQ(rangeFinderError(RangeFinder::Telemetro).sd_m, 1);
    EXPECT_EQ(rangeFinderError(RangeFinder::AOcchio).sd_pct, 10);
    EXPECT_EQ(windReadingSd_kmh(WindReading::Misurato), 1.5);
    EXPECT_EQ(windReadingSd_kmh(WindReading::Stimato), 4);
    EXPECT_STREQ(rangeFinderCaption(RangeFinder::AOcchio), "a occhio ±10 %");
    EXPECT_STREQ(windReadingCaption(WindReading::Stimato), "vento stimato ±4 km/h");
    EXPECT_STREQ(shootingPositionCaption(ShootingPosition::ATerra), "a terra");
}

} // namespace
} // namespace siacci::card

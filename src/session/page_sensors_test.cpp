#include "session/page_sensors.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci::session {
namespace {

TEST(TiltMeter, ZeroedOnALevelSurfaceAndHeldWithATap)
{
    TiltMeter tilt;
    EXPECT_EQ(tilt.zeroText(), "Non azzerato");
    EXPECT_EQ(tilt.reading(12.34), 12.3);
    tilt.zeroed(1.5);
    EXPECT_EQ(tilt.zeroText(), "Azzerato su 1,5°");
    EXPECT_EQ(tilt.reading(12.34), 10.8);
    EXPECT_EQ(tilt.reading(-8.5), -10);
    // A reading of exactly the zero is 0, never "-0".
    EXPECT_EQ(tilt.reading(1.5), 0.0);
    EXPECT_FALSE(std::signbit(*tilt.reading(1.46)));
    tilt.holdToggled();
    EXPECT_TRUE(tilt.held());
    EXPECT_FALSE(tilt.reading(20));
    tilt.holdToggled();
    EXPECT_EQ(tilt.reading(20), 18.5);
    // Beyond the card's limits, or no number: nothing.
    EXPECT_FALSE(tilt.reading(85));
    EXPECT_FALSE(tilt.reading(std::nan("")));
    // The phone held up is no level surface: the zero stays.
    tilt.zeroed(45);
    EXPECT_DOUBLE_EQ(tilt.zero_deg(), 1.5);
}

TEST(WindFromTheCompass, TurnsIntoTheClockOfTheShot)
{
    const struct {
        double windFrom, azimuth;
        int clock;
    } cases[] = {
        {0, 0, 12},     // from the target
        {90, 0, 3},     // firing north, wind from the east: from the right
        {270, 0, 9},
        {180, 0, 6},
        {45, 300, 4},   // 105 degrees to the right of the shot: 3 and a half, to the nearest 4
        {350, 10, 11},
        {-30, 0, 11},
        {755, 0, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(windClockFromCompass(c.windFrom, c.azimuth), c.clock) << c.windFrom << " " << c.azimuth;
}

TEST(SensorTexts, AsTheCardsFieldsShowThem)
{
    EXPECT_EQ(headingText(359.6), "0");
    EXPECT_EQ(headingText(-10), "350");
    EXPECT_EQ(latitudeText(45.123456), "45,1235");
    EXPECT_EQ(altitudeText(1234.6), "1235");
}

} // namespace
} // namespace siacci::session

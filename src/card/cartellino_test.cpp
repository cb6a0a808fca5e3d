#include "card/cartellino.hpp"

#include <gtest/gtest.h>

namespace siacci::card {
namespace {

struct FakeHost : CardHost {
    CardShot shot;
    CardShot cardShot() const override { return shot; }
};

CardShot loaded()
{
    CardShot s;
    s.velocity_ms = 823;
    s.bc = 0.285;
    s.weight_gr = 165;
    s.sightHeight_cm = 4;
    s.zero_m = 220;
    s.maxDistance_m = 300;
    s.increment_m = 25;
    s.temperature_C = 15;
    s.altitude_m = 600;
    s.description = ".308 WINCHESTER (7,62 NATO) 165 grains";
    return s;
}

TEST(Cartellino, StartsFromTheMainWindowsShot)
{
    FakeHost host;
    host.shot = loaded();
    Cartellino card(&host);
    EXPECT_EQ(card.fieldText(CardField::Velocity), "823");
    EXPECT_EQ(card.fieldText(CardField::Bc), "0,285");
    EXPECT_EQ(card.fieldText(CardField::Zero), "220");
    EXPECT_EQ(card.fieldText(CardField::Altitude), "600");
    EXPECT_EQ(card.pressureMode(), PressureMode::AltitudeOnly);
    EXPECT_TRUE(card.hint().empty());
    ASSERT_TRUE(card.sheet().ok()) << card.sheet().refusal;
    EXPECT_EQ(card.sheet().rows.size(), 13u);
    EXPECT_NEAR(card.setup().conditions.atmosphere.pressure_hPa, pm::pressureAtAltitude_hPa(600), 1e-9);
}

TEST(Cartellino, AnEmptyMainWindowGivesDefaultsAndAHint)
{
    FakeHost host;
    Cartellino card(&host);
    EXPECT_FALSE(card.hint().empty());
    EXPECT_TRUE(card.sheet().ok());
    EXPECT_FALSE(card.sheet().rows.empty());
}

TEST(Cartellino, ReadsTheDecimalCommaAndRefusesInItalian)
{
    Cartellino card;
    card.fieldChanged(CardField::Bc, "0,5");
    EXPECT_DOUBLE_EQ(card.setup().bullet.bc_lbin2, 0.5);
    card.fieldChanged(CardField::Increment, "0");
    EXPECT_FALSE(card.sheet().ok());
    EXPECT_EQ(card.sheet().refusal, "Incremento: deve essere tra 0,1 e 10000 m");
    card.fieldChanged(CardField::Increment, "50");
    card.fieldChanged(CardField::Velocity, "-3");
    EXPECT_FALSE(card.sheet().ok()) << "the engine's refusal reaches the window";
    EXPECT_TRUE(card.sheet().rows.empty());
}

// The window takes the limits of the one table: each field outside them is refused naming it.
TEST(Cartellino, EveryLimitedFieldIsRefusedWithItsLimit)
{
    const struct {
        CardField field;
        const char* text;
        const char* refusal;
    } cases[] = {
        {CardField::Velocity, "2500", "Velocità: deve essere tra 50 e 2000 m/s"},
        {CardField::Weight, "1e308", "Peso: deve essere tra 1 e 2000 grains"},
        {CardField::Diameter, "1e308", "Diametro: deve essere tra 1 e 30 mm"},
        {CardField::SightHeight, "31", "Altezza dell'ottica: deve essere tra 0 e 30 cm"},
        {CardField::WindSpeed, "-5", "Vento: deve essere tra 0 e 200 km/h"},
        {CardField::Twist, "1", "Passo di rigatura: deve essere tra 3 e 60 pollici per giro"},
        {CardField::Azimuth, "1e12", "Azimut: deve essere tra -360 e 360 gradi"},
        {CardField::ClicksPerTurn, "1e300", "Click per giro: deve essere tra 0 e 1000"},
        {CardField::LookAngle, "89", "Angolo di tiro: deve essere tra -80 e 80 gradi"},
    };
    for (const auto& c : cases) {
        Cartellino card;
        card.fieldChanged(c.field, c.text);
        EXPECT_EQ(card.sheet().refusal, c.refusal) << c.text;
        EXPECT_TRUE(card.sheet().rows.empty());
    }
    Cartellino card;
    card.clickChosen(ClickChoice::TypedMrad);
    card.fieldChanged(CardField::ClickTyped, "1e-300");
    EXPECT_EQ(card.sheet().refusal, "Valore del click: deve essere tra 0,01 e 10 mrad");
}

TEST(Cartellino, WeatherPressureNeedsTheAltitude)
{
    Cartellino card;
    card.pressureModeChosen(PressureMode::SeaLevel);
    card.fieldChanged(CardField::Pressure, "1020");
    card.fieldChanged(CardField::Altitude, "1500");
    EXPECT_NEAR(card.setup().conditions.atmosphere.pressure_hPa,
                pm::stationPressureFromQnh_hPa(1020, 1500), 1e-9);
    card.fieldChanged(CardField::Altitude, "");
    EXPECT_EQ(card.sheet().refusal, "La pressione del bollettino meteo vuole anche l'altitudine");
    card.pressureModeChosen(PressureMode::Station);
    EXPECT_DOUBLE_EQ(card.setup().conditions.atmosphere.pressure_hPa, 1020);
}

TEST(Cartellino, SpeciesPresetsKeepTheUsersOwnNumbers)
{
    Cartellino card;
    card.speciesChosen(Species::Cinghiale);
    EXPECT_EQ(card.fieldText(CardField::MinEnergy), "2000");
    card.fieldChanged(CardField::MinEnergy, "2200");
    card.speciesChosen(Species::Capriolo);
    EXPECT_EQ(card.fieldText(CardField::MinEnergy), "1000");
    card.speciesChosen(Species::Cinghiale);
    EXPECT_EQ(card.fieldText(CardField::MinEnergy), "2200");
    EXPECT_DOUBLE_EQ(*card.setup().minEnergy_J, 2200);
}

TEST(Cartellino, ClockFaceClicksPickTheNearestHour)
{
    Cartellino card;
    card.clockClicked(0, -1);
    EXPECT_EQ(card.windClock(), 12);
    card.clockClicked(1, 0);
    EXPECT_EQ(card.windClock(), 3);
    card.clockClicked(-0.9, 0.1);
    EXPECT_EQ(card.windClock(), 9);
    EXPECT_DOUBLE_EQ(card.setup().conditions.wind.fromAngle_deg, 270);
    EXPECT_EQ(card.windDirectionText(), "da ore 9 (da sinistra)");
    card.clockClicked(0.5, 0.87);
    EXPECT_EQ(card.windClock(), 5);
}

TEST(Cartellino, SpinNeedsDiameterLengthAndTwistAndFollowsTheHand)
{
    Cartellino card;
    card.fieldChanged(CardField::Diameter, "7,82");
    card.fieldChanged(CardField::Length, "31");
    EXPECT_FALSE(card.setup().bullet.twist_in);
    card.fieldChanged(CardField::Twist, "10");
    EXPECT_DOUBLE_EQ(*card.setup().bullet.twist_in, 10);
    card.leftHandChosen(true);
    EXPECT_DOUBLE_EQ(*card.setup().bullet.twist_in, -10);
    ASSERT_TRUE(card.sheet().stability_sg);
    card.bcStepChanged(0, 0, "0,3");
    EXPECT_FALSE(card.sheet().ok()) << "a step without its velocity";
    card.bcStepChanged(0, 1, "600");
    ASSERT_TRUE(card.sheet().ok()) << card.sheet().refusal;
    ASSERT_EQ(card.setup().bullet.bcSteps.size(), 1u);
}

} // namespace
} // namespace siacci::card

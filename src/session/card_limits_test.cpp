#include "session/card_limits.hpp"

#include <gtest/gtest.h>

namespace siacci::card {
namespace {

TEST(CardLimits, MessagesNameTheFieldAndItsLimits)
{
    const struct { CardField field; const char* text; const char* message; } cases[] = {
        {CardField::Velocity, "99999", "Velocità: deve essere tra 50 e 2000 m/s"},
        {CardField::Velocity, "", "Velocità: manca il valore"},
        {CardField::Velocity, "8oo", "Velocità: scrivi un numero"},
        {CardField::Velocity, "823,5", ""},
        {CardField::SightHeight, "-300", "Altezza ottica: deve essere tra 0 e 30 cm"},
        {CardField::Weight, "0", "Peso: deve essere tra 1 e 2000 grani"},
        {CardField::Humidity, "120", "Umidità: deve essere tra 0 e 100 %"},
        {CardField::Temperature, "\xe2\x88\x92" "5", ""},
        {CardField::Bc, "0,4", ""},
        {CardField::ClicksPerTurn, "", ""},
        {CardField::ClicksPerTurn, "12,5", "Click per giro: deve essere un numero intero"},
        {CardField::Zero, "2000", ""},
        {CardField::Description, "qualsiasi testo", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldMessage(c.field, c.text), c.message) << c.text;
    // A field the card does not use now is never wrong.
    EXPECT_EQ(fieldMessage(CardField::Pressure, "", false), "");
}

TEST(CardLimits, RequiredFollowsTheChoices)
{
    Cartellino card;
    EXPECT_FALSE(fieldRequired(card, CardField::Pressure)); // the altitude alone by default
    card.pressureModeChosen(PressureMode::Station);
    EXPECT_TRUE(fieldRequired(card, CardField::Pressure));
    EXPECT_FALSE(fieldRequired(card, CardField::Altitude));
    EXPECT_FALSE(fieldRequired(card, CardField::ClickTyped));
    card.clickChosen(ClickChoice::TypedMoa);
    EXPECT_TRUE(fieldRequired(card, CardField::ClickTyped));
}

TEST(CardLimits, IncompleteNumbersAreThoseOnTheirWay)
{
    for (const char* text : {"-", "+", "0,", "12.", "1e", "1e-", ",", "\xe2\x88\x92", " - "})
        EXPECT_TRUE(incompleteNumber(text)) << text;
    for (const char* text : {"", "0", "-5", "0,5", "1e3", "abc", "1,2,", "--", "5 x"})
        EXPECT_FALSE(incompleteNumber(text)) << text;
}

} // namespace
} // namespace siacci::card

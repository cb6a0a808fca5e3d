#include "card/input_limits.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace siacci::card {
namespace {

// Every limit: its ends are within, a little past either end is refused with the field and the
// limit named, and so is what is no number at all.
TEST(InputLimits, EveryLimitTakesItsEndsAndRefusesWhatIsPastThem)
{
    for (const InputLimit& l : inputLimits()) {
        const std::string name = l.caption;
        EXPECT_EQ(limitRefusal(l.input, l.low), "") << name;
        EXPECT_EQ(limitRefusal(l.input, l.high), "") << name;
        EXPECT_EQ(limitRefusal(l.input, std::optional<double>{}), "") << name;
        const double step = std::max(1e-9, (l.high - l.low) * 1e-9);
        for (const double bad : {l.low - step, l.high + step, std::nan(""),
                                 std::numeric_limits<double>::infinity(), 1e308, -1e308}) {
            const std::string refusal = limitRefusal(l.input, bad);
            EXPECT_EQ(refusal.rfind(name + ": deve essere tra ", 0), 0u) << name << " " << bad;
            EXPECT_EQ(refusal.back() == '.', false) << refusal;
            if (*l.unit) {
                EXPECT_TRUE(refusal.ends_with(l.unit)) << refusal;
            }
        }
        EXPECT_LT(l.low, l.high) << name;
    }
}

TEST(InputLimits, TheRefusalsReadAsTheUserSeesTheNumbers)
{
    const struct {
        LimitedInput input;
        double value;
        const char* refusal;
    } cases[] = {
        {LimitedInput::Velocity, 2500, "Velocità: deve essere tra 50 e 2000 m/s"},
        {LimitedInput::Weight, 1e308, "Peso: deve essere tra 1 e 2000 grains"},
        {LimitedInput::Bc, 0.001, "Coefficiente balistico: deve essere tra 0,01 e 2"},
        {LimitedInput::Diameter, 1e308, "Diametro: deve essere tra 1 e 30 mm"},
        {LimitedInput::WindClock, 1e308, "Direzione del vento: deve essere tra 0 e 12 ore"},
        {LimitedInput::Azimuth, 1e12, "Azimut: deve essere tra -360 e 360 gradi"},
        {LimitedInput::ClickMrad, 1e-300, "Valore del click: deve essere tra 0,01 e 10 mrad"},
        {LimitedInput::ClickCm, 1000, "Valore del click: deve essere tra 0,1 e 100 cm a 100 m"},
        {LimitedInput::ClicksPerTurn, 1e300, "Click per giro: deve essere tra 0 e 1000"},
        {LimitedInput::Humidity, -1, "Umidità: deve essere tra 0 e 100 %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(limitRefusal(c.input, c.value), c.refusal);
}

// A field's text as typed on the desktop or on a phone.
TEST(InputLimits, TextsAreReadWholeWithTheDecimalComma)
{
    using L = LimitedInput;
    const struct { L input; const char* text; bool optional; const char* message; } cases[] = {
        {L::Velocity, "99999", false, "Velocità: deve essere tra 50 e 2000 m/s"},
        {L::Velocity, "", false, "Velocità: manca il valore"},
        {L::Velocity, "  ", true, ""},
        {L::Velocity, "8oo", false, "Velocità: scrivi un numero"},
        {L::Velocity, "1,2,", false, "Velocità: scrivi un numero"},
        {L::Velocity, " 823,5 ", false, ""},
        {L::Velocity, "823.5", false, ""},
        {L::Velocity, "1e999", false, "Velocità: deve essere tra 50 e 2000 m/s"},
        {L::SightHeight, "-300", false, "Altezza dell'ottica: deve essere tra 0 e 30 cm"},
        {L::Weight, "0", false, "Peso: deve essere tra 1 e 2000 grains"},
        {L::Temperature, "\xe2\x88\x92" "5", false, ""},
        {L::Temperature, "\xe2\x88\x92" "80", false, "Temperatura: deve essere tra -60 e 70 °C"},
        {L::ClicksPerTurn, "12,5", true, "Click per giro: deve essere un numero intero"},
        {L::ClicksPerTurn, "12", true, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(textRefusal(c.input, c.text, c.optional), c.message) << c.text;
}

TEST(InputLimits, IncompleteNumbersAreThoseOnTheirWay)
{
    for (const char* text : {"-", "+", "0,", "12.", "1e", "1e-", ",", "\xe2\x88\x92", " - "})
        EXPECT_TRUE(incompleteNumber(text)) << text;
    for (const char* text : {"", "0", "-5", "0,5", "1e3", "abc", "1,2,", "--", "5 x"})
        EXPECT_FALSE(incompleteNumber(text)) << text;
}

// As the armoury refuses them: two bands from one velocity, a band past its limits, too many.
TEST(InputLimits, SteppedCoefficients)
{
    const BcStepText sound[] = {{0.5, 800}, {0.45, 600}};
    EXPECT_EQ(bcStepsRefusal(sound), "");
    const BcStepText twice[] = {{0.5, 600}, {0.45, 600}};
    EXPECT_EQ(bcStepsRefusal(twice), "Coefficienti a gradini: due gradini partono dalla stessa velocità (600 m/s)");
    const BcStepText tiny[] = {{0.001, 600}};
    EXPECT_EQ(bcStepsRefusal(tiny), "Coefficiente di un gradino: deve essere tra 0,01 e 2");
    const BcStepText slow[] = {{0.4, 0}};
    EXPECT_EQ(bcStepsRefusal(slow), "Velocità di un gradino: deve essere tra 1 e 2000 m/s");
    std::vector<BcStepText> many;
    for (int i = 0; i < 40; ++i)
        many.push_back({0.4, 100.0 + i});
    EXPECT_EQ(bcStepsRefusal(many), "Coefficienti a gradini: al più 32 gradini");
}

} // namespace
} // namespace siacci::card

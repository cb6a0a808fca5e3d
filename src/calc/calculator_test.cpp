#include "calc/calculator.hpp"

#include "common/fakes.hpp"

#include <gtest/gtest.h>

#include <string>

namespace siacci {
namespace {

// Presses the keys a person would type: "7+5=" or "0-40=" (Escape for "C").
void type(Calculator& calc, std::string_view keys)
{
    for (const char ch : keys) {
        const auto key = keyForTyped(ch);
        ASSERT_TRUE(key) << "no key for '" << ch << "'";
        switch (key->kind) {
        case TypedKey::Kind::Number:
            calc.number(key->index);
            break;
        case TypedKey::Kind::Point:
            calc.decimal();
            break;
        case TypedKey::Kind::Operator:
            calc.operatorKey(key->index);
            break;
        case TypedKey::Kind::Cancel:
            calc.cancel();
            break;
        }
    }
}

class CalculatorTest : public ::testing::Test {
protected:
    testing::FakeDialogs dialogs;
    Calculator calc{dialogs};
};

TEST_F(CalculatorTest, OpensWithEmptyDisplayAndNothingPending)
{
    EXPECT_EQ(calc.readout(), "");
    EXPECT_FALSE(calc.pointTyped());
    EXPECT_EQ(calc.operandCount(), 0);
    EXPECT_EQ(calc.lastKeyKindText(), "NONE");
    EXPECT_EQ(calc.pendingOperatorText(), " ");
    EXPECT_EQ(calc.label1() + calc.label2() + calc.label3() + calc.label4(), "");
}

TEST_F(CalculatorTest, DigitKeysFollowTheKeypadOrderOfTheirIndices)
{
    // number(0) is "7": the array runs along the keypad rows, not by value.
    for (int i = 0; i < kNumberKeys; ++i)
        calc.number(i);
    EXPECT_EQ(calc.readout(), "7984561230");
    EXPECT_EQ(calc.lastKeyKindText(), "NUMS");
}

TEST_F(CalculatorTest, AddsThenMultipliesTheRunningResult)
{
    type(calc, "7+5=");
    EXPECT_EQ(calc.readout(), "12");
    EXPECT_EQ(calc.accumulator(), 12);
    type(calc, "X2=");
    EXPECT_EQ(calc.readout(), "24");
}

TEST_F(CalculatorTest, ChainedOperatorsComputeAsEachIsPressed)
{
    type(calc, "9-4/2*3=");
    EXPECT_EQ(calc.readout(), "7.5");
}

TEST_F(CalculatorTest, ResultsShowTheShortestFormWithAPoint)
{
    type(calc, "1/3=");
    EXPECT_EQ(calc.readout(), "0.333333333333333");
    type(calc, "\x1b" "0.1+0.2=");
    EXPECT_EQ(calc.readout(), "0.3");
    type(calc, "\x1b" "0-2.5=");
    EXPECT_EQ(calc.readout(), "-2.5");
}

// Before, very small and very large results were written out plainly and the display cut them
// at their start (1/3000000 showed ".0000003333..."). They take the general number form with an
// exponent now, and the display reads that form back for the next operation.
TEST_F(CalculatorTest, VerySmallAndVeryLargeResultsShowAnExponent)
{
    type(calc, "1/3000000=");
    EXPECT_EQ(calc.readout(), "3.33333333333333E-07");
    type(calc, "X3000000=");
    EXPECT_EQ(calc.readout(), "0.999999999999999");
    type(calc, "\x1b" "99999999X99999999=");
    EXPECT_EQ(calc.readout(), "9.9999998E+15");
    type(calc, "/10=");
    EXPECT_EQ(calc.readout(), "999999980000000");
    type(calc, "\x1b" "1/10000=");
    EXPECT_EQ(calc.readout(), "0.0001");
    type(calc, "/10=");
    EXPECT_EQ(calc.readout(), "1E-05");
}

TEST_F(CalculatorTest, DivisionByZeroWarnsAndKeepsTheRunningResult)
{
    type(calc, "8/0=");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Can't divide by zero");
    EXPECT_EQ(dialogs.messages[0].title, "Calculator");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(calc.readout(), "8");
    EXPECT_EQ(calc.accumulator(), 8);
    EXPECT_EQ(calc.operandCount(), 1);
    // The calculator goes on from 8.
    type(calc, "+1=");
    EXPECT_EQ(calc.readout(), "9");
}

TEST_F(CalculatorTest, PointFirstShowsALeadingZeroAndASecondPointIsIgnored)
{
    type(calc, ".5");
    EXPECT_EQ(calc.readout(), "0.5");
    EXPECT_TRUE(calc.pointTyped());
    type(calc, ".2");
    EXPECT_EQ(calc.readout(), "0.52");
    // A new number after an operator may have its own point.
    type(calc, "+1.5=");
    EXPECT_EQ(calc.readout(), "2.02");
}

TEST_F(CalculatorTest, SecondOperatorInARowOnlyReplacesThePendingOne)
{
    type(calc, "6+");
    type(calc, "-");
    EXPECT_EQ(calc.pendingOperatorText(), "-");
    EXPECT_EQ(calc.operandCount(), 1);
    EXPECT_EQ(calc.readout(), "6");
    type(calc, "2=");
    EXPECT_EQ(calc.readout(), "4");
}

TEST_F(CalculatorTest, NumberTypedAfterEqualsBecomesTheRunningResult)
{
    type(calc, "2+3=");
    type(calc, "10+1=");
    EXPECT_EQ(calc.readout(), "11");
}

TEST_F(CalculatorTest, OperatorBeforeAnyNumberOnlySetsThePendingOne)
{
    type(calc, "+");
    EXPECT_EQ(calc.operandCount(), 0);
    EXPECT_EQ(calc.pendingOperatorText(), "+");
    EXPECT_EQ(calc.readout(), "");
    type(calc, "4+");
    EXPECT_EQ(calc.accumulator(), 4);
}

TEST_F(CalculatorTest, ZeroPointReadsAsZero)
{
    type(calc, "9\x1b.+5=");
    EXPECT_EQ(calc.readout(), "5");
}

TEST_F(CalculatorTest, CancelClearsLabelsAndShowsZeroPoint)
{
    type(calc, "7+10");
    calc.dea(0);
    calc.cancel();
    EXPECT_EQ(calc.readout(), "0.");
    EXPECT_EQ(calc.label1() + calc.label2() + calc.label3() + calc.label4(), "");
    EXPECT_EQ(calc.operandCount(), 0);
    EXPECT_EQ(calc.lastKeyKindText(), "NONE");
    EXPECT_EQ(calc.pendingOperatorText(), " ");
    EXPECT_FALSE(calc.pointTyped());
    // "0." reads as 0, and the next digit starts afresh.
    type(calc, "5=");
    EXPECT_EQ(calc.readout(), "5");
}

// One row per conversion key: the display, then what the four labels show.
struct ConversionRow {
    int key;
    const char* keys; // typed to put the value on the display
    const char* label3;
    const char* label4;
    const char* label1;
    const char* label2;
};

class ConversionKeys : public ::testing::TestWithParam<ConversionRow> {};

TEST_P(ConversionKeys, ShowValueResultAndUnits)
{
    const auto& row = GetParam();
    testing::FakeDialogs dialogs;
    Calculator calc(dialogs);
    type(calc, row.keys);
    calc.dea(row.key);
    EXPECT_EQ(calc.label3(), row.label3);
    EXPECT_EQ(calc.label4(), row.label4);
    EXPECT_EQ(calc.label1(), row.label1);
    EXPECT_EQ(calc.label2(), row.label2);
    EXPECT_TRUE(dialogs.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKey, ConversionKeys,
    ::testing::Values(
        ConversionRow{0, "10", "10", " 25.4", "INCHES", "CENTIMETRI"},
        ConversionRow{1, "1", "1", " 0.39", "CENTIMETRI", "INCHES"},
        ConversionRow{2, "10", "10", " 3.04", "FEET", "METRI"},
        ConversionRow{3, "100", "100", " 328.1", "METRI", "FEET"},
        ConversionRow{4, "2.5", "2.5", " 2.28", "YARDS", "METRI"},
        ConversionRow{5, "100", "100", " 109.44", "METRI", "YARDS"},
        ConversionRow{6, "2.5", "2.5", " 4.02", "MILES", "KILOMETRI"},
        // (100 * 100) * 0.6214 falls just short of 6214 hundredths: the floor gives 62.13.
        ConversionRow{7, "100", "100", " 62.13", "KILOMETRI", "MILES"},
        ConversionRow{8, "1", "1", " 0.06", "GRAINS", "GRAMMI"},
        ConversionRow{9, "2.5", "2.5", " 38.57", "GRAMMI", "GRAINS"},
        ConversionRow{10, "2.5", "2.5", " 0.34", "FOOT POUNDS", "KILOGRAMMETRI"},
        ConversionRow{11, "10", "10", " 72.33", "KILOGRAMMETRI", "FOOT POUNDS"},
        ConversionRow{12, "0-40=", "-40", "-40", "CELSIUS", "FAHRENHEIT"},
        ConversionRow{12, "100", "100", " 212", "CELSIUS", "FAHRENHEIT"},
        // -177.78 tenths rounded down is -178.
        ConversionRow{13, "0", "0", "-17.8", "FAHRENHEIT", "CELSIUS"},
        ConversionRow{13, "98.6", "98.6", " 37", "FAHRENHEIT", "CELSIUS"},
        // Rounding is toward minus infinity, also below zero: -39.37 hundredths -> -40.
        ConversionRow{1, "0-1=", "-1", "-0.4", "CENTIMETRI", "INCHES"},
        // A display that is not yet a number converts 0, and Label3 copies it as it stands.
        ConversionRow{0, "\x1b", "0.", " 0", "INCHES", "CENTIMETRI"},
        ConversionRow{13, "32", "32", " 0", "FAHRENHEIT", "CELSIUS"}));

TEST(ConversionKeyTable, CaptionsInKeyOrder)
{
    const char* captions[kConversionKeys] = {
        "Inches/Centimetri", "Centimetri/Inches", "Feet/Metri",      "Metri/Feet",
        "Yards/Metri",       "Metri/Yards",       "Miles/Kilometri", "Kilometri/Miles",
        "Grains/Grammi",     "Grammi/Grains",     "F.Pounds/Kgram.", "Kgram./F.Pounds",
        "Celsius/Fahren.",   "Fahren./Celsius"};
    for (int i = 0; i < kConversionKeys; ++i)
        EXPECT_EQ(conversionKey(i)->caption, captions[i]) << i;
    EXPECT_FALSE(conversionKey(-1));
    EXPECT_FALSE(conversionKey(kConversionKeys));
}

TEST_F(CalculatorTest, ConversionLeavesTheOperandStateUntouched)
{
    type(calc, "7+5");
    for (int i = 0; i < kConversionKeys; ++i)
        calc.dea(i);
    EXPECT_EQ(calc.readout(), "5");
    EXPECT_EQ(calc.accumulator(), 7);
    EXPECT_EQ(calc.operandCount(), 1);
    EXPECT_EQ(calc.lastKeyKindText(), "NUMS");
    EXPECT_EQ(calc.pendingOperatorText(), "+");
    // The number being typed goes on after the conversions.
    type(calc, "0=");
    EXPECT_EQ(calc.readout(), "57");
}

// The value boxes take the display's general form: large results with their exponent, results
// below a hundredth kept rather than rounded down to 0.
TEST_F(CalculatorTest, ValueBoxesShowLargeAndSmallNumbersInTheGeneralForm)
{
    type(calc, "99999999X99999999X99999999=");
    EXPECT_EQ(calc.readout(), "9.9999997E+23");
    calc.dea(9); // grams to grains
    EXPECT_EQ(calc.label3(), "9.9999997E+23");
    EXPECT_EQ(calc.label4(), " 1.54299995371E+25");
    type(calc, "\x1b" "1/100000000000000=");
    EXPECT_EQ(calc.readout(), "1E-14");
    calc.dea(0);
    EXPECT_EQ(calc.label3(), "1E-14");
    EXPECT_EQ(calc.label4(), " 2.54E-14");
    type(calc, "\x1b" "0-1=/100000000000000=");
    calc.dea(0);
    EXPECT_EQ(calc.label4(), "-2.54E-14");
    EXPECT_TRUE(dialogs.messages.empty());
}

// A typed number stops at the display's width: the keys past it are ignored.
TEST_F(CalculatorTest, ATypedNumberStopsWhenTheDisplayIsFull)
{
    type(calc, "123456789012345678901234");
    EXPECT_EQ(calc.readout(), "12345678901234567890");
    type(calc, ".5");
    EXPECT_EQ(calc.readout(), "12345678901234567890");
    type(calc, "\x1b" "1234567890123456789.5");
    EXPECT_EQ(calc.readout(), "1234567890123456789.");
    type(calc, "+1=");
    EXPECT_EQ(calc.readout(), "1.23456789012346E+18");
}

TEST(ConversionText, RefusesBadKeysAndResultsBeyondDoubleRange)
{
    EXPECT_EQ(conversionText(0, 10), " 25.4");
    EXPECT_FALSE(conversionText(14, 10));
    EXPECT_FALSE(conversionText(-1, 10));
    EXPECT_FALSE(conversionText(0, 1e307)); // 1e307 * 100 is no longer a finite double
}

// Before, a product beyond the range of a double became the running result and was shown
// as if it were 0; now it is refused like a division by zero.
TEST_F(CalculatorTest, ResultTooLargeIsRefusedAndTheRunningResultKept)
{
    // 1E+19 is the longest number the display takes; sixteen of them and a thousand: 1E+307.
    const std::string big = "1" + std::string(19, '0');
    std::string keys = big;
    for (int i = 0; i < 15; ++i)
        keys += "X" + big;
    type(calc, keys + "X1000=");
    EXPECT_EQ(calc.readout(), "1E+307");
    type(calc, "X" + big + "=");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Risultato troppo grande");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Warning);
    EXPECT_DOUBLE_EQ(calc.accumulator(), 1e307);
    EXPECT_EQ(calc.operandCount(), 1);
    // A conversion of a number that large is refused too, with an empty result.
    calc.dea(0);
    EXPECT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(calc.label4(), "");
    EXPECT_EQ(calc.label1(), "INCHES");
}

TEST_F(CalculatorTest, BadKeyIndicesDoNothing)
{
    type(calc, "4");
    calc.number(10);
    calc.number(-1);
    calc.operatorKey(5);
    calc.dea(14);
    EXPECT_EQ(calc.readout(), "4");
    EXPECT_EQ(calc.lastKeyKindText(), "NUMS");
    EXPECT_EQ(calc.label1(), "");
}

TEST(KeyForTyped, KeyboardKeysAsACalculatorUserExpects)
{
    using K = TypedKey::Kind;
    EXPECT_EQ(keyForTyped('7'), (TypedKey{K::Number, 0}));
    EXPECT_EQ(keyForTyped('0'), (TypedKey{K::Number, 9}));
    EXPECT_EQ(keyForTyped('5'), (TypedKey{K::Number, 4}));
    EXPECT_EQ(keyForTyped(','), (TypedKey{K::Point}));
    EXPECT_EQ(keyForTyped('*'), (TypedKey{K::Operator, 2}));
    EXPECT_EQ(keyForTyped('/'), (TypedKey{K::Operator, 3}));
    EXPECT_EQ(keyForTyped('\r'), (TypedKey{K::Operator, 4}));
    EXPECT_EQ(keyForTyped('\x1b'), (TypedKey{K::Cancel}));
    EXPECT_FALSE(keyForTyped('a'));
    EXPECT_FALSE(keyForTyped(' '));
}

} // namespace
} // namespace siacci

#include "common/number_text.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

namespace siacci {
namespace {

TEST(PlainReading, TakesTheNumberAtTheStartOfTheText)
{
    EXPECT_DOUBLE_EQ(plainReading("800"), 800);
    EXPECT_DOUBLE_EQ(plainReading(" 0.45"), 0.45);
    EXPECT_DOUBLE_EQ(plainReading("0,45"), 0);        // a comma ends the number
    EXPECT_DOUBLE_EQ(plainReading("1 000"), 1000);    // spaces anywhere are ignored
    EXPECT_DOUBLE_EQ(plainReading("- 4 cm"), -4);
    EXPECT_DOUBLE_EQ(plainReading(".5"), 0.5);
    EXPECT_DOUBLE_EQ(plainReading("1.234.5"), 1.234);
    EXPECT_DOUBLE_EQ(plainReading("1.371"), 1.371);
    EXPECT_DOUBLE_EQ(plainReading(""), 0);
    EXPECT_DOUBLE_EQ(plainReading("abc"), 0);
    EXPECT_DOUBLE_EQ(plainReading("-"), 0);
    EXPECT_DOUBLE_EQ(plainReading("x12"), 0);
}

// One reading rule for fields, command-line options, shot files and conversions. Before, "1e6"
// read 1 in a field while the shot files took "8E2", the converter refused "1e308", and a number
// of 309 digits read 0 and was then refused as "zero".
TEST(NumberReading, OneRuleEverywhere)
{
    constexpr double kMax = std::numeric_limits<double>::max();
    constexpr double kNone = -12345.678; // wholeNumber refuses the text
    struct Row {
        std::string text;
        double plain;  // plainReading
        double whole;  // wholeNumber, kNone when refused
    };
    const Row rows[] = {
        {"800", 800, 800},
        {" 0.45 ", 0.45, 0.45},
        {".5", 0.5, 0.5},
        {"-.5", -0.5, -0.5},
        {"+3", 3, 3},
        {"1e6", 1e6, 1e6},
        {"8E2", 800, 800},
        {"1E-02", 0.01, 0.01},
        {"2.5e+3", 2500, 2500},
        {"8D2", 800, 800},          // the old platform's double-precision exponent
        {"1d-1", 0.1, 0.1},
        {"1 e 6", 1e6, kNone},       // spaces inside a field are ignored, not in a file
        {"1 000", 1000, kNone},
        {"1e", 1, kNone},            // an E without digits is not part of the number
        {"1e+", 1, kNone},
        {"150 dollari", 150, kNone},
        {"1e308", 1e308, 1e308},
        {"1e999", kMax, kMax},       // beyond a double: the largest, refused by every limit
        {"-1e999", -kMax, -kMax},
        {std::string(309, '9'), kMax, kMax},
        {"0." + std::string(400, '0') + "1", 0, 0},
        {"1e-999", 0, 0},
        {"0e999", 0, 0},
        {"1.234.5", 1.234, kNone},
        {"0,45", 0, kNone},          // a comma ends the number (the fields first call virgola)
        {"", 0, kNone},
        {"-", 0, kNone},
        {".", 0, kNone},
        {"e5", 0, kNone},
        {"inf", 0, kNone},
        {"nan", 0, kNone},
        {"x12", 0, kNone},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(plainReading(row.text), row.plain) << row.text;
        const auto whole = wholeNumber(row.text);
        EXPECT_EQ(whole.value_or(kNone), row.whole) << row.text;
    }
    EXPECT_EQ(readField("2,5e3"), 2500);
}

TEST(Virgola, ReplacesOnlyTheFirstComma)
{
    EXPECT_EQ(virgola("0,45"), "0.45");
    EXPECT_EQ(virgola("1,234,5"), "1.234,5");
    EXPECT_EQ(virgola("800"), "800");
    EXPECT_DOUBLE_EQ(readField("0,45"), 0.45);
    EXPECT_DOUBLE_EQ(readField("1,234,5"), 1.234);
    EXPECT_DOUBLE_EQ(readField("800,5"), 800.5);
}

TEST(CellText, ShortestDecimalFormWithoutExponent)
{
    EXPECT_EQ(cellText(0.435), "0.435");
    EXPECT_EQ(cellText(84.2), "84.2");
    EXPECT_EQ(cellText(175), "175");
    EXPECT_EQ(cellText(-4), "-4");
    EXPECT_EQ(cellText(10.299999999999999), "10.3");
    EXPECT_EQ(cellText(5.868446063622630e18), "5868446063622630000");
    EXPECT_EQ(cellText(0.0001), "0.0001");
    EXPECT_EQ(cellText(1e-7), "0.0000001");
    EXPECT_EQ(cellText(-0.0), "0");
    EXPECT_EQ(cellText(0.0), "0");
    EXPECT_EQ(cellText(84.2, ','), "84,2");
    EXPECT_EQ(cellText(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(cellText(std::numeric_limits<double>::infinity()), "0");
}

TEST(GeneralNumber, PlainWhileTheExponentIsFromMinusFourTo14)
{
    const std::pair<double, const char*> rows[] = {
        {1.0 / 3000000, "3.33333333333333E-07"},
        {-1.0 / 3000000, "-3.33333333333333E-07"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {999999999999999.9, "1E+15"}, // rounded to fifteen digits first
        {1.5e300, "1.5E+300"},
        {1e-300, "1E-300"},
        {0.0, "0"},
        {-2.5, "-2.5"},
    };
    for (const auto& [value, text] : rows) {
        EXPECT_EQ(generalNumber(value), text) << text;
        EXPECT_EQ(plainReading(text), std::stod(text)) << text; // reads back as written
    }
}

TEST(ShortNumber, SpaceBeforeNumbersThatAreNotNegative)
{
    EXPECT_EQ(shortNumber(800), " 800");
    EXPECT_EQ(shortNumber(0.45), " 0.45");
    EXPECT_EQ(shortNumber(-4), "-4");
    EXPECT_EQ(shortNumber(0), " 0");
    EXPECT_EQ(shortNumber(-0.0), " 0");
    EXPECT_EQ(printerNumber(800), " 800 ");
    EXPECT_EQ(printerNumber(-1.57), "-1.57 ");
}

} // namespace
} // namespace siacci

#include <clocale>

namespace siacci {
namespace {

// The window system sets the C locale to the user's; on an Italian desktop strtod and printf
// take a comma for the decimal point. The program's numbers must not follow it.
TEST(NumberText, IgnoresTheCLocale)
{
    const char* italian = nullptr;
    for (const char* name : {"it_IT.UTF-8", "it_IT.utf8", "de_DE.UTF-8", "fr_FR.UTF-8"})
        if ((italian = std::setlocale(LC_NUMERIC, name)))
            break;
    if (!italian)
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    EXPECT_DOUBLE_EQ(plainReading("0.45"), 0.45);
    EXPECT_EQ(cellText(84.2), "84.2");
    EXPECT_EQ(shortNumber(0.45), " 0.45");
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace
} // namespace siacci

#include "common/number_text.hpp"

#include <gtest/gtest.h>

#include <limits>

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

TEST(PlainReading, NeverReturnsInfinity)
{
    EXPECT_DOUBLE_EQ(plainReading(std::string(400, '9')), 0);
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

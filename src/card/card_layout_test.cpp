#include "card/card_layout.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace siacci::card {
namespace {

CardSheet sheetEvery(double increment, double max)
{
    CardSetup s;
    s.bullet.muzzleVelocity_ms = 823;
    s.bullet.weight_gr = 165;
    s.bullet.bc_lbin2 = 0.285;
    s.zeroing.zeroDistance_m = 100;
    s.span = {max, increment};
    s.click = {0.25, pm::AngleUnit::Moa};
    s.conditions.wind = {15 / 3.6, 270};
    s.conditions.lookAngle_deg = -20;
    s.minEnergy_J = 2000;
    s.description = ".308 WINCHESTER (7,62 NATO) 165 grains ROUND NOSE";
    describe(s);
    return computeCard(s);
}

struct Box {
    double left, top, right, bottom;
};

// Where a text's ink lies: its advance across, its ascent above the baseline and a fifth of the
// size below it.
Box boxOf(const DrawText& t)
{
    const double w = textWidth_mm(t.text, t.size_pt);
    const double left = t.align == Align::Left ? t.x_mm : t.align == Align::Right ? t.x_mm - w : t.x_mm - w / 2;
    return {left, t.y_mm - t.size_pt * kMmPerPoint * 0.8, left + w, t.y_mm + t.size_pt * kMmPerPoint * 0.2};
}

// The user's wind (15 km/h from 9 o'clock) has its own column, as the screen shows it, beside
// the reference for 10 km/h from 3 o'clock; without a wind, the reference alone.
TEST(PocketLayout, PrintsTheUsersWindBesideTheReference)
{
    CardSheet sheet = sheetEvery(50, 300);
    auto texts = [](const PocketLayout& l) {
        std::vector<std::string> out;
        for (const DrawText& t : l.card.pages[0].texts)
            out.push_back(t.text);
        return out;
    };
    const auto windy = texts(pocketLayout(sheet));
    auto has = [](const std::vector<std::string>& v, const std::string& s) {
        return std::find(v.begin(), v.end(), s) != v.end();
    };
    EXPECT_TRUE(has(windy, "vento 15 km/h ore 9"));
    EXPECT_TRUE(has(windy, "10 km/h ore 3"));
    const CardRow& at300 = sheet.rows.back();
    EXPECT_TRUE(has(windy, windageClicksText(at300.correction.windageClicks, 0)));
    EXPECT_TRUE(has(windy, windageClicksText(at300.pocketWindClicks, 0)));
    EXPECT_NE(at300.correction.windageClicks > 0, at300.pocketWindClicks > 0) << "opposite sides";

    sheet.setup.conditions.wind = {};
    const auto calm = texts(pocketLayout(sheet));
    EXPECT_TRUE(has(calm, "vento 10 km/h ore 3"));
    EXPECT_FALSE(has(calm, "10 km/h ore 3"));
}

TEST(FullPageLayout, PrintsTheBullet)
{
    CardSheet sheet = sheetEvery(50, 300);
    EXPECT_EQ(bulletLine(sheet.setup), "V0 823 m/s · 165 grains · G1 0,285");
    sheet.setup.bullet.model = pm::DragModel::G7;
    sheet.setup.bullet.bcSteps = {{0.243, 600}, {0.23, 400}};
    EXPECT_EQ(bulletLine(sheet.setup), "V0 823 m/s · 165 grains · G7 0,285, a gradini 0,243 da 600 m/s 0,23 da 400 m/s");
    const PrintedCard page = fullPageLayout(sheet);
    bool printed = false;
    for (const DrawText& t : page.pages[0].texts)
        printed |= t.text == bulletLine(sheet.setup);
    EXPECT_TRUE(printed);
}

TEST(PocketLayout, EveryTextStaysInsideItsCardAtTheChosenType)
{
    for (auto [increment, max] : {std::pair{50.0, 500.0}, {25.0, 500.0}, {10.0, 600.0}, {100.0, 300.0}}) {
        const CardSheet sheet = sheetEvery(increment, max);
        ASSERT_TRUE(sheet.ok()) << sheet.refusal;
        const PocketLayout layout = pocketLayout(sheet);
        ASSERT_EQ(layout.card.pages.size(), 1u);
        EXPECT_EQ(layout.cardsPerPage, 10) << "two across, five down on A4";
        EXPECT_GE(layout.rowSize_pt, 7) << increment << " readable in the field";
        EXPECT_GE(layout.headerSize_pt, 5.5);
        const double x0 = (210 - 2 * kPocketWidth_mm) / 2, y0 = (297 - 5 * kPocketHeight_mm) / 2;
        for (const DrawText& t : layout.card.pages[0].texts) {
            const Box b = boxOf(t);
            const int col = static_cast<int>((b.left - x0) / kPocketWidth_mm);
            const int row = static_cast<int>((b.top - y0) / kPocketHeight_mm);
            ASSERT_TRUE(col >= 0 && col < 2 && row >= 0 && row < 5) << t.text;
            EXPECT_LE(b.right, x0 + (col + 1) * kPocketWidth_mm - 1) << increment << " " << t.text;
            EXPECT_LE(b.bottom, y0 + (row + 1) * kPocketHeight_mm - 1) << increment << " " << t.text;
        }
        // Every distance of the table past the muzzle is on some card of the set.
        const std::size_t rows = sheet.rows.size() - 1;
        EXPECT_EQ(static_cast<std::size_t>(layout.cardsPerSet), (rows + layout.rowsPerCard - 1) / layout.rowsPerCard);
    }
}

TEST(PocketLayout, TheTypeIsTheLargestThatFits)
{
    const PocketLayout layout = pocketLayout(sheetEvery(50, 500));
    EXPECT_EQ(layout.cardsPerSet, 1) << "ten rows fit one card";
    // The rows fill the card's height: one more row at this size would not fit.
    const double rowsHeight = (layout.rowsPerCard + 2) * layout.rowSize_pt * kLineHeightEm * kMmPerPoint;
    EXPECT_GT(rowsHeight, kPocketHeight_mm - 5 - 2 * layout.headerSize_pt * kLineHeightEm * kMmPerPoint - 1);
}

TEST(PocketLayout, HeaderKeepsTheNumbersAndShortensTheName)
{
    const CardSheet sheet = sheetEvery(50, 500);
    const std::string header = pocketHeader(sheet, 60);
    EXPECT_NE(header.find("taratura 100 m · 1/4 MOA"), std::string::npos) << header;
    EXPECT_NE(header.find("-20°"), std::string::npos) << header;
    EXPECT_NE(header.find("…"), std::string::npos);
}

// The load's name is printed whole, on a line of its own when the one line would cut it.
TEST(PocketLayout, TheNameIsPrintedWhole)
{
    const CardSheet sheet = sheetEvery(50, 500);
    const std::string lines = pocketHeaderLines(sheet, 60, " 1/2");
    EXPECT_EQ(lines.substr(0, lines.find('\n')), sheet.setup.description);
    EXPECT_EQ(lines.substr(lines.find('\n') + 1).rfind("taratura 100 m · 1/4 MOA", 0), 0u) << lines;
    EXPECT_TRUE(lines.ends_with(" 1/2"));
    EXPECT_EQ(pocketHeaderLines(sheet, 1000, "").find('\n'), std::string::npos) << "one line when it fits";
    const PocketLayout layout = pocketLayout(sheet);
    bool whole = false;
    for (const DrawText& t : layout.card.pages[0].texts)
        whole |= t.text == sheet.setup.description;
    EXPECT_TRUE(whole);
}

TEST(PocketLayout, ALongTableRunsOnOverPagesWithEveryDistance)
{
    const CardSheet sheet = sheetEvery(5, 1000);
    const PocketLayout layout = pocketLayout(sheet);
    EXPECT_GT(layout.cardsPerSet, layout.cardsPerPage);
    EXPECT_EQ(layout.card.pages.size(),
              static_cast<std::size_t>((layout.cardsPerSet + 9) / 10));
    int rows = 0;
    for (const PageDrawing& page : layout.card.pages)
        for (const DrawText& t : page.texts)
            rows += t.bold && t.align == Align::Right; // the distances
    EXPECT_EQ(rows, 200);
}

TEST(FullPageLayout, TableNotesAndPlotWithinThePage)
{
    for (double increment : {50.0, 5.0}) {
        const PrintedCard card = fullPageLayout(sheetEvery(increment, 500));
        ASSERT_FALSE(card.pages.empty());
        EXPECT_EQ(card.pages.size() > 1, increment < 10) << "a long table goes on";
        bool energyNote = false;
        for (const PageDrawing& page : card.pages)
            for (const DrawText& t : page.texts) {
                const Box b = boxOf(t);
                EXPECT_GE(b.left, 10) << t.text;
                EXPECT_LE(b.right, 200) << t.text;
                EXPECT_LE(b.bottom, 287) << t.text;
                energyNote |= t.text.rfind("Energia sotto 2000 J oltre", 0) == 0;
            }
        EXPECT_TRUE(energyNote);
    }
}

} // namespace
} // namespace siacci::card

#include "card/reticle_card.hpp"

#include <gtest/gtest.h>

namespace siacci::card {
namespace {

TEST(ReticleCard, EveryDistanceListedAndEverythingOnTheCard)
{
    const Reticle& mildot = *findReticle("mildot");
    std::vector<ReticleCardRow> rows;
    std::vector<MarkedHold> marks;
    for (int d = 50; d <= 500; d += 50) {
        const double up = (d - 100) / 100.0;
        rows.push_back({std::to_string(d), {up, -0.2 * d / 100, ""}});
        marks.push_back({std::to_string(d), up, -0.2 * d / 100});
    }
    const PrintedCard card = reticleCardLayout("308 Win 165 gr · Mil-Dot a 8×", drawReticle(mildot, 8, marks), rows);
    ASSERT_EQ(card.pages.size(), 1u);
    const PageDrawing& page = card.pages[0];
    // Ten copies of the card, each with its ten rows: "300  ▲ 2,0  ◀ 0,6".
    int listed = 0;
    for (const DrawText& t : page.texts)
        if (t.text == "300  ▲ 2,0  ◀ 0,6")
            ++listed;
    EXPECT_EQ(listed, 10);
    // Every line and text inside the A4 page, and the list's type readable.
    for (const DrawLine& l : page.lines) {
        EXPECT_GE(std::min(l.x1_mm, l.x2_mm), 0);
        EXPECT_LE(std::max(l.x1_mm, l.x2_mm), card.pageWidth_mm);
        EXPECT_LE(std::max(l.y1_mm, l.y2_mm), card.pageHeight_mm);
    }
    for (const DrawText& t : page.texts) {
        EXPECT_LE(t.x_mm + textWidth_mm(t.text, t.size_pt), card.pageWidth_mm) << t.text;
        EXPECT_GE(t.size_pt, 3) << t.text;
    }
    // The muzzle row of a hold of 0 reads without a sign.
    EXPECT_EQ(reticleCardLayout("x", drawReticle(mildot, 10, {}), {{"100", {0, 0, ""}}}).pages[0].texts[1].text,
              "100  0,0  0,0");
}

} // namespace
} // namespace siacci::card

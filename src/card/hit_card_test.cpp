#include "card/card_layout.hpp"
#include "card/cartellino.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace siacci::card {
namespace {

bool hasNote(const CardSheet& sheet, const std::string& text)
{
    return std::any_of(sheet.notes.begin(), sheet.notes.end(),
                       [&](const Note& n) { return n.text == text; });
}

// The hunter of the example: a boar, from the sticks, with a rangefinder and a guessed wind.
Cartellino boarFromTheSticks()
{
    Cartellino card;
    card.speciesChosen(Species::Cinghiale);
    card.rangeFinderChosen(RangeFinder::Telemetro);
    card.windReadingChosen(WindReading::Stimato);
    card.positionChosen(ShootingPosition::Bastone);
    card.fieldChanged(CardField::WindSpeed, "10");
    card.hitChosen(true);
    return card;
}

// The card's column and its line are the core's hit table of the card's rows: the tool, the
// page and the printed card show the same figures.
TEST(HitCard, TheColumnAndTheEthicalDistanceAreTheHitTableOfTheRows)
{
    const Cartellino card = boarFromTheSticks();
    const CardSheet& sheet = card.sheet();
    ASSERT_TRUE(sheet.ok()) << sheet.refusal << card.inputRefusal();
    const auto column = std::find(sheet.columns.begin(), sheet.columns.end(), Column::Hit);
    ASSERT_NE(column, sheet.columns.end());
    const auto c = static_cast<std::size_t>(column - sheet.columns.begin());
    EXPECT_EQ(sheet.headings[c], "Colpo utile %");
    EXPECT_EQ(sheet.columns[c - 1], Column::WindClicks);

    const HitTable table = hitTableOf(sheet);
    ASSERT_TRUE(table.ok());
    ASSERT_EQ(table.rows.size(), sheet.rows.size());
    for (std::size_t k = 0; k < table.rows.size(); ++k) {
        std::string percent = percentText(table.rows[k].probability);
        EXPECT_EQ(sheet.rows[k].cells[c] + " %", percent) << k;
    }
    EXPECT_EQ(sheet.rows.front().cells[c], "100");
    // The plot's curve: the rows' distances and percentages, with the threshold.
    ASSERT_EQ(sheet.hitCurve.size(), table.rows.size());
    EXPECT_EQ(sheet.hitCurve[3].first, table.rows[3].distance_m);
    EXPECT_DOUBLE_EQ(sheet.hitCurve[3].second, 100 * table.rows[3].probability);
    EXPECT_DOUBLE_EQ(sheet.hitThreshold_pct, 90);
    const std::string line = ethicalDistanceText(0.9, table.ethicalDistance_m);
    EXPECT_EQ(sheet.ethicalText, line);
    EXPECT_TRUE(hasNote(sheet, line));
    EXPECT_EQ(line.rfind("Distanza etica (90 %): ", 0), 0u);
    EXPECT_GT(table.ethicalDistance_m, 50);
    EXPECT_LT(table.ethicalDistance_m, 500);

    // The settings are the presets': 1 m, 4 km/h, the sticks' cone with a 1 MOA rifle.
    const HitSettings h = card.hitSettings();
    EXPECT_EQ(h.sd.range_m, 1);
    EXPECT_EQ(h.sd.wind_kmh, 4);
    EXPECT_DOUBLE_EQ(h.sd.cone_moa, coneSd_moa(1, ShootingPosition::Bastone));
    EXPECT_EQ(h.vitalZone_cm, defaultSpeciesVitalZone_cm(Species::Cinghiale));
}

TEST(HitCard, OffUntilAskedAndRefusedOutsideItsLimits)
{
    Cartellino card;
    EXPECT_EQ(std::count(card.sheet().columns.begin(), card.sheet().columns.end(), Column::Hit), 0);
    EXPECT_TRUE(card.sheet().ethicalText.empty());
    card.hitChosen(true);
    card.fieldChanged(CardField::MinProbability, "99,95");
    EXPECT_EQ(card.inputRefusal(), "Probabilità minima: deve essere tra 50 e 99,9 %");
    card.fieldChanged(CardField::MinProbability, "80");
    card.fieldChanged(CardField::GroupSize, "150");
    EXPECT_EQ(card.inputRefusal(), "Rosata di 5 colpi: deve essere tra 0 e 100 MOA");
    card.fieldChanged(CardField::GroupSize, "1");
    EXPECT_EQ(card.inputRefusal(), "");
    EXPECT_EQ(card.sheet().ethicalText.rfind("Distanza etica (80 %): ", 0), 0u);
    // A steadier hold reaches farther.
    const std::string sticks = card.sheet().ethicalText;
    card.positionChosen(ShootingPosition::Banco);
    EXPECT_GT(hitTableOf(card.sheet()).ethicalDistance_m, 0);
    EXPECT_NE(card.sheet().ethicalText, sticks);
}

// A page applies the table as its samples come: one column and one line, the last figures.
TEST(HitCard, ApplyingPartialTablesKeepsOneColumnAndOneLine)
{
    const Cartellino card = boarFromTheSticks();
    CardSheet sheet = card.sheet();
    const std::size_t columns = sheet.columns.size(), notes = sheet.notes.size();
    HitSimulation simulation(sheet.setup.bullet, sheet.setup.conditions, sheet.setup.zeroing,
                             [&] {
                                 std::vector<double> d;
                                 for (const CardRow& r : sheet.rows)
                                     d.push_back(r.row.distance_m);
                                 return d;
                             }(),
                             *sheet.setup.hit);
    while (!simulation.advance(2500))
        applyHitTable(sheet, simulation.table());
    applyHitTable(sheet, simulation.table());
    EXPECT_EQ(sheet.columns.size(), columns);
    EXPECT_EQ(sheet.notes.size(), notes);
    EXPECT_EQ(sheet.ethicalText, card.sheet().ethicalText);
    for (std::size_t k = 0; k < sheet.rows.size(); ++k)
        EXPECT_EQ(sheet.rows[k].cells, card.sheet().rows[k].cells);
    // A table of other rows is not shown against these.
    CardSheet other = card.sheet();
    HitTable wrong = simulation.table();
    wrong.rows.pop_back();
    other.ethicalText.clear();
    applyHitTable(other, wrong);
    EXPECT_TRUE(hasNote(other, "Colpo utile: tabella non aggiornata"));
}

TEST(HitCard, ThePocketCardPrintsTheEthicalDistance)
{
    const Cartellino card = boarFromTheSticks();
    const PocketLayout layout = pocketLayout(card.sheet());
    bool found = false;
    for (const DrawText& t : layout.card.pages.front().texts)
        found = found || t.text.rfind(card.sheet().ethicalText, 0) == 0;
    EXPECT_TRUE(found) << card.sheet().ethicalText;
}

TEST(HitCard, AnArmouryLoadBringsItsVelocitySpread)
{
    Cartellino card;
    CardLoad load;
    load.velocity_ms = 790;
    load.weight_gr = 150;
    load.bc = 0.4;
    load.sightHeight_cm = 4;
    load.zero_m = 100;
    load.velocitySd_ms = 7.5;
    card.takeLoad(load, {LoadOrigin::Armoury, false, "Sauer", "150 gr"});
    EXPECT_EQ(card.fieldText(CardField::VelocitySd), "7,5");
    load.velocitySd_ms.reset();
    card.fieldChanged(CardField::VelocitySd, "12");
    card.takeLoad(load, {LoadOrigin::Armoury, false, "Sauer", "150 gr"});
    EXPECT_EQ(card.fieldText(CardField::VelocitySd), "12") << "a load without one keeps the user's";
}

} // namespace
} // namespace siacci::card

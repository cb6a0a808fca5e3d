#include "card/il_tiro.hpp"

#include "card/hit_probability.hpp"

#include <gtest/gtest.h>

namespace siacci::card {
namespace {

// A card of the user's own typing: the worked shot (G1 0.4, 800 m/s, 150 grains, sight 4 cm,
// zero 220 m), 16 km/h from 3 o'clock, every 50 m to 500 m.
struct Shot {
    Cartellino card;
    IlTiro tiro{card};
    Shot()
    {
        card.fieldChanged(CardField::Zero, "220");
        card.fieldChanged(CardField::WindSpeed, "16");
        card.windClockChosen(3);
        tiro.cardChanged();
    }
};

TEST(IlTiro, AnswersAtTheRangefindersDistance)
{
    Shot s;
    s.tiro.fieldChanged(TiroField::Distance, "287");
    const TiroView& v = s.tiro.view();
    ASSERT_TRUE(v.refusal.empty()) << v.refusal;
    const SolutionResult r = solveAt(s.card.setup(), 287);
    EXPECT_EQ(v.elevationText, elevationClicksText(r.solution.correction.elevationClicks) + " click");
    EXPECT_EQ(v.windageText, windageClicksText(r.solution.correction.windageClicks) + " click");
    EXPECT_EQ(v.elevationText, "▲ 7 click");
    EXPECT_EQ(v.windageText, "▶ 9 click");
    EXPECT_EQ(v.windBracket, "Vento 11–21 km/h: da ▶ 6 a ▶ 11 click");
    ASSERT_FALSE(v.lines.empty());
    EXPECT_EQ(v.lines[0].first, "Velocità");
    // The Mil-Dot on the second plane at its calibrated 10x.
    EXPECT_EQ(v.holdText, "metà sotto, 1° puntino a sinistra");
    ASSERT_TRUE(v.drawing);
    EXPECT_EQ(v.rowHolds.size(), 10u);
}

TEST(IlTiro, TheAngleIsTheCardsOwn)
{
    Shot s;
    s.tiro.fieldChanged(TiroField::Angle, "-20");
    EXPECT_EQ(s.card.fieldText(CardField::LookAngle), "-20");
    EXPECT_EQ(s.tiro.fieldText(TiroField::Angle), "-20");
    EXPECT_DOUBLE_EQ(s.card.setup().conditions.lookAngle_deg, -20);
    const SolutionResult r = solveAt(s.card.setup(), 200);
    EXPECT_EQ(s.tiro.view().elevationText, elevationClicksText(r.solution.correction.elevationClicks) + " click");
}

TEST(IlTiro, RefusalsNameTheFieldAndItsLimit)
{
    const struct {
        TiroField field;
        const char* text;
        const char* refusal;
        bool scope;
    } cases[] = {
        {TiroField::Distance, "0", "Distanza del tiro: deve essere tra 1 e 5000 m", false},
        {TiroField::Distance, "tre", "Distanza: scrivi un numero", false},
        {TiroField::Angle, "85", "Angolo di tiro: deve essere tra -80 e 80 gradi", false},
        {TiroField::Magnification, "0,5", "Ingrandimento: deve essere tra 1 e 100 ×", true},
    };
    for (const auto& c : cases) {
        Shot s;
        s.tiro.fieldChanged(c.field, c.text);
        const TiroView& v = s.tiro.view();
        EXPECT_EQ(c.scope ? v.scopeRefusal : v.refusal, c.refusal) << c.text;
        if (c.scope) {
            // No reticle, yet the clicks still stand.
            EXPECT_FALSE(v.drawing);
            EXPECT_FALSE(v.elevationText.empty());
        }
    }
}

TEST(IlTiro, TheHoldFollowsTheMagnificationAndTheReticle)
{
    Shot s;
    s.tiro.fieldChanged(TiroField::Distance, "450");
    const double at10 = s.tiro.view().hold->elevation;
    s.tiro.fieldChanged(TiroField::Magnification, "5");
    EXPECT_NEAR(s.tiro.view().hold->elevation, at10 / 2, 1e-12);
    s.tiro.focalPlaneChosen(FocalPlane::First);
    EXPECT_NEAR(s.tiro.view().hold->elevation, at10, 1e-12);
    s.tiro.reticleChosen(3); // MOA
    EXPECT_EQ(s.tiro.scope().reticle, "moa");
    EXPECT_NE(s.tiro.view().holdValues.find("MOA"), std::string::npos);
    s.tiro.reticleChosen(0);
    EXPECT_TRUE(s.tiro.postTipShown());
    s.tiro.reticleChosen(5);
    EXPECT_TRUE(s.tiro.customMarksShown());
    s.tiro.fieldChanged(TiroField::CustomMarks, "1 2 x");
    EXPECT_EQ(s.tiro.view().scopeRefusal, "Tacche: numeri crescenti tra 0 e 100 separati da spazi, al più 40");
}

TEST(IlTiro, RangingGivesTheDistanceToUse)
{
    Shot s;
    s.tiro.speciesChosen(Species::Capriolo);
    EXPECT_EQ(s.tiro.fieldText(TiroField::AnimalSize), "0,7");
    s.tiro.fieldChanged(TiroField::Reading, "2,5");
    EXPECT_EQ(s.tiro.view().rangeText, "280 m ± 28 m");
    s.tiro.rangeUsed();
    EXPECT_EQ(s.tiro.fieldText(TiroField::Distance), "280");
    // The user's own size is kept for the species.
    s.tiro.fieldChanged(TiroField::AnimalSize, "0,65");
    s.tiro.speciesChosen(Species::Cervo);
    EXPECT_EQ(s.tiro.fieldText(TiroField::AnimalSize), "1,2");
    s.tiro.speciesChosen(Species::Capriolo);
    EXPECT_EQ(s.tiro.fieldText(TiroField::AnimalSize), "0,65");
}

TEST(IlTiro, ThePrintedReticleCardListsEveryDistanceOfTheCard)
{
    Shot s;
    const auto card = s.tiro.reticleCard();
    ASSERT_TRUE(card);
    int rows = 0;
    for (const DrawText& t : card->pages[0].texts)
        rows += t.text.rfind("300  ", 0) == 0;
    EXPECT_EQ(rows, 10); // one on each copy
    s.tiro.fieldChanged(TiroField::Magnification, "0");
    EXPECT_FALSE(s.tiro.reticleCard());
}

TEST(IlTiro, KeepsTheExtraSummaryLineAcrossRecomputations)
{
    Shot s;
    EXPECT_TRUE(s.tiro.view().extraLine.empty());
    s.tiro.setExtraLine("Colpo utile: 92 %");
    s.tiro.fieldChanged(TiroField::Distance, "250");
    EXPECT_EQ(s.tiro.view().extraLine, "Colpo utile: 92 %");
}

// With the card's chance of a hit computed, the one shot shows it at its own distance, between
// the card's rows; the line follows the distance and goes with the column.
TEST(IlTiro, ShowsTheChanceOfAHitAtItsDistanceFromTheCardsTable)
{
    Shot s;
    s.card.speciesChosen(Species::Cinghiale);
    s.card.positionChosen(ShootingPosition::Bastone);
    s.card.windReadingChosen(WindReading::Stimato);
    s.card.hitChosen(true);
    s.tiro.cardChanged();
    ASSERT_TRUE(s.card.sheet().hit);
    s.tiro.fieldChanged(TiroField::Distance, "287");
    const std::string line = s.tiro.view().extraLine;
    EXPECT_EQ(line, hitLineAt(*s.card.sheet().hit, 287));
    EXPECT_EQ(line.rfind("a 287 m: ", 0), 0u) << line;
    EXPECT_NE(line.find(" nella zona vitale"), std::string::npos) << line;
    s.tiro.fieldChanged(TiroField::Distance, "120");
    EXPECT_EQ(s.tiro.view().extraLine.rfind("a 120 m: ", 0), 0u);
    s.card.hitChosen(false);
    s.tiro.cardChanged();
    EXPECT_TRUE(s.tiro.view().extraLine.empty());
}

TEST(IlTiro, ARiflesScopeFillsTheFields)
{
    Shot s;
    ScopeSetup scope;
    scope.reticle = "albero";
    scope.plane = FocalPlane::First;
    scope.magnification = 12;
    s.tiro.scopeTaken(scope);
    EXPECT_EQ(s.tiro.reticleIndex(), 4);
    EXPECT_EQ(s.tiro.fieldText(TiroField::Magnification), "12");
    EXPECT_FALSE(s.tiro.calibratedEnabled());
    EXPECT_EQ(s.tiro.scope(), scope);
}

TEST(IlTiro, AnotherRifleBringsItsScopeTheSameOneKeepsTheEdits)
{
    Shot s;
    ScopeSetup rifle;
    rifle.reticle = "moa";
    rifle.plane = FocalPlane::First;
    s.tiro.riflesScope(rifle);
    EXPECT_EQ(s.tiro.scope().reticle, "moa");
    s.tiro.fieldChanged(TiroField::Magnification, "14");
    s.tiro.riflesScope(rifle); // the same rifle, seen again after an edit of the card
    EXPECT_DOUBLE_EQ(s.tiro.scope().magnification, 14);
    s.tiro.riflesScope(std::nullopt);
    EXPECT_DOUBLE_EQ(s.tiro.scope().magnification, 14);
    s.tiro.riflesScope(rifle);
    EXPECT_DOUBLE_EQ(s.tiro.scope().magnification, 10);
}

} // namespace
} // namespace siacci::card

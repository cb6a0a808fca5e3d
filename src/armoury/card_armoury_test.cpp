#include "armoury/card_armoury.hpp"
#include "armoury/armoury_test_data.hpp"
#include "armoury/truing_panel.hpp"
#include "common/fakes.hpp"
#include "common/number_text.hpp"

#include <gtest/gtest.h>

namespace siacci::armoury {
namespace {

using card::CardField;

struct CardWithArmoury : ::testing::Test {
    testing::MemoryStorage storage;
    ArmourySession session{Armoury{{testing::fullRifle()}}, storage};
    card::Cartellino card;
    siacci::testing::FakeDialogs dialogs;
    CardArmoury link{session, card, dialogs};
};

TEST_F(CardWithArmoury, ChoosingFillsEveryInputAndTheTemperatureMovesTheVelocity)
{
    EXPECT_EQ(link.rifleItems(), (std::vector<std::string>{"(nessuna)", "Sako 85 .308"}));
    card.fieldChanged(CardField::Temperature, "1");
    link.rifleChosen(1);
    EXPECT_EQ(link.loadIndex(), 1); // the first load
    EXPECT_EQ(card.fieldText(CardField::Velocity), "797"); // 815 at 21 C, 0.9 m/s per C
    EXPECT_EQ(link.correctedVelocityText(), "V0 corretta per la temperatura: 797 m/s");
    EXPECT_EQ(card.dragModel(), pointmass::DragModel::G7);
    EXPECT_EQ(card.clickChoice(), card::ClickChoice::Moa025);
    EXPECT_TRUE(card.leftHand());
    EXPECT_EQ(card.fieldText(CardField::SightHeight), "4,5");
    EXPECT_EQ(card.fieldText(CardField::ClicksPerTurn), "60");
    ASSERT_TRUE(card.inputRefusal().empty()) << card.inputRefusal();
    ASSERT_TRUE(card.setup().zeroing.atmosphere);
    EXPECT_DOUBLE_EQ(card.setup().zeroing.atmosphere->pressure_hPa, 962.3);

    card.fieldChanged(CardField::Temperature, "31");
    link.cardEdited();
    EXPECT_EQ(card.fieldText(CardField::Velocity), "824");

    link.loadChosen(2); // stepped
    EXPECT_EQ(card.bcStepText(0, 0), "0,435");
    EXPECT_EQ(card.bcStepText(1, 1), "610");
    link.loadChosen(3); // measured curve
    EXPECT_EQ(card.setup().bullet.dragTable.size(), 4u);
    EXPECT_EQ(card.bcStepText(0, 0), "");
}

TEST_F(CardWithArmoury, SaveKeepsTheCardInTheLoadAtItsOwnTemperature)
{
    link.rifleChosen(1);
    card.fieldChanged(CardField::Temperature, "11");
    link.cardEdited();                                      // 806 m/s at 11 C
    card.fieldChanged(CardField::Velocity, "810");          // the user's own at 11 C
    card.fieldChanged(CardField::Zero, "200");
    link.saveClicked();
    const Rifle& rifle = session.armoury().rifles[0];
    EXPECT_EQ(rifle.zero_m, 200);
    EXPECT_NEAR(rifle.loads[0].velocity_ms, 819, 1e-9);     // back at 21 C
    EXPECT_EQ(link.status(), "Salvato nell'armeria.");
}

// "a 400 m ho corretto di K click": the trued velocity goes into the load and the card.
TEST_F(CardWithArmoury, TruedVelocityIsKeptInTheLoad)
{
    link.rifleChosen(1);
    card.fieldChanged(CardField::Temperature, "21");
    link.cardEdited();
    TruingPanel panel(link, card);
    panel.observationChosen(Observation::Correction);
    panel.valueChanged("40");
    panel.distanceChanged("400");
    panel.solveClicked();
    ASSERT_TRUE(panel.applyEnabled()) << panel.resultText();
    EXPECT_NE(panel.resultText().find("(prima 815 m/s)"), std::string::npos) << panel.resultText();
    panel.applyClicked();
    const double trued = session.armoury().rifles[0].loads[0].velocity_ms;
    EXPECT_NE(trued, 815);
    EXPECT_EQ(card.fieldText(CardField::Velocity), cellText(trued, ','));
    EXPECT_FALSE(panel.applyEnabled());

    panel.distanceChanged("");
    panel.solveClicked();
    EXPECT_TRUE(panel.resultIsRefusal());
}

} // namespace
} // namespace siacci::armoury

#include "armoury/card_armoury.hpp"
#include "armoury/armoury_test_data.hpp"
#include "armoury/truing_panel.hpp"
#include "common/fakes.hpp"
#include "common/number_text.hpp"

#include <gtest/gtest.h>

#include <cmath>

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
    dialogs.messageAnswer = MessageAnswer::No;              // "Aggiorna"
    link.saveClicked();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNoCancel);
    const Rifle& rifle = session.armoury().rifles[0];
    EXPECT_EQ(rifle.zero_m, 200);
    EXPECT_EQ(rifle.sightHeight_cm, 4.5);
    EXPECT_NEAR(rifle.loads[0].velocity_ms, 819, 1e-9);     // back at 21 C
    EXPECT_EQ(rifle.loads.size(), 3u);
    EXPECT_EQ(link.status(), "Carica \"168 gr HPBT Match\" aggiornata nell'armeria.");
    EXPECT_FALSE(card.modified());
}

// The question's default keeps the old load: the card becomes a new one beside it, and the
// rifle is not touched where the user did not change it.
TEST_F(CardWithArmoury, SavingAnArmouryLoadAsksAndMakesANewOneByDefault)
{
    link.rifleChosen(1);
    card.fieldChanged(CardField::Velocity, "830");
    link.saveClicked();
    const Rifle& rifle = session.armoury().rifles[0];
    ASSERT_EQ(rifle.loads.size(), 4u);
    EXPECT_EQ(rifle.loads[0], testing::fullRifle().loads[0]);
    EXPECT_EQ(rifle.loads[3].description, "168 gr HPBT Match (2)");
    EXPECT_EQ(rifle.loads[3].temperatureSensitivity_msPerC, 0.9);
    EXPECT_EQ(rifle.loads[3].drag, LoadDrag::G7);
    EXPECT_EQ(rifle.zero_m, 150);
    EXPECT_EQ(link.loadIndex(), 4) << "the card now shows the new load";
    EXPECT_EQ(card.source().load, "168 gr HPBT Match (2)");

    const std::size_t saves = static_cast<std::size_t>(storage.saves);
    dialogs.messageAnswer = MessageAnswer::Cancel;
    link.saveClicked();
    EXPECT_EQ(static_cast<std::size_t>(storage.saves), saves);
}

struct MainShotHost : CardHost {
    CardShot shot;
    CardShot cardShot() const override { return shot; }
};

// A hunter picks a catalogue .308 in the main window, chooses his armoury rifle and load, goes
// back to the catalogue bullet and saves: every step shows the chosen load alone, and the save
// overwrites nothing (a new load; the rifle as it was).
TEST(CardArmourySource, CatalogueArmouryAndBackAgainOverwriteNothing)
{
    testing::MemoryStorage storage;
    const Armoury before{{testing::fullRifle()}};
    ArmourySession session{before, storage};
    MainShotHost host;
    host.shot = {792, 0.433, 150, 4, 100, 300, 25, 15, 0, ".308 WIN 150 grains", true};
    card::Cartellino card(&host);
    siacci::testing::FakeDialogs dialogs;
    CardArmoury link{session, card, dialogs};
    EXPECT_EQ(card.source().origin, card::LoadOrigin::MainShot);

    link.rifleChosen(1);
    EXPECT_EQ(card.dragModel(), pointmass::DragModel::G7);
    EXPECT_EQ(link.loadIndex(), 1);
    link.loadChosen(2);
    EXPECT_EQ(card.bcStepText(0, 0), "0,435");

    card.takeCurrentShot();
    EXPECT_EQ(link.loadIndex(), 0) << "the load box follows the card's source";
    EXPECT_EQ(link.rifleIndex(), 1) << "the rifle stays chosen, to save into";
    const card::CardSetup& s = card.setup();
    EXPECT_EQ(s.bullet.model, pointmass::DragModel::G1);
    EXPECT_TRUE(s.bullet.bcSteps.empty());
    EXPECT_DOUBLE_EQ(s.bullet.bc_lbin2, 0.433);
    EXPECT_FALSE(s.bullet.twist_in);
    EXPECT_FALSE(s.zeroing.atmosphere);
    ASSERT_TRUE(card.sheet().ok()) << card.sheet().refusal;

    EXPECT_TRUE(link.saveEnabled());
    link.saveClicked();
    EXPECT_TRUE(dialogs.messages.empty()) << "nothing to update: no question";
    const Rifle& rifle = session.armoury().rifles[0];
    ASSERT_EQ(rifle.loads.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(rifle.loads[i], before.rifles[0].loads[i]);
    Rifle rifleOnly = rifle, beforeOnly = before.rifles[0];
    rifleOnly.loads.clear();
    beforeOnly.loads.clear();
    EXPECT_EQ(rifleOnly, beforeOnly) << "the rifle's sight height and zero are not the main window's";
    const Load& saved = rifle.loads[3];
    EXPECT_EQ(saved.description, ".308 WIN 150 grains");
    EXPECT_EQ(saved.drag, LoadDrag::G1);
    EXPECT_DOUBLE_EQ(saved.bc, 0.433);
    EXPECT_DOUBLE_EQ(saved.velocity_ms, 792);
    EXPECT_FALSE(saved.diameter_mm);
}

// The rifle's fields edited on the card are the only ones written to the rifle.
TEST_F(CardWithArmoury, OnlyTheRifleFieldsTheUserEditedReachTheRifle)
{
    link.rifleChosen(1);
    card.fieldChanged(CardField::SightHeight, "5,2");
    card.clickChosen(card::ClickChoice::Mrad01);
    link.saveClicked();
    const Rifle& rifle = session.armoury().rifles[0];
    EXPECT_DOUBLE_EQ(rifle.sightHeight_cm, 5.2);
    EXPECT_EQ(rifle.clickUnit, pointmass::AngleUnit::Mrad);
    EXPECT_DOUBLE_EQ(rifle.clickValue, 0.1);
    EXPECT_EQ(rifle.zero_m, 150);
    EXPECT_FALSE(rifle.twistRightHand);
    EXPECT_EQ(rifle.turretClicksPerTurn, 60);
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
    EXPECT_EQ(trued, std::round(trued * 10) / 10) << "kept as shown, to 0,1 m/s";
    EXPECT_EQ(card.fieldText(CardField::Velocity), roundedText(trued, 1, ','));
    EXPECT_FALSE(panel.applyEnabled());

    panel.distanceChanged("");
    panel.solveClicked();
    EXPECT_TRUE(panel.resultIsRefusal());
}

} // namespace
} // namespace siacci::armoury

namespace siacci::armoury {
namespace {

// The scope belongs to the rifle: "IL TIRO" reads it from the chosen rifle and keeps its
// changes there, and nowhere without a rifle.
TEST_F(CardWithArmoury, TheScopeIsTheChosenRiflesAndKeptInIt)
{
    EXPECT_FALSE(link.chosenScope());
    card::ScopeSetup scope;
    scope.magnification = 6;
    EXPECT_EQ(link.scopeEdited(scope), "");
    EXPECT_EQ(storage.saves, 0);
    link.rifleChosen(1);
    ASSERT_TRUE(link.chosenScope());
    EXPECT_EQ(*link.chosenScope(), testing::fullRifle().scope);
    EXPECT_EQ(link.scopeEdited(scope), "");
    EXPECT_EQ(storage.saves, 1);
    EXPECT_EQ(session.armoury().rifles[0].scope, scope);
    // The same again, or one that is not sound, saves nothing.
    link.scopeEdited(scope);
    scope.magnification = 0;
    link.scopeEdited(scope);
    EXPECT_EQ(storage.saves, 1);
}

} // namespace
} // namespace siacci::armoury

#include "armoury/armoury_model.hpp"
#include "armoury/armoury_test_data.hpp"
#include "common/fakes.hpp"

#include <gtest/gtest.h>

namespace siacci::armoury {
namespace {

using testing::FakeHost;
using testing::MemoryStorage;

struct ArmouryWindowModel : ::testing::Test {
    MemoryStorage storage;
    ArmourySession session{Armoury{{testing::fullRifle()}}, storage};
    siacci::testing::FakeDialogs dialogs;
    FakeHost host;
    ArmouryModel model{session, dialogs, host};
};

TEST_F(ArmouryWindowModel, AddsFromTheCatalogueUnderTheSelectedRifle)
{
    model.addFromCatalogueClicked();
    ASSERT_EQ(dialogs.messages.size(), 1u); // nothing chosen in the main window
    EXPECT_NE(dialogs.messages[0].text.find("catalogo"), std::string::npos);
    host.choice = CatalogueLoadChoice{".308 WINCHESTER 165 grains", 823, 165, 0.404, 4};
    model.addFromCatalogueClicked();
    const Rifle& rifle = model.armoury().rifles[0];
    ASSERT_EQ(rifle.loads.size(), 4u);
    EXPECT_EQ(rifle.loads[3].description, ".308 WINCHESTER 165 grains");
    EXPECT_EQ(rifle.loads[3].drag, LoadDrag::G1);
    EXPECT_DOUBLE_EQ(rifle.loads[3].bc, 0.404);
    EXPECT_EQ(model.selection(), (Selection{0, 3}));
    EXPECT_TRUE(model.loadFormShown());
    EXPECT_EQ(storage.saves, 1);
}

TEST_F(ArmouryWindowModel, FormsChangeTheEntryAndRefuseWhatIsNotANumber)
{
    RifleForm form = model.rifleForm();
    EXPECT_EQ(form.sightHeight_cm, "4,5");
    form.zero_m = "200";
    form.clickUnit = pointmass::AngleUnit::Mrad;
    form.clickValue = "0,1";
    form.turretClicksPerTurn = "";
    EXPECT_TRUE(model.rifleFormApplied(form));
    EXPECT_EQ(model.armoury().rifles[0].zero_m, 200);
    EXPECT_EQ(model.armoury().rifles[0].turretClicksPerTurn, std::nullopt);
    EXPECT_EQ(model.armoury().rifles[0].loads.size(), 3u); // the loads stay
    form.zero_m = "duecento";
    EXPECT_FALSE(model.rifleFormApplied(form));
    EXPECT_EQ(dialogs.messages.back().text, "Il campo \"Taratura\" non è un numero.");
    EXPECT_EQ(model.armoury().rifles[0].zero_m, 200);

    dialogs.messageAnswer = MessageAnswer::No; // the refused typing dropped
    EXPECT_TRUE(model.select({0, 1}));
    LoadForm load = model.loadForm();
    EXPECT_EQ(load.bcSteps, "0,435@760 0,42@610");
    load.bcSteps = "0,44@760";
    load.velocity_ms = "830,5";
    EXPECT_TRUE(model.loadFormApplied(load));
    EXPECT_EQ(model.armoury().rifles[0].loads[1].bcSteps.size(), 1u);
    EXPECT_EQ(model.armoury().rifles[0].loads[1].velocity_ms, 830.5);
    load.description = model.armoury().rifles[0].loads[0].description; // a name already used
    EXPECT_FALSE(model.loadFormApplied(load));
    EXPECT_NE(dialogs.messages.back().text.find("due cariche"), std::string::npos);
}

TEST_F(ArmouryWindowModel, DeleteAsksAndKeepsEverythingOnCancel)
{
    dialogs.messageAnswer = MessageAnswer::Cancel;
    model.deleteClicked();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].cancelIsDefault);
    EXPECT_EQ(model.armoury().rifles.size(), 1u);
    dialogs.messageAnswer = MessageAnswer::Ok;
    model.select({0, 2});
    model.deleteClicked();
    EXPECT_EQ(model.armoury().rifles[0].loads.size(), 2u);
    EXPECT_EQ(model.selection(), (Selection{0, 1}));
    model.select({0, std::nullopt});
    model.deleteClicked();
    EXPECT_TRUE(model.armoury().rifles.empty());
    EXPECT_EQ(model.selection(), Selection{});
    EXPECT_NE(model.hint().find("Nessuna arma"), std::string::npos);
}

TEST_F(ArmouryWindowModel, ImportNeverReplacesWithoutAsking)
{
    Rifle imported = testing::fullRifle();
    imported.zero_m = 300;
    dialogs.messageAnswer = MessageAnswer::Cancel; // "Annulla": nothing imported
    model.documentImported(Armoury{{imported}}, {});
    EXPECT_EQ(model.armoury().rifles.size(), 1u);
    EXPECT_EQ(storage.saves, 0);
    dialogs.messages.clear();
    dialogs.messageAnswer = MessageAnswer::No; // "Tieni entrambe"
    model.documentImported(Armoury{{imported}}, {});
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_NE(dialogs.messages[0].text.find("\"Sako 85 .308 (2)\""), std::string::npos);
    ASSERT_EQ(model.armoury().rifles.size(), 2u);
    EXPECT_EQ(model.armoury().rifles[0].zero_m, 150);
    EXPECT_EQ(model.armoury().rifles[1].zero_m, 300);
    dialogs.messageAnswer = MessageAnswer::Yes; // "Sostituisci"
    imported.zero_m = 250;
    model.documentImported(Armoury{{imported}}, {});
    EXPECT_EQ(model.armoury().rifles.size(), 2u);
    EXPECT_EQ(model.armoury().rifles[0].zero_m, 250);
    model.documentImported(std::nullopt, "il file non è un'armeria di Siacci");
    EXPECT_EQ(dialogs.messages.back().text, "Il file non si importa: il file non è un'armeria di Siacci.");
}

TEST_F(ArmouryWindowModel, DuplicateAndExportTheSelection)
{
    model.duplicateClicked();
    ASSERT_EQ(model.armoury().rifles.size(), 2u);
    EXPECT_EQ(model.selection(), (Selection{1, std::nullopt}));
    EXPECT_EQ(model.exportFileName(), "Sako 85 .308 (2).json");
    const auto doc = model.exportDocument();
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc->rifles.size(), 1u);
    EXPECT_EQ(doc->rifles[0].name, "Sako 85 .308 (2)");
    model.addRifleClicked();
    EXPECT_EQ(model.armoury().rifles[2].name, "Nuova arma");
    model.addLoadClicked();
    EXPECT_EQ(model.selection(), (Selection{2, 0}));
}

// A refused "Conferma" keeps every field typed and names the refused one, for a number that does
// not read and for one out of range alike.
TEST_F(ArmouryWindowModel, ARefusedConfirmKeepsTheTypingAndMarksTheField)
{
    struct Case {
        const char* velocity;
        const char* weight;
        const char* refused;
    };
    const Case cases[] = {{"abc", "170", "velocita"}, {"830", "0", "peso"}, {"5000", "170", "velocita"}};
    for (const Case& k : cases) {
        model.select({0, 0});
        LoadForm typed = model.loadForm();
        typed.velocity_ms = k.velocity;
        typed.weight_gr = k.weight;
        typed.notes = "scritto a mano";
        model.loadFormEdited(typed);
        EXPECT_FALSE(model.loadFormApplied(typed)) << k.velocity;
        EXPECT_EQ(model.loadForm(), typed) << k.velocity;
        EXPECT_EQ(model.refusedField(), k.refused) << k.velocity;
        EXPECT_EQ(model.armoury().rifles[0].loads[0], testing::fullRifle().loads[0]);
        dialogs.messageAnswer = MessageAnswer::No;
        EXPECT_TRUE(model.select({0, 1}));
        dialogs.messageAnswer = MessageAnswer::Ok;
    }
    EXPECT_EQ(storage.saves, 0);
}

TEST_F(ArmouryWindowModel, LeavingAnEntryWithEditsAsks)
{
    model.select({0, 0});
    LoadForm typed = model.loadForm();
    typed.velocity_ms = "830";
    model.loadFormEdited(typed);
    ASSERT_TRUE(model.unconfirmedEdits());

    dialogs.messageAnswer = MessageAnswer::Cancel; // "Annulla": stay, typing kept
    EXPECT_FALSE(model.select({0, 1}));
    EXPECT_EQ(model.selection(), (Selection{0, 0}));
    EXPECT_EQ(model.loadForm().velocity_ms, "830");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Salvare le modifiche?");
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::YesNoCancel);

    dialogs.messageAnswer = MessageAnswer::Yes; // "Sì": kept, then moved
    EXPECT_TRUE(model.select({0, 1}));
    EXPECT_EQ(model.armoury().rifles[0].loads[0].velocity_ms, 830);

    RifleForm rifle;
    model.select({0, std::nullopt});
    rifle = model.rifleForm();
    rifle.zero_m = "180";
    model.rifleFormEdited(rifle);
    dialogs.messageAnswer = MessageAnswer::No; // "No": dropped
    EXPECT_TRUE(model.select({0, 2}));
    EXPECT_EQ(model.armoury().rifles[0].zero_m, 150);
    model.select({0, std::nullopt});
    EXPECT_EQ(model.rifleForm().zero_m, "150");

    // No question without a change, nor after one typed back.
    const std::size_t asked = dialogs.messages.size();
    rifle = model.rifleForm();
    model.rifleFormEdited(rifle);
    EXPECT_TRUE(model.select({0, 0}));
    EXPECT_EQ(dialogs.messages.size(), asked);
}

} // namespace
} // namespace siacci::armoury

#include "app/qt_form4_window.hpp"
#include "armoury/armoury_test_data.hpp"
#include "armoury/qt_armoury_window.hpp"
#include "catalogue/catalogue.hpp"
#include "common/fakes.hpp"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace siacci::armoury {
namespace {

using testing::MemoryStorage;

// The main window's menu opens ARMERIA; the bullet chosen there is added as a load of the
// selected rifle with "Aggiungi dal catalogo".
TEST(ArmouryWindowView, AddsTheMainWindowsCatalogueLoad)
{
    Form4Window main;
    const Armoury before = main.armourySession().armoury();
    ArmourySession& session = main.armourySession();
    const CartridgePreset* preset = findPreset("tre11");
    ASSERT_NE(preset, nullptr);
    main.model().presetChosen(*preset);
    main.model().selectBullet(3);

    QAction* armeria = main.findChild<QAction*>("Armeria");
    ASSERT_NE(armeria, nullptr);
    EXPECT_EQ(armeria->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    armeria->trigger();
    auto* window = qobject_cast<ArmouryWindow*>(main.window(WindowId::Armoury));
    ASSERT_NE(window, nullptr);
    window->findChild<QPushButton*>("nuovaArma")->click();
    const std::size_t rifle = *window->model().selection().rifle;
    window->findChild<QPushButton*>("dalCatalogo")->click();
    const Load& added = session.armoury().rifles[rifle].loads.at(0);
    EXPECT_EQ(added.description, main.model().slot(3).description);
    EXPECT_DOUBLE_EQ(added.velocity_ms, main.model().slot(3).velocity);
    EXPECT_DOUBLE_EQ(added.bc, main.model().slot(3).bc);
    auto* description = window->findChild<QLineEdit*>("descrizione");
    EXPECT_TRUE(description->isVisible());
    EXPECT_EQ(description->text().toStdString(), added.description);
    // Put the test's data folder back as it was; the open window follows.
    session.change(before);
    EXPECT_EQ(window->findChild<QTreeWidget*>("tree")->topLevelItemCount(),
              static_cast<int>(before.rifles.size()));
}

TEST(ArmouryWindowView, TreeAndFormsFollowTheClicks)
{
    MemoryStorage storage;
    ArmourySession session({{testing::fullRifle()}}, storage);
    siacci::testing::FakeDialogs dialogs;
    testing::FakeHost host;
    ArmouryWindow window(session, dialogs, host);
    window.show();
    auto* tree = window.findChild<QTreeWidget*>("tree");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    ASSERT_EQ(tree->topLevelItem(0)->childCount(), 3);
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    EXPECT_EQ(window.model().selection(), (Selection{0, 1}));
    auto* velocity = window.findChild<QLineEdit*>("velocita");
    velocity->clear();
    QTest::keyClicks(velocity, "830,5");
    window.findChild<QPushButton*>("confermaCarica")->click();
    EXPECT_EQ(session.armoury().rifles[0].loads[1].velocity_ms, 830.5);
    EXPECT_EQ(storage.saves, 1);
    dialogs.messageAnswer = MessageAnswer::Ok;
    window.findChild<QPushButton*>("elimina")->click();
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(tree->topLevelItem(0)->childCount(), 2);
}

// Typed and refused: the form keeps every field and the refused one is marked; leaving the
// entry asks before anything typed is lost.
TEST(ArmouryWindowView, ARefusalKeepsWhatWasTyped)
{
    MemoryStorage storage;
    ArmourySession session({{testing::fullRifle()}}, storage);
    siacci::testing::FakeDialogs dialogs;
    testing::FakeHost host;
    ArmouryWindow window(session, dialogs, host);
    window.show();
    auto* tree = window.findChild<QTreeWidget*>("tree");
    tree->setCurrentItem(tree->topLevelItem(0)->child(0));
    auto* velocity = window.findChild<QLineEdit*>("velocita");
    auto* notes = window.findChild<QLineEdit*>("note");
    velocity->selectAll();
    QTest::keyClicks(velocity, "5000");
    notes->selectAll();
    QTest::keyClicks(notes, "nuovo lotto");
    window.findChild<QPushButton*>("confermaCarica")->click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(velocity->text(), "5000");
    EXPECT_EQ(notes->text(), "nuovo lotto");
    EXPECT_FALSE(velocity->styleSheet().isEmpty()) << "the refused field is marked";
    EXPECT_TRUE(notes->styleSheet().isEmpty());
    EXPECT_EQ(storage.saves, 0);

    dialogs.messageAnswer = MessageAnswer::Cancel;
    tree->setCurrentItem(tree->topLevelItem(0)->child(1));
    EXPECT_EQ(dialogs.messages.back().text, "Salvare le modifiche?");
    EXPECT_EQ(window.model().selection(), (Selection{0, 0}));
    EXPECT_EQ(notes->text(), "nuovo lotto");
}

} // namespace
} // namespace siacci::armoury

#include "armoury/qt_card_armoury_panel.hpp"
#include "card/qt_card_window.hpp"

#include <QComboBox>
#include <QLabel>

namespace siacci::armoury {
namespace {

// In the range card opened from the menu, "Arma" and "Carica" fill the card; a velocity trued
// from the dialled clicks is kept in the load with "Applica".
TEST(CardArmouryView, ChooseInTheCardAndKeepATruedValue)
{
    Form4Window main;
    ArmourySession& session = main.armourySession();
    const Armoury before = session.armoury();
    Armoury mine;
    mine.rifles.push_back(testing::fullRifle());
    mine.rifles[0].name = "Carabina di prova";
    session.change(mine);

    main.findChild<QAction*>("CDT")->trigger();
    auto* window = dynamic_cast<card::CardWindow*>(main.window(WindowId::Card));
    ASSERT_NE(window, nullptr);
    auto* rifle = window->findChild<QComboBox*>("arma");
    auto* load = window->findChild<QComboBox*>("carica");
    ASSERT_NE(rifle, nullptr);
    rifle->setCurrentIndex(1);
    EXPECT_EQ(load->currentText(), "168 gr HPBT Match");
    auto* temperature = window->findChild<QLineEdit*>("temperatura");
    ASSERT_NE(temperature, nullptr);
    temperature->selectAll();
    QTest::keyClicks(temperature, "1");
    EXPECT_EQ(window->findChild<QLineEdit*>("velocita")->text(), "797");
    EXPECT_EQ(window->findChild<QLabel*>("v0Corretta")->text(), "V0 corretta per la temperatura: 797 m/s");

    window->findChild<QComboBox*>("osservazione")->setCurrentIndex(1);
    QTest::keyClicks(window->findChild<QLineEdit*>("valoreOsservato"), "40");
    QTest::keyClicks(window->findChild<QLineEdit*>("distanzaOsservata"), "400");
    window->findChild<QPushButton*>("calcolaVerifica")->click();
    auto* apply = window->findChild<QPushButton*>("applicaVerifica");
    ASSERT_TRUE(apply->isEnabled()) << window->findChild<QLabel*>("esitoVerifica")->text().toStdString();
    apply->click();
    const Load& kept = session.armoury().rifles[0].loads[0];
    EXPECT_NE(kept.velocity_ms, 815);
    EXPECT_FALSE(apply->isEnabled());
    session.change(before);
}

} // namespace
} // namespace siacci::armoury

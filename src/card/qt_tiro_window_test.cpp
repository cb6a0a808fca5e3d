#include "card/qt_tiro_window.hpp"

#include "app/qt_form4_window.hpp"
#include "card/qt_card_window.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace siacci {
namespace {

using card::TiroWindow;

class TiroWindowTest : public ::testing::Test {
protected:
    TiroWindow* open()
    {
        QAction* item = main.findChild<QAction*>("IlTiro");
        EXPECT_NE(item, nullptr);
        if (!item)
            return nullptr;
        item->trigger();
        return dynamic_cast<TiroWindow*>(main.window(WindowId::Tiro));
    }
    QString text(QWidget* w, const char* name) { return w->findChild<QLabel*>(name)->text(); }
    QLineEdit* edit(QWidget* w, const char* name) { return w->findChild<QLineEdit*>(name); }
    void retype(QLineEdit* e, const char* text)
    {
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Backspace);
        QTest::keyClicks(e, text);
    }

    Form4Window main;
};

TEST_F(TiroWindowTest, OpensFromTheUtilityMenuWithCtrlTBesideTheCard)
{
    QAction* item = main.findChild<QAction*>("IlTiro");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "IL TIRO");
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    TiroWindow* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "IL TIRO");
    EXPECT_TRUE(main.isOpen(WindowId::Card)) << "the card's load and day are the shot's";
    EXPECT_EQ(open(), w) << "one at a time";
}

TEST_F(TiroWindowTest, TheDistanceTypedGivesTheLargeAnswerOfTheCore)
{
    TiroWindow* w = open();
    ASSERT_NE(w, nullptr);
    auto* card = dynamic_cast<card::CardWindow*>(main.window(WindowId::Card));
    retype(edit(card, "vento"), "16");
    retype(edit(w, "tiroDistanza"), "287");
    const card::SolutionResult r = card::solveAt(card->model().setup(), 287);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(text(w, "tiroAlzo").toStdString(), card::elevationClicksText(r.solution.correction.elevationClicks) + " click");
    EXPECT_EQ(text(w, "tiroDeriva").toStdString(), card::windageClicksText(r.solution.correction.windageClicks) + " click");
    EXPECT_TRUE(text(w, "tiroMira").startsWith("Mira: "));

    // The angle is the card's: typed here, the card window shows it.
    retype(edit(w, "tiroAngolo"), "-15");
    EXPECT_EQ(edit(card, "angolo")->text(), "-15");
    const card::SolutionResult steep = card::solveAt(card->model().setup(), 287);
    EXPECT_EQ(text(w, "tiroAlzo").toStdString(),
              card::elevationClicksText(steep.solution.correction.elevationClicks) + " click");

    // A bad distance says which field and its limit; no answer is left standing.
    retype(edit(w, "tiroDistanza"), "0");
    EXPECT_EQ(text(w, "tiroRifiuto"), "Distanza del tiro: deve essere tra 1 e 5000 m");
    EXPECT_TRUE(text(w, "tiroAlzo").isEmpty());
}

TEST_F(TiroWindowTest, TheHoldFollowsTheMagnificationOnTheSecondPlane)
{
    TiroWindow* w = open();
    ASSERT_NE(w, nullptr);
    retype(edit(w, "tiroDistanza"), "450");
    const double at10 = w->model().view().hold->elevation;
    retype(edit(w, "tiroIngrandimento"), "5");
    EXPECT_NEAR(w->model().view().hold->elevation, at10 / 2, 1e-12);
    EXPECT_TRUE(text(w, "tiroMiraValori").endsWith("a 5×"));
    w->findChild<QComboBox*>("tiroReticoli")->setCurrentIndex(3);
    EXPECT_EQ(w->model().scope().reticle, "moa");
}

TEST_F(TiroWindowTest, ClosingTheCardClosesTheShot)
{
    QPointer<TiroWindow> w = open();
    ASSERT_TRUE(w);
    main.close(WindowId::Card);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(main.isOpen(WindowId::Tiro));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w);
    // And the card can be opened and edited again with no window left listening to it.
    main.show(WindowId::Card);
    auto* card = dynamic_cast<card::CardWindow*>(main.window(WindowId::Card));
    ASSERT_NE(card, nullptr);
    QTest::keyClicks(edit(card, "vento"), "5");
}

// Before: a card window closed by its own close button and replaced (IL TIRO opened a new one)
// was left to the main window's children, deleted after the armoury it listens to: a crash at
// exit. The registry now deletes it with the others.
TEST(WindowRegistryReplaced, AClosedWindowReplacedGoesWithTheRegistry)
{
    QPointer<QWidget> old;
    {
        Form4Window main;
        main.show(WindowId::Card);
        old = main.window(WindowId::Card);
        ASSERT_TRUE(old);
        old->close(); // waits for its deletion
        main.show(WindowId::Tiro);
        EXPECT_NE(main.window(WindowId::Card), old.data());
        EXPECT_TRUE(old);
    }
    EXPECT_FALSE(old);
}

} // namespace
} // namespace siacci

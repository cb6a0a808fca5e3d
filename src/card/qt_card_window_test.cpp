#include "card/qt_card_window.hpp"

#include "app/qt_form4_window.hpp"
#include "card/qt_card_plot.hpp"
#include "card/qt_card_print.hpp"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace siacci {
namespace {

using card::CardWindow;

class CardWindowTest : public ::testing::Test {
protected:
    void SetUp() override { main = std::make_unique<Form4Window>(); }

    void typeShot()
    {
        const std::pair<Field, const char*> shot[] = {
            {Field::Text12, "800"}, {Field::Text11, "0.4"}, {Field::Text3, "300"},
            {Field::Text5, "220"},  {Field::Text4, "25"},   {Field::Text9, "15"},
            {Field::Text8, "0"},    {Field::Text7, "150"},  {Field::Text6, "4"}};
        for (const auto& [field, text] : shot)
            main->model().fieldChanged(field, text);
        main->model().calcolaClicked();
        main->refresh();
    }

    CardWindow* openFromMenu()
    {
        QAction* item = main->findChild<QAction*>("CDT");
        EXPECT_NE(item, nullptr);
        if (!item)
            return nullptr;
        item->trigger();
        return dynamic_cast<CardWindow*>(main->window(WindowId::Card));
    }

    QString field(CardWindow* w, const char* name) { return w->findChild<QLineEdit*>(name)->text(); }

    // The text of a grid cell under a heading that starts with `heading`.
    QString cell(CardWindow* w, int row, const QString& heading)
    {
        auto* grid = w->findChild<QTableWidget*>("griglia");
        for (int c = 0; c < grid->columnCount(); ++c)
            if (grid->horizontalHeaderItem(c)->text().replace('\n', ' ').startsWith(heading))
                return grid->item(row, c)->text();
        return QStringLiteral("?");
    }

    std::unique_ptr<Form4Window> main;
};

TEST_F(CardWindowTest, OpensFromTheUtilityMenuWithTheCurrentShotOnce)
{
    typeShot();
    QAction* item = main->findChild<QAction*>("CDT");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "CARTELLINO DI TIRO");
    EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_K));
    const QList<QAction*> utility = main->findChild<QMenu*>("mnuUtilita")->actions();
    ASSERT_GE(utility.size(), 4);
    EXPECT_EQ(utility[utility.size() - 4]->objectName(), "CAC") << "right after the calculator";
    EXPECT_EQ(utility[utility.size() - 3], item);
    EXPECT_EQ(utility[utility.size() - 2]->objectName(), "Armeria");
    EXPECT_EQ(utility.back()->objectName(), "IlTiro");

    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "CARTELLINO DI TIRO");
    EXPECT_EQ(field(w, "velocita"), "800");
    EXPECT_EQ(field(w, "coefficiente"), "0,4");
    EXPECT_EQ(field(w, "taratura"), "220");
    EXPECT_EQ(field(w, "incremento"), "25");
    EXPECT_FALSE(w->findChild<QLabel*>("suggerimento")->isVisible());
    EXPECT_EQ(w->findChild<QTableWidget*>("griglia")->rowCount(), 13);

    // Single instance: the menu brings the same window forward.
    item->trigger();
    EXPECT_EQ(openFromMenu(), w);

    // "Prendi dal tiro corrente" takes the main window's shot again.
    QTest::keyClicks(w->findChild<QLineEdit*>("taratura"), "0");
    EXPECT_EQ(field(w, "taratura"), "2200");
    QTest::mouseClick(w->findChild<QPushButton*>("prendi"), Qt::LeftButton);
    EXPECT_EQ(field(w, "taratura"), "220");
}

TEST_F(CardWindowTest, EveryEditRecomputesAndTheCommaIsADecimal)
{
    typeShot();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    const QString before = cell(w, 12, "Velocità");
    auto* bc = w->findChild<QLineEdit*>("coefficiente");
    bc->selectAll();
    QTest::keyClicks(bc, "0,5");
    EXPECT_NE(cell(w, 12, "Velocità"), before);
    bc->selectAll();
    QTest::keyClicks(bc, "0");
    EXPECT_TRUE(w->findChild<QLabel*>("rifiuto")->isVisible());
    EXPECT_EQ(w->findChild<QTableWidget*>("griglia")->rowCount(), 0);
}

TEST_F(CardWindowTest, TheWindClockFlipsTheWindageClicks)
{
    typeShot();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    QTest::keyClicks(w->findChild<QLineEdit*>("vento"), "5"); // "0" becomes "05": 5 km/h
    auto* clock = w->findChild<QWidget*>("Orologio");
    ASSERT_NE(clock, nullptr);
    const QPoint centre = clock->rect().center();
    const int r = clock->width() / 2;
    QTest::mouseClick(clock, Qt::LeftButton, {}, centre + QPoint(r * 8 / 10, 0));
    EXPECT_EQ(w->model().windClock(), 3);
    EXPECT_TRUE(cell(w, 12, "Click vento").startsWith("▶")) << "wind from the right: dial right";
    QTest::mouseClick(clock, Qt::LeftButton, {}, centre - QPoint(r * 8 / 10, 0));
    EXPECT_EQ(w->model().windClock(), 9);
    EXPECT_TRUE(cell(w, 12, "Click vento").startsWith("◀")) << cell(w, 12, "Click vento").toStdString();
    EXPECT_EQ(w->findChild<QLabel*>("direzioneVento")->text(), "da ore 9 (da sinistra)");
}

TEST_F(CardWindowTest, AnImperialMainWindowGivesMetricInputs)
{
    typeShot();
    main->model().ingleseClicked(); // 2625 ft/s, 1.57 in, 220 and 300 yards
    main->refresh();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(field(w, "velocita"), "800,1");
    EXPECT_EQ(field(w, "altezzaOttica"), "3,99");
    EXPECT_EQ(field(w, "taratura"), "201");
    EXPECT_EQ(field(w, "distanzaMassima"), "276");
    EXPECT_EQ(field(w, "incremento"), "23");
    EXPECT_EQ(w->findChild<QTableWidget*>("griglia")->rowCount(), 13) << "the 300 yd row kept";
}

// The card follows the main window while its load is that window's shot, and says so; after
// an edit it stops and offers to follow again.
TEST_F(CardWindowTest, FollowsTheMainWindowUntilAFieldIsChanged)
{
    typeShot();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    auto* source = w->findChild<QLabel*>("origine");
    auto* follow = w->findChild<QPushButton*>("segui");
    EXPECT_TRUE(source->text().contains("il cartellino lo segue")) << source->text().toStdString();
    EXPECT_FALSE(follow->isVisible());
    main->model().fieldChanged(Field::Text12, "850");
    main->model().calcolaClicked();
    main->refresh();
    EXPECT_EQ(field(w, "velocita"), "850");

    auto* wind = w->findChild<QLineEdit*>("vento");
    QTest::keyClicks(wind, "1");
    EXPECT_FALSE(follow->isVisible()) << "the day's wind is no change of the load";
    auto* weight = w->findChild<QLineEdit*>("peso");
    weight->selectAll();
    QTest::keyClicks(weight, "165");
    EXPECT_TRUE(follow->isVisible());
    EXPECT_TRUE(source->text().contains("modificato"));
    main->model().fieldChanged(Field::Text12, "820");
    main->model().calcolaClicked();
    main->refresh();
    EXPECT_EQ(field(w, "velocita"), "850");
    QTest::mouseClick(follow, Qt::LeftButton);
    EXPECT_EQ(field(w, "velocita"), "820");
    EXPECT_EQ(field(w, "peso"), "150");
    EXPECT_FALSE(follow->isVisible());
}

// The wind clock by keyboard: it takes the focus, the arrows move it, its name says where from.
TEST_F(CardWindowTest, TheWindClockTakesTheKeyboard)
{
    typeShot();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    auto* clock = w->findChild<QWidget*>("Orologio");
    EXPECT_TRUE(clock->focusPolicy() & Qt::TabFocus);
    QTest::keyClick(clock, Qt::Key_Right);
    EXPECT_EQ(w->model().windClock(), 4);
    QTest::keyClick(clock, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(w->model().windClockHours(), 3.5);
    EXPECT_EQ(clock->accessibleName(), "Vento da ore 3 e mezza (da destra)");
}

TEST_F(CardWindowTest, AnEmptyMainWindowShowsAHintAndACard)
{
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->findChild<QLabel*>("suggerimento")->isVisible());
    EXPECT_GT(w->findChild<QTableWidget*>("griglia")->rowCount(), 0);
}

TEST_F(CardWindowTest, PlotReadsOutThePointUnderThePointer)
{
    typeShot();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    w->plot()->pointAt(300);
    EXPECT_TRUE(w->plot()->readout().startsWith("300 m · traiettoria -2")) << w->plot()->readout().toStdString();
    EXPECT_TRUE(w->plot()->readout().endsWith("click"));
}

TEST_F(CardWindowTest, PrintPreviewOfBothLayouts)
{
    typeShot();
    CardWindow* w = openFromMenu();
    ASSERT_NE(w, nullptr);
    auto* layout = w->findChild<QComboBox*>("formato");
    for (int index : {0, 1}) {
        layout->setCurrentIndex(index);
        int pages = -1;
        QString title;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
                pages = preview->pageCount();
            dialog->reject();
        });
        QTest::mouseClick(w->findChild<QPushButton*>("stampa"), Qt::LeftButton);
        EXPECT_EQ(title, "Anteprima di stampa") << index;
        EXPECT_EQ(pages, 1) << index;
        const card::PrintedCard printed = w->printedCard();
        EXPECT_EQ(printed.pages.size(), 1u);

        // The same pages as a PDF, read back.
        QTemporaryDir dir;
        const QString path = dir.filePath("cartellino.pdf");
        ASSERT_TRUE(card::writeCardPdf(printed, path).isEmpty());
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-layout", path, "-"});
        if (!pdftotext.waitForFinished(10000) || pdftotext.exitStatus() != QProcess::NormalExit) {
            ADD_FAILURE() << "pdftotext did not run";
            continue;
        }
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        EXPECT_TRUE(text.contains(index == 0 ? "click alzo" : "CARTELLINO DI TIRO")) << index;
        EXPECT_TRUE(text.contains("▲")) << index;
    }
}

} // namespace
} // namespace siacci

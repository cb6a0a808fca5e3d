#include "app/qt_form4_window.hpp"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace siacci {
namespace {

QStringList rowTexts(QTableWidget* grid, int row)
{
    QStringList cells;
    for (int c = 0; c < grid->columnCount(); ++c)
        cells << (grid->item(row, c) ? grid->item(row, c)->text() : QString());
    return cells;
}

void typeInto(Form4Window& w, const char* name, const QString& text)
{
    auto* edit = w.findChild<QLineEdit*>(name);
    ASSERT_NE(edit, nullptr) << name;
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

void typeWorkedExample(Form4Window& w)
{
    typeInto(w, "Text12", "800");
    typeInto(w, "Text11", "0,4"); // a decimal comma, as Italian users type it
    typeInto(w, "Text7", "150");
    typeInto(w, "Text6", "4");
    typeInto(w, "Text5", "220");
    typeInto(w, "Text3", "300");
    typeInto(w, "Text4", "25");
    typeInto(w, "Text9", "15");
    typeInto(w, "Text8", "0");
}

// Brings a tab forward and lets its widgets take their geometry, so that clicks land.
void showTab(Form4Window& w, int index)
{
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(index);
    QCoreApplication::processEvents();
}

class Form4WindowTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TEST_F(Form4WindowTest, TypingTheWorkedExampleAndCalcolaFillsTheGrid)
{
    Form4Window w;
    w.show();
    auto* grid = w.findChild<QTableWidget*>("Grid1");
    ASSERT_NE(grid, nullptr);
    EXPECT_FALSE(grid->isVisible()) << "hidden until the first table";
    typeWorkedExample(w);
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    ASSERT_EQ(grid->rowCount(), 13);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(rowTexts(grid, 0), QStringList({"0", "800", "0", "-4", "0", "317", "0", "0"}));
    EXPECT_EQ(rowTexts(grid, 12),
              QStringList({"300", "594", "0.435", "-24.3", "26.7", "175", "84.2", "21.7"}));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), "Tempo\nDi volo\nsec");
    const QFontMetrics metrics(grid->horizontalHeader()->font());
    for (int c = 0; c < 8; ++c)
        for (const QString& line : grid->horizontalHeaderItem(c)->text().split('\n'))
            EXPECT_GT(grid->columnWidth(c), metrics.horizontalAdvance(line)) << "no heading is cut";
}

TEST_F(Form4WindowTest, InglesiShowsTheImperialTableAndCaptions)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    showTab(w, 2);
    auto* inglesi = w.findChild<QRadioButton*>("Option17");
    inglesi->click();
    auto* grid = w.findChild<QTableWidget*>("Grid1");
    EXPECT_EQ(w.findChild<QLineEdit*>("Text12")->text(), " 2625");
    EXPECT_EQ(w.findChild<QLineEdit*>("Text6")->text(), " 1.57");
    EXPECT_EQ(w.findChild<QLabel*>("Label7")->text(), QString::fromUtf8("Velocità in feet/sec."));
    EXPECT_FALSE(w.findChild<QWidget*>("Option11")->isVisible());
    EXPECT_EQ(grid->rowCount(), 13);
    EXPECT_EQ(grid->item(0, 3)->text(), "-1.57");
}

TEST_F(Form4WindowTest, ASiteAngleChangesTheDeviations)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    typeInto(w, "Text8", "300");
    typeInto(w, "Text9", "5");
    typeInto(w, "Text4", "100");
    typeInto(w, "Text3", "1000");
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    auto* grid = w.findChild<QTableWidget*>("Grid1");
    const QString level = grid->item(1, 3)->text();
    showTab(w, 2);
    w.findChild<QRadioButton*>("Option13")->click();
    EXPECT_NE(grid->item(1, 3)->text(), level);
    EXPECT_EQ(grid->item(1, 3)->text(), "10.3");
    EXPECT_EQ(grid->item(3, 3)->text(), "-13.8");
}

TEST_F(Form4WindowTest, CellsUseTheLocaleDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    auto* grid = w.findChild<QTableWidget*>("Grid1");
    EXPECT_EQ(rowTexts(grid, 12),
              QStringList({"300", "594", "0,435", "-24,3", "26,7", "175", "84,2", "21,7"}));

    // The other windows write their numbers as the table does: the C.B. result ...
    w.show(WindowId::Cb);
    QWidget* cb = w.window(WindowId::Cb);
    ASSERT_NE(cb, nullptr);
    const auto typeCb = [cb](const char* name, const char* text) {
        auto* edit = cb->findChild<QLineEdit*>(name);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromLatin1(text));
    };
    typeCb("Text1", "800");
    typeCb("Text2", "594");
    typeCb("Text3", "300");
    QTest::mouseClick(cb->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(cb->findChild<QLabel*>("Label2")->text(), "0,4");
    // ... and the graph's readout under the pointer (451,5 twips tenths at 301 pixels down).
    w.show(WindowId::Graph);
    QWidget* graph = w.window(WindowId::Graph);
    ASSERT_NE(graph, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(graph));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 301), graph->mapToGlobal(QPointF(200, 301)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(graph, &move);
    const QString centimetres = graph->findChild<QLabel*>("Label8")->text();
    EXPECT_TRUE(centimetres.contains(',')) << centimetres.toStdString() << " / "
                                           << graph->findChild<QLabel*>("Label7")->text().toStdString();
    EXPECT_FALSE(centimetres.contains('.')) << centimetres.toStdString();
}

// The bullets and the shapes are options the model keeps (none may be checked): a screen reader
// must still hear radio buttons, with their caption and whether they are checked.
TEST_F(Form4WindowTest, BulletAndShapeOptionsAreRadioButtonsToScreenReaders)
{
    Form4Window w;
    w.show();
    w.findChild<QAction*>("tre11")->trigger(); // a catalogue cartridge, its bullets shown
    showTab(w, 1);
    const auto role = [&](const char* name) {
        auto* button = w.findChild<QRadioButton*>(name);
        EXPECT_NE(button, nullptr) << name;
        QAccessibleInterface* a = button ? QAccessible::queryAccessibleInterface(button) : nullptr;
        EXPECT_NE(a, nullptr) << name;
        return a;
    };
    for (const char* name : {"Option1", "Option3", "Option10", "Option11", "Option17", "Option18", "Option22",
                             "Option23", "Option25"}) {
        QAccessibleInterface* a = role(name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::RadioButton) << name;
        EXPECT_TRUE(a->state().checkable) << name;
    }
    auto* bullet = w.findChild<QRadioButton*>("Option3");
    QAccessibleInterface* a = role("Option3");
    EXPECT_EQ(a->text(QAccessible::Name), bullet->text());
    EXPECT_FALSE(bullet->autoExclusive()) << "the model, not Qt, decides which is checked";
    bullet->click();
    EXPECT_TRUE(bullet->isChecked());
    EXPECT_TRUE(a->state().checked);
    // The press action a screen reader offers checks the option as a click does.
    auto* first = w.findChild<QRadioButton*>("Option4");
    QAccessibleInterface* firstA = role("Option4");
    ASSERT_NE(firstA->actionInterface(), nullptr);
    firstA->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(first->isChecked());
    EXPECT_FALSE(bullet->isChecked());
    EXPECT_FALSE(a->state().checked);
}

TEST_F(Form4WindowTest, CatalogueMenuThenABulletFillsInputsAndTable)
{
    Form4Window w;
    w.show();
    auto* item = w.findChild<QAction*>("tre11");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), ".308 WINCHESTER (7,62 NATO) 165-200 grains");
    item->trigger();
    auto* grid = w.findChild<QTableWidget*>("Grid1");
    EXPECT_EQ(grid->rowCount(), 0) << "the fill computes nothing";
    showTab(w, 1);
    auto* third = w.findChild<QRadioButton*>("Option3");
    EXPECT_EQ(third->text(), "165 grains SPITZER");
    third->click();
    EXPECT_TRUE(third->isChecked());
    EXPECT_EQ(grid->rowCount(), 13);
    EXPECT_EQ(w.findChild<QLineEdit*>("Text5")->text(), " 220");
    EXPECT_EQ(grid->item(0, 3)->text(), "-4");
}

} // namespace
} // namespace siacci

namespace siacci {
namespace {

TEST_F(Form4WindowTest, CtrlCOnTheGridCopiesTheSelection)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    auto* grid = w.findChild<QTableWidget*>("Grid1");
    grid->setRangeSelected(QTableWidgetSelectionRange(12, 0, 12, 2), true);
    QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "300\t594\t0.435");
    // In a field, Ctrl+C is the field's own copy.
    auto* velocity = w.findChild<QLineEdit*>("Text12");
    velocity->selectAll();
    QTest::keyClick(velocity, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "800");
}

} // namespace
} // namespace siacci

#include "graph/qt_graph_window.hpp"
#include "print/qt_help_window.hpp"

#include <QToolButton>

namespace siacci {
namespace {

TEST_F(Form4WindowTest, GraphButtonOpensTheGraphAndAScaleDraws)
{
    Form4Window w;
    w.show();
    w.findChild<QAction*>("cinquesei1")->trigger();
    w.findChild<QRadioButton*>("Option3")->click();
    QTest::mouseClick(w.findChild<QToolButton*>("Image1"), Qt::LeftButton);
    auto* graph = dynamic_cast<GraphWindow*>(w.window(WindowId::Graph));
    ASSERT_NE(graph, nullptr);
    EXPECT_TRUE(graph->isVisible());
    auto* title = graph->findChild<QLabel*>("Label2");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->text().contains("Taratura Arma metri: 70"));
    QTest::mouseClick(graph->findChild<QLabel*>("Label6"), Qt::LeftButton);
    EXPECT_FALSE(graph->model().drawing().empty());
    // A table run closes the graph window.
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w.isOpen(WindowId::Graph));
}

TEST_F(Form4WindowTest, HelpOpensAtItsContents)
{
    Form4Window w;
    w.show();
    QTest::mouseClick(w.findChild<QToolButton*>("Image3"), Qt::LeftButton);
    auto* help = dynamic_cast<HelpWindow*>(w.window(WindowId::Help));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->currentPage(), helpContentsUrl());
}

TEST_F(Form4WindowTest, ToolbarHintFollowsThePointer)
{
    Form4Window w;
    w.show();
    auto* hint = w.findChild<QLabel*>("Label1");
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(w.findChild<QToolButton*>("Image4"), &enter);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "INFO");
    QMouseEvent move(QEvent::MouseMove, QPointF(600, 600), QPointF(600, 600), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.centralWidget(), &move);
    EXPECT_FALSE(hint->isVisible());
}

} // namespace
} // namespace siacci

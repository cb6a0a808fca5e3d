// The main window with the program's other windows, and the keyboard: driven as a user would.
#include "app/qt_form4_window.hpp"

#include "files/file_test_support.hpp"
#include "catalogue/catalogue.hpp"
#include "common/number_text.hpp"
#include "graph/qt_graph_window.hpp"

#include <QAccessible>
#include <QAction>
#include <QMenuBar>
#include <QMouseEvent>
#include <QApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <functional>

namespace siacci {
namespace {

template <class T> T* child(QWidget* window, const char* name)
{
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void typeInto(QWidget* window, const char* name, const QString& text)
{
    auto* edit = child<QLineEdit>(window, name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

std::string text(QWidget& window, const char* field)
{
    return child<QLineEdit>(&window, field)->text().toStdString();
}

void typeWorkedExample(Form4Window& w)
{
    const std::pair<const char*, const char*> fields[] = {
        {"Text12", "800"}, {"Text11", "0.4"}, {"Text7", "150"}, {"Text6", "4"}, {"Text5", "220"},
        {"Text3", "300"},  {"Text4", "25"},   {"Text9", "15"},  {"Text8", "0"}};
    for (const auto& [name, text] : fields)
        typeInto(&w, name, QString::fromLatin1(text));
}

void deleteClosed()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Answers every modal dialog the program opens while `during` runs: `look` sees each first,
// then the dialog is cancelled (a prompt) or closed (a message box).
void whileDialogsAnswered(const std::function<void(QDialog&)>& look, const std::function<void()>& during)
{
    QTimer timer;
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            look(*dialog);
            dialog->reject();
        }
    });
    timer.start();
    during();
}

QStringList buttonTexts(const QWidget& dialog)
{
    QStringList texts;
    for (const auto* b : dialog.findChildren<QPushButton*>())
        texts << b->text().remove('&');
    return texts;
}

class MainWindowView : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

// Before, the fields, captions and table kept the old shot after "A P R I" until the pointer
// crossed a toolbar button, and CALCOLA or STAMPA then used values that were not on screen.
TEST_F(MainWindowView, OpeningAFileShowsItsShotAtOnce)
{
    testing::TempDir dir;
    testing::writeBytes(dir.path / "prova.bal", testing::kHightLine);
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    QTest::mouseClick(child<QPushButton>(&w, "Command1"), Qt::LeftButton);
    w.model().fileSession().rememberFile(dir.str(), "prova");
    child<QAction>(&w, "apri")->trigger();
    QWidget* open = w.window(WindowId::GetFile);
    ASSERT_NE(open, nullptr);
    auto* files = child<QListWidget>(open, "File1");
    const auto items = files->findItems("prova.bal", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(items[0]).center());
    QTest::mouseClick(child<QPushButton>(open, "Command1"), Qt::LeftButton); // "A P R I"
    EXPECT_EQ(text(w, "Text12"), " 400");
    EXPECT_EQ(text(w, "Text10"), "22 LONG RIFLE HIGHT 40 grains");
    EXPECT_EQ(child<QTableWidget>(&w, "Grid1")->item(0, 1)->text().toStdString(), "400");
}

// Before, the menu command closed the open graph window and showed it again just before Qt
// deleted it: every second use of the menu left no graph at all.
TEST_F(MainWindowView, GraficoWithTheGraphOpenShowsANewGraphEveryTime)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    QAction* grafico = child<QAction>(&w, "Graphic");
    for (int i = 0; i < 3; ++i) {
        grafico->trigger();
        deleteClosed();
        auto* graph = dynamic_cast<GraphWindow*>(w.window(WindowId::Graph));
        ASSERT_NE(graph, nullptr) << "use " << i + 1;
        EXPECT_TRUE(graph->isVisible());
        EXPECT_TRUE(w.isOpen(WindowId::Graph));
    }
}

// Before, the old table stayed drawn behind the velocity prompt (its rows were already gone
// from the model), and the prompt's buttons said "OK" and "Cancel".
TEST_F(MainWindowView, TheVelocityPromptStandsOverAnEmptyTableWithItalianButtons)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    auto* grid = child<QTableWidget>(&w, "Grid1");
    QTest::mouseClick(child<QPushButton>(&w, "Command1"), Qt::LeftButton);
    ASSERT_EQ(grid->rowCount(), 13);
    typeInto(&w, "Text12", "50");
    std::vector<int> rowsShown;
    std::vector<QStringList> buttons;
    whileDialogsAnswered(
        [&](QDialog& dialog) {
            rowsShown.push_back(grid->rowCount());
            buttons.push_back(buttonTexts(dialog));
        },
        [&] { QTest::mouseClick(child<QPushButton>(&w, "Command1"), Qt::LeftButton); });
    ASSERT_EQ(rowsShown.size(), 2u) << "the prompt, then the message that nothing was computed";
    EXPECT_EQ(rowsShown[0], 0);
    EXPECT_TRUE(buttons[0].contains("Annulla")) << buttons[0].join(',').toStdString();
    EXPECT_FALSE(buttons[0].contains("Cancel"));
}

// What Qt draws for a menu or button caption: "&&" is one "&", a lone "&" marks an access key.
QString shownCaption(QString text)
{
    return text.replace("&&", QString(QChar(1))).remove('&').replace(QChar(1), '&');
}

// Before, ".300 H&H MAGNUM" showed as ".300 HH MAGNUM" with an unintended access key on H,
// and so did every catalogue caption, submenu and bullet button with an "&".
TEST_F(MainWindowView, CatalogueCaptionsShowEveryCharacterThroughTheMenus)
{
    Form4Window w;
    int checked = 0;
    const auto& menus = catalogueMenus();
    for (QAction* top : w.menuBar()->actions()) {
        const auto menu = std::find_if(menus.begin(), menus.end(), [&](const CatalogueMenu& m) {
            return top->menu() && top->menu()->objectName().toStdString() == m.objectName;
        });
        if (menu == menus.end())
            continue;
        EXPECT_EQ(shownCaption(top->text()).toStdString(), menu->title);
        for (const CartridgeFamily& family : menu->families) {
            QMenu* sub = top->menu();
            if (!family.caption.empty()) {
                sub = top->menu()->findChild<QMenu*>(QString::fromUtf8(family.caption.data(),
                                                                        family.caption.size()));
                ASSERT_NE(sub, nullptr);
                EXPECT_EQ(shownCaption(sub->title()).toStdString(), family.caption);
            }
            for (const CartridgePreset& preset : family.presets) {
                QAction* item = sub->findChild<QAction*>(QString::fromUtf8(preset.itemName.data(),
                                                                           preset.itemName.size()));
                ASSERT_NE(item, nullptr) << preset.itemName;
                EXPECT_EQ(shownCaption(item->text()).toStdString(), preset.caption);
                EXPECT_TRUE(QKeySequence::mnemonic(item->text()).isEmpty()) << preset.caption;
                ++checked;
            }
        }
    }
    EXPECT_GE(checked, 122);
    child<QAction>(&w, "tre16")->trigger();
    EXPECT_EQ(child<QAction>(&w, "tre16")->text(), ".300 H&&H MAGNUM 100-150 grains");
}

// Before, hiding Image1 (imperial and terminal modes) slid the other icons left: a click where
// "STAMPA" was hit nothing, and one where "CONVERSIONI" was started a print.
TEST_F(MainWindowView, PictureButtonsKeepTheirPlacesWhenOneIsHidden)
{
    Form4Window w;
    w.show();
    std::vector<QRect> metric;
    for (int i : {2, 3, 4, 5, 6, 9})
        metric.push_back(child<QToolButton>(&w, qPrintable(QString("Image%1").arg(i)))->geometry());
    typeWorkedExample(w);
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(2);
    QCoreApplication::processEvents();
    child<QRadioButton>(&w, "Option17")->click(); // INGLESI
    QCoreApplication::processEvents();
    EXPECT_FALSE(child<QToolButton>(&w, "Image1")->isVisible());
    std::size_t k = 0;
    for (int i : {2, 3, 4, 5, 6, 9})
        EXPECT_EQ(child<QToolButton>(&w, qPrintable(QString("Image%1").arg(i)))->geometry(), metric[k++])
            << "Image" << i;
}

// Before, the hint ("INFO", "ESCI") stayed while the pointer crossed the empty part of the
// toolbar row, which is background like the rest of the window.
TEST_F(MainWindowView, TheEmptyToolbarStripHidesTheHint)
{
    Form4Window w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* hint = child<QLabel>(&w, "Label1");
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(child<QToolButton>(&w, "Image4"), &enter);
    ASSERT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), "INFO");
    QWidget* strip = child<QWidget>(&w, "Toolbar");
    const QPoint empty(strip->width() - 20, strip->height() / 2);
    ASSERT_EQ(strip->childAt(empty), nullptr);
    QMouseEvent move(QEvent::MouseMove, empty, strip->mapToGlobal(empty), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &move);
    EXPECT_FALSE(hint->isVisible());
}

// Before, the picture buttons had no name for a screen reader, and the description field none.
TEST_F(MainWindowView, PictureButtonsAndFieldsHaveAccessibleNames)
{
    Form4Window w;
    const std::pair<const char*, const char*> images[] = {
        {"Image1", "GRAFICO"}, {"Image2", "C.B."},        {"Image3", "LEGGIMI"}, {"Image4", "INFO"},
        {"Image5", "ESCI"},    {"Image6", "CONVERSIONI"}, {"Image9", "STAMPA"}};
    for (const auto& [name, hint] : images) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(child<QWidget>(&w, name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(QAccessible::Name).toStdString(), hint) << name;
    }
    for (const char* field : {"Text12", "Text11", "Text3", "Text5", "Text4", "Text9", "Text8",
                              "Text7", "Text6", "Text10"}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(child<QWidget>(&w, field));
        ASSERT_NE(a, nullptr);
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << field;
    }
}

// Before, the keyboard started on the toolbar, about ten Tabs from the velocity field.
TEST_F(MainWindowView, TheKeyboardStartsInTheVelocityAndReachesTheToolbarLast)
{
    Form4Window w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Text12");
    QStringList chain;
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QString name = QApplication::focusWidget()->objectName();
        if (name == "Text12")
            break;
        chain << name;
    }
    const auto firstImage = chain.indexOf(QRegularExpression("Image.*"));
    ASSERT_GE(firstImage, 0) << chain.join(' ').toStdString();
    EXPECT_GT(firstImage, chain.indexOf("Command1"));
    EXPECT_GT(firstImage, chain.indexOf("Text10"));
    // After the picture buttons only the tabs' bar, which leads back into the fields.
    if (chain.last() == "qt_tabwidget_tabbar")
        chain.removeLast();
    EXPECT_EQ(chain.size() - firstImage, 7) << chain.join(' ').toStdString();
    for (auto i = firstImage; i < chain.size(); ++i)
        EXPECT_TRUE(chain[i].startsWith("Image")) << chain.join(' ').toStdString();
}

// Before, only one bullet button was ever in the tab chain and the arrow keys did nothing:
// bullets 2 to 10 needed a mouse.
TEST_F(MainWindowView, TheArrowKeysWalkAndChooseTheBullets)
{
    Form4Window w;
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    child<QAction>(&w, "tre11")->trigger(); // the focus goes to Option1, which chooses bullet 1
    QTest::keyClick(&w, Qt::Key_T, Qt::AltModifier); // the tab "TIPO DI PALLA"
    EXPECT_EQ(w.findChild<QTabWidget*>("SSTab1")->currentIndex(), 1);
    auto* first = child<QRadioButton>(&w, "Option1");
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option2");
    EXPECT_EQ(w.model().checkedBullet(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option3");
    EXPECT_EQ(w.model().checkedBullet(), 3);
    EXPECT_TRUE(child<QRadioButton>(&w, "Option3")->isChecked());
    EXPECT_EQ(text(w, "Text12"), " " + shortNumber(w.model().slot(3).velocity).substr(1));
    // Tab leaves the group; Shift+Tab comes back to the chosen bullet.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(QApplication::focusWidget()->objectName().startsWith("Option"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option3");
    // CALCOLA has its access key too.
    QTest::keyClick(&w, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(w.findChild<QTabWidget*>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(QKeySequence::mnemonic(child<QPushButton>(&w, "Command1")->text()),
              QKeySequence(Qt::ALT | Qt::Key_C));
}

// Before, "HollowPoint " and "FMJ Full Metal Jacket" stayed checked after a bullet selection
// had put the bullet's own shape factors back in use. None is checked while no factor is set.
TEST_F(MainWindowView, ShapeButtonsShowTheFactorsInUse)
{
    Form4Window w;
    w.show();
    child<QAction>(&w, "RS38")->trigger();
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    child<QRadioButton>(&w, "Option3")->click();
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(2);
    QCoreApplication::processEvents();
    auto checked = [&] {
        QStringList names;
        for (int option = 18; option <= 25; ++option)
            if (child<QRadioButton>(&w, qPrintable(QString("Option%1").arg(option)))->isChecked())
                names << QString("Option%1").arg(option);
        return names.join(' ').toStdString();
    };
    // The load's own factors, 0.9 and 0.01: RoundNose and Molto Espansive.
    EXPECT_EQ(checked(), "Option22 Option25");
    child<QRadioButton>(&w, "Option18")->click(); // HollowPoint
    child<QRadioButton>(&w, "Option23")->click(); // FMJ
    EXPECT_EQ(checked(), "Option18 Option23");
    child<QRadioButton>(&w, "Option19")->click(); // WadCutter instead
    EXPECT_EQ(checked(), "Option19 Option23");
    w.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
    QCoreApplication::processEvents();
    child<QRadioButton>(&w, "Option4")->click(); // another bullet: its own factors again
    EXPECT_EQ(checked(), "Option22 Option25");
}

// Before, a very short step cut the curve at 499 points, short of 1000 m, without a word.
TEST_F(MainWindowView, TheGraphSaysWhenItsCurveIsCut)
{
    Form4Window w;
    w.show();
    typeWorkedExample(w);
    QTest::mouseClick(child<QToolButton>(&w, "Image1"), Qt::LeftButton);
    QWidget* graph = w.window(WindowId::Graph);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(child<QLabel>(graph, "Avviso")->text(), "") << "a step of 25 m reaches 1000 m";
    typeInto(&w, "Text4", "1");
    QTest::mouseClick(child<QToolButton>(&w, "Image1"), Qt::LeftButton);
    graph = w.window(WindowId::Graph);
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(child<QLabel>(graph, "Avviso")->text().toStdString(), kGraphTruncatedNotice);
    EXPECT_TRUE(child<QLabel>(graph, "Avviso")->isVisible());
}

} // namespace
} // namespace siacci

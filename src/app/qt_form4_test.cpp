// The main window with the program's other windows, and the keyboard: driven as a user would.
#include "app/form4_window.hpp"

#include "files/file_test_support.hpp"
#include "graph/graph_window.hpp"

#include <QAction>
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

} // namespace
} // namespace siacci

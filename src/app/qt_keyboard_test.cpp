// Every window by keyboard and screen reader: Tab alone reaches every control and never gets
// stuck, every control has a name of its own, and the range card and ARMERIA fit a 1024 x 768
// screen with every column of the card in view.
#include "app/qt_form4_window.hpp"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <gtest/gtest.h>

#include <set>

namespace siacci {
namespace {

const std::pair<WindowId, const char*> kWindows[] = {
    {WindowId::Main, "principale"}, {WindowId::Card, "cartellino"}, {WindowId::Armoury, "armeria"},
    {WindowId::Graph, "grafico"},   {WindowId::Cb, "C.B."},         {WindowId::Calc, "calcolatrice"},
    {WindowId::GetFile, "apri"},    {WindowId::SaveFile, "salva"},  {WindowId::Help, "guida"},
    {WindowId::Tiro, "il tiro"},
};

QString describe(const QWidget* w)
{
    return QString::fromLatin1(w->metaObject()->className()) + " '" + w->objectName() + "'";
}

// A radio button that Tab skips: another of its group is the checked one.
bool skippedRadio(const QWidget* w)
{
    const auto* radio = qobject_cast<const QRadioButton*>(w);
    if (!radio || radio->isChecked() || !radio->autoExclusive())
        return false;
    for (const auto* sibling : radio->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
        if (sibling != radio && sibling->isChecked() && sibling->autoExclusive())
            return true;
    return false;
}

// The controls Tab must reach: shown, enabled, taking Tab focus.
std::vector<QWidget*> tabStops(QWidget& window)
{
    std::vector<QWidget*> stops;
    for (QWidget* w : window.findChildren<QWidget*>())
        if (w->window() == &window && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
            !w->focusProxy() && !skippedRadio(w) && !qobject_cast<QScrollBar*>(w))
            stops.push_back(w);
    return stops;
}

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override
    {
        main = std::make_unique<Form4Window>();
        main->findChild<QAction*>("tre16")->trigger(); // a catalogue cartridge, bullets shown
        main->show();
    }

    QWidget* open(WindowId id)
    {
        if (id == WindowId::Main)
            return main.get();
        main->show(id);
        QWidget* w = main->window(id);
        if (w) {
            w->show();
            QApplication::setActiveWindow(w);
            EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        }
        return w;
    }

    std::unique_ptr<Form4Window> main;
};

// From the first control, Tab alone: each press moves on (a trap keeps the focus where it
// is, or takes it out of the window), and in at most two rounds every control had it.
TEST_F(Keyboard, TabAloneReachesEveryControlOfEveryWindowAndLeavesEach)
{
    std::vector<std::string> faults;
    for (const auto& [id, name] : kWindows) {
        QWidget* window = open(id);
        ASSERT_NE(window, nullptr) << name;
        if (id == WindowId::Main) {
            QApplication::setActiveWindow(window);
            ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        }
        const std::vector<QWidget*> stops = tabStops(*window);
        // The calculator's keys answer the typed keys and take no focus: nothing to walk.
        if (stops.empty()) {
            window->close();
            continue;
        }
        stops.front()->setFocus(Qt::TabFocusReason);
        std::set<QWidget*> reached{QApplication::focusWidget()};
        // In the help text Tab walks the links first, then leaves.
        int stays = 0;
        for (std::size_t moves = 0, presses = 0; moves < 2 * stops.size() + 2 && presses < 2000; ++presses) {
            QWidget* before = QApplication::focusWidget();
            QTest::keyClick(before, Qt::Key_Tab);
            QWidget* after = QApplication::focusWidget();
            if (!after || after->window() != window) {
                faults.push_back(std::string(name) + ": Tab leaves the window from " + describe(before).toStdString());
                break;
            }
            if (after == before && stops.size() > 1) {
                if (!qobject_cast<QTextBrowser*>(after) || ++stays > 500) {
                    faults.push_back(std::string(name) + ": Tab stays on " + describe(before).toStdString());
                    break;
                }
                continue;
            }
            stays = 0;
            ++moves;
            reached.insert(after);
        }
        for (QWidget* w : stops)
            if (!reached.count(w) && !(w->focusProxy() && reached.count(w->focusProxy())))
                faults.push_back(std::string(name) + ": Tab never reaches " + describe(w).toStdString());
        if (id != WindowId::Main)
            window->close();
    }
    std::string all;
    for (const auto& f : faults)
        all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
}

// What a screen reader says for each control: never nothing, never the same for two.
TEST_F(Keyboard, EveryControlHasANameOfItsOwn)
{
    std::vector<std::string> faults;
    for (const auto& [id, name] : kWindows) {
        QWidget* window = open(id);
        ASSERT_NE(window, nullptr) << name;
        std::map<QString, QString> seen;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                                 qobject_cast<QAbstractButton*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                                 qobject_cast<QAbstractItemView*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
                                 qobject_cast<QTextEdit*>(w) ||
                                 (w->focusPolicy() & Qt::TabFocus && !qobject_cast<QScrollBar*>(w));
            if (!control || w->window() != window || !w->isVisible() || w->focusProxy())
                continue;
            // The buttons inside a combo box's list, a scroll area's corner and the like are the
            // parts of another control.
            if (w->parentWidget() && qobject_cast<QAbstractItemView*>(w->parentWidget()->parentWidget()))
                continue;
            if (qobject_cast<QHeaderView*>(w))
                continue; // a part of its table
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QString said = a ? a->text(QAccessible::Name).trimmed() : QString();
            // Qt on Linux gives a combo box its value as the name and its label as a relation:
            // the reader says the label, then the value.
            if (auto* combo = qobject_cast<QComboBox*>(w)) {
                said = combo->accessibleName();
                if (said.isEmpty() && a)
                    for (const auto& [other, relation] : a->relations(QAccessible::Label))
                        said = other->text(QAccessible::Name).trimmed();
            }
            if (said.isEmpty()) {
                faults.push_back(std::string(name) + ": no name for " + describe(w).toStdString());
                continue;
            }
            const auto [it, fresh] = seen.emplace(said, describe(w));
            if (!fresh)
                faults.push_back(std::string(name) + ": \"" + said.toStdString() + "\" names both " +
                                 it->second.toStdString() + " and " + describe(w).toStdString());
        }
        if (id != WindowId::Main)
            window->close();
    }
    std::string all;
    for (const auto& f : faults)
        all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
}

// On a 1024 x 768 screen (the window's room under the title bar and a panel): every control
// inside the window, no horizontal scrolling, every column of the card in view.
TEST_F(Keyboard, TheCardAndTheArmouryFitA1024By768Screen)
{
    std::vector<std::string> faults;
    for (WindowId id : {WindowId::Card, WindowId::Armoury}) {
        QWidget* window = open(id);
        ASSERT_NE(window, nullptr);
        window->resize(1024, 700);
        QApplication::processEvents();
        EXPECT_LE(window->minimumSizeHint().width(), 1024) << (id == WindowId::Card ? "card" : "armoury");
        EXPECT_LE(window->minimumSizeHint().height(), 700) << (id == WindowId::Card ? "card" : "armoury");
        const QRect inside = window->rect();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->window() != window)
                continue;
            bool scrolled = false;
            for (QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
                if (qobject_cast<QAbstractScrollArea*>(p))
                    scrolled = true;
            if (auto* area = qobject_cast<QAbstractScrollArea*>(w))
                if (area->horizontalScrollBar()->isVisible() && !qobject_cast<QTableWidget*>(w) &&
                    !qobject_cast<QAbstractItemView*>(w))
                    faults.push_back("horizontal scrolling in " + describe(w).toStdString());
            if (scrolled)
                continue;
            const QRect at(w->mapTo(window, QPoint(0, 0)), w->size());
            if (!inside.contains(at))
                faults.push_back("outside the window: " + describe(w).toStdString());
        }
        if (auto* grid = window->findChild<QTableWidget*>("griglia")) {
            EXPECT_GE(grid->columnCount(), 10);
            for (int c = 0; c < grid->columnCount(); ++c) {
                const int right = grid->horizontalHeader()->sectionViewportPosition(c) +
                                  grid->horizontalHeader()->sectionSize(c);
                if (grid->horizontalHeader()->sectionViewportPosition(c) < 0 || right > grid->viewport()->width())
                    faults.push_back("card column out of view: " +
                                     grid->horizontalHeaderItem(c)->text().simplified().toStdString());
            }
            EXPECT_GE(grid->viewport()->height() / grid->rowHeight(0), 10) << "rows in view";
        }
        window->close();
    }
    std::string all;
    for (const auto& f : faults)
        all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;
}

} // namespace
} // namespace siacci

#include "calc/qt_calc_window.hpp"
#include "common/qt_windows.hpp"

#include "common/fakes.hpp"
#include "common/twips.hpp"

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace siacci {
namespace {

class CalcWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        windows.add<CalcWindow>(WindowId::Calc, [this] { return new CalcWindow(dialogs); });
        open();
        ASSERT_TRUE(window);
    }
    // As the program opens it.
    CalcWindow* open() { return window = static_cast<CalcWindow*>(windows.show(WindowId::Calc)); }
    void TearDown() override { delete window.data(); }

    QPushButton* key(const char* name) const
    {
        auto* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
        EXPECT_NE(button, nullptr) << name;
        return button;
    }
    void click(std::initializer_list<const char*> names) const
    {
        for (const char* name : names)
            if (auto* button = key(name))
                QTest::mouseClick(button, Qt::LeftButton);
    }
    QString text(const char* labelName) const
    {
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(labelName));
        EXPECT_NE(label, nullptr) << labelName;
        return label ? label->text() : QString();
    }
    // The expected pixel rectangle of a control placed in twips.
    QRect pixels(int left, int top, int width, int height) const
    {
        const double x = window->logicalDpiX();
        const double y = window->logicalDpiY();
        const int l = twipsToPixels(left, x);
        const int t = twipsToPixels(top, y);
        return {l, t, twipsToPixels(left + width, x) - l, twipsToPixels(top + height, y) - t};
    }

    testing::FakeDialogs dialogs;
    WindowRegistry windows;
    QPointer<CalcWindow> window;
};

TEST_F(CalcWindowTest, OpensTitledWithTheClientAreaAndControlsInPlace)
{
    EXPECT_EQ(window->objectName(), "Calc");
    EXPECT_EQ(window->windowTitle(), "Calcolatrice&Conversioni");
    EXPECT_EQ(window->size(), pixels(0, 0, 3060, 6510).size());
    EXPECT_EQ(text("Readout"), "");

    struct Place {
        const char* name;
        QRect twips;
    };
    const Place places[] = {
        {"Readout", {0, 120, 3015, 375}},      {"number_0", {0, 600, 495, 375}},
        {"number_1", {1200, 600, 495, 375}},   {"number_2", {600, 600, 495, 375}},
        {"number_8", {1200, 1560, 495, 375}},  {"number_9", {0, 2040, 1215, 375}},
        {"decimal", {2520, 1560, 495, 375}},   {"operator_0", {1920, 1080, 495, 375}},
        {"operator_1", {2520, 600, 495, 375}}, {"operator_2", {1920, 600, 495, 375}},
        {"operator_3", {2520, 1080, 495, 375}}, {"operator_4", {1920, 1560, 495, 375}},
        {"Cancel", {1320, 2040, 495, 375}},    {"Command1", {1920, 2040, 1095, 375}},
        {"Label1", {0, 2520, 1455, 255}},      {"Label2", {1560, 2520, 1455, 255}},
        {"Label3", {0, 2880, 1455, 255}},      {"Label4", {1560, 2880, 1455, 255}},
        {"dea_0", {0, 3240, 1455, 375}},       {"dea_1", {1560, 3240, 1455, 375}},
        {"dea_12", {0, 6120, 1455, 375}},      {"dea_13", {1560, 6120, 1455, 375}},
    };
    for (const auto& p : places) {
        auto* widget = window->findChild<QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(widget, nullptr) << p.name;
        EXPECT_EQ(widget->geometry(),
                  pixels(p.twips.x(), p.twips.y(), p.twips.width(), p.twips.height()))
            << p.name;
    }
    EXPECT_EQ(key("number_0")->text(), "7");
    EXPECT_EQ(key("number_9")->text(), "0");
    EXPECT_EQ(key("operator_2")->text(), "X");
    EXPECT_EQ(key("dea_11")->text(), "Kgram./F.Pounds");
    EXPECT_EQ(key("dea_7")->property("index").toInt(), 7);
}

TEST_F(CalcWindowTest, DisplayAndValueLabelsAreYellowAndTheDisplayBold)
{
    for (const char* name : {"Readout", "Label3", "Label4"}) {
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->autoFillBackground()) << name;
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(255, 255, 128)) << name;
    }
    const QFont font = window->findChild<QLabel*>("Readout")->font();
    EXPECT_TRUE(font.bold());
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 9.75);
}

TEST_F(CalcWindowTest, EveryCaptionAndUnitNameFitsItsControl)
{
    for (auto* button : window->findChildren<QPushButton*>()) {
        const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()), button->width() - margin)
            << button->objectName().toStdString();
    }
    for (int i = 0; i < kConversionKeys; ++i) {
        click({"Cancel", "number_6", "number_1", "number_1", "number_1", "number_1", "decimal",
               "number_0", "number_0"}); // 19999.77
        QTest::mouseClick(key(("dea_" + std::to_string(i)).c_str()), Qt::LeftButton);
        for (const char* name : {"Label1", "Label2", "Label3", "Label4"}) {
            auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                      label->contentsRect().width() - label->indent())
                << name << " " << label->text().toStdString();
        }
    }
}

// Long numbers are shown whole in the display and the value boxes (smaller where need be),
// large and small ones with their exponent.
TEST_F(CalcWindowTest, LongNumbersAreShownWhole)
{
    const auto fits = [this](const char* name) {
        auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
        const int need = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_LE(need, label->contentsRect().width() - 2 * label->indent())
            << name << " " << label->text().toStdString();
    };
    QTest::keyClicks(window, "99999999*99999999*99999999=");
    EXPECT_EQ(text("Readout"), "9.9999997E+23");
    click({"dea_9"}); // grams to grains
    EXPECT_EQ(text("Label3"), "9.9999997E+23");
    EXPECT_EQ(text("Label4"), " 1.54299995371E+25");
    fits("Label3");
    fits("Label4");
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClicks(window, "1/100000000000000=");
    click({"dea_0"});
    EXPECT_EQ(text("Label3"), "1E-14");
    EXPECT_EQ(text("Label4"), " 2.54E-14");
    // The longest number typed, and the longest written.
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClicks(window, "1234567890123456789012");
    EXPECT_EQ(text("Readout"), "12345678901234567890");
    fits("Readout");
    QTest::keyClicks(window, "=");
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClicks(window, "0-1.23456789012345/");
    for (int i = 0; i < 15; ++i)
        QTest::keyClicks(window, "10000000000000000000/");
    QTest::keyClicks(window, "1000000000000000=");
    EXPECT_EQ(text("Readout").size(), 22) << text("Readout").toStdString(); // -1.23456789012345E-300
    EXPECT_TRUE(text("Readout").endsWith("E-300"));
    fits("Readout");
    click({"dea_3"});
    EXPECT_EQ(text("Label3"), text("Readout"));
    fits("Label3");
    fits("Label4");
    // A short number takes the display's own font again.
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::keyClicks(window, "5");
    EXPECT_DOUBLE_EQ(window->findChild<QLabel*>("Readout")->font().pointSizeF(), 9.75);
}

TEST_F(CalcWindowTest, ClickedKeysComputeAndConvert)
{
    click({"number_0", "operator_0", "number_4", "operator_4"}); // 7 + 5 =
    EXPECT_EQ(text("Readout"), "12");
    click({"operator_2", "number_7", "operator_4"}); // X 2 =
    EXPECT_EQ(text("Readout"), "24");

    click({"number_6", "number_9", "dea_0"}); // 10 inches
    EXPECT_EQ(text("Readout"), "10");
    EXPECT_EQ(text("Label3"), "10");
    EXPECT_EQ(text("Label4"), " 25.4");
    EXPECT_EQ(text("Label1"), "INCHES");
    EXPECT_EQ(text("Label2"), "CENTIMETRI");

    click({"Cancel"});
    EXPECT_EQ(text("Readout"), "0.");
    EXPECT_EQ(text("Label1") + text("Label2") + text("Label3") + text("Label4"), "");
    click({"decimal", "number_4", "decimal", "number_7"});
    EXPECT_EQ(text("Readout"), "0.52");
}

TEST_F(CalcWindowTest, TypedKeysWorkLikeTheButtons)
{
    QTest::keyClicks(window, "7+5");
    QTest::keyClick(window, Qt::Key_Return);
    EXPECT_EQ(text("Readout"), "12");
    QTest::keyClicks(window, "*2");
    QTest::keyClick(window, Qt::Key_Enter);
    EXPECT_EQ(text("Readout"), "24");
    QTest::keyClicks(window, "-0,5=");
    EXPECT_EQ(text("Readout"), "23.5");
    QTest::keyClicks(window, "/0");
    QTest::keyClick(window, Qt::Key_Return);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Can't divide by zero");
    EXPECT_EQ(text("Readout"), "23.5");
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_EQ(text("Readout"), "0.");
    QTest::keyClicks(window, "ab "); // keys of no calculator key change nothing
    EXPECT_EQ(text("Readout"), "0.");
}

TEST_F(CalcWindowTest, EsciClosesAndTheNextOpeningStartsAfresh)
{
    QTest::keyClicks(window, "42+");
    CalcWindow* first = window;
    EXPECT_EQ(open(), first); // one window while it is open
    click({"Command1"});
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    open();
    ASSERT_TRUE(window);
    EXPECT_EQ(text("Readout"), "");
    EXPECT_EQ(window->model().operandCount(), 0);
}

} // namespace
} // namespace siacci

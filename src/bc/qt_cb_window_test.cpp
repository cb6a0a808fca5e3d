#include "bc/qt_cb_window.hpp"

#include "common/fakes.hpp"
#include "common/qt_windows.hpp"
#include "common/twips.hpp"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace siacci {
namespace {

using testing::FakeDialogs;

struct CbView : ::testing::Test {
    ShotInput shot;
    FakeDialogs dialogs;
    WindowRegistry windows;
    QPointer<CbWindow> window;

    // As the program opens it.
    void open()
    {
        windows.add<CbWindow>(WindowId::Cb, [this] { return new CbWindow(shot, dialogs); });
        window = static_cast<CbWindow*>(windows.show(WindowId::Cb));
    }

    void SetUp() override
    {
        open();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override { delete window; }

    template <class W> W* child(const char* name)
    {
        auto* w = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void type(const char* field, const char* text)
    {
        auto* edit = child<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }
    void calcola() { QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton); }
    QString result() { return child<QLabel>("Label2")->text(); }
};

TEST_F(CbView, TypedReadingsGiveTheCoefficientAndTheShotsVelocity)
{
    EXPECT_EQ(window->objectName(), "CB");
    EXPECT_EQ(window->windowTitle(), "Calcola il Coefficiente Balistico");
    type("Text1", "800");
    type("Text2", "594");
    type("Text3", "300");
    calcola();
    EXPECT_EQ(result(), "0.4");
    EXPECT_EQ(shot.velocity, 800);
    EXPECT_TRUE(dialogs.messages.empty());

    // A refused press shows its message, keeps the result and still stores the velocity.
    type("Text1", "99");
    calcola();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(result(), "0.4");
    EXPECT_EQ(shot.velocity, 99);
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), "99");
}

TEST_F(CbView, EsciDiscardsTheWindowAndTheNextOpeningIsEmpty)
{
    type("Text1", "800,5");
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    open();
    EXPECT_EQ(child<QLineEdit>("Text1")->text(), "");
    EXPECT_EQ(result(), "");
    EXPECT_FALSE(window->isModal());
}

TEST_F(CbView, ControlsStandAtTheirPlacesWithNoCaptionClipped)
{
    const double dpiX = window->logicalDpiX();
    const double dpiY = window->logicalDpiY();
    EXPECT_EQ(window->height(), twipsToPixels(2760, dpiY));
    // The value column moves right by the widening for the captions, if any; the result box
    // may widen the window a little more.
    const int widened = child<QLineEdit>("Text1")->x() - twipsToPixels(3840, dpiX);
    EXPECT_GE(widened, 0);
    EXPECT_GE(window->width(), twipsToPixels(4605, dpiX) + widened);

    // The value column, moved right by the widening if any.
    EXPECT_EQ(child<QLineEdit>("Text1")->geometry(),
              QRect(twipsToPixels(3840, dpiX) + widened, twipsToPixels(120, dpiY),
                    twipsToPixels(615, dpiX), twipsToPixels(285, dpiY)));
    EXPECT_EQ(child<QPushButton>("Command1")->geometry(),
              QRect(twipsToPixels(120, dpiX), twipsToPixels(1560, dpiY),
                    twipsToPixels(2175, dpiX), twipsToPixels(495, dpiY)));
    EXPECT_EQ(child<QLabel>("Label2")->y(), twipsToPixels(2280, dpiY));

    for (const char* name : {"Label3", "Label4", "Label5", "Label1"}) {
        const auto* label = child<QLabel>(name);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()),
                  label->contentsRect().width())
            << name;
        EXPECT_LE(label->fontMetrics().height(), label->height()) << name;
        EXPECT_GE(label->x(), twipsToPixels(120, dpiX)) << name;
    }
    for (const char* name : {"Command1", "Command2"}) {
        const auto* button = child<QPushButton>(name);
        EXPECT_LT(button->fontMetrics().horizontalAdvance(button->text()), button->width());
    }
    // Captions never run into the fields beside them.
    EXPECT_LE(child<QLabel>("Label5")->geometry().right(), child<QLineEdit>("Text3")->x());
    EXPECT_LE(child<QLabel>("Label1")->geometry().right(), child<QLabel>("Label2")->x());

    const auto* label2 = child<QLabel>("Label2");
    EXPECT_TRUE(label2->autoFillBackground());
    EXPECT_EQ(label2->palette().color(QPalette::Window), QColor(192, 255, 192));
    EXPECT_TRUE(label2->font().bold());
    EXPECT_DOUBLE_EQ(label2->font().pointSizeF(), 14.25);
    EXPECT_DOUBLE_EQ(child<QLabel>("Label3")->font().pointSizeF(), 8.25);
}

// A coefficient past 10 is shown whole, with the separator the main window hands over.
TEST_F(CbView, LargeCoefficientsShowWholeWithTheTablesSeparator)
{
    delete window;
    windows.add<CbWindow>(WindowId::Cb, [this] { return new CbWindow(shot, dialogs, ','); });
    window = static_cast<CbWindow*>(windows.show(WindowId::Cb));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    type("Text1", "800");
    type("Text2", "800");
    type("Text3", "10");
    calcola();
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(result(), "10,432");
    const auto* label2 = child<QLabel>("Label2");
    EXPECT_LE(label2->fontMetrics().horizontalAdvance(label2->text()), label2->contentsRect().width());
    EXPECT_LE(label2->geometry().right(), window->width());
}

} // namespace
} // namespace siacci

// Every caption of every window fits its control at the window's default size. Run at 96 and at
// 144 dots per inch (QT_FONT_DPI) with DejaVu Sans, the font the bootstrap installs: text widths
// depend on both.
#include "app/qt_form4_window.hpp"

#include "common/fakes.hpp"
#include "common/qt_windows.hpp"
#include "files/file_test_support.hpp"
#include "files/qt_file_window.hpp"
#include "bc/qt_cb_window.hpp"
#include "calc/qt_calc_window.hpp"
#include "card/card_layout.hpp"
#include "card/qt_card_window.hpp"
#include "card/qt_card_plot.hpp"
#include "card/qt_card_print.hpp"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QChart>
#include <QFontDatabase>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace siacci {
namespace {

QString shown(QString text)
{
    return text.replace("&&", QString(QChar(1))).remove('&').replace(QChar(1), '&');
}

int widest(const QFontMetrics& metrics, const QString& text)
{
    int w = 0;
    for (const QString& line : text.split('\n'))
        w = std::max(w, metrics.horizontalAdvance(line));
    return w;
}

// The room a control gives its text, in pixels, and the text's width; nullopt for controls
// that show no single-line caption.
std::optional<std::pair<int, int>> needAndRoom(const QWidget& w)
{
    const QStyle* style = w.style();
    if (const auto* label = qobject_cast<const QLabel*>(&w)) {
        if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return std::nullopt;
        const int indent = std::max(label->indent(), 0);
        const QString text = label->buddy() ? shown(label->text()) : label->text();
        return std::pair{widest(label->fontMetrics(), text),
                         label->contentsRect().width() - 2 * label->margin() - indent};
    }
    if (const auto* radio = qobject_cast<const QRadioButton*>(&w)) {
        const int indicator = style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, radio) +
                              style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, radio);
        return std::pair{widest(radio->fontMetrics(), shown(radio->text())), radio->width() - indicator};
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(&w)) {
        const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) +
                              style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check);
        return std::pair{widest(check->fontMetrics(), shown(check->text())), check->width() - indicator};
    }
    if (const auto* push = qobject_cast<const QPushButton*>(&w)) {
        if (push->text().isEmpty())
            return std::nullopt;
        const int frame = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push) +
                          2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push);
        return std::pair{widest(push->fontMetrics(), shown(push->text())), push->width() - frame};
    }
    return std::nullopt;
}

// The controls of a window whose text is wider than their room, as "name: need > room".
std::vector<std::string> clipped(QWidget& window, const char* state)
{
    window.show();
    QCoreApplication::processEvents();
    std::vector<std::string> found;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window))
            continue;
        const auto fit = needAndRoom(*w);
        if (fit && fit->first > fit->second)
            found.push_back(std::string(state) + " " + w->objectName().toStdString() + " \"" +
                            w->property("text").toString().toStdString() + "\": " +
                            std::to_string(fit->first) + " > " + std::to_string(fit->second));
    }
    return found;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += l + "\n";
    return s;
}

class Captions : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFontDatabase::hasFamily("DejaVu Sans")) << "scripts/bootstrap installs it";
        m_font = QApplication::font();
        QApplication::setFont(QFont("DejaVu Sans", 9));
    }
    void TearDown() override { QApplication::setFont(m_font); }

    void type(QWidget& w, const char* name, const char* text)
    {
        auto* edit = w.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << name;
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    QFont m_font;
};

TEST_F(Captions, TheMainWindowAndTheGraphShowEveryCaptionWhole)
{
    Form4Window w;
    std::vector<std::string> found = clipped(w, "empty");
    for (const auto& [name, text] : {std::pair{"Text12", "800"}, {"Text11", "0.4"}, {"Text7", "150"},
                                     {"Text6", "4"}, {"Text5", "220"}, {"Text3", "300"},
                                     {"Text4", "25"}, {"Text9", "15"}, {"Text8", "0"}})
        type(w, name, text);
    QTest::mouseClick(w.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    auto* tabs = w.findChild<QTabWidget*>("SSTab1");
    for (int tab = 0; tab < 3; ++tab) {
        tabs->setCurrentIndex(tab);
        for (const auto& line : clipped(w, "metric"))
            found.push_back(line);
    }
    QTest::mouseClick(w.findChild<QToolButton*>("Image1"), Qt::LeftButton);
    QWidget* graph = w.window(WindowId::Graph);
    ASSERT_NE(graph, nullptr);
    for (const auto& line : clipped(*graph, "graph"))
        found.push_back(line);
    // The line that says the curve was cut.
    tabs->setCurrentIndex(0);
    type(w, "Text4", "1");
    QTest::mouseClick(w.findChild<QToolButton*>("Image1"), Qt::LeftButton);
    graph = w.window(WindowId::Graph);
    ASSERT_NE(graph, nullptr);
    for (const auto& line : clipped(*graph, "graph cut"))
        found.push_back(line);
    w.close(WindowId::Graph);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The longest captions of the catalogue on the bullet buttons, and the terminal options.
    for (const char* item : {"tre16", "RS38"}) {
        w.findChild<QAction*>(item)->trigger();
        for (int tab = 0; tab < 3; ++tab) {
            tabs->setCurrentIndex(tab);
            for (const auto& line : clipped(w, item))
                found.push_back(line);
        }
    }
    EXPECT_TRUE(found.empty()) << joined(found);
}

// The range card, from the main window after a catalogue preset, and ARMERIA, both
// opened through the main window, at the size they open with on a desktop screen.
TEST_F(Captions, TheRangeCardAndTheArmouryShowEveryCaptionWhole)
{
    Form4Window w;
    w.findChild<QAction*>("tre16")->trigger();
    std::vector<std::string> found;
    for (WindowId id : {WindowId::Card, WindowId::Armoury}) {
        w.show(id);
        QWidget* window = w.window(id);
        ASSERT_NE(window, nullptr);
        window->resize(1500, 940);
        for (const auto& line : clipped(*window, id == WindowId::Card ? "card" : "armoury"))
            found.push_back(line);
    }
    EXPECT_TRUE(found.empty()) << joined(found);
}

// The texts of the card's plot (the axes' labels and titles, the legend) that Qt Charts shortened
// ("4..." for "400") or that run out of the plot.
std::vector<std::string> cutPlotTexts(card::CardPlot& plot, const char* state)
{
    plot.grab(); // lays the chart out at its size
    std::vector<std::string> found;
    const QRectF scene = plot.chart()->rect();
    for (QGraphicsItem* item : plot.chart()->scene()->items()) {
        QString text;
        if (auto* rich = dynamic_cast<QGraphicsTextItem*>(item))
            text = rich->toPlainText();
        else if (auto* simple = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            text = simple->text();
        if (text.isEmpty() || !item->isVisible())
            continue;
        const QRectF box = item->sceneBoundingRect();
        if (text.contains(QStringLiteral("...")) || text.contains(QChar(0x2026)) ||
            !scene.adjusted(-1, -1, 1, 1).contains(box))
            found.push_back(std::string(state) + " plot \"" + text.toStdString() + "\"");
    }
    return found;
}

// The pocket card as printed: every text within its card (measured in the printed font), and
// none shortened.
std::vector<std::string> cutPocketTexts(const card::CardSheet& sheet, const QImage& device)
{
    std::vector<std::string> found;
    const card::PocketLayout layout = card::pocketLayout(sheet);
    if (layout.card.pages.empty())
        return {"no pocket card"};
    const card::PageDrawing& page = layout.card.pages[0];
    const double x0 = (layout.card.pageWidth_mm - 2 * card::kPocketWidth_mm) / 2;
    const double y0 = (layout.card.pageHeight_mm - 5 * card::kPocketHeight_mm) / 2;
    const QRectF first(x0, y0, card::kPocketWidth_mm, card::kPocketHeight_mm);
    bool title = false;
    for (const card::DrawText& t : page.texts) {
        if (!first.contains(QPointF(t.x_mm, t.y_mm)))
            continue;
        const QRectF box = card::paintedTextRect_mm(t, device);
        title = title || t.text.find(sheet.setup.description) != std::string::npos;
        if (t.text.find("\xe2\x80\xa6") != std::string::npos || !first.contains(box))
            found.push_back("pocket card \"" + t.text + "\": " + std::to_string(box.left()) + " .. " +
                            std::to_string(box.right()) + " mm in " + std::to_string(first.left()) + " .. " +
                            std::to_string(first.right()));
    }
    if (!title)
        found.push_back("pocket card: no title \"" + sheet.setup.description + "\"");
    return found;
}

// The card of the main window's catalogue load: the title of its pocket card and the labels of
// its plot, at the size the card opens with and at 1024 x 768, for 300 and for 800 m.
TEST_F(Captions, ThePocketCardsTitleAndThePlotsAxesShowWhole)
{
    Form4Window w;
    w.findChild<QAction*>("tre16")->trigger();
    w.show(WindowId::Card);
    auto* window = dynamic_cast<card::CardWindow*>(w.window(WindowId::Card));
    ASSERT_NE(window, nullptr);
    auto* plot = window->findChild<card::CardPlot*>("Grafico");
    ASSERT_NE(plot, nullptr);
    // The printed font measured as on a screen of this test's resolution.
    QImage device(8, 8, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(window->logicalDpiX() / 0.0254));
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    std::vector<std::string> found;
    for (const char* distance : {"300", "800"}) {
        window->model().fieldChanged(card::CardField::MaxDistance, distance);
        window->model().fieldChanged(card::CardField::Increment, "50");
        ASSERT_TRUE(window->model().sheet().ok()) << window->model().sheet().refusal;
        window->refresh();
        for (const QSize size : {QSize(1500, 940), QSize(1024, 768)}) {
            window->resize(size);
            window->show();
            QCoreApplication::processEvents();
            for (const auto& line : cutPlotTexts(*plot, distance))
                found.push_back(line + " at " + std::to_string(size.width()) + " plot " + std::to_string(plot->width()) + "x" + std::to_string(plot->height()) + " area " + std::to_string(int(plot->chart()->plotArea().width())) + "x" + std::to_string(int(plot->chart()->plotArea().height())));
        }
        for (const auto& line : cutPocketTexts(window->model().sheet(), device))
            found.push_back(line);
    }
    EXPECT_TRUE(found.empty()) << joined(found);
}

TEST_F(Captions, TheOtherWindowsShowEveryCaptionWhole)
{
    testing::FakeDialogs dialogs;
    ShotInput shot;
    testing::TempDir dir;
    FileSession session;
    std::filesystem::create_directories(dir.path / "Tiro");
    session.rememberFile((dir.path / "Tiro").string(), "prova");
    testing::FakeShotFileHost host;
    WindowRegistry windows;
    windows.add<CbWindow>(WindowId::Cb, [&] { return new CbWindow(shot, dialogs); });
    windows.add<CalcWindow>(WindowId::Calc, [&] { return new CalcWindow(dialogs); });
    windows.add<GetFileWindow>(WindowId::GetFile, [&] { return new GetFileWindow(session, host, dialogs); });
    windows.add<SaveFileWindow>(WindowId::SaveFile, [&] { return new SaveFileWindow(session, host, dialogs); });
    std::vector<std::string> found;
    for (WindowId id : {WindowId::Cb, WindowId::Calc, WindowId::GetFile, WindowId::SaveFile})
        for (const auto& line : clipped(*windows.show(id), "window"))
            found.push_back(line);
    // A result of three decimals in the coefficient window.
    QWidget& cb = *windows.window(WindowId::Cb);
    type(cb, "Text1", "800");
    type(cb, "Text2", "590");
    type(cb, "Text3", "300");
    QTest::mouseClick(cb.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    for (const auto& line : clipped(cb, "cb result"))
        found.push_back(line);
    EXPECT_TRUE(found.empty()) << joined(found);
}

} // namespace
} // namespace siacci

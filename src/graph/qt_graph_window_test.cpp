#include "graph/qt_graph_window.hpp"

#include "ballistics/worked_example.hpp"
#include "common/qt_windows.hpp"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace siacci {
namespace {

// The main window as the graph window sees it: a site angle recomputes the points.
class RecordingHost : public GraphHost {
public:
    explicit RecordingHost(GraphState& state) : m_state(state) {}
    std::vector<SiteAngle> chosen;
    void graphSiteAngleChosen(const SiteAngle& angle) override
    {
        chosen.push_back(angle);
        ShotInput in = workedExample();
        in.siteAngle = angle;
        europagraphic(in, m_state);
        LoadGraphPoints(m_state);
    }

private:
    GraphState& m_state;
};

class GraphWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        europagraphic(workedExample(), state);
        LoadGraphPoints(state);
        state.Label2 = graphTitle("Palla 150 grains", 220, 800);
        windows.add<GraphWindow>(WindowId::Graph, [this] { return new GraphWindow(state, host); });
        window = static_cast<GraphWindow*>(windows.show(WindowId::Graph));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    }
    void TearDown() override { delete window.data(); }

    template <class T>
    T* child(const char* name) { return window->findChild<T*>(name); }

    void clickScale(const char* name)
    {
        QLabel* label = child<QLabel>(name);
        ASSERT_NE(label, nullptr) << name;
        QTest::mouseClick(label, Qt::LeftButton);
    }

    int circles() const
    {
        int n = 0;
        for (const auto& item : window->model().picture().items)
            n += std::holds_alternative<PaintedCircle>(item);
        return n;
    }

    GraphState state;
    RecordingHost host{state};
    WindowRegistry windows;
    QPointer<GraphWindow> window;
};

TEST_F(GraphWindowTest, OpensBlankWithItsControls)
{
    EXPECT_EQ(window->windowTitle(), "Grafico della traiettoria");
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(window->model().drawing().empty());
    EXPECT_EQ(child<QLabel>("Label2")->text(),
              QString::fromUtf8("Palla 150 grains   Taratura Arma metri: 220   Velocità Iniziale "
                                "metri: 800"));
    EXPECT_EQ(child<QLabel>("Label1")->text(), "Angolo di Sito gradi");
    const char* options[] = {"Option1", "Option2", "Option3", "Option4", "Option5"};
    const char* captions[] = {"0", "15", "30", "45", "60"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(child<QRadioButton>(options[i])->text(), captions[i]);
    EXPECT_EQ(child<QGroupBox>("Frame2")->title(), "Scala Metri");
    EXPECT_EQ(child<QGroupBox>("Frame1")->title(), "Dati");
    EXPECT_EQ(child<QLabel>("Label11")->text(), "1.000");
    EXPECT_EQ(child<QLabel>("Label6")->palette().color(QPalette::Window), QColor(255, 224, 192));
    EXPECT_EQ(child<QLabel>("Label9")->text(), "Cm.:");
    EXPECT_EQ(child<QLabel>("Label10")->text(), "Metri:");
    EXPECT_EQ(child<QLabel>("Label7")->text(), "");
}

TEST_F(GraphWindowTest, ScaleButtonDrawsAndSetsTheProgramWideScale)
{
    clickScale("Label6");
    EXPECT_EQ(state.graphScale, GraphScale::Metres200);
    ASSERT_TRUE(window->model().frame());
    EXPECT_EQ(*window->model().frame(), (UserFrame{-90, 200, 2200, -650}));
    EXPECT_EQ(circles(), 2 * 42);

    clickScale("Label11");
    EXPECT_EQ(state.graphScale, GraphScale::Metres1000);
    EXPECT_EQ(window->model().frame()->width, 12000);

    // The picture is painted from the commands: the trajectory's red rings reach the pixels.
    const QImage image = window->grab().toImage();
    bool red = false;
    for (int y = 0; y < image.height() && !red; ++y)
        for (int x = 0; x < image.width() && !red; ++x)
            red = image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 80;
    EXPECT_TRUE(red);
}

TEST_F(GraphWindowTest, PointerReadoutFollowsTheMouseInUserUnits)
{
    clickScale("Label6");
    const UserPoint at = toDevice(*window->model().frame(), {1234.5, -37.2}, window->width(),
                                  window->height());
    QTest::mouseMove(window, QPoint(static_cast<int>(std::lround(at.x)),
                                    static_cast<int>(std::lround(at.y))));
    QApplication::processEvents();
    // One pixel is about 3 units across and 1.3 down at this scale.
    EXPECT_EQ(child<QLabel>("Label7")->text(), "123");
    const double cm = child<QLabel>("Label8")->text().toDouble();
    EXPECT_NEAR(cm, -3.8, 0.2);
}

TEST_F(GraphWindowTest, ReadoutBeforeAnyDrawingUsesTwips)
{
    QTest::mouseMove(window, QPoint(200, 300));
    QApplication::processEvents();
    const double twipsPerPixel = 1440.0 / window->logicalDpiX();
    EXPECT_EQ(child<QLabel>("Label7")->text().toInt(),
              static_cast<int>(std::floor(200 * twipsPerPixel / 10)));
}

TEST_F(GraphWindowTest, SiteAngleRecomputesThroughTheHostAndRedraws)
{
    // With no scale chosen the points change but nothing is drawn.
    QTest::mouseClick(child<QRadioButton>("Option4"), Qt::LeftButton);
    ASSERT_EQ(host.chosen.size(), 1u);
    EXPECT_EQ(host.chosen[0], (SiteAngle{45, 250}));
    EXPECT_TRUE(window->model().drawing().empty());

    clickScale("Label12");
    const Picture at45 = window->model().picture();
    QTest::mouseClick(child<QRadioButton>("Option1"), Qt::LeftButton);
    ASSERT_EQ(host.chosen.size(), 2u);
    EXPECT_EQ(host.chosen[1], (SiteAngle{0, 0}));
    EXPECT_TRUE(child<QRadioButton>("Option1")->isChecked());
    EXPECT_EQ(state.graphScale, GraphScale::Metres500);
    // Redrawn at 500 m with the level trajectory: its rings sit lower than at 45 degrees.
    const auto ringAt = [](const Picture& p, size_t k) {
        size_t seen = 0;
        for (const auto& item : p.items)
            if (const auto* c = std::get_if<PaintedCircle>(&item); c && seen++ == k)
                return c->centre;
        return UserPoint{};
    };
    const Picture level = window->model().picture();
    EXPECT_EQ(ringAt(level, 20).x, ringAt(at45, 20).x);
    EXPECT_LT(ringAt(level, 20).y, ringAt(at45, 20).y);
}

TEST_F(GraphWindowTest, SavesTheDrawingAsPng)
{
    clickScale("Label13");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("traiettoria.png");
    ASSERT_TRUE(window->saveImage(path));
    const QImage saved(path);
    EXPECT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), window->grab().size());
    EXPECT_FALSE(window->saveImage(dir.filePath("manca/traiettoria.png")));
}

TEST_F(GraphWindowTest, ClosingDiscardsTheWindowButKeepsTheScale)
{
    clickScale("Label13");
    window->close();
    QTest::qWait(1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(state.graphScale, GraphScale::Metres350);
}

} // namespace
} // namespace siacci

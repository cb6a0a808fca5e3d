// `make screenshots`: the graph window of the worked example (800 m/s, BC 0.4, 150 grains, sight
// 4 cm, zero 220 m, step 25 m) blank before a scale is picked, then at each of the four scales.
#include "graph/qt_graph_window.hpp"

#include "common/qt_screenshots.hpp"
#include "ballistics/worked_example.hpp"

#include <QApplication>
#include <QMouseEvent>

namespace siacci::screenshots {
namespace {

// Stands in for the main window: a site angle recomputes the worked example with it.
class ExampleHost : public GraphHost {
public:
    explicit ExampleHost(GraphState& state) : m_state(state) {}
    static ShotInput example()
    {
        ShotInput in = workedExample();
        in.description = "Palla spitzer 150 grains";
        return in;
    }
    void graphSiteAngleChosen(const SiteAngle& angle) override
    {
        ShotInput in = example();
        in.siteAngle = angle;
        europagraphic(in, m_state);
        LoadGraphPoints(m_state);
    }

private:
    GraphState& m_state;
};

} // namespace

void graph(const QString& dir)
{
    GraphState state;
    ExampleHost host(state);
    host.graphSiteAngleChosen(kSiteAngles[0]);
    const ShotInput in = ExampleHost::example();
    state.Label2 = graphTitle(in.description, in.zeroDistance, in.velocity);

    auto* window = new GraphWindow(state, host);
    save(*window, dir, "graph_blank");
    const std::pair<GraphScale, const char*> scales[] = {{GraphScale::Metres200, "graph_200"},
                                                         {GraphScale::Metres350, "graph_350"},
                                                         {GraphScale::Metres500, "graph_500"},
                                                         {GraphScale::Metres1000, "graph_1000"}};
    for (const auto& [scale, name] : scales) {
        window->chooseScale(scale);
        // The pointer over the trajectory at about 150 m, for the readout.
        const UserFrame frame = *window->model().frame();
        const UserPoint at = toDevice(frame, {1500, 0}, window->width(), window->height());
        QMouseEvent move(QEvent::MouseMove, QPointF(at.x, at.y), window->mapToGlobal(QPointF(at.x, at.y)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window, &move);
        save(*window, dir, name);
    }
    delete window;
}

} // namespace siacci::screenshots

// The graph's side of the main window: the graph button, the menu command and the refresh that
// the graph window's site-angle options ask for.
#include "app/form4.hpp"

namespace siacci {

void Form4::graphButton()
{
    m_graph.Label2 = graphTitle(m_shot.description, m_shot.zeroDistance, m_shot.velocity);
    processo();
}

void Form4::graphSiteAngleChosen(const SiteAngle& angle)
{
    m_shot.siteAngle = angle;
    processo();
    notifyChanged();
}

void Form4::processo()
{
    // The graph always reaches 1000 m; the walk does that by itself, so the user's maximum
    // distance is left as it was (it used to come back as 300).
    m_graph.truncated = false;
    if (inputsComputable() && (m_mode != TableMode::Metric || ita()))
        m_graph.truncated = europagraphic(m_shot, m_graph) == GraphOutcome::Truncated;
    m_printMode = false;
    LoadGraphPoints(m_graph);
    m_windows.show(WindowId::Graph);
}

void Form4::graphicMenu()
{
    closeGraph(); // it is discarded and later created blank
    if (m_mode != TableMode::Metric)
        return; // the command is disabled outside the metric mode
    m_graph.truncated = false;
    if (inputsComputable() && ita())
        m_graph.truncated = europagraphic(m_shot, m_graph) == GraphOutcome::Truncated;
    m_printMode = false;
    LoadGraphPoints(m_graph);
    m_windows.show(WindowId::Graph);
}

} // namespace siacci

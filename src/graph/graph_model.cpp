#include "graph/graph_model.hpp"

namespace siacci {

GraphWindowModel::GraphWindowModel(GraphState& state, GraphHost& host)
    : m_state(state), m_host(host)
{
}

void GraphWindowModel::scaleClicked(GraphScale scale)
{
    if (scale == GraphScale::Unset)
        return;
    m_state.graphScale = scale;
    redraw(scale);
}

void GraphWindowModel::siteAngleClicked(int option)
{
    if (option < 0 || option >= 5)
        return;
    m_siteOption = option;
    m_host.graphSiteAngleChosen(kSiteAngles[option]);
    if (m_state.graphScale != GraphScale::Unset)
        redraw(m_state.graphScale);
}

void GraphWindowModel::pointerMoved(UserPoint user)
{
    const PointerReadout readout = pointerReadout(user.x, user.y, m_host.decimalSeparator());
    m_metres = readout.metres;
    m_centimetres = readout.centimetres;
}

void GraphWindowModel::redraw(GraphScale scale)
{
    m_drawing = drawingFor(scale, m_state.GraphPoints, m_state.N);
    m_picture = resolve(m_drawing);
}

} // namespace siacci

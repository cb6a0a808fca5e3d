#include "graph/graph_model.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

class CountingHost : public GraphHost {
public:
    std::vector<SiteAngle> chosen;
    GraphState* state = nullptr;
    void graphSiteAngleChosen(const SiteAngle& angle) override
    {
        chosen.push_back(angle);
        // The main window recomputes: here, one more point at 100 m.
        state->Text1 = "%0%100";
        state->Text2 = "%-40% 12";
        LoadGraphPoints(*state);
    }
};

TEST(GraphWindowModel, SiteAngleWithoutScaleRecomputesButDrawsNothing)
{
    GraphState state;
    CountingHost host;
    host.state = &state;
    GraphWindowModel model(state, host);
    model.siteAngleClicked(2);
    ASSERT_EQ(host.chosen.size(), 1u);
    EXPECT_EQ(host.chosen[0], (SiteAngle{30, 65}));
    EXPECT_EQ(state.N, 3);
    EXPECT_TRUE(model.drawing().empty());
    EXPECT_FALSE(model.frame());
    EXPECT_EQ(model.siteOption(), 2);

    model.siteAngleClicked(5); // no such option
    model.siteAngleClicked(-1);
    EXPECT_EQ(host.chosen.size(), 1u);
}

TEST(GraphWindowModel, SiteAngleRedrawsAtTheKeptScaleWithTheNewPoints)
{
    GraphState state;
    state.graphScale = GraphScale::Metres350; // chosen in an earlier opening of the window
    CountingHost host;
    host.state = &state;
    GraphWindowModel model(state, host);
    EXPECT_TRUE(model.drawing().empty()); // opening draws nothing
    model.siteAngleClicked(0);
    ASSERT_TRUE(model.frame());
    EXPECT_EQ(model.frame()->width, 4300);
    int circles = 0;
    for (const auto& item : model.picture().items)
        circles += std::holds_alternative<PaintedCircle>(item);
    EXPECT_EQ(circles, 6);
}

TEST(GraphWindowModel, ScaleClickKeepsTheScaleAndTheReadoutFollowsThePointer)
{
    GraphState state;
    CountingHost host;
    GraphWindowModel model(state, host);
    model.scaleClicked(GraphScale::Metres200);
    EXPECT_EQ(state.graphScale, GraphScale::Metres200);
    model.scaleClicked(GraphScale::Unset);
    EXPECT_EQ(state.graphScale, GraphScale::Metres200);
    model.pointerMoved({1234.5, -37.2});
    EXPECT_EQ(model.metresText(), "123");
    EXPECT_EQ(model.centimetresText(), "-3.8");
    EXPECT_TRUE(host.chosen.empty());
}

} // namespace
} // namespace siacci

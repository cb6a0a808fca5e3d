#include "graph/graph_points.hpp"

#include "ballistics/worked_example.hpp"
#include "common/number_text.hpp"

#include <gtest/gtest.h>

#include <limits>

#include <chrono>
#include <cmath>

namespace siacci {
namespace {

// The worked example with its points every step_m metres.
ShotInput workedExample(double step_m)
{
    ShotInput in = siacci::workedExample();
    in.increment = step_m;
    return in;
}

// The items of a "%a%b%c" list, without the empty text before the leading "%".
std::vector<std::string> itemsOf(const std::string& list)
{
    std::vector<std::string> out;
    std::size_t p = 0;
    while ((p = list.find('%', p)) != std::string::npos) {
        const std::size_t q = list.find('%', p + 1);
        out.push_back(list.substr(p + 1, (q == std::string::npos ? list.size() : q) - p - 1));
        p = p + 1;
    }
    return out;
}

TEST(Europagraphic, Step25ReachesExactly1000Metres)
{
    GraphState state;
    ASSERT_EQ(europagraphic(workedExample(25), state), GraphOutcome::Computed);
    const auto distances = itemsOf(state.Text1);
    const auto heights = itemsOf(state.Text2);
    ASSERT_EQ(distances.size(), 41u);
    ASSERT_EQ(heights.size(), 41u);
    EXPECT_EQ(distances.front(), "0");
    EXPECT_EQ(distances[1], "25");
    EXPECT_EQ(distances.back(), "1000");
    EXPECT_EQ(heights.front(), "-40"); // the muzzle: minus the sight height, in mm
    EXPECT_EQ(state.Text1.substr(0, 7), "%0%25%5");

    LoadGraphPoints(state);
    EXPECT_EQ(state.N, 42);
    EXPECT_EQ(state.GraphPoints[1], (GraphPoint{0, 0}));
    EXPECT_EQ(state.GraphPoints[2], (GraphPoint{0, -400}));
    EXPECT_EQ(state.GraphPoints[3].distance_dm, 250);
    EXPECT_EQ(state.GraphPoints[42].distance_dm, 10000);
}

TEST(Europagraphic, WorkedExampleHeightsByHundredMetres)
{
    GraphState state;
    ASSERT_EQ(europagraphic(workedExample(100), state), GraphOutcome::Computed);
    const auto distances = itemsOf(state.Text1);
    const auto heights = itemsOf(state.Text2);
    ASSERT_EQ(distances.size(), 11u);
    EXPECT_EQ(distances[3], "300");
    EXPECT_EQ(heights[3], "-243"); // path height -24.28 cm, rounded up to -24.3
    // Heights above the line of sight carry the leading blank of the short number form.
    EXPECT_EQ(heights[1].front(), ' ');
    EXPECT_EQ(heights[2].front(), ' ');
}

TEST(Europagraphic, LastPointIsTheFirstAtOrBeyond99951Metres)
{
    struct Row { double step; size_t items; const char* last; };
    const Row rows[] = {{30, 35, "1020"}, {25, 41, "1000"}, {100, 11, "1000"}, {333, 5, "1332"},
                        {2000, 2, "2000"}};
    for (const auto& r : rows) {
        GraphState state;
        europagraphic(workedExample(r.step), state);
        const auto distances = itemsOf(state.Text1);
        ASSERT_EQ(distances.size(), r.items) << r.step;
        EXPECT_EQ(distances.back(), r.last) << r.step;
    }
}

TEST(Europagraphic, PointAtTheZeroDistanceSitsOnTheLineOfSightPlusTheSiteCorrection)
{
    for (int option = 0; option < 5; ++option) {
        ShotInput in = workedExample(20);
        in.siteAngle = kSiteAngles[option];
        GraphState state;
        europagraphic(in, state);
        const auto distances = itemsOf(state.Text1);
        const auto heights = itemsOf(state.Text2);
        ASSERT_EQ(distances[11], "220");
        const double level = plainReading(heights[11]) / 10; // cm
        if (option == 0)
            EXPECT_NEAR(level, 0, 0.1);
        else
            EXPECT_GT(level, 0) << option; // an inclined shot strikes higher
    }
}

TEST(Europagraphic, UserMaximumDistanceHasNoEffect)
{
    ShotInput shortRange = workedExample(50);
    ShotInput longRange = workedExample(50);
    shortRange.maxDistance = 100;
    longRange.maxDistance = 5000;
    GraphState a, b;
    europagraphic(shortRange, a);
    europagraphic(longRange, b);
    EXPECT_EQ(a.Text1, b.Text1);
    EXPECT_EQ(a.Text2, b.Text2);
    EXPECT_EQ(shortRange.maxDistance, 100); // the caller's maximum is untouched
}

// A step under about 2 m needs more points than GraphPoints holds; the program used to write
// past the end of the table. Now the first 499 points are kept.
TEST(Europagraphic, ShortStepsKeepTheFirst499Points)
{
    GraphState state;
    EXPECT_EQ(europagraphic(workedExample(1), state), GraphOutcome::Truncated);
    const auto distances = itemsOf(state.Text1);
    ASSERT_EQ(distances.size(), 499u);
    EXPECT_EQ(distances.back(), "498");
    EXPECT_EQ(itemsOf(state.Text2).size(), 499u);
    LoadGraphPoints(state);
    EXPECT_EQ(state.N, kGraphPointsLast);
    EXPECT_EQ(state.GraphPoints[500].distance_dm, 4980);

    // Even an absurdly short step finishes at once instead of walking 10^12 points.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(europagraphic(workedExample(1e-9), state), GraphOutcome::Truncated);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Europagraphic, RefusedInputsLeaveBothListsEmpty)
{
    struct Row { const char* what; double velocity, bc, step, temperature; GraphOutcome outcome; };
    const Row rows[] = {
        {"velocity 0", 0, 0.4, 25, 15, GraphOutcome::InvalidInput},
        {"bc 0", 800, 0, 25, 15, GraphOutcome::InvalidInput},
        {"step 0", 800, 0.4, 0, 15, GraphOutcome::InvalidInput},
        // A negative step never reached 1000 m: the walk went on for ever.
        {"negative step", 800, 0.4, -25, 15, GraphOutcome::InvalidInput},
        {"negative bc", 800, -0.4, 25, 15, GraphOutcome::Refused},
        {"below absolute zero", 800, 0.4, 25, -300, GraphOutcome::Refused},
        {"91 m/s", 91, 0.4, 25, 15, GraphOutcome::NoBand},
        {"1372 m/s", 1372, 0.4, 25, 15, GraphOutcome::NoBand},
    };
    for (const auto& r : rows) {
        ShotInput in = workedExample(r.step);
        in.velocity = r.velocity;
        in.bc = r.bc;
        in.temperature = r.temperature;
        GraphState state;
        state.Text1 = "%0%25";
        state.Text2 = "%-40% 10";
        EXPECT_EQ(europagraphic(in, state), r.outcome) << r.what;
        EXPECT_EQ(state.Text1, "") << r.what;
        EXPECT_EQ(state.Text2, "") << r.what;
    }
}

TEST(LoadGraphPoints, EmptyListsGiveTheOriginAlone)
{
    GraphState state;
    state.N = 7;
    state.GraphPoints[1] = {5, 5};
    LoadGraphPoints(state);
    EXPECT_EQ(state.N, 1);
    EXPECT_EQ(state.GraphPoints[1], (GraphPoint{0, 0}));
}

TEST(LoadGraphPoints, ReadsItemsByPositionWithThePlainReading)
{
    GraphState state;
    state.Text1 = "%0%12.5%%1 000";
    state.Text2 = "%-40% 3.5%x% 7";
    LoadGraphPoints(state);
    ASSERT_EQ(state.N, 5);
    EXPECT_EQ(state.GraphPoints[2], (GraphPoint{0, -400}));
    EXPECT_EQ(state.GraphPoints[3], (GraphPoint{125, 35}));
    EXPECT_EQ(state.GraphPoints[4], (GraphPoint{0, 0}));      // empty and unreadable items
    EXPECT_EQ(state.GraphPoints[5], (GraphPoint{10000, 70}));
}

// A height list with fewer items than the distance list made the reader take a substring of
// negative length, which stopped the program. Missing heights now read 0.
TEST(LoadGraphPoints, ShortHeightListReadsZeroForTheMissingItems)
{
    GraphState state;
    state.Text1 = "%0%25%50";
    state.Text2 = "%-40";
    LoadGraphPoints(state);
    ASSERT_EQ(state.N, 4);
    EXPECT_EQ(state.GraphPoints[2], (GraphPoint{0, -400}));
    EXPECT_EQ(state.GraphPoints[3], (GraphPoint{250, 0}));
    EXPECT_EQ(state.GraphPoints[4], (GraphPoint{500, 0}));
}

TEST(LoadGraphPoints, LongListsStopAtTheEndOfTheTable)
{
    GraphState state;
    for (int i = 0; i < 2000; ++i) {
        state.Text1 += "%" + std::to_string(i);
        state.Text2 += "% 1e400"; // beyond a double: the largest, then the largest float
    }
    LoadGraphPoints(state);
    EXPECT_EQ(state.N, kGraphPointsLast);
    EXPECT_EQ(state.GraphPoints[500].distance_dm, 4980);
    EXPECT_EQ(state.GraphPoints[500].height_tenthMm, std::numeric_limits<float>::max());
    EXPECT_EQ(state.GraphPoints[0], (GraphPoint{})); // index 0 is never written

    state.Text1 = "%" + std::string(400, '9'); // no double holds it: never infinity
    LoadGraphPoints(state);
    EXPECT_EQ(state.GraphPoints[2].distance_dm, std::numeric_limits<float>::max());
    state.Text1 = "%1" + std::string(45, '0'); // beyond a float: the largest float
    LoadGraphPoints(state);
    EXPECT_TRUE(std::isfinite(state.GraphPoints[2].distance_dm));
}

TEST(GraphTitle, DescriptionZeroAndVelocityInTheShortNumberForm)
{
    EXPECT_EQ(graphTitle("22 LONG RIFLE HIGHT 40 grains", 70, 400),
              "22 LONG RIFLE HIGHT 40 grains   Taratura Arma metri: 70   Velocità Iniziale "
              "metri: 400");
    EXPECT_EQ(graphTitle("", -5, 0.5), "   Taratura Arma metri:-5   Velocità Iniziale metri: 0.5");
}

} // namespace
} // namespace siacci

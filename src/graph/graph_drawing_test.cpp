#include "graph/graph_drawing.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci {
namespace {

template <class T>
std::vector<T> itemsOf(const Picture& picture)
{
    std::vector<T> out;
    for (const auto& item : picture.items)
        if (const auto* p = std::get_if<T>(&item))
            out.push_back(*p);
    return out;
}

std::vector<std::string> textsOf(const Picture& picture)
{
    std::vector<std::string> out;
    for (const auto& t : itemsOf<PaintedText>(picture))
        out.push_back(t.text);
    return out;
}

// Three points: the origin, the muzzle (0, -40 mm) and a point at 100 m, 12 mm high.
GraphPointTable threePoints()
{
    GraphPointTable table{};
    table[2] = {0, -400};
    table[3] = {1000, 120};
    return table;
}

struct ScaleCase {
    GraphScale scale;
    UserFrame frame;
    double axisY, axisEndX, axisTopY;
    const char* unitCaption;
    int yTicks, xTicks;
    const char* firstYLabel;
    const char* lastYLabel;
    const char* lastXLabel;
    UserPoint firstYLabelAt, lastXLabelAt;
};

const ScaleCase kScales[] = {
    {GraphScale::Metres200, {-90, 200, 2200, -650}, -370, 2000, 180, " Metri", 27, 21, "-36",
     " 16", " 200", {-80, -350}, {1970, -390}},
    {GraphScale::Metres350, {-200, 1500, 4300, -3300}, -1500, 3850, 1300, " Metri", 28, 16,
     "-150", " 120", " 375", {-200, -1460}, {3700, -1600}},
    {GraphScale::Metres500, {-300, 1200, 5800, -2700}, -1300, 5200, 1100, " metri", 24, 21,
     "-130", " 100", " 500", {-300, -1280}, {4940, -1360}},
    {GraphScale::Metres1000, {-700, 12000, 12000, -27000}, -12000, 10500, 11000, " metri", 23,
     21, "-1200", " 1000", " 1000", {-600, -11650}, {9800, -13000}},
};

TEST(GraphDrawing, EachScaleDrawsItsAxesTicksAndLabels)
{
    for (const auto& c : kScales) {
        SCOPED_TRACE(static_cast<int>(c.scale));
        const DrawCommands commands = drawingFor(c.scale, threePoints(), 3);
        ASSERT_FALSE(commands.empty());
        EXPECT_TRUE(std::holds_alternative<draw::Clear>(commands[0]));
        const Picture picture = resolve(commands);
        ASSERT_TRUE(picture.frame.has_value());
        EXPECT_EQ(*picture.frame, c.frame);

        const auto lines = itemsOf<PaintedLine>(picture);
        ASSERT_GE(lines.size(), 2u);
        // The two axes, 4 pixels wide, solid black.
        EXPECT_EQ(lines[0].from, (UserPoint{0, c.axisY}));
        EXPECT_EQ(lines[0].to, (UserPoint{c.axisEndX, c.axisY}));
        EXPECT_EQ(lines[1].to, (UserPoint{0, c.axisTopY}));
        for (int k = 0; k < 2; ++k) {
            EXPECT_EQ(lines[k].width, 4);
            EXPECT_EQ(lines[k].style, LineStyle::Solid);
            EXPECT_EQ(lines[k].colour, kBlack);
        }

        const auto texts = itemsOf<PaintedText>(picture);
        ASSERT_EQ(texts.size(), static_cast<size_t>(2 + c.yTicks + c.xTicks));
        EXPECT_EQ(texts[0].text, c.unitCaption);
        EXPECT_EQ(texts[0].at, (UserPoint{c.axisEndX, c.axisY}));
        EXPECT_EQ(texts[1].text, "Cm.");
        EXPECT_EQ(texts[1].at, (UserPoint{0, c.axisTopY}));
        EXPECT_EQ(texts[2].text, c.firstYLabel);
        EXPECT_EQ(texts[2].at, c.firstYLabelAt);
        EXPECT_EQ(texts[1 + c.yTicks].text, c.lastYLabel);
        EXPECT_EQ(texts[2 + c.yTicks].text, " 0");
        EXPECT_EQ(texts.back().text, c.lastXLabel);
        EXPECT_EQ(texts.back().at, c.lastXLabelAt);

        // Ticks and dashes: a y tick per y label, a tick and a dash per x label, all thin.
        int thin = 0;
        for (const auto& l : lines)
            thin += l.width == 1 && l.style == LineStyle::Solid;
        EXPECT_EQ(thin, c.yTicks + 2 * c.xTicks);

        // The trajectory: two dotted dark-blue segments from the origin.
        std::vector<PaintedLine> dotted;
        for (const auto& l : lines)
            if (l.style == LineStyle::Dotted)
                dotted.push_back(l);
        ASSERT_EQ(dotted.size(), 2u);
        EXPECT_EQ(dotted[0].from, (UserPoint{0, 0}));
        EXPECT_EQ(dotted[0].to, (UserPoint{0, -40}));
        EXPECT_EQ(dotted[1].to, (UserPoint{1000, 12}));
        EXPECT_EQ(dotted[1].colour, kDarkBlue);
        EXPECT_EQ(dotted[1].width, 1);

        // Each point ringed twice: the first in black, the others in red; black again at the end.
        const auto circles = itemsOf<PaintedCircle>(picture);
        ASSERT_EQ(circles.size(), 6u);
        EXPECT_EQ(circles[0].colour, kBlack);
        EXPECT_EQ(circles[1].colour, kBlack);
        for (size_t k = 2; k < circles.size(); ++k)
            EXPECT_EQ(circles[k].colour, kRed);
        EXPECT_EQ(circles[4].centre, (UserPoint{1000, 12}));
        EXPECT_DOUBLE_EQ(circles[4].radius, 5);
        EXPECT_TRUE(std::holds_alternative<draw::Colour>(commands.back()));
        EXPECT_EQ(std::get<draw::Colour>(commands.back()).colour, kBlack);
    }
}

TEST(GraphDrawing, YLabelsAreTheHeightsInCentimetresEveryStep)
{
    const auto texts = textsOf(resolve(gr200(threePoints(), 3)));
    // After the two captions: -36, -34, ..., 16 cm, then 0, 10, ..., 200 m.
    EXPECT_EQ(texts[2], "-36");
    EXPECT_EQ(texts[3], "-34");
    EXPECT_EQ(texts[20], " 0");
    EXPECT_EQ(texts[29], " 0");
    EXPECT_EQ(texts[30], " 10");
}

TEST(GraphDrawing, OriginAloneGivesOneBlackCircleAndNoTrajectoryLine)
{
    const GraphPointTable empty{};
    const Picture picture = resolve(gr500(empty, 1));
    const auto circles = itemsOf<PaintedCircle>(picture);
    ASSERT_EQ(circles.size(), 2u); // one point, ringed twice
    EXPECT_EQ(circles[0].centre, (UserPoint{0, 0}));
    EXPECT_EQ(circles[0].colour, kBlack);
    for (const auto& l : itemsOf<PaintedLine>(picture))
        EXPECT_NE(l.style, LineStyle::Dotted);
}

TEST(GraphDrawing, PointCountIsClampedToTheTable)
{
    const GraphPointTable table{};
    EXPECT_EQ(itemsOf<PaintedCircle>(resolve(gr1000(table, 100000))).size(),
              static_cast<size_t>(2 * kGraphPointsLast));
    EXPECT_TRUE(itemsOf<PaintedCircle>(resolve(gr1000(table, -3))).empty());
    EXPECT_TRUE(drawingFor(GraphScale::Unset, table, 5).empty());
}

TEST(GraphDrawing, ClearForgetsEarlierDrawingAndCurrentPositionFollowsLines)
{
    DrawCommands commands = gr200(threePoints(), 3);
    const size_t once = resolve(commands).items.size();
    const DrawCommands again = gr350(threePoints(), 3);
    commands.insert(commands.end(), again.begin(), again.end());
    const Picture picture = resolve(commands);
    EXPECT_EQ(picture.frame, (UserFrame{-200, 1500, 4300, -3300}));
    EXPECT_NE(picture.items.size(), once);
    EXPECT_EQ(picture.items.size(), resolve(again).items.size());

    const Picture written = resolve({draw::Line{{1, 2}, {3, 4}, kRed}, draw::Text{"a"},
                                     draw::MoveTo{{5, 6}}, draw::Text{"b"}});
    const auto texts = itemsOf<PaintedText>(written);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].at, (UserPoint{3, 4}));
    EXPECT_EQ(texts[0].colour, kBlack); // a line's own colour is not the drawing colour
    EXPECT_EQ(texts[1].at, (UserPoint{5, 6}));
}

TEST(PointerReadout, WholeMetresAndCentimetresWithOneDecimal)
{
    struct Row { double x, y; const char* metres; const char* cm; };
    const Row rows[] = {
        {1234.5, -37.2, "123", "-3.8"}, // 200 m scale example
        {0, 0, "0", "0"},
        {9.99, 37.9, "0", "3.7"},
        {-0.5, -0.1, "-1", "-0.1"},     // floor goes toward minus infinity
        {10000, 10000, "1000", "1000"},
    };
    for (const auto& r : rows) {
        const PointerReadout readout = pointerReadout(r.x, r.y);
        EXPECT_EQ(readout.metres, r.metres) << r.x;
        EXPECT_EQ(readout.centimetres, r.cm) << r.y;
    }
}

TEST(UserFrameMapping, CornersOfTheClientAreaAndBack)
{
    const UserFrame frame{-90, 200, 2200, -650};
    const UserPoint topLeft = toDevice(frame, {-90, 200}, 711, 494);
    EXPECT_DOUBLE_EQ(topLeft.x, 0);
    EXPECT_DOUBLE_EQ(topLeft.y, 0);
    const UserPoint bottomRight = toDevice(frame, {2110, -450}, 711, 494);
    EXPECT_DOUBLE_EQ(bottomRight.x, 711);
    EXPECT_DOUBLE_EQ(bottomRight.y, 494);
    const UserPoint back = toUser(frame, toDevice(frame, {1234.5, -37.2}, 711, 494), 711, 494);
    EXPECT_NEAR(back.x, 1234.5, 1e-9);
    EXPECT_NEAR(back.y, -37.2, 1e-9);

    // Before any drawing: twips from the top-left corner, 15 per pixel at 96 dpi.
    const UserFrame twips = defaultFrame(711, 494, 96);
    const UserPoint p = toUser(twips, {100, 20}, 711, 494);
    EXPECT_DOUBLE_EQ(p.x, 1500);
    EXPECT_DOUBLE_EQ(p.y, 300);
    EXPECT_EQ(pointerReadout(p.x, p.y).metres, "150");
    EXPECT_EQ(pointerReadout(1500, -4343, ',').centimetres, "-434,3") << "the locale's separator";
}

TEST(ClipSegment, KeepsThePartInsideTheBox)
{
    const UserPoint a{0, 0}, b{10, 10};
    const auto inside = clipSegment({1, 1}, {2, 3}, a, b);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->first, (UserPoint{1, 1}));
    EXPECT_EQ(inside->second, (UserPoint{2, 3}));

    const auto across = clipSegment({-10, 5}, {20, 5}, b, a); // corners in any order
    ASSERT_TRUE(across);
    EXPECT_DOUBLE_EQ(across->first.x, 0);
    EXPECT_DOUBLE_EQ(across->second.x, 10);

    // A point kilometres off the picture: only the visible stretch reaches the painter.
    const auto far = clipSegment({5, 5}, {5, -1e30}, a, b);
    ASSERT_TRUE(far);
    EXPECT_DOUBLE_EQ(far->second.y, 0);

    EXPECT_FALSE(clipSegment({-5, -5}, {-1, 20}, a, b));
    EXPECT_FALSE(clipSegment({11, 0}, {11, 10}, a, b));
    EXPECT_FALSE(clipSegment({0, 0}, {NAN, 1}, a, b));
}

} // namespace
} // namespace siacci

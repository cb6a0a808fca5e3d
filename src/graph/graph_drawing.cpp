#include "graph/graph_drawing.hpp"

#include "common/number_text.hpp"

#include <algorithm>
#include <cmath>

namespace siacci {
namespace {

// Everything in which the four scales differ, in drawing units.
struct ScaleLayout {
    UserFrame frame;
    int axisY, axisEndX;       // x axis from (0, axisY) to (axisEndX, axisY)
    const char* unitCaption;
    int axisTopY;              // y axis from (0, axisY) to (0, axisTopY)
    int yFirst, yLast, yStep;  // y ticks
    int yTickFromX, yTickToX, yTickDy;       // (fromX, y + dy) to (toX, y + dy)
    int yLabelDx, yLabelDy;                  // label at (dx, y + dy)
    int xLast, xStep;                        // x ticks from 0
    int xTickFromY, xTickToY;                // (x, fromY) to (x, toY)
    int dashY;                               // line-of-sight dash (x + 50, dashY) to (x, dashY)
    int xLabelDx, xLabelY;                   // label at (x + dx, y)
};

constexpr ScaleLayout kLayout200{{-90, 200, 2200, -650}, -370, 2000, " Metri", 180,
                                 -360, 160, 20, 0, -20, 0, -80, 10,
                                 2000, 100, -390, -370, 0, -30, -390};
constexpr ScaleLayout kLayout350{{-200, 1500, 4300, -3300}, -1500, 3850, " Metri", 1300,
                                 -1500, 1200, 100, -50, 0, 0, -200, 40,
                                 3750, 250, -1600, -1500, 0, -50, -1600};
constexpr ScaleLayout kLayout500{{-300, 1200, 5800, -2700}, -1300, 5200, " metri", 1100,
                                 -1300, 1000, 100, 0, -100, -10, -300, 20,
                                 5000, 250, -1300, -1350, -10, -60, -1360};
constexpr ScaleLayout kLayout1000{{-700, 12000, 12000, -27000}, -12000, 10500, " metri", 11000,
                                  -12000, 10000, 1000, 0, -100, 0, -600, 350,
                                  10000, 500, -13000, -12100, 0, -200, -13000};

constexpr double kPointRadius = 5;

UserPoint plotted(const GraphPoint& p)
{
    return {static_cast<double>(p.distance_dm), static_cast<double>(p.height_tenthMm) / 10};
}

DrawCommands drawRoutine(const ScaleLayout& s, const GraphPointTable& points, int n)
{
    n = std::clamp(n, 0, kGraphPointsLast);
    DrawCommands out;
    auto line = [&](double x1, double y1, double x2, double y2) {
        out.push_back(draw::Line{{x1, y1}, {x2, y2}, std::nullopt});
    };
    auto label = [&](double x, double y, double value) {
        out.push_back(draw::MoveTo{{x, y}});
        out.push_back(draw::Text{shortNumber(value)});
    };

    out.push_back(draw::Clear{});
    out.push_back(draw::Scale{s.frame});

    out.push_back(draw::PenWidth{4});
    line(0, s.axisY, s.axisEndX, s.axisY);
    out.push_back(draw::Text{s.unitCaption});
    line(0, s.axisY, 0, s.axisTopY);
    out.push_back(draw::Text{"Cm."});

    out.push_back(draw::PenWidth{1});
    for (int y = s.yFirst; y <= s.yLast; y += s.yStep) {
        line(s.yTickFromX, y + s.yTickDy, s.yTickToX, y + s.yTickDy);
        label(s.yLabelDx, y + s.yLabelDy, y / 10.0);
    }
    for (int x = 0; x <= s.xLast; x += s.xStep) {
        line(x, s.xTickFromY, x, s.xTickToY);
        line(x + 50, s.dashY, x, s.dashY);
        label(x + s.xLabelDx, s.xLabelY, x / 10.0);
    }

    out.push_back(draw::Style{LineStyle::Dotted});
    for (int i = 1; i < n; ++i)
        out.push_back(draw::Line{plotted(points[i]), plotted(points[i + 1]), kDarkBlue});
    out.push_back(draw::Style{LineStyle::Solid});

    // The first ring takes the drawing colour in force (black), every later one red.
    for (int i = 1; i <= n; ++i) {
        out.push_back(draw::Circle{plotted(points[i]), kPointRadius});
        out.push_back(draw::Circle{plotted(points[i]), kPointRadius});
        out.push_back(draw::Colour{kRed});
    }
    out.push_back(draw::Colour{kBlack});
    return out;
}

} // namespace

DrawCommands gr200(const GraphPointTable& points, int n) { return drawRoutine(kLayout200, points, n); }
DrawCommands gr350(const GraphPointTable& points, int n) { return drawRoutine(kLayout350, points, n); }
DrawCommands gr500(const GraphPointTable& points, int n) { return drawRoutine(kLayout500, points, n); }
DrawCommands gr1000(const GraphPointTable& points, int n) { return drawRoutine(kLayout1000, points, n); }

DrawCommands drawingFor(GraphScale scale, const GraphPointTable& points, int n)
{
    switch (scale) {
    case GraphScale::Metres200: return gr200(points, n);
    case GraphScale::Metres350: return gr350(points, n);
    case GraphScale::Metres500: return gr500(points, n);
    case GraphScale::Metres1000: return gr1000(points, n);
    case GraphScale::Unset: break;
    }
    return {};
}

Picture resolve(const DrawCommands& commands)
{
    Picture picture;
    int width = 1;
    LineStyle style = LineStyle::Solid;
    Rgb colour = kBlack;
    UserPoint current;
    for (const auto& command : commands) {
        std::visit(
            [&](const auto& c) {
                using T = std::decay_t<decltype(c)>;
                if constexpr (std::is_same_v<T, draw::Clear>) {
                    picture.items.clear();
                } else if constexpr (std::is_same_v<T, draw::Scale>) {
                    picture.frame = c.frame;
                } else if constexpr (std::is_same_v<T, draw::PenWidth>) {
                    width = c.pixels;
                } else if constexpr (std::is_same_v<T, draw::Style>) {
                    style = c.style;
                } else if constexpr (std::is_same_v<T, draw::Colour>) {
                    colour = c.colour;
                } else if constexpr (std::is_same_v<T, draw::Line>) {
                    picture.items.push_back(
                        PaintedLine{c.from, c.to, width, style, c.colour.value_or(colour)});
                    current = c.to;
                } else if constexpr (std::is_same_v<T, draw::Circle>) {
                    picture.items.push_back(PaintedCircle{c.centre, c.radius, width, colour});
                } else if constexpr (std::is_same_v<T, draw::MoveTo>) {
                    current = c.at;
                } else if constexpr (std::is_same_v<T, draw::Text>) {
                    // Every text of the routines follows a line or a move, so the line feed
                    // that writing makes is never seen and is not modelled.
                    picture.items.push_back(PaintedText{current, c.text, colour});
                }
            },
            command);
    }
    return picture;
}

UserFrame defaultFrame(double widthPx, double heightPx, double dpi)
{
    const double twipsPerPixel = dpi > 0 ? 1440.0 / dpi : 15.0;
    return {0, 0, widthPx * twipsPerPixel, heightPx * twipsPerPixel};
}

UserPoint toDevice(const UserFrame& frame, UserPoint user, double widthPx, double heightPx)
{
    return {(user.x - frame.left) * widthPx / frame.width,
            (user.y - frame.top) * heightPx / frame.height};
}

UserPoint toUser(const UserFrame& frame, UserPoint device, double widthPx, double heightPx)
{
    if (widthPx <= 0 || heightPx <= 0)
        return {frame.left, frame.top};
    return {frame.left + device.x * frame.width / widthPx,
            frame.top + device.y * frame.height / heightPx};
}

std::optional<std::pair<UserPoint, UserPoint>> clipSegment(UserPoint from, UserPoint to,
                                                           UserPoint corner1, UserPoint corner2)
{
    const double xMin = std::min(corner1.x, corner2.x), xMax = std::max(corner1.x, corner2.x);
    const double yMin = std::min(corner1.y, corner2.y), yMax = std::max(corner1.y, corner2.y);
    if (!std::isfinite(from.x) || !std::isfinite(from.y) || !std::isfinite(to.x) ||
        !std::isfinite(to.y))
        return std::nullopt;
    // Liang-Barsky: the parameter interval [t0, t1] of from + t (to - from) inside the box.
    const double dx = to.x - from.x, dy = to.y - from.y;
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {from.x - xMin, xMax - from.x, from.y - yMin, yMax - from.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return std::nullopt;
    }
    return std::pair{UserPoint{from.x + t0 * dx, from.y + t0 * dy},
                     UserPoint{from.x + t1 * dx, from.y + t1 * dy}};
}

PointerReadout pointerReadout(double x, double y, char decimalSeparator)
{
    return {cellText(std::floor(x / 10), decimalSeparator), cellText(std::floor(y) / 10, decimalSeparator)};
}

} // namespace siacci

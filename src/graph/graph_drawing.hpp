#pragma once

#include "graph/graph_points.hpp"

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// The drawing of the graph window as a list of immediate drawing commands, built here and
// replayed by the window on every paint. Drawing units, at every scale: x in decimetres of
// distance, y in millimetres of height relative to the line of sight, up positive.
namespace siacci {

struct UserPoint {
    double x = 0, y = 0;
    friend bool operator==(const UserPoint&, const UserPoint&) = default;
};

struct Rgb {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kDarkBlue{0, 0, 128}; // the trajectory's dotted line

enum class LineStyle { Solid, Dotted };

// The user coordinate system: the client area spans left .. left + width across and
// top .. top + height down; a negative height makes y grow upwards.
struct UserFrame {
    double left = 0, top = 0, width = 1, height = 1;
    friend bool operator==(const UserFrame&, const UserFrame&) = default;
};

namespace draw {
struct Clear {};                       // wipes the client area
struct Scale { UserFrame frame; };     // sets the user coordinate system
struct PenWidth { int pixels = 1; };
struct Style { LineStyle style = LineStyle::Solid; };
struct Colour { Rgb colour; };         // the drawing colour of later lines, circles and text
struct Line {                          // leaves the current position at `to`
    UserPoint from, to;
    std::optional<Rgb> colour;         // its own colour, or the drawing colour
};
struct Circle { UserPoint centre; double radius = 0; }; // radius in x units
struct MoveTo { UserPoint at; };       // sets the current text position
struct Text { std::string text; };     // top-left corner at the current position
} // namespace draw

using DrawCommand = std::variant<draw::Clear, draw::Scale, draw::PenWidth, draw::Style,
                                 draw::Colour, draw::Line, draw::Circle, draw::MoveTo, draw::Text>;
using DrawCommands = std::vector<DrawCommand>;

// The four drawing routines: axes, ticks and labels of the scale, the trajectory points
// 1..n joined by a dotted dark-blue line, each point ringed by a circle (the first in the
// drawing colour in force, black, the rest red). n is clamped to the table.
DrawCommands gr200(const GraphPointTable& points, int n);
DrawCommands gr350(const GraphPointTable& points, int n);
DrawCommands gr500(const GraphPointTable& points, int n);
DrawCommands gr1000(const GraphPointTable& points, int n);

// The routine of a scale; nothing for Unset.
DrawCommands drawingFor(GraphScale scale, const GraphPointTable& points, int n);

// A drawing with its state resolved: each primitive carries the pen, style, colour and position
// in force when it was drawn. The window's drawing colour starts black, as every routine leaves
// it.
struct PaintedLine { UserPoint from, to; int width; LineStyle style; Rgb colour; };
struct PaintedCircle { UserPoint centre; double radius; int width; Rgb colour; };
struct PaintedText { UserPoint at; std::string text; Rgb colour; };
using Painted = std::variant<PaintedLine, PaintedCircle, PaintedText>;

struct Picture {
    std::optional<UserFrame> frame;    // the last coordinate system set; none: the default
    std::vector<Painted> items;        // what remains after the last Clear, in drawing order
};

Picture resolve(const DrawCommands& commands);

// The default coordinate system of the client area before any drawing: twips, origin at the
// top-left corner, y down.
UserFrame defaultFrame(double widthPx, double heightPx, double dpi);

// Mapping between the user coordinate system and the client area's pixels.
UserPoint toDevice(const UserFrame& frame, UserPoint user, double widthPx, double heightPx);
UserPoint toUser(const UserFrame& frame, UserPoint device, double widthPx, double heightPx);

// The part of the segment inside the axis-aligned box spanned by two corners, or nothing when
// the segment misses it. Keeps far-off points (a trajectory can leave the picture by
// kilometres) from reaching the painter.
std::optional<std::pair<UserPoint, UserPoint>> clipSegment(UserPoint from, UserPoint to,
                                                           UserPoint corner1, UserPoint corner2);

// The pointer readout at user coordinates (x, y): whole metres floor(x / 10) for Label7 and
// centimetres with one decimal floor(y) / 10 for Label8. (1234.5, -37.2) -> "123", "-3.8".
struct PointerReadout {
    std::string metres;       // Label7
    std::string centimetres;  // Label8
};
PointerReadout pointerReadout(double x, double y, char decimalSeparator = '.');

} // namespace siacci

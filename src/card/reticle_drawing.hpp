#pragma once

#include "card/reticle.hpp"

#include <string>
#include <vector>

// A reticle as a list of shapes in its own units (x to the right, y downward from the centre),
// with the hold of the shot and the holds of the card's distances placed where the target goes.
// The window paints it, the page and siacci-cli write it as SVG: one drawing for every face.
namespace siacci::card {

enum class ShapeKind { Line, Dot, Label };
enum class ShapeRole { Reticle, Post, Hold, RowHold };

struct ReticleShape {
    ShapeKind kind = ShapeKind::Line;
    ShapeRole role = ShapeRole::Reticle;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // a dot: centre (x1, y1), radius x2
    std::string text;                         // a label, anchored left at (x1, y1)
};

// One hold to mark: the distance it is for ("300") and the hold (+ up, + right).
struct MarkedHold {
    std::string label;
    double elevation = 0;
    double windage = 0;
};

struct ReticleDrawing {
    double extent = 1;                        // the view spans -extent ... +extent both ways
    std::vector<ReticleShape> shapes;
    std::string caption;                      // "Mil-Dot · mrad · 8×"
};

// The reticle with the shot's hold (when given) and the holds of the card's rows. The view
// grows to hold every hold, within twice the reticle's marks.
ReticleDrawing drawReticle(const Reticle& reticle, double magnification,
                           const std::vector<MarkedHold>& rows, const MarkedHold* shot = nullptr);

// The drawing as an SVG document `pixels` wide and high.
std::string reticleSvg(const ReticleDrawing& drawing, int pixels = 320);

} // namespace siacci::card

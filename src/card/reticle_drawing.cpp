#include "card/reticle_drawing.hpp"

#include "card/card_sheet.hpp"
#include "common/number_text.hpp"

#include <algorithm>
#include <cmath>

namespace siacci::card {

namespace {

void line(ReticleDrawing& d, double x1, double y1, double x2, double y2, ShapeRole role = ShapeRole::Reticle)
{
    d.shapes.push_back({ShapeKind::Line, role, x1, y1, x2, y2, {}});
}

void dot(ReticleDrawing& d, double x, double y, double r, ShapeRole role = ShapeRole::Reticle)
{
    d.shapes.push_back({ShapeKind::Dot, role, x, y, r, 0, {}});
}

void label(ReticleDrawing& d, double x, double y, std::string text, ShapeRole role)
{
    d.shapes.push_back({ShapeKind::Label, role, x, y, 0, 0, std::move(text)});
}

double lastOf(const std::vector<double>& marks)
{
    return marks.empty() ? 1 : marks.back();
}

// Where the target goes for a hold: below the centre to hold up, left to hold right.
void markHold(ReticleDrawing& d, const MarkedHold& h, double size, ShapeRole role)
{
    const double x = -h.windage, y = h.elevation;
    if (std::fabs(x) > d.extent || std::fabs(y) > d.extent)
        return;
    dot(d, x, y, role == ShapeRole::Hold ? size * 1.6 : size, role);
    if (!h.label.empty())
        label(d, x + size * 2, y + size, h.label, role);
}

} // namespace

ReticleDrawing drawReticle(const Reticle& r, double magnification, const std::vector<MarkedHold>& rows,
                           const MarkedHold* shot)
{
    ReticleDrawing d;
    const double reach = std::max(lastOf(r.verticalMarks), lastOf(r.horizontalMarks));
    double extent = reach * 1.15;
    const auto include = [&](const MarkedHold& h) {
        extent = std::max(extent, std::min(2 * reach, 1.1 * std::max(std::fabs(h.elevation), std::fabs(h.windage))));
    };
    for (const MarkedHold& h : rows)
        include(h);
    if (shot)
        include(*shot);
    d.extent = extent;
    const double e = extent;
    const double fine = reach / 60;   // the size of ticks and dots, as the reticle's scale goes

    switch (r.style) {
    case ReticleStyle::Duplex: {
        const double tip = lastOf(r.verticalMarks);
        line(d, -tip, 0, tip, 0);
        line(d, 0, -tip, 0, tip);
        line(d, tip, 0, e, 0, ShapeRole::Post);
        line(d, -e, 0, -tip, 0, ShapeRole::Post);
        line(d, 0, tip, 0, e, ShapeRole::Post);
        line(d, 0, -e, 0, -tip, ShapeRole::Post);
        break;
    }
    case ReticleStyle::Dots:
        line(d, -e, 0, e, 0);
        line(d, 0, -e, 0, e);
        for (double m : r.verticalMarks) {
            dot(d, 0, m, reach / 40);
            dot(d, 0, -m, reach / 40);
        }
        for (double m : r.horizontalMarks) {
            dot(d, m, 0, reach / 40);
            dot(d, -m, 0, reach / 40);
        }
        break;
    case ReticleStyle::Hash:
    case ReticleStyle::Custom: {
        line(d, -e, 0, e, 0);
        line(d, 0, -e, 0, e);
        const double first = r.verticalMarks.empty() ? 1 : r.verticalMarks.front();
        for (std::size_t i = 0; i < r.verticalMarks.size(); ++i) {
            const double m = r.verticalMarks[i];
            const double half = (i % 2 == 1 ? 0.45 : 0.3) * std::max(first, fine * 6);
            line(d, -half, m, half, m);
            line(d, -half, -m, half, -m);
            if (i % 2 == 1 || r.verticalMarks.size() < 8)
                label(d, half * 1.3, m + fine, cellText(m, ','), ShapeRole::Reticle);
        }
        for (std::size_t i = 0; i < r.horizontalMarks.size(); ++i) {
            const double m = r.horizontalMarks[i];
            const double half = (i % 2 == 1 ? 0.45 : 0.3) * std::max(first, fine * 6);
            line(d, m, -half, m, half);
            line(d, -m, -half, -m, half);
        }
        break;
    }
    case ReticleStyle::Tree: {
        line(d, -e, 0, e, 0);
        line(d, 0, -lastOf(r.verticalMarks) / 4, 0, e);
        const double sideStep = r.horizontalMarks.empty() ? 0.2 : r.horizontalMarks.front();
        for (std::size_t i = 0; i < r.verticalMarks.size(); ++i) {
            const double y = r.verticalMarks[i];
            // The tree widens with the drop: its marks reach as far to each side as it is deep.
            const double width = std::min(lastOf(r.horizontalMarks), y);
            line(d, -width, y, width, y);
            for (double x : r.horizontalMarks) {
                if (x > width + 1e-9)
                    break;
                const double tick = std::fmod(x + 1e-9, 1.0) < 2e-9 ? 2.5 : 1;
                line(d, x, y - fine * tick, x, y + fine * tick);
                line(d, -x, y - fine * tick, -x, y + fine * tick);
            }
            label(d, width + sideStep, y + fine, cellText(y, ','), ShapeRole::Reticle);
        }
        for (double x : r.horizontalMarks) {
            const double tick = std::fmod(x + 1e-9, 1.0) < 2e-9 ? 2.5 : 1;
            line(d, x, -fine * tick, x, fine * tick);
            line(d, -x, -fine * tick, -x, fine * tick);
        }
        break;
    }
    }
    for (const MarkedHold& h : rows)
        markHold(d, h, fine * 1.2, ShapeRole::RowHold);
    if (shot)
        markHold(d, *shot, fine * 1.2, ShapeRole::Hold);
    d.caption = r.caption + " · " + (r.unit == ReticleUnit::Moa ? "MOA" : "mrad");
    if (r.plane == FocalPlane::Second)
        d.caption += " · secondo piano a " + cellText(magnification, ',') + "× (esatto a " +
                     cellText(r.calibratedMagnification, ',') + "×)";
    else
        d.caption += " · primo piano";
    return d;
}

std::string reticleSvg(const ReticleDrawing& d, int pixels)
{
    const double e = d.extent;
    const double scale = pixels / (2 * e);
    const auto px = [&](double v) { return fixed(v * scale + pixels / 2.0, 1, '.'); };
    const auto len = [&](double v) { return fixed(v * scale, 2, '.'); };
    std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(pixels) +
                    "\" height=\"" + std::to_string(pixels) + "\" viewBox=\"0 0 " + std::to_string(pixels) +
                    " " + std::to_string(pixels) + "\" role=\"img\">\n";
    s += "<title>" + d.caption + "</title>\n";
    s += "<circle cx=\"" + px(0) + "\" cy=\"" + px(0) + "\" r=\"" + fixed(pixels / 2.0 - 1, 1, '.') +
         "\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"2\"/>\n";
    const auto colour = [](ShapeRole role) {
        return role == ShapeRole::Hold ? "#d00000" : role == ShapeRole::RowHold ? "#0050c8" : "#000";
    };
    for (const ReticleShape& sh : d.shapes) {
        switch (sh.kind) {
        case ShapeKind::Line:
            s += "<line x1=\"" + px(sh.x1) + "\" y1=\"" + px(sh.y1) + "\" x2=\"" + px(sh.x2) + "\" y2=\"" +
                 px(sh.y2) + "\" stroke=\"#000\" stroke-width=\"" + (sh.role == ShapeRole::Post ? "6" : "1") +
                 "\"/>\n";
            break;
        case ShapeKind::Dot:
            s += "<circle cx=\"" + px(sh.x1) + "\" cy=\"" + px(sh.y1) + "\" r=\"" +
                 (sh.role == ShapeRole::Reticle ? len(sh.x2) : fixed(sh.role == ShapeRole::Hold ? 6 : 3.5, 1, '.')) +
                 "\" fill=\"" + colour(sh.role) + "\"" + (sh.role == ShapeRole::Hold ? " class=\"mira\"" : "") + "/>\n";
            break;
        case ShapeKind::Label: {
            std::string text;
            for (char c : sh.text)
                text += c == '<' ? std::string("&lt;") : c == '&' ? std::string("&amp;") : std::string(1, c);
            s += "<text x=\"" + px(sh.x1) + "\" y=\"" + px(sh.y1) + "\" font-size=\"" +
                 (sh.role == ShapeRole::Reticle ? "9" : "11") + "\" font-family=\"sans-serif\" fill=\"" +
                 colour(sh.role) + "\">" + text + "</text>\n";
            break;
        }
        }
    }
    s += "</svg>\n";
    return s;
}

} // namespace siacci::card

#include "card/reticle_card.hpp"

#include "common/number_text.hpp"

#include <algorithm>
#include <cmath>

namespace siacci::card {

namespace {

constexpr double kMargin_mm = 3;
constexpr double kReticle_mm = 46;     // the square the reticle is drawn in
constexpr int kCopiesAcross = 2, kCopiesDown = 5;

// The text of a row: "300  ▲ 1,2  ◀ 0,9".
std::string rowText(const ReticleCardRow& r)
{
    const auto part = [](double v, const char* plus, const char* minus) {
        return std::string(v > 0 ? plus : v < 0 ? minus : "") + (v != 0 ? " " : "") + fixed(std::fabs(v), 1);
    };
    return r.distance + "  " + part(r.hold.elevation, "▲", "▼") + "  " + part(r.hold.windage, "▶", "◀");
}

void drawOne(PageDrawing& page, double left, double top, const std::string& title, const ReticleDrawing& d,
             const std::vector<ReticleCardRow>& rows)
{
    page.rects.push_back({left, top, kPocketWidth_mm, kPocketHeight_mm, -1});
    double size = 7;
    while (size > 4 && textWidth_mm(title, size) > kPocketWidth_mm - 2 * kMargin_mm)
        size -= 0.5;
    page.texts.push_back({left + kMargin_mm, top + kMargin_mm + size * kMmPerPoint, size, title, Align::Left, true});

    // The reticle, in the square under the title; the view of the drawing is its width.
    const double x0 = left + kMargin_mm, y0 = top + kPocketHeight_mm - kMargin_mm - kReticle_mm;
    const double k = kReticle_mm / (2 * d.extent);
    const auto px = [&](double x) { return x0 + kReticle_mm / 2 + x * k; };
    const auto py = [&](double y) { return y0 + kReticle_mm / 2 + y * k; };
    const auto inside = [&](double x, double y) { return std::fabs(x) <= d.extent && std::fabs(y) <= d.extent; };
    page.rects.push_back({x0, y0, kReticle_mm, kReticle_mm, -1});
    for (const ReticleShape& s : d.shapes) {
        switch (s.kind) {
        case ShapeKind::Line:
            page.lines.push_back({px(std::clamp(s.x1, -d.extent, d.extent)), py(std::clamp(s.y1, -d.extent, d.extent)),
                                  px(std::clamp(s.x2, -d.extent, d.extent)), py(std::clamp(s.y2, -d.extent, d.extent)),
                                  s.role == ShapeRole::Post ? 1.2 : 0.15, false});
            break;
        case ShapeKind::Dot: {
            if (!inside(s.x1, s.y1))
                break;
            const double r = s.role == ShapeRole::Reticle ? std::max(0.3, s.x2 * k) : 0.6;
            page.rects.push_back({px(s.x1) - r, py(s.y1) - r, 2 * r, 2 * r, s.role == ShapeRole::Reticle ? 0 : 90});
            break;
        }
        case ShapeKind::Label:
            // The distances of the holds; the reticle's own numbers are too small to print.
            if (s.role == ShapeRole::RowHold && inside(s.x1, s.y1) && px(s.x1) + textWidth_mm(s.text, 4.5) < x0 + kReticle_mm)
                page.texts.push_back({px(s.x1), py(s.y1), 4.5, s.text, Align::Left, false});
            break;
        }
    }

    // Beside it, every distance with its hold, in marks of the reticle.
    const double listLeft = x0 + kReticle_mm + 3;
    const double listTop = y0;
    const double room = kReticle_mm;
    double rowSize = std::min(7.0, room / std::max<std::size_t>(rows.size(), 1) / kLineHeightEm / kMmPerPoint);
    rowSize = std::max(rowSize, 3.0);
    const double step = rowSize * kLineHeightEm * kMmPerPoint;
    double y = listTop + rowSize * kMmPerPoint;
    for (const ReticleCardRow& r : rows) {
        if (y > listTop + room)
            break;
        page.texts.push_back({listLeft, y, rowSize, rowText(r), Align::Left, false});
        y += step;
    }
}

} // namespace

PrintedCard reticleCardLayout(const std::string& title, const ReticleDrawing& drawing,
                              const std::vector<ReticleCardRow>& rows)
{
    PrintedCard card;
    PageDrawing page;
    const double gapX = (card.pageWidth_mm - kCopiesAcross * kPocketWidth_mm) / (kCopiesAcross + 1);
    const double gapY = (card.pageHeight_mm - kCopiesDown * kPocketHeight_mm) / (kCopiesDown + 1);
    for (int r = 0; r < kCopiesDown; ++r)
        for (int c = 0; c < kCopiesAcross; ++c)
            drawOne(page, gapX + c * (kPocketWidth_mm + gapX), gapY + r * (kPocketHeight_mm + gapY), title, drawing, rows);
    card.pages.push_back(std::move(page));
    return card;
}

} // namespace siacci::card

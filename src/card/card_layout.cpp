#include "card/card_layout.hpp"

#include "common/number_text.hpp"

#include <algorithm>
#include <cmath>

namespace siacci::card {

namespace {

constexpr double kPocketPadding_mm = 2.5;
constexpr double kLargestPocketType_pt = 14;
constexpr double kSmallestReadableType_pt = 7;
constexpr double kCutMark_mm = 5;

std::size_t characters(const std::string& text)
{
    std::size_t n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

double lineHeight_mm(double size_pt)
{
    return size_pt * kLineHeightEm * kMmPerPoint;
}

// The type size at which `chars` characters fill `width_mm`.
double sizeForWidth(std::size_t chars, double width_mm)
{
    return chars == 0 ? kLargestPocketType_pt : width_mm / (chars * kCharWidthEm * kMmPerPoint);
}

std::string truncated(const std::string& text, std::size_t chars)
{
    if (characters(text) <= chars)
        return text;
    std::string out;
    std::size_t n = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && ++n > chars - 1)
            break;
        out += text[i];
    }
    return out + "…";
}

struct PocketRow {
    std::vector<std::string> cells;
    bool shaded = false;
};

// The columns of a pocket card: the distance, the clicks up, the user's own wind when there is
// one, and the clicks for 10 km/h from 3 o'clock (to scale for another wind).
struct PocketColumns {
    std::vector<std::string> headings;
    std::vector<std::size_t> widths;
};

// Draws one pocket card with its top-left corner at (x, y).
void drawPocketCard(PageDrawing& page, double x, double y, const std::vector<PocketRow>& rows,
                    const PocketLayout& layout, const std::string& header,
                    const std::string& footer, const PocketColumns& columns)
{
    const double left = x + kPocketPadding_mm;
    const double inner = kPocketWidth_mm - 2 * kPocketPadding_mm;
    double baseline = y + kPocketPadding_mm + layout.headerSize_pt * kMmPerPoint;
    // One line, or the name above the numbers.
    const auto newline = header.find('\n');
    page.texts.push_back({left, baseline, layout.headerSize_pt, header.substr(0, newline), Align::Left, true});
    if (newline != std::string::npos) {
        baseline += lineHeight_mm(layout.headerSize_pt);
        page.texts.push_back({left, baseline, layout.headerSize_pt, header.substr(newline + 1), Align::Left, false});
    }
    const double size = layout.rowSize_pt;
    const double cw = size * kCharWidthEm * kMmPerPoint;
    // Right-aligned columns spread across the card.
    const std::size_t n = columns.widths.size();
    double total = 0;
    for (std::size_t w : columns.widths)
        total += static_cast<double>(w) * cw;
    const double gap = std::max(cw, (inner - total) / static_cast<double>(n - 1));
    std::vector<double> rights;
    double at = left - gap;
    for (std::size_t w : columns.widths)
        rights.push_back(at += gap + static_cast<double>(w) * cw);
    baseline += lineHeight_mm(size) + 0.5;
    for (std::size_t c = 0; c < n; ++c)
        page.texts.push_back({rights[c], baseline, size * 0.8, columns.headings[c], Align::Right, false});
    page.lines.push_back({left, baseline + 0.3 * lineHeight_mm(size) - 0.4, left + inner,
                          baseline + 0.3 * lineHeight_mm(size) - 0.4, 0.15, false});
    for (const PocketRow& row : rows) {
        baseline += lineHeight_mm(size);
        if (row.shaded)
            page.rects.push_back({left, baseline - size * kMmPerPoint * 0.95, inner,
                                  lineHeight_mm(size), 220});
        for (std::size_t c = 0; c < n; ++c)
            page.texts.push_back({rights[c], baseline, size, row.cells[c], Align::Right, c == 0});
    }
    if (!footer.empty())
        page.texts.push_back({left, y + kPocketHeight_mm - kPocketPadding_mm,
                              layout.headerSize_pt, footer, Align::Left, false});
}

// Cut marks in the margins, in line with every edge of the cards.
void drawCutMarks(PageDrawing& page, double x0, double y0, int across, int down)
{
    for (int i = 0; i <= across; ++i) {
        const double x = x0 + i * kPocketWidth_mm;
        page.lines.push_back({x, y0 - kCutMark_mm - 1, x, y0 - 1, 0.2, false});
        const double yb = y0 + down * kPocketHeight_mm;
        page.lines.push_back({x, yb + 1, x, yb + kCutMark_mm + 1, 0.2, false});
    }
    for (int j = 0; j <= down; ++j) {
        const double y = y0 + j * kPocketHeight_mm;
        page.lines.push_back({x0 - kCutMark_mm - 1, y, x0 - 1, y, 0.2, false});
        const double xr = x0 + across * kPocketWidth_mm;
        page.lines.push_back({xr + 1, y, xr + kCutMark_mm + 1, y, 0.2, false});
    }
}

// Ticks of an axis: a round step giving about `count` divisions.
double niceStep(double span, int count)
{
    if (!(span > 0))
        return 1;
    const double raw = span / count;
    const double p = std::pow(10, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (raw <= m * p)
            return m * p;
    return 10 * p;
}

void drawPlot(PageDrawing& page, const CardSheet& sheet, double x, double y, double w, double h)
{
    const auto& curve = sheet.curve;
    if (curve.size() < 2)
        return;
    const double half = sheet.setup.vitalZone_cm.value_or(0) / 2;
    double lo = -half, hi = half;
    for (const auto& [d, p] : curve) {
        lo = std::min(lo, p);
        hi = std::max(hi, p);
    }
    hi += (hi - lo) * 0.05 + 1;
    lo -= (hi - lo) * 0.05 + 1;
    const double maxD = curve.back().first;
    const double left = x + 12, bottom = y + h - 7, top = y + 2, right = x + w - 2;
    auto px = [&](double d) { return left + (right - left) * d / maxD; };
    auto py = [&](double p) { return bottom - (bottom - top) * (p - lo) / (hi - lo); };
    const double label = 6.5;
    if (half > 0)
        page.rects.push_back({left, py(half), right - left, py(-half) - py(half), 225});
    page.rects.push_back({left, top, right - left, bottom - top, -1});
    // The line of sight, the zero and the energy threshold.
    page.lines.push_back({left, py(0), right, py(0), 0.2, false});
    const double zero = sheet.setup.zeroing.zeroDistance_m;
    if (zero > 0 && zero <= maxD) {
        page.lines.push_back({px(zero), top, px(zero), bottom, 0.2, true});
        page.texts.push_back({px(zero) + 1, top + 3, label,
                              "taratura " + fixed(zero, 0) + " m", Align::Left, false});
    }
    if (sheet.setup.minEnergy_J && sheet.energyAboveMinimumTo_m &&
        *sheet.energyAboveMinimumTo_m < maxD) {
        const double e = *sheet.energyAboveMinimumTo_m;
        page.lines.push_back({px(e), top, px(e), bottom, 0.35, true});
        page.texts.push_back({px(e) - 1, bottom - 2, label,
                              "energia < " + fixed(*sheet.setup.minEnergy_J, 0) + " J",
                              Align::Right, false});
    }
    const double xs = niceStep(maxD, 8);
    for (double d = 0; d <= maxD + 1e-9; d += xs) {
        page.lines.push_back({px(d), bottom, px(d), bottom + 1, 0.15, false});
        page.texts.push_back({px(d), bottom + 4, label, fixed(d, 0), Align::Centre, false});
    }
    page.texts.push_back({right, bottom + 6.8, label, "distanza m", Align::Right, false});
    const double ys = niceStep(hi - lo, 6);
    for (double p = std::ceil(lo / ys) * ys; p <= hi; p += ys) {
        page.lines.push_back({left - 1, py(p), left, py(p), 0.15, false});
        page.texts.push_back({left - 1.5, py(p) + 1, label, fixed(p, 0), Align::Right, false});
    }
    page.texts.push_back({x, top - 0.5, label, "cm", Align::Left, false});
    for (std::size_t i = 1; i < curve.size(); ++i)
        page.lines.push_back({px(curve[i - 1].first), py(curve[i - 1].second), px(curve[i].first),
                              py(curve[i].second), 0.45, false});
}

// A heading wrapped into lines no wider than `width` characters (a word is never cut).
std::vector<std::string> wrap(const std::string& text, std::size_t width)
{
    std::vector<std::string> lines;
    std::string line, word;
    auto flush = [&] {
        if (word.empty())
            return;
        if (!line.empty() && characters(line) + 1 + characters(word) > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        word.clear();
    };
    for (char c : text) {
        if (c == ' ')
            flush();
        else
            word += c;
    }
    flush();
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

double textWidth_mm(const std::string& text, double size_pt)
{
    return characters(text) * size_pt * kCharWidthEm * kMmPerPoint;
}

std::string pocketHeader(const CardSheet& sheet, std::size_t maxCharacters)
{
    const CardSetup& s = sheet.setup;
    const pm::Atmosphere& air = s.conditions.atmosphere;
    std::string tail = " · taratura " + fixed(s.zeroing.zeroDistance_m, 0) + " m · " +
                       s.clickText + " · " + fixed(air.temperature_C, 0) + " °C " +
                       fixed(air.pressure_hPa, 0) + " hPa";
    if (s.conditions.lookAngle_deg != 0)
        tail += " · " + fixed(s.conditions.lookAngle_deg, 0) + "°";
    // A long name gives way to the numbers, which the hunter needs.
    const std::size_t room = maxCharacters > characters(tail) + 8 ? maxCharacters - characters(tail) : 8;
    return truncated(s.description, room) + tail;
}

std::string pocketHeaderLines(const CardSheet& sheet, std::size_t maxCharacters, const std::string& part)
{
    const std::string one = pocketHeader(sheet, 100000) + part;
    if (characters(one) <= maxCharacters)
        return one;
    // The name whole on a line of its own (shortened only when even that line is too short),
    // the numbers under it.
    const std::string tail = pocketHeader(sheet, 100000).substr(sheet.setup.description.size() +
                                                                 std::string(" · ").size()) + part;
    return truncated(sheet.setup.description, maxCharacters) + "\n" + tail;
}

PocketLayout pocketLayout(const CardSheet& sheet)
{
    PocketLayout layout;
    // The user's wind on the card's screen is printed too, beside the 10 km/h reference.
    const pm::Wind& wind = sheet.setup.conditions.wind;
    const bool ownWind = wind.speed_ms > 0;
    PocketColumns columns;
    columns.headings = {"m", "click alzo"};
    if (ownWind) {
        const double hours = std::fmod(wind.fromAngle_deg / 30, 12.0);
        columns.headings.push_back("vento " + fixed(wind.speed_ms * 3.6, 0) + " km/h ore " +
                                   roundedText(hours == 0 ? 12 : hours, 1, ','));
        columns.headings.push_back("10 km/h ore 3");
    } else {
        columns.headings.push_back("vento 10 km/h ore 3");
    }
    std::vector<PocketRow> rows;
    for (const CardRow& r : sheet.rows) {
        if (r.row.distance_m <= 0)
            continue;
        PocketRow row{{fixed(r.row.distance_m, 0),
                       elevationClicksText(r.correction.elevationClicks, sheet.setup.clicksPerTurn)},
                      r.belowMinimumEnergy};
        if (ownWind)
            row.cells.push_back(windageClicksText(r.correction.windageClicks, sheet.setup.clicksPerTurn));
        row.cells.push_back(windageClicksText(r.pocketWindClicks, sheet.setup.clicksPerTurn));
        rows.push_back(std::move(row));
    }
    for (const std::string& h : columns.headings)
        columns.widths.push_back(characters(h) * 8 / 10 + 1);
    for (const PocketRow& r : rows)
        for (std::size_t c = 0; c < r.cells.size(); ++c)
            columns.widths[c] = std::max(columns.widths[c], characters(r.cells[c]));
    std::size_t rowCharacters = columns.widths.size() - 1; // the gaps, a character at least
    for (std::size_t w : columns.widths)
        rowCharacters += w;
    const double inner_w = kPocketWidth_mm - 2 * kPocketPadding_mm;
    const double inner_h = kPocketHeight_mm - 2 * kPocketPadding_mm;
    // The header and the footer in a small type of their own (5.5 to 7 points); the rows in
    // the largest type that fits both across (the columns with their gaps) and down.
    constexpr double kHeaderType_pt = 5.5;
    const auto headerRoom = [&](double size) {
        return static_cast<std::size_t>(inner_w / (size * kCharWidthEm * kMmPerPoint) + 1e-6);
    };
    std::string footer = sheet.ethicalText;
    if (sheet.maximumRange_m > 0)
        footer += (footer.empty() ? "Gittata massima: " : " · gittata massima ") +
                  fixed(sheet.maximumRange_m, 0) + " m";

    const std::string full = pocketHeader(sheet, 1000);
    const double smallType =
        std::clamp(sizeForWidth(characters(full), inner_w), kHeaderType_pt, 7.0);
    layout.headerSize_pt = smallType;
    const bool twoLineHeader = pocketHeaderLines(sheet, headerRoom(smallType), " 9/9").find('\n') != std::string::npos;
    const double reserved = lineHeight_mm(smallType) * ((footer.empty() ? 1 : 2) + (twoLineHeader ? 1 : 0)) + 0.5;
    const double acrossType = sizeForWidth(rowCharacters, inner_w);
    const int n = static_cast<int>(rows.size());
    int cards = 1;
    double size = 0;
    for (;; ++cards) {
        const int perCard = std::max(1, (n + cards - 1) / cards);
        // The column headings take one row.
        const double downType = (inner_h - reserved) / ((perCard + 1) * kLineHeightEm * kMmPerPoint);
        size = std::min({kLargestPocketType_pt, acrossType, downType});
        layout.rowsPerCard = perCard;
        if (size >= kSmallestReadableType_pt || perCard <= 1)
            break;
    }
    layout.rowSize_pt = size;
    layout.cardsPerSet = std::max(1, (n + layout.rowsPerCard - 1) / std::max(1, layout.rowsPerCard));

    // A4 portrait: two cards across, five down, centred; the set repeats to fill the page.
    const int across = static_cast<int>(layout.card.pageWidth_mm / kPocketWidth_mm);
    const int down = static_cast<int>(layout.card.pageHeight_mm / kPocketHeight_mm);
    layout.cardsPerPage = across * down;
    const double x0 = (layout.card.pageWidth_mm - across * kPocketWidth_mm) / 2;
    const double y0 = (layout.card.pageHeight_mm - down * kPocketHeight_mm) / 2;
    // A set that fits one page is repeated to fill it (spares to cut); a longer one runs on
    // over as many pages as it needs.
    const int pages = (layout.cardsPerSet + layout.cardsPerPage - 1) / layout.cardsPerPage;
    for (int p = 0; p < pages; ++p) {
        PageDrawing page;
        const int cardsHere =
            pages == 1 ? layout.cardsPerPage
                       : std::min(layout.cardsPerPage, layout.cardsPerSet - p * layout.cardsPerPage);
        for (int k = 0; k < cardsHere; ++k) {
            const int set = pages == 1 ? k % layout.cardsPerSet : p * layout.cardsPerPage + k;
            const auto first = rows.begin() + std::min(n, set * layout.rowsPerCard);
            const auto last = rows.begin() + std::min(n, (set + 1) * layout.rowsPerCard);
            const std::string part = layout.cardsPerSet > 1 ? " " + std::to_string(set + 1) + "/" +
                                                                  std::to_string(layout.cardsPerSet)
                                                            : std::string();
            const std::string head = pocketHeaderLines(sheet, headerRoom(smallType), part);
            drawPocketCard(page, x0 + (k % across) * kPocketWidth_mm,
                           y0 + (k / across) * kPocketHeight_mm, std::vector<PocketRow>(first, last),
                           layout, head, footer, columns);
        }
        drawCutMarks(page, x0, y0, across, down);
        layout.card.pages.push_back(std::move(page));
    }
    return layout;
}

std::string bulletLine(const CardSetup& s)
{
    const pm::Bullet& b = s.bullet;
    std::string text = "V0 " + roundedText(b.muzzleVelocity_ms, 1, ',') + " m/s · " + fixed(b.weight_gr, 0) + " grains · ";
    if (!b.dragTable.empty()) {
        text += "curva di resistenza misurata (" + std::to_string(b.dragTable.size()) + " punti)";
    } else {
        text += std::string(b.model == pm::DragModel::G7 ? "G7 " : "G1 ") + roundedText(b.bc_lbin2, 3, ',');
        if (!b.bcSteps.empty()) {
            text += ", a gradini";
            for (const pm::BcStep& step : b.bcSteps)
                text += " " + roundedText(step.bc_lbin2, 3, ',') + " da " + fixed(step.fromVelocity_ms, 0) + " m/s";
        }
    }
    return text;
}

PrintedCard fullPageLayout(const CardSheet& sheet)
{
    PrintedCard card;
    constexpr double margin = 15;
    const double width = card.pageWidth_mm - 2 * margin;
    const double bottom = card.pageHeight_mm - margin;
    const CardSetup& s = sheet.setup;
    PageDrawing page;
    double y = margin + 5;
    page.texts.push_back({margin, y, 14, "CARTELLINO DI TIRO", Align::Left, true});
    y += 7;
    page.texts.push_back({margin, y, 10, s.description, Align::Left, true});
    y += 5;
    const std::string rifle = "Taratura " + fixed(s.zeroing.zeroDistance_m, 0) +
                              " m · altezza ottica " + fixed(s.zeroing.sightHeight_cm, 1) +
                              " cm · click " + s.clickText + " · metodo " +
                              (s.method == Method::Siacci ? "Siacci" : "punto materiale");
    page.texts.push_back({margin, y, 9, rifle, Align::Left, false});
    y += 4.5;
    page.texts.push_back({margin, y, 9, bulletLine(s), Align::Left, false});
    y += 4.5;
    page.texts.push_back({margin, y, 9, s.conditionsText, Align::Left, false});
    y += 6;

    // Column widths in characters: the widest cell, and the heading wrapped to it.
    const std::size_t columns = sheet.headings.size();
    std::vector<std::size_t> widths(columns, 0);
    for (std::size_t c = 0; c < columns; ++c) {
        // A heading takes two lines at most where its words allow.
        std::size_t longestWord = 0;
        for (const std::string& w : wrap(sheet.headings[c], 1))
            longestWord = std::max(longestWord, characters(w));
        widths[c] = std::max(longestWord, (characters(sheet.headings[c]) + 1) / 2);
        for (const CardRow& r : sheet.rows)
            widths[c] = std::max(widths[c], characters(r.cells[c]));
    }
    std::size_t total = 0;
    for (std::size_t w : widths)
        total += w + 2;
    const double size = std::min(9.0, sizeForWidth(total, width));
    const double cw = size * kCharWidthEm * kMmPerPoint;
    const double lh = lineHeight_mm(size);
    std::vector<std::vector<std::string>> headingLines(columns);
    std::size_t headingRows = 1;
    for (std::size_t c = 0; c < columns; ++c) {
        headingLines[c] = wrap(sheet.headings[c], widths[c]);
        headingRows = std::max(headingRows, headingLines[c].size());
    }
    const double gapW = (width - (total - 2 * columns) * cw) / columns;
    auto drawHeadings = [&](PageDrawing& p, double& yy) {
        double right = margin;
        for (std::size_t c = 0; c < columns; ++c) {
            right += gapW + widths[c] * cw;
            for (std::size_t k = 0; k < headingLines[c].size(); ++k)
                p.texts.push_back({right, yy + lh * (k + 1), size, headingLines[c][k],
                                   Align::Right, true});
        }
        yy += lh * headingRows + 1.5;
        p.lines.push_back({margin, yy - 1, margin + width, yy - 1, 0.25, false});
    };
    drawHeadings(page, y);
    for (const CardRow& r : sheet.rows) {
        if (y + lh > bottom) {
            card.pages.push_back(std::move(page));
            page = PageDrawing{};
            y = margin;
            drawHeadings(page, y);
        }
        y += lh;
        if (r.belowMinimumEnergy)
            page.rects.push_back({margin, y - size * kMmPerPoint * 0.95, width, lh, 220});
        double right = margin;
        for (std::size_t c = 0; c < columns; ++c) {
            right += gapW + widths[c] * cw;
            page.texts.push_back({right, y, size, r.cells[c], Align::Right, false});
        }
    }
    y += 3;
    page.lines.push_back({margin, y - 2, margin + width, y - 2, 0.25, false});
    for (const Note& n : sheet.notes) {
        if (y + 4.5 > bottom) {
            card.pages.push_back(std::move(page));
            page = PageDrawing{};
            y = margin;
        }
        y += 4.5;
        page.texts.push_back({margin, y, 9, n.text, Align::Left, n.kind != NoteKind::Plain});
    }
    const double plotHeight = 80;
    if (y + 6 + plotHeight > bottom) {
        card.pages.push_back(std::move(page));
        page = PageDrawing{};
        y = margin - 6;
    }
    drawPlot(page, sheet, margin, y + 6, width, plotHeight);
    card.pages.push_back(std::move(page));
    return card;
}

} // namespace siacci::card

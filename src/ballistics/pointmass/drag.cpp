#include "ballistics/pointmass/drag.hpp"

#include "ballistics/pointmass/drag_tables.hpp"
#include "common/float_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace siacci::pointmass {

namespace {

int signOf(double x) { return (x > 0) - (x < 0); }

// SciPy's end slope: the three-point formula, kept from overshooting.
double endSlope(double h0, double h1, double delta0, double delta1)
{
    const double d = ((2 * h0 + h1) * delta0 - h0 * delta1) / (h0 + h1);
    if (signOf(d) != signOf(delta0))
        return 0;
    if (signOf(delta0) != signOf(delta1) && std::fabs(d) > std::fabs(3 * delta0))
        return 3 * delta0;
    return d;
}

} // namespace

PchipCurve::PchipCurve(std::span<const DragPoint> p)
{
    const std::size_t n = p.size();
    m_lastMach = p.back().mach;
    m_lastCd = p.back().cd;
    std::vector<double> h(n - 1), delta(n - 1), slope(n);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        h[k] = p[k + 1].mach - p[k].mach;
        delta[k] = (p[k + 1].cd - p[k].cd) / h[k];
    }
    if (n == 2) {
        slope[0] = slope[1] = delta[0];
    } else {
        for (std::size_t k = 1; k + 1 < n; ++k) {
            if (signOf(delta[k - 1]) * signOf(delta[k]) <= 0) {
                slope[k] = 0;
            } else {
                const double w1 = 2 * h[k] + h[k - 1];
                const double w2 = h[k] + 2 * h[k - 1];
                slope[k] = (w1 + w2) / (w1 / delta[k - 1] + w2 / delta[k]);
            }
        }
        slope[0] = endSlope(h[0], h[1], delta[0], delta[1]);
        slope[n - 1] = endSlope(h[n - 2], h[n - 3], delta[n - 2], delta[n - 3]);
    }
    m_pieces.reserve(n);
    for (std::size_t k = 0; k + 1 < n; ++k) {
        const double c2 = (3 * delta[k] - 2 * slope[k] - slope[k + 1]) / h[k];
        const double c3 = (slope[k] + slope[k + 1] - 2 * delta[k]) / (h[k] * h[k]);
        m_pieces.push_back({p[k].mach, p[k].cd, slope[k], c2, c3});
    }
    m_pieces.push_back({m_lastMach, m_lastCd, 0, 0, 0});
    m_firstMach = p[0].mach;
    m_firstCd = p[0].cd;
    double narrowest = h[0];
    for (const double width : h)
        narrowest = std::min(narrowest, width);
    const double span = m_lastMach - m_firstMach;
    // Buckets no wider than the narrowest piece (a measured table may be dense: at most 4096).
    const auto buckets = static_cast<std::size_t>(std::min(4096.0, std::ceil(span / narrowest)));
    const double bucketWidth = span / static_cast<double>(buckets);
    m_perBucket = 1 / bucketWidth;
    m_bucketPiece.resize(buckets + 1);
    m_lastBucket = buckets;
    std::size_t piece = 0;
    for (std::size_t b = 0; b <= buckets; ++b) {
        const double mach = m_firstMach + static_cast<double>(b) * bucketWidth;
        while (piece + 2 < m_pieces.size() && m_pieces[piece + 1].mach0 <= mach)
            ++piece;
        m_bucketPiece[b] = static_cast<std::uint32_t>(piece);
    }
}

namespace {

// The standard curves, built on first use and kept: they never change.
std::shared_ptr<const PchipCurve> standardCurve(DragModel model)
{
    static const auto g1 = std::make_shared<const PchipCurve>(standardDragPoints(DragModel::G1));
    static const auto g7 = std::make_shared<const PchipCurve>(standardDragPoints(DragModel::G7));
    return model == DragModel::G7 ? g7 : g1;
}

} // namespace

DragFunction::DragFunction(const Bullet& bullet)
    : m_curve(bullet.dragTable.empty()
                  ? standardCurve(bullet.model)
                  : std::make_shared<const PchipCurve>(std::span<const DragPoint>(bullet.dragTable)))
{
    constexpr double pi = std::numbers::pi;
    if (!bullet.dragTable.empty()) {
        const double d_m = *bullet.diameter_mm / 1000;
        m_baseFactor = pi * d_m * d_m / (8 * bullet.weight_gr * kKgPerGrain);
        return;
    }
    const auto factorOf = [](double bc) { return pi / (8 * bc * kKgm2PerLbIn2); };
    m_baseFactor = factorOf(bullet.bc_lbin2);
    for (const BcStep& step : bullet.bcSteps)
        m_bands.push_back({step.fromVelocity_ms, factorOf(step.bc_lbin2)});
    std::sort(m_bands.begin(), m_bands.end(),
              [](const Band& a, const Band& b) { return a.fromVelocity_ms > b.fromVelocity_ms; });
}

bool dragTableUsable(std::span<const DragPoint> points)
{
    if (points.size() < 2 || points.size() > kMaxDragTablePoints)
        return false;
    for (std::size_t k = 0; k < points.size(); ++k) {
        const DragPoint& p = points[k];
        if (!std::isfinite(p.mach) || !std::isfinite(p.cd) || p.mach < 0 || p.cd < 0)
            return false;
        if (k > 0 && !(p.mach > points[k - 1].mach))
            return false;
    }
    return true;
}

namespace {

bool readNumber(std::string_view text, double& value)
{
    std::string s(text);
    std::replace(s.begin(), s.end(), ',', '.');
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = fromChars(s.data(), end, value);
    return ec == std::errc() && ptr == end;
}

} // namespace

std::vector<DragPoint> readDragTable(std::string_view text)
{
    std::vector<DragPoint> points;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        // Blanks or semicolons separate the two numbers; a line with neither is "Mach,Cd".
        const bool commaSeparated = line.find_first_of(" \t\r;") == std::string_view::npos;
        const std::string_view separators = commaSeparated ? "," : " \t\r;";
        std::vector<std::string_view> fields;
        std::size_t at = line.find_first_not_of(separators);
        while (at != std::string_view::npos) {
            const std::size_t stop = line.find_first_of(separators, at);
            fields.push_back(line.substr(at, stop - at));
            at = stop == std::string_view::npos ? stop : line.find_first_not_of(separators, stop);
        }
        if (fields.empty() || fields.front().front() == '#')
            continue;
        DragPoint point;
        if (fields.size() != 2 || !readNumber(fields[0], point.mach) ||
            !readNumber(fields[1], point.cd))
            return {};
        points.push_back(point);
    }
    if (!dragTableUsable(points))
        return {};
    return points;
}

} // namespace siacci::pointmass

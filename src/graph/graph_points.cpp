#include "graph/graph_points.hpp"

#include "ballistics/engine/engine.hpp"
#include "common/number_text.hpp"
#include "common/units.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace siacci {
namespace {

// A list item read back as the graph stores it: never NaN or infinity, and within a float.
float storedTimesTen(std::string_view item)
{
    const double value = plainReading(item) * 10;
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kFloatMax, kFloatMax));
}

// Fills one column of GraphPoints from one list: point i takes the item i - 1 (point 1 the
// empty text before the list's leading "%"). Items missing from a short list read 0.
template <class Column>
void loadColumn(const std::string& list, int n, GraphPointTable& points, Column column)
{
    const std::string text = list + "%";
    std::size_t p = 0; // one past the "%" that ends the previous item, counted from 0
    for (int i = 1; i <= n; ++i) {
        const std::size_t q = p <= text.size() ? text.find('%', p) : std::string::npos;
        if (q == std::string::npos) {
            points[i].*column = 0;
            p = text.size() + 1;
            continue;
        }
        points[i].*column = storedTimesTen(std::string_view(text).substr(p, q - p));
        p = q + 1;
    }
}

} // namespace

GraphRun europagraphic(const ShotInput& in, GraphState& state)
{
    state.Text1.clear();
    state.Text2.clear();
    if (!(in.velocity > 0) || in.bc == 0 || std::isnan(in.bc) || !(in.increment > 0) ||
        !std::isfinite(in.increment))
        return {GraphOutcome::InvalidInput};
    auto shot = prepareShot(in.velocity, in.bc, in.altitude, in.temperature, in.weight,
                            in.sightHeight);
    switch (shot.refusal) {
    case ShotRefusal::None: break;
    case ShotRefusal::VelocityOutOfBand: return {GraphOutcome::NoBand};
    case ShotRefusal::NotComputable: return {GraphOutcome::InvalidInput};
    default: return {GraphOutcome::Refused, shot.refusal};
    }

    // The muzzle and the zero come first, as in a table run: they set the current band.
    evaluatePoint(*shot, 0);
    zeroShot(*shot, in.zeroDistance);

    const double step_ft = kFeetPerMetreDistance * in.increment;
    double x_ft = 0;
    for (int computed = 0;; ++computed) {
        if (computed == kGraphComputedPointsMax)
            return {GraphOutcome::Truncated};
        const TrajectoryPoint point = evaluatePoint(*shot, x_ft);
        const double y = pathHeight(*shot, x_ft, point);
        double h = std::floor(10 * y + 0.49) / 10;
        h = std::floor(10 * h) / 10 + siteCorrection(in.siteAngle, point.time_s, in.weight);
        if (x_ft == 0)
            h = -in.sightHeight;
        const double m = std::floor(10 * x_ft / kFeetPerMetreDistance + 0.49) / 10;
        // Extreme inputs can drive the extrapolated quadratics out of range: keep what was
        // computed rather than write a number that is not one.
        if (!std::isfinite(h) || !std::isfinite(m))
            return {computed > 0 ? GraphOutcome::Truncated : GraphOutcome::InvalidInput};

        state.Text1 += "%" + cellText(m);
        state.Text2 += "%" + shortNumber(h * 10);

        if (x_ft / kFeetPerMetreDistance + 0.49 >= kGraphReach_m)
            return {GraphOutcome::Computed};
        x_ft += step_ft;
    }
}

void LoadGraphPoints(GraphState& state)
{
    const auto marks = std::count(state.Text1.begin(), state.Text1.end(), '%');
    const int n = static_cast<int>(std::min<std::ptrdiff_t>(1 + marks, kGraphPointsLast));
    state.N = n;
    loadColumn(state.Text1, n, state.GraphPoints, &GraphPoint::distance_dm);
    loadColumn(state.Text2, n, state.GraphPoints, &GraphPoint::height_tenthMm);
}

std::string graphTitle(std::string_view description, double zeroDistance, double velocity)
{
    return std::string(description) + "   Taratura Arma metri:" + shortNumber(zeroDistance) +
           "   Velocità Iniziale metri:" + shortNumber(velocity);
}

} // namespace siacci

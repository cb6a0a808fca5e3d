#include "ballistics/pointmass/fixed_bore.hpp"

#include "ballistics/pointmass/checks.hpp"
#include "ballistics/pointmass/zero.hpp"

#include <cmath>
#include <numbers>
#include <vector>

namespace siacci::pointmass {

namespace {

constexpr double kRadPerMoa = std::numbers::pi / (180 * 60);
constexpr double kDegree = std::numbers::pi / 180;
// A bore or a correction beyond 45 degrees is no rifle's.
constexpr double kMaxAngle_moa = 45 * 60;

bool usableAngle(double moa) { return std::isfinite(moa) && std::fabs(moa) <= kMaxAngle_moa; }

} // namespace

FixedBoreFlight::FixedBoreFlight(const Bullet& bullet, const Conditions& conditions,
                                 const FixedBore& bore)
    : m_bullet(bullet), m_wind(conditions.wind)
{
    Zeroing zeroing;
    zeroing.sightHeight_cm = bore.sightHeight_cm;
    m_refusal = inputRefusal(bullet, conditions, zeroing, TableSpan{0, 1});
    if (m_refusal == Refusal::None &&
        (!usableAngle(bore.boreElevation_moa) || !usableAngle(bore.dialElevation_moa) ||
         !usableAngle(bore.dialWindage_moa)))
        m_refusal = Refusal::BadSpan;
    if (m_refusal != Refusal::None)
        return;
    m_drag.emplace(bullet);
    const double look = conditions.lookAngle_deg * kDegree;
    m_setup = flightSetup(*m_drag, conditions.atmosphere, conditions.wind, conditions.earth,
                          bullet.muzzleVelocity_ms, look);
    // The bore raised by the correction above a line of sight that stays on the aim point.
    m_bore_rad = (bore.boreElevation_moa + bore.dialElevation_moa) * kRadPerMoa;
    m_setup.launchAngle_rad = look + m_bore_rad;
    m_setup.launchAzimuth_rad = bore.dialWindage_moa * kRadPerMoa;
    m_sight_m = bore.sightHeight_cm / 100;
    m_spinScale_in = spinDriftScale_in(bullet, stabilityFactor(bullet, conditions.atmosphere));
}

ShotVariation FixedBoreFlight::nominal() const
{
    return {m_bullet.muzzleVelocity_ms, 1, m_wind};
}

FlightSetup FixedBoreFlight::setupFor(const ShotVariation& shot) const
{
    FlightSetup setup = m_setup;
    setup.muzzleVelocity_ms = shot.muzzleVelocity_ms;
    // The density enters the flight only through the drag.
    setup.muzzleDensity_kgm3 *= shot.dragFactor;
    if (shot.wind.speed_ms != m_wind.speed_ms || shot.wind.fromAngle_deg != m_wind.fromAngle_deg) {
        const double from = shot.wind.fromAngle_deg * kDegree;
        setup.wind_ms = {-shot.wind.speed_ms * pm::cos(from), 0,
                         -shot.wind.speed_ms * pm::sin(from)};
    }
    return setup;
}

std::size_t FixedBoreFlight::flyPoints(const ShotVariation& shot,
                                       std::span<const double> distances,
                                       std::span<FlightPoint> out,
                                       const Tolerance& tolerance) const
{
    return pointmass::fly(setupFor(shot), distances, out, tolerance);
}

std::size_t FixedBoreFlight::fly(const ShotVariation& shot, std::span<const double> distances,
                                 std::span<Impact> out, const Tolerance& tolerance) const
{
    constexpr std::size_t kOnStack = 64;
    FlightPoint stack[kOnStack];
    std::vector<FlightPoint> heap;
    std::span<FlightPoint> points(stack, std::min(distances.size(), kOnStack));
    if (distances.size() > kOnStack) {
        heap.resize(distances.size());
        points = heap;
    }
    const FlightSetup setup = setupFor(shot);
    const std::size_t reached = pointmass::fly(setup, distances, points, tolerance);
    const SightFrame frame(setup.lookAngle_rad);
    const double offset = sightOffset_m(m_sight_m, m_bore_rad);
    for (std::size_t k = 0; k < reached; ++k) {
        const FlightPoint& p = points[k];
        Impact& impact = out[k];
        impact.distance_m = distances[k];
        impact.time_s = p.time_s;
        impact.path_cm = 100 * (frame.height(p.state) - offset);
        const double spin_m =
            m_spinScale_in != 0 ? m_spinScale_in * pm::pow(p.time_s, 1.83) * 0.0254 : 0;
        impact.windage_cm = 100 * (p.state[2] + spin_m);
    }
    return reached;
}

Result flyFixedBore(const Bullet& bullet, const Conditions& conditions, const FixedBore& bore,
                    const TableSpan& span)
{
    Result result;
    const FixedBoreFlight flight(bullet, conditions, bore);
    result.refusal = flight.ok() ? inputRefusal(bullet, conditions, Zeroing{}, span)
                                 : flight.refusal();
    if (!result.ok())
        return result;
    const std::vector<double> distances = rowDistances(span);
    std::vector<FlightPoint> points(distances.size());
    const FlightSetup setup = flight.setupFor(flight.nominal());
    points.resize(pointmass::fly(setup, distances, points, kCardTolerance));
    Trajectory& out = result.trajectory;
    out.boreElevation_moa = bore.boreElevation_moa;
    out.coriolis = conditions.earth.has_value();
    out.stability_sg = stabilityFactor(bullet, conditions.atmosphere);
    out.spinDrift = out.stability_sg.has_value();
    const RowMaker rowOf(setup, flight.sight_m(), flight.boreElevation_rad(), flight.spinScale_in(),
                         bullet.weight_gr);
    for (std::size_t k = 0; k < points.size(); ++k) {
        out.rows.push_back(rowOf(distances[k], points[k]));
        if (out.rows.back().path_cm > out.maxOrdinate_cm) {
            out.maxOrdinate_cm = out.rows.back().path_cm;
            out.maxOrdinateDistance_m = distances[k];
        }
    }
    return result;
}

} // namespace siacci::pointmass

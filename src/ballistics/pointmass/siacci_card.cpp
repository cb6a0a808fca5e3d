// The card's rows from the program's closed-form Siacci engine, entered exactly as the classic
// metric table enters it (its own m/s -> ft/s and metre -> foot conversions, its zero in whole
// feet), with what the card knows beyond the classic table: the density ratio of the card's air,
// the crosswind component of any wind, and the look angle.
#include "ballistics/engine/engine.hpp"
#include "ballistics/pointmass/atmosphere.hpp"
#include "ballistics/pointmass/checks.hpp"
#include "ballistics/pointmass/golden_section.hpp"
#include "common/units.hpp"
#include "common/portable_math.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace siacci::pointmass {

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kMoaPerRad = 60 / kDegree;
// The classic table's drift is the lag in a crosswind of 10 mph square to the line of fire.
constexpr double kClassicWind_ms = 10 * 0.44704;
// The classic engine's aim terms are per 300 ft, in cm.
constexpr double kAimBase_cm = 300 / kFeetPerMetreDistance * 100;

bool honoursOnlySiacci(const Bullet& b, const Conditions& c)
{
    return b.model == DragModel::G1 && b.dragTable.empty() && b.bcSteps.empty() && !c.earth &&
           !(b.diameter_mm && b.length_mm && b.twist_in);
}

// The classic context in the air of a density ratio (1 at 15 C and sea level).
PreparedShot contextIn(const Bullet& b, double sight_cm, const Atmosphere& air)
{
    auto shot = prepareShot(b.muzzleVelocity_ms, b.bc_lbin2, 0, kStandardTemperature_C,
                            b.weight_gr, sight_cm);
    if (!shot)
        return shot;
    shot->density = airDensity_kgm3(air) / kStandardDensity_kgm3;
    shot->effectiveBc = b.bc_lbin2 / shot->density;
    // The classic table evaluates the muzzle first, which sets the band it starts from.
    evaluatePoint(*shot, 0);
    return shot;
}

} // namespace

Result computeSiacciTrajectory(const Bullet& bullet, const Conditions& conditions,
                               const Zeroing& zeroing, const TableSpan& span)
{
    Result result;
    result.refusal = inputRefusal(bullet, conditions, zeroing, span);
    if (result.ok() && !honoursOnlySiacci(bullet, conditions))
        result.refusal = Refusal::NotForSiacci;
    if (!result.ok())
        return result;
    const double sight_cm = zeroing.sightHeight_cm;
    auto prepared = contextIn(bullet, sight_cm, conditions.atmosphere);
    if (!prepared) {
        result.refusal = Refusal::OutsideSiacciVelocities;
        return result;
    }
    ShotContext& shot = *prepared;
    if (zeroing.atmosphere) {
        ShotContext zeroed = *contextIn(bullet, sight_cm, *zeroing.atmosphere);
        zeroShot(zeroed, zeroing.zeroDistance_m);
        shot.zeroSlope = zeroed.zeroSlope;
    } else {
        zeroShot(shot, zeroing.zeroDistance_m);
    }

    const double cosLook = pm::cos(conditions.lookAngle_deg * kDegree);
    const double crosswind = pm::sin(conditions.wind.fromAngle_deg * kDegree) *
                             conditions.wind.speed_ms / kClassicWind_ms;
    const double sound_ms = speedOfSound_ms(conditions.atmosphere.temperature_C);
    // Path and drop at X feet: the drop is the fall measured across the line of sight.
    const auto pathAt = [&](ShotContext& context, double x_ft, TrajectoryPoint& p) {
        p = evaluatePoint(context, x_ft);
        return pathHeight(context, x_ft, p) + p.drop * (1 - cosLook);
    };

    Trajectory& out = result.trajectory;
    const std::vector<double> distances = rowDistances(span);
    out.rows.reserve(distances.size());
    const double step_ft = kFeetPerMetreDistance * span.increment_m;
    double x_ft = 0; // summed step by step, as the classic table steps
    for (const double distance : distances) {
        TrajectoryPoint p;
        Row row;
        row.path_cm = pathAt(shot, x_ft, p);
        // Below the slowest band the quadratics are no longer the bullet's (they gave -5.8 m/s
        // and 87 s of flight at 8000 m): the rows stop there, as for a bullet that does not
        // arrive, and the card says so.
        if (!(p.velocity_fps >= kDragBands.front().lower_fps) || !std::isfinite(row.path_cm))
            break;
        row.distance_m = distance;
        row.velocity_ms = p.velocity_ms;
        row.mach = p.velocity_ms / sound_ms;
        row.time_s = p.time_s;
        row.energy_J = energy_J(bullet.weight_gr, p.velocity_ms);
        row.energy_kgm = row.energy_J / kJoulesPerKgm;
        row.drop_cm = p.drop * cosLook;
        // Lag rule: the drift grows with the crosswind; a wind from the right pushes left.
        row.windage_cm = x_ft > 0 ? -p.drift * crosswind : 0;
        out.rows.push_back(row);
        x_ft += step_ft;
    }

    out.boreElevation_moa = pm::atan(shot.zeroSlope / kAimBase_cm) * kMoaPerRad;
    // The highest point between the muzzle and the last row: the path is concave there, so a
    // golden-section search finds it to a millimetre of distance.
    ShotContext scan = shot;
    const auto heightAt = [&](double x) {
        TrajectoryPoint p;
        return pathAt(scan, x, p);
    };
    const Peak top =
        goldenSectionMaximum(heightAt, 0, kFeetPerMetreDistance * distances.back(), 0.003);
    out.maxOrdinate_cm = std::max(top.value, -sight_cm);
    out.maxOrdinateDistance_m = top.value > -sight_cm ? top.x / kFeetPerMetreDistance : 0;
    return result;
}

} // namespace siacci::pointmass

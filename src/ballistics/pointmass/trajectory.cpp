#include "ballistics/pointmass/atmosphere.hpp"
#include "ballistics/pointmass/checks.hpp"
#include "ballistics/pointmass/golden_section.hpp"
#include "ballistics/pointmass/flight.hpp"
#include "ballistics/pointmass/zero.hpp"
#include "common/portable_math.hpp"

#include <cmath>
#include <numbers>

namespace siacci::pointmass {

namespace {

constexpr double kDegree = std::numbers::pi / 180;
constexpr double kMoaPerRad = 60 / kDegree;
constexpr double kMmPerInch = 25.4;
constexpr double kMetresPerInch = 0.0254;
constexpr double kFeetPerMetre = 1 / 0.3048;
constexpr double kInHgPerHpa = 0.029529983;

bool positive(double x) { return std::isfinite(x) && x > 0; }

Refusal bulletRefusal(const Bullet& b)
{
    if (!positive(b.muzzleVelocity_ms))
        return Refusal::VelocityNotPositive;
    if (b.dragTable.empty()) {
        if (!positive(b.bc_lbin2))
            return Refusal::BcNotPositive;
        for (const BcStep& step : b.bcSteps)
            if (!positive(step.bc_lbin2) || !std::isfinite(step.fromVelocity_ms))
                return Refusal::BcNotPositive;
    }
    if (!positive(b.weight_gr))
        return Refusal::WeightNotPositive;
    if (!b.dragTable.empty() && !dragTableUsable(b.dragTable))
        return Refusal::BadDragTable;
    if ((b.diameter_mm && !positive(*b.diameter_mm)) || (b.length_mm && !positive(*b.length_mm)) ||
        (b.twist_in && !(std::isfinite(*b.twist_in) && *b.twist_in != 0)))
        return Refusal::BadBulletSize;
    if (!b.dragTable.empty() && !b.diameter_mm)
        return Refusal::DiameterNeeded;
    return Refusal::None;
}

Refusal airRefusal(const Atmosphere& air)
{
    if (!(air.humidity_pct >= 0 && air.humidity_pct <= 100))
        return Refusal::HumidityOutOfRange;
    if (!atmosphereUsable(air))
        return Refusal::BadAtmosphere;
    return Refusal::None;
}

} // namespace

FlightSetup flightSetup(const DragFunction& drag, const Atmosphere& air, const Wind& wind,
                        const std::optional<EarthPosition>& earth, double velocity_ms,
                        double lookAngle_rad)
{
    FlightSetup setup;
    setup.drag = &drag;
    setup.muzzleDensity_kgm3 = airDensity_kgm3(air);
    setup.muzzleTemperature_K = air.temperature_C + kCelsiusZero_K;
    const double from = wind.fromAngle_deg * kDegree;
    setup.wind_ms = {-wind.speed_ms * pm::cos(from), 0, -wind.speed_ms * pm::sin(from)};
    if (earth) {
        const double lat = earth->latitude_deg * kDegree, az = earth->azimuth_deg * kDegree;
        setup.earthRotation_rads = std::array<double, 3>{
            kEarthRotation_rads * pm::cos(lat) * pm::cos(az), kEarthRotation_rads * pm::sin(lat),
            -kEarthRotation_rads * pm::cos(lat) * pm::sin(az)};
    }
    setup.muzzleVelocity_ms = velocity_ms;
    setup.lookAngle_rad = lookAngle_rad;
    return setup;
}

Refusal inputRefusal(const Bullet& bullet, const Conditions& conditions, const Zeroing& zeroing,
                     const TableSpan& span)
{
    if (const Refusal r = bulletRefusal(bullet); r != Refusal::None)
        return r;
    if (const Refusal r = airRefusal(conditions.atmosphere); r != Refusal::None)
        return r;
    if (zeroing.atmosphere)
        if (const Refusal r = airRefusal(*zeroing.atmosphere); r != Refusal::None)
            return r;
    const Wind& w = conditions.wind;
    if (!(w.speed_ms >= 0) || !std::isfinite(w.speed_ms) || !std::isfinite(w.fromAngle_deg))
        return Refusal::BadWind;
    if (!std::isfinite(zeroing.sightHeight_cm))
        return Refusal::BadSpan;
    if (conditions.earth && (!std::isfinite(conditions.earth->latitude_deg) ||
                             !std::isfinite(conditions.earth->azimuth_deg) ||
                             std::fabs(conditions.earth->latitude_deg) > 90))
        return Refusal::BadAtmosphere;
    if (!(std::fabs(conditions.lookAngle_deg) <= kMaxLookAngle_deg))
        return Refusal::LookAngleOutOfRange;
    if (!positive(span.increment_m) || !(span.maxDistance_m >= 0) ||
        !std::isfinite(span.maxDistance_m))
        return Refusal::BadSpan;
    if (span.maxDistance_m / span.increment_m >= kMaxRows)
        return Refusal::TooManyRows;
    if (!positive(zeroing.zeroDistance_m))
        return Refusal::ZeroNotPositive;
    return Refusal::None;
}

std::vector<double> rowDistances(const TableSpan& span)
{
    const auto steps =
        static_cast<std::size_t>(std::floor(span.maxDistance_m / span.increment_m + 1e-6));
    std::vector<double> distances(steps + 1);
    for (std::size_t k = 0; k <= steps; ++k)
        distances[k] = static_cast<double>(k) * span.increment_m;
    return distances;
}

double spinDriftScale_in(const Bullet& bullet, std::optional<double> stability_sg)
{
    return stability_sg ? std::copysign(1.25 * (*stability_sg + 1.2), *bullet.twist_in) : 0;
}

double energy_J(double weight_gr, double velocity_ms)
{
    return 0.5 * weight_gr * kKgPerGrain * velocity_ms * velocity_ms;
}

std::optional<double> stabilityFactor(const Bullet& bullet, const Atmosphere& air)
{
    if (!bullet.diameter_mm || !bullet.length_mm || !bullet.twist_in)
        return std::nullopt;
    // Miller: m grains, d inches, l calibres, t calibres per turn, v ft/s, in the shot's air.
    const double d = *bullet.diameter_mm / kMmPerInch;
    const double l = *bullet.length_mm / *bullet.diameter_mm;
    const double t = std::fabs(*bullet.twist_in) / d;
    const double v_fps = bullet.muzzleVelocity_ms * kFeetPerMetre;
    const double t_F = air.temperature_C * 9 / 5 + 32;
    const double p_inHg = air.pressure_hPa * kInHgPerHpa;
    return 30 * bullet.weight_gr / (t * t * d * d * d * l * (1 + l * l)) * pm::cbrt(v_fps / 2800) *
           ((t_F + 460) / 519) * (29.92 / p_inHg);
}

Result computeTrajectory(const Bullet& bullet, const Conditions& conditions, const Zeroing& zeroing,
                         const TableSpan& span)
{
    Result result;
    result.refusal = inputRefusal(bullet, conditions, zeroing, span);
    if (!result.ok())
        return result;
    const DragFunction drag(bullet);
    const double sight_m = zeroing.sightHeight_cm / 100;

    // The zero: level, still air of the zero, the earth turning when it is known.
    const FlightSetup zeroSetup =
        flightSetup(drag, zeroing.atmosphere.value_or(conditions.atmosphere), Wind{},
                    conditions.earth, bullet.muzzleVelocity_ms, 0);
    const auto elevation = solveZero(zeroSetup, sight_m, zeroing.zeroDistance_m, kCardTolerance);
    if (!elevation) {
        result.refusal = Refusal::ZeroUnreachable;
        return result;
    }

    const double look = conditions.lookAngle_deg * kDegree;
    FlightSetup setup = flightSetup(drag, conditions.atmosphere, conditions.wind, conditions.earth,
                                    bullet.muzzleVelocity_ms, look);
    setup.launchAngle_rad = look + *elevation;
    const std::vector<double> distances = rowDistances(span);
    std::vector<FlightPoint> points(distances.size());
    FlightPoint apex;
    points.resize(fly(setup, distances, points, kCardTolerance, &apex));

    Trajectory& out = result.trajectory;
    out.boreElevation_moa = *elevation * kMoaPerRad;
    out.coriolis = conditions.earth.has_value();
    out.stability_sg = stabilityFactor(bullet, conditions.atmosphere);
    out.spinDrift = out.stability_sg.has_value();
    // Spin drift (empirical, inches for a time of flight in s), toward the twist.
    const double spinScale = spinDriftScale_in(bullet, out.stability_sg);

    const RowMaker rowOf(setup, sight_m, *elevation, spinScale, bullet.weight_gr);
    out.rows.reserve(points.size());
    for (std::size_t k = 0; k < points.size(); ++k)
        out.rows.push_back(rowOf(distances[k], points[k]));
    out.maxOrdinate_cm = 100 * rowOf.path_m(apex.state);
    out.maxOrdinateDistance_m = std::max(0.0, rowOf.frame.distance(apex.state));
    return result;
}

RowMaker::RowMaker(const FlightSetup& flight, double sight_m, double boreElevation_rad,
                   double spinScale_in, double weight_gr)
    : setup(flight), frame(flight.lookAngle_rad), offset_m(sightOffset_m(sight_m, boreElevation_rad)),
      slope(pm::tan(boreElevation_rad)), spinScale_in(spinScale_in), weight_gr(weight_gr)
{
}

Row RowMaker::operator()(double distance_m, const FlightPoint& p) const
{
    const State& s = p.state;
    Row row;
    row.distance_m = distance_m; // located to a nanometre
    row.velocity_ms = std::sqrt(s[3] * s[3] + s[4] * s[4] + s[5] * s[5]);
    const double ax = s[3] - setup.wind_ms[0], ay = s[4], az = s[5] - setup.wind_ms[2];
    row.mach = std::sqrt(ax * ax + ay * ay + az * az) / Dynamics{setup}.speedOfSound_ms(s[1]);
    row.time_s = p.time_s;
    row.energy_J = energy_J(weight_gr, row.velocity_ms);
    row.energy_kgm = row.energy_J / kJoulesPerKgm;
    const double path = path_m(s);
    row.path_cm = 100 * path;
    row.drop_cm = 100 * (frame.distance(s) * slope - offset_m - path);
    row.windage_cm = 100 * (s[2] + spin_m(p.time_s));
    return row;
}

double RowMaker::spin_m(double time_s) const
{
    return spinScale_in != 0 ? spinScale_in * pm::pow(time_s, 1.83) * kMetresPerInch : 0;
}

double maximumRange_m(const Bullet& bullet, const Conditions& conditions)
{
    if (bulletRefusal(bullet) != Refusal::None ||
        airRefusal(conditions.atmosphere) != Refusal::None)
        return 0;
    const DragFunction drag(bullet);
    FlightSetup setup = flightSetup(drag, conditions.atmosphere, conditions.wind, conditions.earth,
                                    bullet.muzzleVelocity_ms, 0);
    // A bullet fired for range flies for minutes.
    constexpr double kMaxTime_s = 600;
    const auto rangeAt = [&](double angle_deg) {
        setup.launchAngle_rad = angle_deg * kDegree;
        return flyToMuzzleHeight_m(setup, kMaxTime_s);
    };
    // The best angle between 5 and 60 degrees, to 0.05 degree (the
    // range is flat near its maximum).
    return goldenSectionMaximum(rangeAt, 5, 60, 0.05).value;
}

Correction correctionAt(const Row& row, const ClickValue& click)
{
    Correction c;
    if (!(row.distance_m > 0))
        return c;
    const double elevation = -pm::atan(row.path_cm / 100 / row.distance_m);
    const double windage = -pm::atan(row.windage_cm / 100 / row.distance_m);
    c.elevation_moa = elevation * kMoaPerRad;
    c.elevation_mrad = elevation * 1000;
    c.windage_moa = windage * kMoaPerRad;
    c.windage_mrad = windage * 1000;
    if (positive(click.value)) {
        const bool moa = click.unit == AngleUnit::Moa;
        c.elevationClicks = std::lround((moa ? c.elevation_moa : c.elevation_mrad) / click.value);
        c.windageClicks = std::lround((moa ? c.windage_moa : c.windage_mrad) / click.value);
    }
    return c;
}

std::string refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        return "";
    case Refusal::VelocityNotPositive:
        return "La velocità iniziale deve essere maggiore di zero.";
    case Refusal::BcNotPositive:
        return "Il coefficiente balistico deve essere maggiore di zero.";
    case Refusal::WeightNotPositive:
        return "Il peso del proiettile deve essere maggiore di zero.";
    case Refusal::BadDragTable:
        return "La tabella di resistenza deve avere su ogni riga due numeri, Mach e Cd, con il "
               "Mach crescente.";
    case Refusal::HumidityOutOfRange:
        return "L'umidità relativa deve essere tra 0 e 100 %.";
    case Refusal::LookAngleOutOfRange:
        return "L'angolo di tiro deve essere tra -80 e +80 gradi.";
    case Refusal::BadAtmosphere:
        return "Condizioni fuori dai limiti: la temperatura va da -80 a +60 gradi, la pressione "
               "da 100 a 1200 hPa, la latitudine da -90 a +90 gradi.";
    case Refusal::TooManyRows:
        return "La tabella avrebbe più di 10.000 righe: aumenta l'incremento.";
    case Refusal::ZeroUnreachable:
        return "Il proiettile non arriva alla distanza di taratura: riduci la distanza di "
               "taratura.";
    case Refusal::NotForSiacci:
        return "Il metodo di Siacci non tiene conto di G7, tabelle di resistenza, coefficienti a "
               "gradini, Coriolis e deriva giroscopica: usa il motore a punto materiale.";
    case Refusal::BadSpan:
        return "L'incremento e la distanza massima devono essere maggiori di zero.";
    case Refusal::ZeroNotPositive:
        return "La distanza di taratura deve essere maggiore di zero.";
    case Refusal::DiameterNeeded:
        return "Con una tabella di resistenza serve il diametro del proiettile.";
    case Refusal::BadBulletSize:
        return "Diametro, lunghezza e passo di rigatura devono essere maggiori di zero.";
    case Refusal::BadWind:
        return "La velocità del vento non può essere negativa: la direzione si dà con l'ora o "
               "l'angolo.";
    case Refusal::OutsideSiacciVelocities:
        return "Velocità fuori dai limiti del metodo di Siacci: imposta una velocità da 92 a "
               "1.371 metri/sec.";
    }
    return "";
}

} // namespace siacci::pointmass

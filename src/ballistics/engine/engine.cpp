#include "ballistics/engine/engine.hpp"

#include "common/units.hpp"

#include <cmath>

namespace siacci {

// clang-format off
const std::array<DragBand, 22> kDragBands = {{
    //  lower   upper    Vm        a        b          c             d         e              f               sLo      sHi
    {  300,    400,    350,     39663,   -63.768,   0.0758391,   49.699,   -0.1845,       0.000482396,    36664.2, 43041},
    {  400,    500,    450,     33958.1, -51.756,   0.0473157,   35.269,   -0.115879,     0.000234824,    31488.6, 36664.2},
    {  500,    600,    550,     29218.7, -43.64,    0.035161,    25.7322,  -0.079629,     0.000136695,    27124.6, 31488.6},
    {  600,    700,    650,     25192,   -37.095,   0.0311391,   18.9904,  -0.057305,     0.0000920586,   23415.1, 27124.6},
    {  700,    800,    750,     21792,   -30.896,   0.0313196,   14.1144,  -0.041349,     0.000069381,    20325.5, 23415.1},
    {  800,    900,    850,     19020.1, -24.4588,  0.0330303,   10.6366,  -0.0288527,    0.0000558719,   17879.9, 20325.5},
    {  900,    1000,   950,     16906.5, -17.8388,  0.0325134,   8.27886,  -0.01884,      0.0000441677,   16095.6, 17879.9},
    {  1000,   1050,   1025,    15747.2, -13.2423,  0.0276581,   7.10211,  -0.0129298,    0.0000332035,   15433.3, 16095.6},
    {  1050,   1075,   1062.5,  15288.1, -11.3183,  0.023346,    6.66207,  -0.0106524,    0.0000268757,   15150.3, 15433.3},
    {  1075,   1100,   1087.5,  15019.2, -10.2383,  0.0199585,   6.41183,  -0.00941688,   0.000022611,    14894.3, 15150.3},
    {  1100,   1110,   1105,    14846,   -9.58136,  0.0164795,   6.25378,  -0.00866849,   0.000020396,    14798.5, 14894.3},
    {  1110,   1120,   1115,    14751.9, -9.23136,  0.0165939,   6.16907,  -0.00828369,   0.0000183284,   14706.2, 14798.5},
    {  1120,   1130,   1125,    14661.2, -8.93002,  0.0147629,   6.08802,  -0.00793184,   0.0000170991,   14616.9, 14706.2},
    {  1130,   1150,   1140,    14530.6, -8.482,    0.0116909,   5.97274,  -0.00745342,   0.0000150953,   14447,   14616.9},
    {  1150,   1250,   1200,    14062.5, -7.2568,   0.00850001,  5.57228,  -0.006058,     0.0000096174,   13720.5, 14447},
    {  1250,   1500,   1375,    12977.5, -5.5464,   0.00306207,  4.72557,  -0.00405656,   0.00000372586,  12330.3, 13720.5},
    {  1500,   2000,   1750,    11189.1, -4.31589,  0.000960342, 3.56969,  -0.00249074,   0.00000127366,  10168.1, 12330.3},
    {  2000,   2500,   2250,    9222.06, -3.66916,  0.00045401,  2.57801,  -0.00163915,   0.000000568494, 8332.83, 10168.1},
    {  2500,   3000,   2750,    7492.73, -3.26733,  0.000371407, 1.88267,  -0.0011924,    0.000000352828, 6699.05, 8332.83},
    {  3000,   3500,   3250,    5950.45, -2.90704,  0.000348885, 1.36656,  -0.000897071,  0.000000245908, 5245.45, 6699.05},
    {  3500,   4000,   3750,    4582.38, -2.57414,  0.000310524, 0.974457, -0.000688003,  0.000000174925, 3958.11, 5245.45},
    {  4000,   4500,   4250,    3369.09, -2.29123,  0.000257709, 0.670381, -0.000540083,  0.000000124357, 2812.29, 3958.11},
}};
// clang-format on

namespace {

// Standard temperature 59 F as an absolute temperature, degrees Rankine, and the zero of the
// Fahrenheit scale in Rankine.
constexpr double kStandardRankine = 518.67;
constexpr double kRankineAtZeroF = 459.67;
constexpr double kEnergyDivisor = 450400;     // w V^2 / 450400: grains, fps -> foot-pounds
constexpr double kWindInchesPerSecond = 176;  // 10 mph
constexpr double kMrtMetric = 123.444;        // cm per s^2 of time of flight
constexpr double kMrtImperial = 48.6;         // the same without the factor 2.54
constexpr double kAimBase_ft = 300;           // aim terms are per 300 ft (100 yards)

double spaceOf(const DragBand& band, double v)
{
    const double dv = v - band.mid_fps;
    return band.a + band.b * dv + band.c * dv * dv;
}

double timeOf(const DragBand& band, double v)
{
    const double dv = v - band.mid_fps;
    return band.d + band.e * dv + band.f * dv * dv;
}

// Relative air density: 1 at 59 F (15 C) and sea level.
double airDensity(double altitude_m, double temperature_c)
{
    const double h_ft = kFeetPerMetreVelocity * altitude_m;
    const double t_f = temperature_c / 5 * 9 + 32;
    return (kStandardRankine / (t_f + kRankineAtZeroF)) *
           (1 - 0.0000359596 * h_ft + 0.00000000047741 * h_ft * h_ft);
}

bool within(double value, double lowest, double highest)
{
    return value >= lowest && value <= highest; // false for NaN
}

PreparedShot prepare(UnitSystem units, double v0_fps, double bc, double altitude_m,
                     double temperature_c, double weight_gr, double sight)
{
    PreparedShot prepared;
    const auto band = muzzleBand(v0_fps);
    if (!band)
        prepared.refusal = ShotRefusal::VelocityOutOfBand;
    else if (bc < 0)
        prepared.refusal = ShotRefusal::NegativeCoefficient;
    else if (!within(altitude_m, kMinAltitude_m, kMaxAltitude_m))
        prepared.refusal = ShotRefusal::AltitudeOutOfRange;
    else if (!within(temperature_c, kMinTemperature_c, kMaxTemperature_c))
        prepared.refusal = ShotRefusal::TemperatureOutOfRange;
    if (prepared.refusal != ShotRefusal::None)
        return prepared;
    ShotContext& shot = prepared.context;
    shot.units = units;
    shot.v0_fps = v0_fps;
    shot.density = airDensity(altitude_m, temperature_c);
    shot.effectiveBc = bc / shot.density;
    // A coefficient of 0 leaves no scale for distance and time: nothing could be computed from
    // such a context.
    if (!std::isfinite(shot.effectiveBc) || shot.effectiveBc == 0 || !std::isfinite(weight_gr) ||
        !std::isfinite(sight)) {
        prepared.refusal = ShotRefusal::NotComputable;
        return prepared;
    }
    shot.band = *band;
    shot.s0 = spaceOf(kDragBands[*band], v0_fps);
    shot.t0 = timeOf(kDragBands[*band], v0_fps);
    shot.sightHeight = sight;
    shot.weight_gr = weight_gr;
    shot.zeroSlope = sight;
    return prepared;
}

// The band whose stored space range holds S, or -1 when none does. The ranges are disjoint, so
// looking first at the band last used finds the same band as a scan in table order.
int spaceBand(double s, int hint)
{
    const auto holds = [s](const DragBand& b) { return b.sLo < s && s <= b.sHi; };
    if (hint >= 0 && hint < static_cast<int>(kDragBands.size()) && holds(kDragBands[hint]))
        return hint;
    for (int i = 0; i < static_cast<int>(kDragBands.size()); ++i)
        if (holds(kDragBands[i]))
            return i;
    return -1;
}

} // namespace

std::optional<int> muzzleBand(double v0_fps)
{
    for (int i = 0; i < static_cast<int>(kDragBands.size()); ++i)
        if (kDragBands[i].lower_fps <= v0_fps && v0_fps < kDragBands[i].upper_fps)
            return i;
    return std::nullopt;
}

PreparedShot prepareShot(double velocity_ms, double bc, double altitude_m, double temperature_c,
                         double weight_gr, double sight_cm)
{
    return prepare(UnitSystem::Metric, std::floor(kFeetPerMetreVelocity * velocity_ms), bc,
                   altitude_m, temperature_c, weight_gr, sight_cm);
}

PreparedShot prepareShotImperial(double velocity_fps, double bc, double altitude_m,
                                 double temperature_c, double weight_gr, double sight_in)
{
    return prepare(UnitSystem::Imperial, velocity_fps, bc, altitude_m, temperature_c, weight_gr,
                   sight_in);
}

TrajectoryPoint evaluatePoint(ShotContext& shot, double x_ft)
{
    const double s = shot.s0 + x_ft / shot.effectiveBc;
    if (const int found = spaceBand(s, shot.band); found >= 0)
        shot.band = found;
    const DragBand& band = kDragBands[shot.band];

    TrajectoryPoint p;
    p.x_ft = x_ft;
    p.band = shot.band;
    // The root of the space quadratic that equals Vm where S = a. Far past the slow end of a
    // band the discriminant could turn negative; it is taken as 0 there (never a NaN).
    double disc = band.b * band.b - 4 * band.c * (band.a - s);
    if (!(disc > 0))
        disc = 0;
    p.velocity_fps = band.mid_fps + (-band.b - std::sqrt(disc)) / (2 * band.c);
    p.velocity_ms = kMetresPerFootVelocity * p.velocity_fps;

    const double t = shot.effectiveBc * (timeOf(band, p.velocity_fps) - shot.t0);
    p.energy_ftlb = shot.weight_gr * p.velocity_fps * p.velocity_fps / kEnergyDivisor;
    p.energy_kgm = kKgmPerFootPound * p.energy_ftlb;

    const double r = p.velocity_fps / shot.v0_fps - 0.65;
    const double g = 14.0069 + 6.59285 * r - 1.94051 * r * r;
    const bool metric = shot.units == UnitSystem::Metric;
    const double lengthScale = metric ? kCentimetresPerInch : 1.0; // inches -> cm or inches
    const double h = shot.sightHeight;

    // The drift is the lag behind a flight in vacuum at the muzzle velocity. At the muzzle it
    // keeps the value of this formula, which is not 0 for the few velocities whose S0 lies just
    // outside their own band's stored range.
    p.drift = lengthScale * kWindInchesPerSecond * (t - x_ft / shot.v0_fps);

    if (x_ft <= 0) {
        p.time_s = 0;
        p.drop = 0;
        p.mrt = 0;
        p.aim = h;
        return p;
    }
    p.time_s = t;
    p.drop = lengthScale * 12 * g * t * t;
    p.mrt = (metric ? kMrtMetric : kMrtImperial) * t * t - 0.4 * h;
    if (p.mrt < 0)
        p.mrt = 0;
    p.aim = (h + p.drop) * kAimBase_ft / x_ft;
    return p;
}

void zeroShot(ShotContext& shot, double zeroDistance)
{
    const double xz = shot.units == UnitSystem::Metric
                          ? std::floor(kFeetPerMetreDistance * zeroDistance)
                          : kFeetPerYard * zeroDistance;
    shot.zeroSlope = evaluatePoint(shot, xz).aim;
}

double pathHeight(const ShotContext& shot, double x_ft, const TrajectoryPoint& point)
{
    if (x_ft <= 0)
        return -shot.sightHeight;
    return (x_ft / kAimBase_ft) * (shot.zeroSlope - point.aim);
}

double siteCorrection(const SiteAngle& angle, double time_s, double weight_gr)
{
    if (angle.factor == 0 || !(weight_gr > 0))
        return 0;
    const double n = angle.degrees; // the plain number, taken as radians
    const double c =
        std::floor(10 * angle.factor * (1 - std::cos(n)) * (0.49 + weight_gr * time_s * time_s) /
                   weight_gr) /
        10;
    return c > 0 ? c : 0;
}

} // namespace siacci

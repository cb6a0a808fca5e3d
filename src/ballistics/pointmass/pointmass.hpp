#pragma once

#include <optional>
#include <string>
#include <vector>

// The point-mass engine: a bullet flown through real air by integrating its equations of motion,
// beside (never instead of) the program's closed-form Siacci tables. Everything inside is SI;
// every name carries its unit. A pure function of its inputs: no state between calls.
namespace siacci::pointmass {

// --- the bullet -----------------------------------------------------------------------------

// The standard projectile whose drag function the ballistic coefficient refers to.
enum class DragModel { G1, G7 };

// One band of a maker's stepped coefficient: from this velocity (m/s) upward, this coefficient.
struct BcStep {
    double bc_lbin2 = 0;
    double fromVelocity_ms = 0;
};

// One point of a bullet's own measured drag curve (radar data).
struct DragPoint {
    double mach = 0;
    double cd = 0;
};

// The largest measured drag curve and stepped coefficient taken in: radar data has a few hundred
// points, a maker's table a handful of steps; more is no bullet's data, and would only slow
// every step of the flight.
inline constexpr std::size_t kMaxDragTablePoints = 2000;
inline constexpr std::size_t kMaxBcSteps = 32;

struct Bullet {
    double muzzleVelocity_ms = 0;
    double weight_gr = 0;
    DragModel model = DragModel::G1;
    double bc_lbin2 = 0;                  // the base coefficient, below every step
    std::vector<BcStep> bcSteps;          // any order; empty: one coefficient
    std::vector<DragPoint> dragTable;     // not empty: replaces model and coefficients
    std::optional<double> diameter_mm;    // with length and twist: spin drift and stability
    std::optional<double> length_mm;
    std::optional<double> twist_in;       // inches per turn; negative: left-hand rifling
};

// --- the air, the wind, the slope, the earth ------------------------------------------------

struct Atmosphere {
    double temperature_C = 15;
    double pressure_hPa = 1013.25;        // station pressure, at the muzzle
    double humidity_pct = 0;
};

// Station pressure from the altitude alone (ICAO) and from a weather report's QNH.
double pressureAtAltitude_hPa(double altitude_m);
double stationPressureFromQnh_hPa(double qnh_hPa, double altitude_m);
// Moist-air density (CIPM-2007 scaled to 1.2250 at 15 C, 1013.25 hPa, dry) and speed of sound.
double airDensity_kgm3(const Atmosphere& air);
double speedOfSound_ms(double temperature_C);

// The wind blows horizontally, from a direction on the clock face: 12 from the target,
// 3 from the right (angle = 30 * clock degrees).
struct Wind {
    double speed_ms = 0;
    double fromAngle_deg = 0;
};

// Coriolis is included when the latitude (+ north) and azimuth of fire (clockwise from north)
// are both known.
struct EarthPosition {
    double latitude_deg = 0;
    double azimuth_deg = 0;
};

struct Conditions {
    Atmosphere atmosphere;
    Wind wind;
    double lookAngle_deg = 0;             // + uphill, - downhill
    std::optional<EarthPosition> earth;
};

// --- the rifle and the table ----------------------------------------------------------------

struct Zeroing {
    double sightHeight_cm = 4;            // above the bore, perpendicular to it
    double zeroDistance_m = 100;
    std::optional<Atmosphere> atmosphere; // the air of the zero; empty: the shot's own
};

struct TableSpan {
    double maxDistance_m = 1000;          // along the line of sight
    double increment_m = 100;
};

// One row at an exact slant distance.
struct Row {
    double distance_m = 0;
    double velocity_ms = 0;               // over ground
    double mach = 0;
    double time_s = 0;
    double energy_J = 0;
    double energy_kgm = 0;
    double path_cm = 0;                   // above the line of sight, perpendicular to it
    double drop_cm = 0;                   // below the bore line
    double windage_cm = 0;                // + right
};

struct Trajectory {
    std::vector<Row> rows;                // 0, increment, 2 increment ... up to the maximum
    double boreElevation_moa = 0;         // bore relative to the line of sight
    std::optional<double> stability_sg;   // when diameter, length and twist are known
    double maxOrdinate_cm = 0;            // highest path above the line of sight
    double maxOrdinateDistance_m = 0;
    bool spinDrift = false;               // spin drift included
    bool coriolis = false;                // Coriolis included
};

// Why a shot was not computed. Each has its Italian text in refusalText().
enum class Refusal {
    None,
    VelocityNotPositive,
    BcNotPositive,
    WeightNotPositive,
    BadDragTable,
    HumidityOutOfRange,
    LookAngleOutOfRange,
    BadAtmosphere,
    TooManyRows,
    ZeroUnreachable,
    NotForSiacci,                         // G7, a drag table, steps, Coriolis or spin asked of Siacci
    BadSpan,                              // an increment or maximum distance not above 0
    ZeroNotPositive,                      // a zero distance not above 0
    DiameterNeeded,                       // a measured drag table without the bullet's diameter
    BadBulletSize,                        // diameter, length or twist given but not usable
    OutsideSiacciVelocities,              // the classic engine's bands: 92 to 1371 m/s
    BadWind,                              // a negative (or not finite) wind speed
    // More may be added; keep refusalText() complete.
};
std::string refusalText(Refusal refusal);

struct Result {
    Refusal refusal = Refusal::None;
    Trajectory trajectory;                // meaningful when refusal == None
    bool ok() const { return refusal == Refusal::None; }
};

// The whole computation: the zero, then the table.
Result computeTrajectory(const Bullet& bullet, const Conditions& conditions,
                         const Zeroing& zeroing, const TableSpan& span);

// The rifle held as it is, not zeroed again: the bore `boreElevation_moa` above the line of
// sight (as a zero left it: Trajectory::boreElevation_moa), and a correction dialled on the
// scope or held with the reticle (+ up, + right), which turns the bore by as much.
struct FixedBore {
    double boreElevation_moa = 0;
    double sightHeight_cm = 4;            // above the bore, perpendicular to it
    double dialElevation_moa = 0;
    double dialWindage_moa = 0;
};

// The rows of a shot fired with the bore fixed: no zero is solved, so a different bullet,
// load or air flown from the same rifle shows where it goes. Rows as computeTrajectory's, the
// path measured from the line of sight on the aim point; the bore figures are the ones given. Refuses
// what computeTrajectory refuses of the bullet, the air and the table, and BadSpan for a bore or
// correction not finite or beyond 45 degrees.
Result flyFixedBore(const Bullet& bullet, const Conditions& conditions, const FixedBore& bore,
                    const TableSpan& span);

// The same rows from the program's closed-form Siacci engine, entered as the classic metric table
// enters it, with the card's air (density ratio), the crosswind component of the wind (drift) and
// the drop times cos(look angle). Refuses NotForSiacci what it cannot honour.
Result computeSiacciTrajectory(const Bullet& bullet, const Conditions& conditions,
                               const Zeroing& zeroing, const TableSpan& span);

// The farthest the bullet can fly in this air, at its best launch angle (a safety figure), m:
// the distance over ground where it comes back to the muzzle's height. 0 for a bullet that
// computeTrajectory would refuse.
double maximumRange_m(const Bullet& bullet, const Conditions& conditions);

// Miller's gyroscopic stability factor in the shot's air, when the bullet's diameter, length and
// twist are known (below 1: the bullet is not stable).
std::optional<double> stabilityFactor(const Bullet& bullet, const Atmosphere& air);

// Energy of the bullet, J, at a velocity (m/s); and in kilogram-metres.
double energy_J(double weight_gr, double velocity_ms);
inline constexpr double kJoulesPerKgm = 9.80665;

// --- what the hunter dials ------------------------------------------------------------------

enum class AngleUnit { Moa, Mrad };

// A scope's click: its value in its unit (0.1 mrad, 0.25 MOA ...). "1 cm at 100 m" is 0.1 mrad.
struct ClickValue {
    double value = 0.1;
    AngleUnit unit = AngleUnit::Mrad;
};

// Corrections to dial, positive up / right; zero at distance 0.
struct Correction {
    double elevation_moa = 0, elevation_mrad = 0;
    double windage_moa = 0, windage_mrad = 0;
    long elevationClicks = 0, windageClicks = 0; // rounded to the nearest click
};
Correction correctionAt(const Row& row, const ClickValue& click);

} // namespace siacci::pointmass

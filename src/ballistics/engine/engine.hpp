#pragma once

#include "common/shot.hpp"

#include <array>
#include <optional>

// Siacci's closed-form exterior ballistics. The retardation of the bullet is carried by a space
// function S(V) (feet) and a time function T(V) (seconds) of a standard projectile, each a
// quadratic in one of 22 velocity bands; the ballistic coefficient, corrected for air density,
// scales distance and time, and gravity enters through an empirical drop factor. Every distance
// is evaluated on its own from the muzzle state; the only memory carried from one evaluation to
// the next is the current velocity band.
namespace siacci {

// One row of the band table. A muzzle velocity V belongs to the band when lower <= V < upper; a
// space value S belongs to it when sLo < S <= sHi (the stored limits, not the quadratics, decide).
struct DragBand {
    double lower_fps, upper_fps, mid_fps; // Vm
    double a, b, c;                       // S(V) = a + b (V - Vm) + c (V - Vm)^2, feet
    double d, e, f;                       // T(V) = d + e (V - Vm) + f (V - Vm)^2, seconds
    double sLo, sHi;
};

// The 22 bands, slowest first, every value as stored.
extern const std::array<DragBand, 22> kDragBands;

// The constants of one computation (one table run).
struct ShotContext {
    UnitSystem units = UnitSystem::Metric; // lengths in cm (metric) or inches (imperial)
    double v0_fps = 0;       // muzzle velocity: floor(3.281 m/s) metric, as entered imperial
    double density = 1;      // relative air density, 1 at 15 C and sea level
    double effectiveBc = 0;  // C' = BC / density
    double s0 = 0, t0 = 0;   // S(V0), T(V0) with the muzzle band
    int band = 0;            // index of the current band in kDragBands; starts at the muzzle band
    double sightHeight = 0;  // h: cm (metric) or inches (imperial)
    double weight_gr = 0;    // w
    double zeroSlope = 0;    // A_z: aim term at the zero distance, per 300 ft
};

// The result at a distance X (feet from the muzzle).
struct TrajectoryPoint {
    double x_ft = 0;
    int band = 0;              // index of the band used
    double velocity_fps = 0;   // V
    double velocity_ms = 0;    // 0.3048 V
    double time_s = 0;         // t
    double energy_ftlb = 0;    // w V^2 / 450400
    double energy_kgm = 0;     // 0.1383 E
    double drop = 0;           // fall below the line of departure, cm or inches
    double drift = 0;          // in a 10 mph crosswind square to the line of fire, cm or inches
    double mrt = 0;            // maximum ordinate of a trajectory zeroed at X, cm or inches
    double aim = 0;            // A = (h + drop) * 300 / X, per 300 ft; h at X = 0
};

// Index of the band a muzzle velocity belongs to, or nullopt outside 300..4500 fps.
std::optional<int> muzzleBand(double v0_fps);

// The conditions the engine's formulas hold for. Outside them the tables would be absurd
// without a word: the air-density formula, a quadratic in the altitude, turns above about
// 11.5 km (a bullet at 20,000 m would slow as if at 4,000 m); near absolute zero the density
// explodes; a negative coefficient makes the bullet speed up. Limits inclusive.
inline constexpr double kMinAltitude_m = -500;
inline constexpr double kMaxAltitude_m = 9000;
inline constexpr double kMinTemperature_c = -60;
inline constexpr double kMaxTemperature_c = 60;

// Why the engine refused a shot, checked in this order.
enum class ShotRefusal {
    None,
    VelocityOutOfBand,      // V0 below 300 or from 4500 fps up
    NegativeCoefficient,    // a ballistic coefficient below 0
    AltitudeOutOfRange,     // outside kMinAltitude_m .. kMaxAltitude_m (or not a number)
    TemperatureOutOfRange,  // outside kMinTemperature_c .. kMaxTemperature_c (or not a number)
    NotComputable,          // a coefficient of 0, a weight or sight height that is not finite
};

// The context of a shot, or the reason there is none. Reads like an optional context.
struct PreparedShot {
    ShotRefusal refusal = ShotRefusal::None; // when set, the context is not filled
    ShotContext context;

    explicit operator bool() const { return refusal == ShotRefusal::None; }
    ShotContext& operator*() { return context; }
    const ShotContext& operator*() const { return context; }
    ShotContext* operator->() { return &context; }
    const ShotContext* operator->() const { return &context; }
};

// Builds the context from metric inputs: velocity m/s, altitude m, temperature C, weight grains,
// sight height cm. V0 = floor(3.281 * velocity). Refused (see ShotRefusal) when V0 lies outside
// every band, that is below 300 or from 4500 fps up; when the coefficient is negative or the
// altitude or temperature lie outside the limits above; and when nothing finite could be
// computed: a ballistic coefficient of 0, a weight or sight height that is not finite.
PreparedShot prepareShot(double velocity_ms, double bc, double altitude_m, double temperature_c,
                         double weight_gr, double sight_cm);

// The imperial form: the velocity in fps used as entered (no rounding), sight height in inches;
// lengths of every later evaluation come out in inches. Altitude and temperature stay metric.
PreparedShot prepareShotImperial(double velocity_fps, double bc, double altitude_m,
                                 double temperature_c, double weight_gr, double sight_in);

// Evaluates the point at X feet and moves the context's current band there. Past the slow end of
// the table (S above 43041) the band last used is kept and its quadratic extrapolated.
TrajectoryPoint evaluatePoint(ShotContext& shot, double x_ft);

// Evaluates the zero distance and stores A_z in the context. Metric: zero distance in metres,
// taken in whole feet, floor(3.2808 * zero). Imperial: yards, X_z = 3 * zero exactly.
// A zero distance of 0 gives A_z = h.
void zeroShot(ShotContext& shot, double zeroDistance);

// Height of the trajectory above the line of sight (negative below it), cm or inches.
// Exactly 0 at the zero distance and -h at the muzzle.
double pathHeight(const ShotContext& shot, double x_ft, const TrajectoryPoint& point);

// Site-angle correction, cm with one decimal, for a time of flight t (s) and a bullet weight w
// (grains). The cosine is that of the plain number n taken as radians. Never negative; 0 for
// the site angle 0 and for a weight that is not positive.
double siteCorrection(const SiteAngle& angle, double time_s, double weight_gr);

} // namespace siacci

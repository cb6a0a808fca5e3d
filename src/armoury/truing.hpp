#pragma once

#include "armoury/armoury.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <optional>
#include <string>

// Truing ("Verifica sul campo"): the makers' velocities and coefficients come from other barrels
// and other air, so the range corrects them. From what the user saw at a distance, the value of
// the load that makes the engine agree with it:
//   - a velocity measured downrange (chronograph) gives the coefficient (G1, G7), or a
//     multiplier of the whole curve when the load has stepped coefficients or its own drag table;
//   - the correction dialled to hit at a distance ("a 400 m ho corretto di 30 click") gives the
//     muzzle velocity, or on request the coefficient.
// Every search brackets its root on a bounded, plausible interval and bisects it: it always ends,
// and answers in Italian when no value in the interval fits.
namespace siacci::armoury {

enum class TruingEngine { PointMass, Siacci };

// The shot as the card describes it, and the engine that computes it.
struct TruingShot {
    pointmass::Bullet bullet;
    pointmass::Conditions conditions;
    pointmass::Zeroing zeroing;
    pointmass::ClickValue click;
    TruingEngine engine = TruingEngine::PointMass;
};

// A velocity measured at a distance along the line of sight.
struct ObservedVelocity {
    double velocity_ms = 0;
    double distance_m = 0;
};

// What the user dialled up from his zero to hit at a distance (negative: down).
enum class CorrectionUnit { Clicks, Moa, Mrad, Cm };
struct ObservedCorrection {
    double amount = 0;
    CorrectionUnit unit = CorrectionUnit::Clicks; // clicks of the shot's click value
    double distance_m = 0;
};

// What was solved.
enum class TruedQuantity {
    Bc,             // the single G1 or G7 coefficient
    BcMultiplier,   // a factor on every stepped coefficient, or on the coefficient a measured
                    // drag curve stands for (its Cd divided by the factor)
    Velocity,       // muzzle velocity, m/s
};

enum class TruingOutcome {
    Solved,
    NoPlausibleValue,  // no value in the plausible interval gives what was seen
    Confounded,        // velocity and coefficient move the drop alike here: solve the coefficient
    Insensitive,       // near the zero a click moves the answer too much to tell it
    BadObservation,    // a distance or velocity that cannot be
    ShotRefused,       // the shot itself is not computed (see refusal)
};

struct TruingResult {
    TruingOutcome outcome = TruingOutcome::Solved;
    TruedQuantity quantity = TruedQuantity::Bc;
    double previous = 0;     // the value the shot had (1 for a multiplier)
    double solved = 0;       // meaningful when Solved
    pointmass::Refusal refusal = pointmass::Refusal::None; // when ShotRefused
    std::string message;     // Italian: what to tell the user when not Solved
    bool ok() const { return outcome == TruingOutcome::Solved; }
};

// The coefficient (or multiplier) that gives the measured velocity at its distance.
TruingResult trueFromVelocity(const TruingShot& shot, const ObservedVelocity& seen);

// The muzzle velocity that gives the dialled correction at its distance. Where the coefficient
// moves that correction at least 0.3 times as much as the velocity does (per cent for per cent),
// the observation cannot tell them apart: Confounded, and the caller may solve the coefficient.
TruingResult trueVelocityFromCorrection(const TruingShot& shot, const ObservedCorrection& seen);
// The coefficient (or multiplier) that gives the dialled correction at its distance.
TruingResult trueBcFromCorrection(const TruingShot& shot, const ObservedCorrection& seen);

// The bullet with a solved value applied: the velocity, the coefficient, or the multiplier on
// every step and on a measured curve.
pointmass::Bullet applyTruing(const pointmass::Bullet& bullet, TruedQuantity quantity, double value);

// The same, kept in an armoury load: a velocity solved for the powder at `shotTemperature_C` is
// stored as the velocity at the load's own reference temperature.
void applyTruing(Load& load, TruedQuantity quantity, double value, double shotTemperature_C);

// A trued value as it is shown and kept: velocity to 0,1 m/s, a coefficient to three decimals,
// a curve's multiplier to four.
int shownDecimals(TruedQuantity quantity);
double shownValue(TruedQuantity quantity, double value);

// "0,412 (prima 0,4)": the solved value beside the old one, as the card and the tool show it.
std::string truingSummary(const TruingResult& result);

} // namespace siacci::armoury

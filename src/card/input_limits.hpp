#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The plausible limits of every number a shot is described with, one table for the range card's
// window (Cartellino), siacci-cli card and true, the phone page and the armoury: a number
// outside them is no real rifle's, bullet's or day's, and inside them every result the engines
// give is finite and every click count fits its type. Each refusal names the field and the
// limit: "Velocità: deve essere tra 50 e 2000 m/s".
namespace siacci::card {

enum class LimitedInput {
    Velocity, Weight, Bc, BcStepBc, BcStepVelocity, Diameter, Length, Twist,
    SightHeight, Zero, MaxDistance, Increment,
    Temperature, Pressure, Qnh, Altitude, Humidity, WindSpeed, WindClock, WindAngle, LookAngle,
    Latitude, Azimuth,
    ClickMrad, ClickMoa, ClickCm, ClicksPerTurn,
    ZeroTemperature, ZeroPressure, ZeroHumidity,
    MinEnergy, VitalZone, AnimalSpeed, AnimalLength,
    ObservedVelocity, ObservedDistance, ObservedClicks,
    // "Fin dove posso tirare?": the zone, the hunter's errors, the rifle's group, the run
    HitVitalZone, SdRange, SdRangePct, SdWind, SdVelocity, SdBc, SdCone, GroupSize,
    HitSamples, MinProbability,
    // "Il tiro": the distance, the scope, the reticle's reading and the animal's size
    ShotDistance, Magnification, ReticleReading, AnimalSize, PostTip,
};

struct InputLimit {
    LimitedInput input;
    const char* caption; // the field's name as the user sees it
    double low;
    double high;
    const char* unit;    // "" when the number has none
};

// Every limit, in the order of LimitedInput.
std::span<const InputLimit> inputLimits();
const InputLimit& inputLimit(LimitedInput input);

// "" when `value` is within the limits of `input` (a number, finite, low <= value <= high),
// else "Velocità: deve essere tra 50 e 2000 m/s".
std::string limitRefusal(LimitedInput input, double value);
// The same for a value that may be missing (a missing one is within).
std::string limitRefusal(LimitedInput input, const std::optional<double>& value);

// Whether the input is a count, never a fraction (the clicks of a turret's turn).
bool wholeInput(LimitedInput input);

// The message for a field's text as typed (the decimal comma or point, the typographic minus
// of a phone's keyboard, blanks around): "" when the whole text reads as a number within the
// limits; "Velocità: manca il valore" for an empty text unless `optional`; "Velocità: scrivi un
// numero" for anything else that is no number; the refusal of limitRefusal past the limits;
// "Click per giro: deve essere un numero intero" for a fraction of a count.
std::string textRefusal(LimitedInput input, std::string_view text, bool optional);

// A text on its way to a number ("-", "0,", "1e", "+"): not yet an error while it is typed.
bool incompleteNumber(std::string_view text);

// Why a stepped coefficient cannot be used (each band's coefficient and velocity within their
// limits, at most kMaxBcSteps bands, no two from the same velocity), or "".
struct BcStepText {
    double bc;
    double fromVelocity_ms;
};
std::string bcStepsRefusal(std::span<const BcStepText> steps);

} // namespace siacci::card

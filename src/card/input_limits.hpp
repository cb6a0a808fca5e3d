#pragma once

#include <optional>
#include <span>
#include <string>

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

// Why a stepped coefficient cannot be used (each band's coefficient and velocity within their
// limits, at most kMaxBcSteps bands, no two from the same velocity), or "".
struct BcStepText {
    double bc;
    double fromVelocity_ms;
};
std::string bcStepsRefusal(std::span<const BcStepText> steps);

} // namespace siacci::card

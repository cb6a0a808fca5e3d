// The main window's shot as the range card reads it.
#include "app/form4.hpp"

#include "common/units.hpp"

namespace siacci {

CardShot Form4::cardShot() const
{
    CardShot c;
    const ShotInput& s = m_shot;
    // In imperial mode the window's numbers are ft/s, yards and inches; temperature, altitude
    // and weight are the same in both.
    const bool imperial = m_mode == TableMode::Imperial;
    const double metresPerYard = kFeetPerYard / kFeetPerMetreDistance;
    const double distance = imperial ? metresPerYard : 1.0;
    c.velocity_ms = imperial ? s.velocity / kFeetPerMetreVelocity : s.velocity;
    c.bc = s.bc;
    c.weight_gr = s.weight;
    c.sightHeight_cm = imperial ? s.sightHeight * kCentimetresPerInch : s.sightHeight;
    c.zero_m = s.zeroDistance * distance;
    c.maxDistance_m = s.maxDistance * distance;
    c.increment_m = s.increment * distance;
    c.temperature_C = s.temperature;
    c.altitude_m = s.altitude;
    c.description = s.description;
    return c;
}

} // namespace siacci

// The main window's shot as the range card reads it.
#include "app/form4.hpp"

#include "common/units.hpp"

#include <cmath>

namespace siacci {

CardShot Form4::cardShot() const
{
    CardShot c;
    const ShotInput& s = m_shot;
    // In imperial mode the window's numbers are ft/s, yards and inches; temperature, altitude
    // and weight are the same in both.
    const bool imperial = m_mode == TableMode::Imperial;
    c.velocity_ms = imperial ? s.velocity / kFeetPerMetreVelocity : s.velocity;
    c.bc = s.bc;
    c.weight_gr = s.weight;
    c.sightHeight_cm = imperial ? s.sightHeight * kCentimetresPerInch : s.sightHeight;
    if (imperial) {
        // Yards become whole metres; the table keeps its rows (300 yards by 25: twelve rows of
        // 23 m, to 276 m), so its last row is not lost to the rounding.
        const double metresPerYard = kFeetPerYard / kFeetPerMetreDistance;
        c.zero_m = std::round(s.zeroDistance * metresPerYard);
        c.increment_m = std::max(1.0, std::round(s.increment * metresPerYard));
        c.maxDistance_m = s.increment > 0 ? c.increment_m * std::max(1.0, std::round(s.maxDistance / s.increment))
                                          : std::round(s.maxDistance * metresPerYard);
        if (s.increment <= 0)
            c.increment_m = 0;
    } else {
        c.zero_m = s.zeroDistance;
        c.maxDistance_m = s.maxDistance;
        c.increment_m = s.increment;
    }
    c.temperature_C = s.temperature;
    c.altitude_m = s.altitude;
    c.description = s.description;
    // The checked catalogue bullet, unless the user typed other numbers since.
    if (const auto load = chosenCatalogueLoad())
        c.fromCatalogue = std::abs(load->velocity_ms - c.velocity_ms) < 0.5 && load->bc == c.bc &&
                          load->weight_gr == c.weight_gr;
    return c;
}

} // namespace siacci

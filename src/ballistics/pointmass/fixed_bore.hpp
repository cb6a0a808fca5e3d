#pragma once

#include "ballistics/pointmass/drag.hpp"
#include "ballistics/pointmass/flight.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <cstddef>
#include <optional>
#include <span>

// Many shots from one rifle held as it is (the bore where the zero left it), each with its own
// muzzle velocity, drag and wind: what a Monte Carlo of the hunter's errors flies thousands of
// times. Everything that does not change from shot to shot (the drag curve, the air, the earth,
// the sight) is prepared once.
namespace siacci::pointmass {

// What differs from one shot to the next.
struct ShotVariation {
    double muzzleVelocity_ms = 0;
    double dragFactor = 1;      // the drag times this: a coefficient (1 + e) is 1 / (1 + e)
    Wind wind;                  // a negative speed blows from the opposite side
};

// Where one shot is at a slant distance: above the line of sight (perpendicular to it) and to
// the right of it, the line of sight being the one on the aim point (with a dialled correction
// the bore is turned, not the line).
struct Impact {
    double distance_m = 0;
    double path_cm = 0;
    double windage_cm = 0;      // spin drift included when the bullet's sizes are known
    double time_s = 0;
};

// The error control of the chance of a hit's thousands of shots: looser than the card's rows,
// each row located to a millimetre along the line of sight (which moves the impact by a few
// micrometres), far below the smallest zone at a fraction of the work.
inline constexpr Tolerance kSampleTolerance{1e-6, 1e-6, 1e-3};

class FixedBoreFlight {
public:
    FixedBoreFlight(const Bullet& bullet, const Conditions& conditions, const FixedBore& bore);
    // The flight's setup points into the object's own drag function.
    FixedBoreFlight(const FixedBoreFlight&) = delete;
    FixedBoreFlight& operator=(const FixedBoreFlight&) = delete;
    Refusal refusal() const { return m_refusal; }
    bool ok() const { return m_refusal == Refusal::None; }
    // The shot as typed.
    ShotVariation nominal() const;

    // Flies one shot and fills out[k] at distances[k] (ascending, m along the line of sight;
    // `out` at least as long). Returns how many were reached. Only when ok().
    std::size_t fly(const ShotVariation& shot, std::span<const double> distances,
                    std::span<Impact> out, const Tolerance& tolerance = kCardTolerance) const;
    // The same, with the flight's points for rows (flyFixedBore).
    std::size_t flyPoints(const ShotVariation& shot, std::span<const double> distances,
                          std::span<FlightPoint> out, const Tolerance& tolerance) const;
    FlightSetup setupFor(const ShotVariation& shot) const;

    double boreElevation_rad() const { return m_bore_rad; }
    double sight_m() const { return m_sight_m; }
    double spinScale_in() const { return m_spinScale_in; }
    const Bullet& bullet() const { return m_bullet; }

private:
    Refusal m_refusal = Refusal::None;
    Bullet m_bullet;
    std::optional<DragFunction> m_drag;
    FlightSetup m_setup;
    Wind m_wind;
    double m_bore_rad = 0;
    double m_sight_m = 0;
    double m_spinScale_in = 0;
};

} // namespace siacci::pointmass

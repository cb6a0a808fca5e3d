#pragma once

#include "ballistics/pointmass/drag.hpp"
#include "ballistics/pointmass/pointmass.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <span>

// The flight of the bullet: the equations of motion integrated in the earth frame (x horizontal
// downrange, y up, z right; m, s), and the points of that flight at exact slant distances.
namespace siacci::pointmass {

using State = std::array<double, 6>; // x, y, z, vx, vy, vz

inline constexpr double kGravity_ms2 = 9.80665;
inline constexpr double kEarthRotation_rads = 7.2921159e-5;
// The bounds of one flight, so that no input makes the engine crawl: 30 s of flight (far past
// any card's last row), and 500 integration steps. A sound flight of 30 s takes under 200
// steps; only a drag that jumps (a stepped coefficient whose bands push the velocity back and
// forth across one step) makes the step size collapse, and such a flight stops there, its rows
// beyond it missing as for a bullet that does not arrive.
inline constexpr double kMaxFlightTime_s = 30;
inline constexpr int kMaxFlightSteps = 500;

// Everything the equations of motion need, fixed for one flight.
struct FlightSetup {
    const DragFunction* drag = nullptr;
    double muzzleDensity_kgm3 = 0;
    double muzzleTemperature_K = 0;
    std::array<double, 3> wind_ms{};        // air velocity over ground
    std::optional<std::array<double, 3>> earthRotation_rads; // Omega in (x, y, z): Coriolis
    double muzzleVelocity_ms = 0;
    double launchAngle_rad = 0;             // bore above the horizontal
    double launchAzimuth_rad = 0;           // bore to the right of the line of fire (a dialled windage)
    double lookAngle_rad = 0;               // line of sight above the horizontal
};

// The right-hand side of the equations of motion.
struct Dynamics {
    const FlightSetup& setup;
    void operator()(const State& s, State& ds, double t) const;
    double speedOfSound_ms(double height_m) const;
};

// A point of the flight.
struct FlightPoint {
    double time_s = 0;
    State state{};
};

// How tightly the integrator controls its local error (absolute m or m/s, relative).
struct Tolerance {
    double absolute = 1e-8;
    double relative = 1e-8;
    // How close to its distance a row is located, m along the line of sight (a Monte Carlo of
    // thousands of shots needs far less than a card's row).
    double rowDistance_m = 1e-7;
};

// The integrator's error control for the card: halving it moves no row at 1000 m by more than
// a hundredth of a millimetre or a thousandth of a m/s.
inline constexpr Tolerance kCardTolerance{};

// Flies the bullet from the muzzle and fills `out[k]` at each slant distance `distances[k]`
// (ascending, along the line of sight from the muzzle). Stops after the last one, or when the
// bullet falls behind along the line of sight, or past `maxTime_s`. Returns how many were
// reached. When `apex` is given it receives the point where the bullet is farthest above the
// line of sight (before the last distance), or the muzzle when it never rises.
std::size_t fly(const FlightSetup& setup, std::span<const double> distances,
                std::span<FlightPoint> out, const Tolerance& tolerance = {},
                FlightPoint* apex = nullptr, double maxTime_s = kMaxFlightTime_s);

// Flies the bullet until it comes back down to the muzzle's height; the horizontal distance
// over ground there, or 0 when it does not within `maxTime_s` or kMaxFlightSteps steps.
double flyToMuzzleHeight_m(const FlightSetup& setup, double maxTime_s);

// The unit vectors of the line of sight (along it, and perpendicular to it, upward) in (x, y).
struct SightFrame {
    double along_x, along_y, up_x, up_y;
    explicit SightFrame(double lookAngle_rad);
    double distance(const State& s) const { return s[0] * along_x + s[1] * along_y; }
    double height(const State& s) const { return s[0] * up_x + s[1] * up_y; }
};

// The flight of one shot through its air and wind, the bore `velocity_ms` at the look angle;
// the launch angle is left to the caller.
FlightSetup flightSetup(const DragFunction& drag, const Atmosphere& air, const Wind& wind,
                        const std::optional<EarthPosition>& earth, double velocity_ms,
                        double lookAngle_rad);

// Spin drift as inches per s^1.83 of flight (toward the twist), 0 without a stability factor.
double spinDriftScale_in(const Bullet& bullet, std::optional<double> stability_sg);

// A row of the card from a point of the flight: the path above the line of sight (the sight
// `sight_m` above a bore raised `boreElevation_rad` above it), the drop below the bore line,
// the windage with the spin drift.
struct RowMaker {
    RowMaker(const FlightSetup& flight, double sight_m, double boreElevation_rad,
             double spinScale_in, double weight_gr);
    Row operator()(double distance_m, const FlightPoint& point) const;
    double path_m(const State& s) const { return frame.height(s) - offset_m; }
    double spin_m(double time_s) const;

    const FlightSetup& setup;
    SightFrame frame;
    double offset_m, slope, spinScale_in, weight_gr;
};

} // namespace siacci::pointmass

#pragma once

#include <optional>
#include <string>

// The shared description of one shot, owned by the main window and read by every subsystem.
namespace siacci {

// The mode of computation; it chooses the table routine of every trigger.
enum class TableMode { Metric = 1, Imperial = 2, Terminal = 3 };

// The unit system shown to the user: metric in modes 1 and 3, imperial in mode 2.
enum class UnitSystem { Metric, Imperial };

inline UnitSystem unitSystemOf(TableMode mode)
{
    return mode == TableMode::Imperial ? UnitSystem::Imperial : UnitSystem::Metric;
}

// The site angle of the line of sight: a degree number n and a correction factor k.
struct SiteAngle {
    int degrees = 0;    // n: 0, 15, 30, 45 or 60
    double factor = 0;  // k: 0, 8, 65, 250 or 107

    friend bool operator==(const SiteAngle&, const SiteAngle&) = default;
};

// The five choices the window offers, in button order.
inline constexpr SiteAngle kSiteAngles[5] = {{0, 0}, {15, 8}, {30, 65}, {45, 250}, {60, 107}};

// The bullet's data for the terminal-ballistics table. A value never set stays empty (the
// terminal coefficients of a rifle load, for example) and is written to a shot file as an
// empty field.
struct TerminalCoefficients {
    std::optional<double> diameter_mm;
    std::optional<double> x, y, z, d;     // the four coefficients of the incapacitation model
    std::optional<double> rspFactor;      // Relative Stopping Power shape factor
    std::optional<double> pirFactor;      // Power Index Rating shape factor

    friend bool operator==(const TerminalCoefficients&, const TerminalCoefficients&) = default;
};

// The numbers of one shot. Units follow the TableMode: metres, m/s and cm in modes 1 and 3;
// yards, ft/s and inches in mode 2; temperature in degrees C, altitude in m and weight in grains
// in every mode.
struct ShotInput {
    double velocity = 0;       // muzzle velocity
    double bc = 0;             // ballistic coefficient
    double maxDistance = 0;
    double zeroDistance = 0;
    double increment = 0;
    double temperature = 0;    // degrees C
    double altitude = 0;       // m above sea level
    double weight = 0;         // grains
    double sightHeight = 0;    // height of the sight above the bore
    std::string description;   // the chosen catalogue bullet, printed in the report
    SiteAngle siteAngle;
    TerminalCoefficients terminal;
    std::string rspShapeName = "Round Nose";
    std::string pirShapeName = "Molto espansive";
};

} // namespace siacci

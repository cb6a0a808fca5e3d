#pragma once

#include "ballistics/pointmass/pointmass.hpp"
#include "card/reticle.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The armoury "ARMERIA": the user's own rifles and, under each, the loads he shoots in it. One
// document kept in the user's data folder (qt_armoury_store.hpp reads and writes it); here are
// its contents, the rules that keep it sound, and the way a rifle and a load become the inputs
// of the point-mass engine.
namespace siacci::armoury {

// The drag a load is described with: a G1 or G7 coefficient (single or stepped by velocity), or
// the bullet's own measured drag curve.
enum class LoadDrag { G1, G7, Table };

// The air in which the rifle was zeroed.
struct ZeroAtmosphere {
    double temperature_C = 15;
    double pressure_hPa = 1013.25;  // station pressure
    double humidity_pct = 0;

    friend bool operator==(const ZeroAtmosphere&, const ZeroAtmosphere&) = default;
};

struct Load {
    std::string description;
    double velocity_ms = 800;                    // muzzle velocity at velocityTemperature_C
    double velocityTemperature_C = 15;           // the powder temperature of that velocity
    double temperatureSensitivity_msPerC = 0;    // m/s gained per degree C warmer powder
    std::optional<double> velocitySd_ms;         // shot to shot (the chronograph's SD); none: not measured
    LoadDrag drag = LoadDrag::G1;
    double bc = 0.4;                             // lb/in2; below every step
    std::vector<pointmass::BcStep> bcSteps;      // G1/G7 only; from a velocity upward
    std::vector<pointmass::DragPoint> dragTable; // Table only: Mach and Cd, Mach increasing
    double weight_gr = 150;
    std::optional<double> diameter_mm;
    std::optional<double> length_mm;
    std::string notes;

    friend bool operator==(const Load&, const Load&);
};

struct Rifle {
    std::string name;
    double sightHeight_cm = 4;
    double twist_in = 10;                        // inches per turn
    bool twistRightHand = true;
    double clickValue = 0.1;                     // in clickUnit
    pointmass::AngleUnit clickUnit = pointmass::AngleUnit::Mrad;
    std::optional<int> turretClicksPerTurn;
    double zero_m = 100;
    ZeroAtmosphere zeroAtmosphere;
    // The scope: its reticle, the reticle's plane and calibration, the magnification in use.
    card::ScopeSetup scope;
    std::vector<Load> loads;

    friend bool operator==(const Rifle&, const Rifle&) = default;
};

struct Armoury {
    std::vector<Rifle> rifles;

    friend bool operator==(const Armoury&, const Armoury&) = default;
};

// The version of the document this program writes. Older versions are read; a newer one is
// kept aside, never overwritten.
inline constexpr int kSchemaVersion = 1;
inline constexpr std::string_view kFormatName = "siacci-armeria";

// --- soundness -------------------------------------------------------------------------------

// The first thing wrong with a rifle or a load (its own fields only), in Italian; empty when
// sound. The limits are those of real rifles and bullets, wide enough for every catalogue load.
std::string loadProblem(const Load& load);
std::string rifleProblem(const Rifle& rifle);       // the rifle and each of its loads
std::string armouryProblem(const Armoury& armoury); // every rifle, and names unique

// --- the muzzle velocity on the day ----------------------------------------------------------

// The muzzle velocity with the powder at `temperature_C`: the load's velocity moved by its
// sensitivity for every degree from the temperature at which it was measured.
double velocityAt_ms(const Load& load, double temperature_C);

// Why that velocity cannot go to the engine, naming the powder temperature ("Con la polvere a
// 60 °C la velocità della carica ... diventa 2100 m/s, fuori dai limiti del calcolo (da 50 a
// 2000 m/s)."), or "". The limits are the card's velocity limits, narrower for the Siacci
// engine's bands (92 to 1371 m/s).
std::string powderVelocityProblem(const Load& load, double temperature_C, bool siacciEngine = false);

// --- editing rules ---------------------------------------------------------------------------

// A name not yet among `taken`: `wanted` itself, else "wanted (2)", "wanted (3)" ...
std::string freeName(const std::string& wanted, const std::vector<std::string>& taken);
std::vector<std::string> rifleNames(const Armoury& armoury);
std::vector<std::string> loadNames(const Rifle& rifle);

// The index of the rifle with this name, or of the load with this description.
std::optional<std::size_t> findRifle(const Armoury& armoury, std::string_view name);
std::optional<std::size_t> findLoad(const Rifle& rifle, std::string_view description);

// Adds a rifle (its name made free) or a load to a rifle (its description made free); returns
// the index of the new entry.
std::size_t addRifle(Armoury& armoury, Rifle rifle);
std::size_t addLoad(Rifle& rifle, Load load);
// A copy beside the original, named "name (2)" ...; returns its index.
std::size_t duplicateRifle(Armoury& armoury, std::size_t rifle);
std::size_t duplicateLoad(Rifle& rifle, std::size_t load);

// How an imported rifle whose name is already used is taken in.
enum class ClashChoice { Replace, KeepBoth, Skip };

// Takes in one imported rifle. Without a clash it is added as it is; with one, `choice` says
// what happens: the old rifle replaced in its place, the new one added under a free name, or
// nothing. Returns the index of the rifle now holding the import, or nullopt when skipped.
std::optional<std::size_t> importRifle(Armoury& armoury, Rifle rifle, ClashChoice choice);

// --- the engine's inputs ---------------------------------------------------------------------

struct EngineInputs {
    pointmass::Bullet bullet;
    pointmass::Zeroing zeroing;
    pointmass::ClickValue click;
    std::optional<int> turretClicksPerTurn;
};

// The bullet of a load fired from a rifle with the powder at `temperature_C` (its muzzle
// velocity corrected), the rifle's zero in the air of the zero, and its scope's click.
EngineInputs engineInputs(const Rifle& rifle, const Load& load, double temperature_C);

// --- text forms of the stepped coefficients and of a drag table ------------------------------

// A number as the user types it: a comma or a point, blanks around; nullopt when the text is
// not one number.
std::optional<double> readNumber(std::string_view text);
// "0,505@800 0,496@600": coefficient @ from velocity (m/s), separated by blanks or semicolons.
std::optional<std::vector<pointmass::BcStep>> readBcSteps(std::string_view text);
std::string bcStepsText(const std::vector<pointmass::BcStep>& steps);
// One "mach cd" pair per line.
std::optional<std::vector<pointmass::DragPoint>> readDragTable(std::string_view text);
std::string dragTableText(const std::vector<pointmass::DragPoint>& table);

} // namespace siacci::armoury

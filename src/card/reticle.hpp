#pragma once

#include "ballistics/pointmass/pointmass.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The reticles of hunting scopes as data (data/reticles.tsv, compiled in), the scope a rifle
// carries, and the hold: the point of the reticle to put on the target instead of dialling.
namespace siacci::card {

namespace pm = siacci::pointmass;

enum class ReticleUnit { Mrad, Moa };
enum class FocalPlane { First, Second };
// How the reticle is drawn.
enum class ReticleStyle { Duplex, Dots, Hash, Tree, Custom };

// One reticle: its marks in its own unit, true at the calibrated magnification (a first-plane
// reticle is true at every magnification).
struct Reticle {
    std::string key;                        // "mildot"
    std::string caption;                    // "Mil-Dot"
    ReticleUnit unit = ReticleUnit::Mrad;
    FocalPlane plane = FocalPlane::Second;
    double calibratedMagnification = 10;    // second plane only
    ReticleStyle style = ReticleStyle::Hash;
    std::vector<double> verticalMarks;      // below the centre, ascending, > 0
    std::vector<double> horizontalMarks;    // to each side, ascending, > 0
    bool userTip = false;                   // the duplex: its post tip is the user's
    bool userMarks = false;                 // "personalizzato": every mark is the user's
    std::string verticalNoun = "tacca";
    bool verticalFeminine = true;
    std::string horizontalNoun = "tacca";
    bool horizontalFeminine = true;
};

// The text of data/reticles.tsv (generated into the build).
std::string_view reticlesTsv();

// A table of reticles read from its text, or the first line that is not one (Italian).
struct ReticleTable {
    std::vector<Reticle> reticles;
    std::string problem;
};
ReticleTable readReticles(std::string_view tsv);

// The reticles compiled in, in the table's order.
const std::vector<Reticle>& reticles();
// By key ("mildot") or caption, case aside; null when none.
const Reticle* findReticle(std::string_view name);

// The scope on a rifle: its reticle, the reticle's plane, the magnification at which a
// second-plane reticle is true, the magnification the hunter shoots at; the duplex's post tip
// and the marks of "personalizzato" with their unit, as the user gives them.
struct ScopeSetup {
    std::string reticle = "mildot";
    FocalPlane plane = FocalPlane::Second;
    double calibratedMagnification = 10;
    double magnification = 10;
    double postTip = 12;                    // duplex: subtension of the post tips, MOA
    std::vector<double> customMarks = {1, 2, 3, 4, 5};
    ReticleUnit customUnit = ReticleUnit::Mrad;

    friend bool operator==(const ScopeSetup&, const ScopeSetup&) = default;
};

// The reticle of a scope with the user's marks filled in and its plane and calibration the
// scope's; an Italian refusal naming the field and its limit in `problem` when it cannot be.
struct ScopeReticle {
    Reticle reticle;
    std::string problem;
    bool ok() const { return problem.empty(); }
};
ScopeReticle scopeReticle(const ScopeSetup& scope);

// "1 2 3,5 5" (blanks or semicolons): the user's marks, ascending; nullopt when not numbers
// above 0 and below 100, or more than 40 of them.
std::optional<std::vector<double>> readMarks(std::string_view text);
std::string marksText(const std::vector<double>& marks);

// What one reticle unit subtends, in the same unit, at the magnification in use: 1 for a
// first-plane reticle; calibrated / magnification for a second-plane one (at half the
// calibrated magnification each mark covers twice as much).
double subtensionScale(const Reticle& reticle, double magnification);
// An angle (mrad or MOA, as given) in the reticle's unit at the magnification in use.
double inReticleUnits(const Reticle& reticle, double magnification, double mrad, double moa);

// The hold for a correction: in the reticle's units at the magnification in use (+ up,
// + right: the mark below the centre, or to the left, goes on the target), and as the
// nearest mark, "2° puntino sotto, metà a sinistra".
struct Hold {
    double elevation = 0;
    double windage = 0;
    std::string text;
};
Hold holdFor(const Reticle& reticle, double magnification, const pm::Correction& correction);

// The nearest half mark to a hold of `value` along marks `marks` ("2° puntino", "metà",
// "3ª tacca e mezza", "oltre la 5ª tacca"); empty for the centre.
std::string markName(const std::vector<double>& marks, double value, const std::string& noun,
                     bool feminine);

} // namespace siacci::card

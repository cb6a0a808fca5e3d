#pragma once

#include "ballistics/pointmass/pointmass.hpp"
#include "card/hit_probability.hpp"

#include <optional>
#include <string>
#include <vector>

// The range card "CARTELLINO DI TIRO" as numbers and texts: what the hunter dials at each
// distance, the point-blank range, the optimal zero, the energy threshold, the safety range.
// Shared by the window, its printed layouts and `siacci-cli card`.
namespace siacci::card {

namespace pm = siacci::pointmass;

enum class Method { PointMass, Siacci };

// Everything one card is computed from: the engine's shot plus what only the card adds.
struct CardSetup {
    pm::Bullet bullet;
    pm::Conditions conditions;
    pm::Zeroing zeroing;
    pm::TableSpan span;
    pm::ClickValue click;
    Method method = Method::PointMass;
    bool compareSiacci = false;
    int clicksPerTurn = 0;                     // 0: the turret's turns are not shown
    std::optional<double> minEnergy_J;         // the game's minimum
    std::optional<double> vitalZone_cm;        // diameter of the vital zone
    std::optional<double> crossingSpeed_kmh;   // a crossing animal, for the lead
    std::optional<double> animalLength_m;
    // "Fin dove posso tirare?": the hunter's errors (the zone is vitalZone_cm); none: not asked.
    std::optional<HitSettings> hit;
    // The hit table left to the caller (a page computes it a batch at a time, applyHitTable).
    bool hitDeferred = false;
    std::string description;                   // the load, for the printed card
    std::string conditionsText;                // the air in a few words, for the printed card
    std::string clickText;                     // "1/4 MOA" ...
};

// Fills the texts of a setup that are still empty: the load (from its numbers), the click
// ("0,25 MOA") and the conditions in a few words.
void describe(CardSetup& setup);

// The point-blank span of a vital zone: the first continuous span of distances from the muzzle
// out in which the path stays within +-zone/2 (it starts past the muzzle when the sight is
// higher than zone/2). Empty when the path never enters the zone within 2000 m.
struct PointBlank {
    double from_m = 0;
    double to_m = 0;
};
std::optional<PointBlank> pointBlankRange(const pm::Bullet& bullet,
                                          const pm::Conditions& conditions,
                                          const pm::Zeroing& zeroing, double vitalZone_cm,
                                          Method method = Method::PointMass);

// The zero distance that makes the point-blank span longest (the top of the trajectory then
// touches +zone/2), with that span. Empty when no zero gives a span.
struct OptimalZero {
    double zero_m = 0;
    PointBlank span;
};
std::optional<OptimalZero> optimalZero(const pm::Bullet& bullet, const pm::Conditions& conditions,
                                       const pm::Zeroing& zeroing, double vitalZone_cm,
                                       Method method = Method::PointMass);

// The last distance of the table at which the energy is still at least `minimum_J`,
// interpolated between rows; the last row's distance when it never falls below; 0 when the
// muzzle energy is already below.
double energyAboveMinimumTo_m(const std::vector<pm::Row>& rows, double minimum_J);

// The clicks as the card writes them: "▲ 12" up, "▼ 3" down, "0"; with the clicks of one
// turn of the turret, "▲ 1 g + 4" past a whole turn. Windage: "▶ 3" right, "◀ 3" left.
std::string elevationClicksText(long clicks, int clicksPerTurn = 0);
std::string windageClicksText(long clicks, int clicksPerTurn = 0);

// A number with a fixed count of decimals and the given separator; never "-0".
std::string fixed(double value, int decimals, char decimalSeparator = ',');

enum class Column {
    Distance, Velocity, Energy, Time, Path, Correction, Clicks, Windage, WindCorrection,
    WindClicks, SiacciPath, SiacciDifference, Lead, Hit
};

struct CardRow {
    pm::Row row;
    pm::Correction correction;
    std::vector<std::string> cells;            // one per column of the sheet
    bool belowMinimumEnergy = false;
    std::optional<double> siacciPath_cm;
    long pocketWindClicks = 0;                 // wind 10 km/h from 3 o'clock
};

// The kinds of line under the grid (a view may colour the warnings).
enum class NoteKind { Plain, Warning, Refusal };
struct Note {
    std::string text;
    NoteKind kind = NoteKind::Plain;
};

struct CardSheet {
    // Set when nothing could be computed: the Italian text, and no rows.
    std::string refusal;
    std::vector<Column> columns;
    std::vector<std::string> headings;         // one per column
    std::vector<CardRow> rows;
    std::vector<Note> notes;                   // the lines under the grid, in order
    std::string angleUnit;                     // "MOA" or "MRAD"
    std::optional<PointBlank> pointBlank;
    std::optional<OptimalZero> optimal;
    std::optional<double> energyAboveMinimumTo_m;
    double maximumRange_m = 0;
    std::optional<double> stability_sg;
    std::string siacciRefusal;                 // "Confronta con Siacci" not possible, why
    // The trajectory every few metres for the plot: (distance m, path cm).
    std::vector<std::pair<double, double>> curve;
    // The chance of a hit at each row (same order as rows) and the ethical distance, once
    // they are computed (applyHitTable).
    std::optional<HitTable> hit;
    std::string ethicalText;                   // "Distanza etica (90 %): 265 m"
    // The plot's chance of a hit against distance (distance m, %), and the threshold, %.
    std::vector<std::pair<double, double>> hitCurve;
    double hitThreshold_pct = 0;
    CardSetup setup;
    bool ok() const { return refusal.empty(); }
};

// The line of the card, the printed card and the page: "Distanza etica (90 %): 265 m".
std::string ethicalDistanceText(double minProbability, double distance_m);

// Adds the column "Colpo utile %" and the line of the ethical distance to a computed card, from
// a hit table of its rows (computed at once, or step by step by a page). A table of other rows,
// or one that was refused, adds the refusal's line instead.
void applyHitTable(CardSheet& sheet, const HitTable& table);

// The hit table of a card's rows, all samples at once (the desktop window and the tool).
HitTable hitTableOf(const CardSheet& sheet);
// The distances of a card's rows, as the hit table takes them.
std::vector<double> rowDistancesOf(const CardSheet& sheet);
// A text that changes whenever anything the hit table depends on changes.
std::string hitTableKey(const CardSetup& setup);

// The plot's pointer readout at a distance: "250 m · traiettoria -12,3 cm · ▲ 5 click".
// Empty outside the curve.
std::string readoutAt(const CardSheet& sheet, double distance_m);

// What changed since the last computation decides what must be recomputed; the expensive
// figures (optimal zero, maximum range) are kept when their inputs did not change.
class CardCalculator {
public:
    CardSheet compute(const CardSetup& setup);

private:
    std::optional<CardSetup> m_lastSetup;
    std::optional<OptimalZero> m_optimal;
    std::optional<HitTable> m_hit;
    std::string m_hitKey;
    double m_maximumRange_m = 0;
    bool m_haveRange = false;
};

// The same without a cache: one card from one setup.
CardSheet computeCard(const CardSetup& setup);

} // namespace siacci::card

#pragma once

#include "ballistics/pointmass/pointmass.hpp"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// "Fin dove posso tirare?": the chance that a shot lands in the vital zone, by Monte Carlo.
// The hunter aims at the centre of the zone with the exact correction for the distance and the
// wind he believes (or, "senza correzione", with none); the true distance, wind, muzzle velocity
// and coefficient differ from his by normal errors, and rifle, load and shooter throw a circular
// normal cone. Every sample flies from the rifle as the zero left it (the bore is not zeroed
// again for a faster or slower shot) and lands at the true distance; it hits when it lands
// inside the zone's circle. A seed gives the same figures on every platform.
namespace siacci::card {

namespace pm = siacci::pointmass;

// The errors as standard deviations; 0: none.
struct HitErrors {
    double range_m = 0;        // the distance read, m
    double range_pct = 0;      // or as a share of it, %; both: added in quadrature
    double wind_kmh = 0;       // the wind's speed along its direction
    double velocity_ms = 0;    // shot to shot (the chronograph's standard deviation)
    double bc_pct = 0;         // the coefficient, %
    double cone_moa = 0;       // rifle, load and shooter: per axis, MOA
    friend bool operator==(const HitErrors&, const HitErrors&) = default;
};

enum class AimMode {
    Corrected,       // dialled or held for the distance and wind he believes
    NoCorrection,    // "senza correzione": the centre of the zone, whatever the distance
};

// The sources of error one by one, for "which error costs most".
enum class HitError { Range, Wind, Velocity, Bc, Cone };
inline constexpr int kHitErrorCount = 5;
// "la distanza", "il vento" ...: what the hunter reads after "l'errore che costa di più:".
const char* hitErrorText(HitError error);

struct HitSettings {
    HitErrors sd;
    double vitalZone_cm = 10;          // the zone's diameter
    AimMode aim = AimMode::Corrected;
    int samples = 10000;
    std::uint64_t seed = 1;
    double minProbability = 0.9;       // the ethical distance's threshold, 0 to 1
    friend bool operator==(const HitSettings&, const HitSettings&) = default;
};

// The first setting outside its limits (card/input_limits.hpp), Italian, or "".
std::string hitSettingsRefusal(const HitSettings& settings);

// One distance: the share of the samples in the zone, and of those that miss it, the share that
// miss mostly above, below, left or right (the five add up to 1).
struct HitRow {
    double distance_m = 0;
    double probability = 1;
    double missHigh = 0, missLow = 0, missLeft = 0, missRight = 0;
};

// The farthest distance at which the probability is still at least `minimum`, interpolated
// between rows: the last row's distance when it never falls below; 0 when the first row past
// the muzzle is already below. Rows at the muzzle (distance 0) are no shot and are passed over.
double ethicalDistance_m(const std::vector<HitRow>& rows, double minimum);

struct HitTable {
    pm::Refusal refusal = pm::Refusal::None;
    std::vector<HitRow> rows;
    double ethicalDistance_m = 0;
    int samples = 0;                    // the samples the figures are made of
    bool ok() const { return refusal == pm::Refusal::None; }
};

// The Monte Carlo, one batch of samples at a time, so that a page can show the card at once and
// the probabilities as they come. The rows are the given distances (m, along the line of sight,
// any order); the zero is solved once from `zeroing`. A row at the muzzle (distance 0) is a hit
// for the hunter who corrects (he holds the sight's height over) and, without a correction, a
// hit when the sight is no higher than the zone's half.
class HitSimulation {
public:
    HitSimulation(const pm::Bullet& bullet, const pm::Conditions& conditions,
                  const pm::Zeroing& zeroing, std::vector<double> distances,
                  const HitSettings& settings);
    ~HitSimulation();
    HitSimulation(const HitSimulation&) = delete;
    HitSimulation& operator=(const HitSimulation&) = delete;

    pm::Refusal refusal() const { return m_refusal; }
    // Flies up to `count` more samples; true when every sample has flown.
    bool advance(int count);
    bool done() const { return m_done >= m_settings.samples; }
    int samplesDone() const { return m_done; }
    // The figures from the samples flown so far.
    HitTable table() const;

private:
    struct Prepared;
    void flyOne();

    pm::Refusal m_refusal = pm::Refusal::None;
    HitSettings m_settings;
    std::vector<double> m_distances;
    std::unique_ptr<Prepared> m_prepared;
    std::vector<std::array<int, 5>> m_counts; // hit, high, low, left, right
    int m_done = 0;
};

// Every sample at once.
HitTable computeHitTable(const pm::Bullet& bullet, const pm::Conditions& conditions,
                         const pm::Zeroing& zeroing, const std::vector<double>& distances,
                         const HitSettings& settings);

// The hit at one distance, and the error that costs most there: each error alone (the same
// samples), the share of the misses it alone would cause.
struct HitSummary {
    pm::Refusal refusal = pm::Refusal::None;
    HitRow row;
    std::optional<HitError> costliest;  // none when nothing misses
    double costliestShare = 0;          // its misses over all the misses, at most 1
    // "a 287 m: 84 % nella zona vitale, colpi bassi 11 %"
    std::string text;
    // "l'errore che costa di più: il vento (60 % dei colpi mancati)", or "" with no misses
    std::string costText;
};
// The line of one row: "a 287 m: 84 % nella zona vitale, colpi bassi 11 %" (the side that misses
// most, when any does).
std::string hitRowText(const HitRow& row, double distance_m);
// That line at a distance between the rows of a computed table (linear between the two rows
// around it), as the one-shot view shows it beside the card; empty when the table has no
// samples yet or does not reach the distance.
std::string hitLineAt(const HitTable& table, double distance_m);

HitSummary hitSummaryAt(const pm::Bullet& bullet, const pm::Conditions& conditions,
                        const pm::Zeroing& zeroing, double distance_m,
                        const HitSettings& settings);

// A share as the hunter reads it: "84 %" (never "100 %" for a share below 1, nor "0 %" above 0).
std::string percentText(double share);

} // namespace siacci::card

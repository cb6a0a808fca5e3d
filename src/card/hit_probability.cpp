#include "card/hit_probability.hpp"

#include "ballistics/pointmass/fixed_bore.hpp"
#include "card/input_limits.hpp"
#include "common/number_text.hpp"
#include "common/portable_math.hpp"
#include "common/portable_random.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

namespace siacci::card {

namespace {

constexpr double kRadPerMoa = std::numbers::pi / (180 * 60);
// A coefficient or a true distance never falls below this share of the believed one (a normal
// error 10 standard deviations out would make them negative).
constexpr double kLeastShare = 0.05;

enum Outcome { Hit, High, Low, Left, Right };

} // namespace

const char* hitErrorText(HitError error)
{
    switch (error) {
    case HitError::Range: return "la distanza";
    case HitError::Wind: return "il vento";
    case HitError::Velocity: return "la velocità della carica";
    case HitError::Bc: return "il coefficiente balistico";
    case HitError::Cone: return "la rosata di arma e tiratore";
    }
    return "";
}

std::string hitSettingsRefusal(const HitSettings& s)
{
    const std::pair<LimitedInput, double> checks[] = {
        {LimitedInput::HitVitalZone, s.vitalZone_cm},
        {LimitedInput::SdRange, s.sd.range_m},
        {LimitedInput::SdRangePct, s.sd.range_pct},
        {LimitedInput::SdWind, s.sd.wind_kmh},
        {LimitedInput::SdVelocity, s.sd.velocity_ms},
        {LimitedInput::SdBc, s.sd.bc_pct},
        {LimitedInput::SdCone, s.sd.cone_moa},
        {LimitedInput::HitSamples, static_cast<double>(s.samples)},
        {LimitedInput::MinProbability, 100 * s.minProbability},
    };
    for (const auto& [input, value] : checks)
        if (std::string refusal = limitRefusal(input, value); !refusal.empty())
            return refusal;
    return "";
}

double ethicalDistance_m(const std::vector<HitRow>& rows, double minimum)
{
    const HitRow* previous = nullptr;
    for (const HitRow& row : rows) {
        if (!(row.distance_m > 0))
            continue;
        if (row.probability < minimum) {
            if (!previous)
                return 0;
            const double t = (previous->probability - minimum) /
                             (previous->probability - row.probability);
            return previous->distance_m + t * (row.distance_m - previous->distance_m);
        }
        previous = &row;
    }
    return previous ? previous->distance_m : 0;
}

std::string percentText(double share)
{
    long percent = std::lround(100 * share);
    if (share < 1 && percent >= 100)
        percent = 99;
    if (share > 0 && percent <= 0)
        percent = 1;
    return std::to_string(percent) + " %";
}

// What every sample shares: the rifle as zeroed, and the aim at each believed distance.
struct HitSimulation::Prepared {
    Prepared(const pm::Bullet& bullet, const pm::Conditions& conditions, const pm::FixedBore& bore,
             std::uint64_t seed)
        : flight(bullet, conditions, bore), random(seed)
    {
    }
    pm::FixedBoreFlight flight;
    PortableRandom random;
    std::vector<double> tanDialElevation, tanDialWindage;   // per row: the aim
    std::vector<double> rangeSd_m;                          // per row
    std::vector<std::size_t> order;                         // rows by distance
    std::vector<double> trueDistances;                      // scratch, ascending
    std::vector<pm::Impact> impacts;                        // scratch
};

HitSimulation::HitSimulation(const pm::Bullet& bullet, const pm::Conditions& conditions,
                             const pm::Zeroing& zeroing, std::vector<double> distances,
                             const HitSettings& settings)
    : m_settings(settings), m_distances(std::move(distances)), m_counts(m_distances.size())
{
    for (auto& c : m_counts)
        c.fill(0);
    for (const double d : m_distances)
        if (!std::isfinite(d) || d < 0) {
            m_refusal = pm::Refusal::BadSpan;
            return;
        }
    if (m_distances.size() > 10000) {
        m_refusal = pm::Refusal::TooManyRows;
        return;
    }
    // The zero: the bore as the rifle holds it for every sample.
    const double far = std::max(1.0, zeroing.zeroDistance_m);
    const pm::Result zeroed = pm::computeTrajectory(bullet, conditions, zeroing, {far, far});
    if (!zeroed.ok()) {
        m_refusal = zeroed.refusal;
        return;
    }
    const pm::FixedBore bore{zeroed.trajectory.boreElevation_moa, zeroing.sightHeight_cm, 0, 0};
    m_prepared = std::make_unique<Prepared>(bullet, conditions, bore, settings.seed);
    Prepared& p = *m_prepared;
    const std::size_t n = m_distances.size();
    p.order.resize(n);
    std::iota(p.order.begin(), p.order.end(), std::size_t{0});
    std::stable_sort(p.order.begin(), p.order.end(),
                     [&](std::size_t a, std::size_t b) { return m_distances[a] < m_distances[b]; });
    p.trueDistances.resize(n);
    p.impacts.resize(n);
    p.tanDialElevation.assign(n, 0);
    p.tanDialWindage.assign(n, 0);
    p.rangeSd_m.resize(n);
    // Where the shot as typed goes at each believed distance: the correction that brings it on.
    std::vector<double> sorted(n);
    for (std::size_t k = 0; k < n; ++k)
        sorted[k] = m_distances[p.order[k]];
    const std::size_t reached =
        p.flight.fly(p.flight.nominal(), sorted, p.impacts, pm::kSampleTolerance);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t row = p.order[k];
        const double d = sorted[k];
        const double pct = settings.sd.range_pct / 100 * d;
        p.rangeSd_m[row] = std::sqrt(settings.sd.range_m * settings.sd.range_m + pct * pct);
        if (settings.aim == AimMode::Corrected && d > 0 && k < reached) {
            // The correction that brings the shot as typed onto the aim point: its tangent.
            p.tanDialElevation[row] = -p.impacts[k].path_cm / 100 / d;
            p.tanDialWindage[row] = -p.impacts[k].windage_cm / 100 / d;
        }
    }
}

HitSimulation::~HitSimulation() = default;

void HitSimulation::flyOne()
{
    Prepared& p = *m_prepared;
    const HitErrors& sd = m_settings.sd;
    // Always the same six numbers in the same order, whichever errors are 0: a larger error
    // then moves the same samples farther, and each error alone sees the samples of them all.
    const double zRange = p.random.normal();
    const double zVelocity = p.random.normal();
    const double zBc = p.random.normal();
    const double zWind = p.random.normal();
    const double coneX = p.random.normal() * sd.cone_moa * kRadPerMoa;
    const double coneY = p.random.normal() * sd.cone_moa * kRadPerMoa;

    pm::ShotVariation shot = p.flight.nominal();
    shot.muzzleVelocity_ms += zVelocity * sd.velocity_ms;
    shot.dragFactor = 1 / std::max(kLeastShare, 1 + zBc * sd.bc_pct / 100);
    shot.wind.speed_ms += zWind * sd.wind_kmh / 3.6;
    if (!(shot.muzzleVelocity_ms > 0))
        shot.muzzleVelocity_ms = kLeastShare * p.flight.nominal().muzzleVelocity_ms;

    const std::size_t n = m_distances.size();
    bool ascending = true;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t row = p.order[k];
        const double d = m_distances[row];
        p.trueDistances[k] = d > 0 ? std::max(kLeastShare * d, d + zRange * p.rangeSd_m[row]) : 0;
        ascending = ascending && (k == 0 || p.trueDistances[k] >= p.trueDistances[k - 1]);
    }
    // One number for every row's distance error keeps the true distances in order (a share of
    // the distance grows slower than the distance); were two to cross, fly them sorted.
    std::vector<std::size_t> byTrue;
    if (!ascending) {
        byTrue.resize(n);
        std::iota(byTrue.begin(), byTrue.end(), std::size_t{0});
        std::stable_sort(byTrue.begin(), byTrue.end(), [&](std::size_t a, std::size_t b) {
            return p.trueDistances[a] < p.trueDistances[b];
        });
        std::vector<double> sorted(n);
        for (std::size_t k = 0; k < n; ++k)
            sorted[k] = p.trueDistances[byTrue[k]];
        p.trueDistances = sorted;
    }
    const std::size_t reached = p.flight.fly(shot, p.trueDistances, p.impacts, pm::kSampleTolerance);
    const double radius_m = m_settings.vitalZone_cm / 200;
    const double tanConeX = siacci::pm::tan(coneX), tanConeY = siacci::pm::tan(coneY);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t slot = ascending ? k : byTrue[k];
        const std::size_t row = p.order[slot];
        if (k >= reached) {
            ++m_counts[row][Low]; // the bullet does not get there
            continue;
        }
        if (m_distances[row] <= 0 && m_settings.aim == AimMode::Corrected) {
            ++m_counts[row][Hit]; // at the muzzle the hold is the sight's height itself
            continue;
        }
        const double distance = p.trueDistances[k];
        const pm::Impact& impact = p.impacts[k];
        // The correction and the cone turn the trajectory about the muzzle.
        // tan(dial + cone) by the sum of the tangents.
        const double tanY = (p.tanDialElevation[row] + tanConeY) /
                            (1 - p.tanDialElevation[row] * tanConeY);
        const double tanX =
            (p.tanDialWindage[row] + tanConeX) / (1 - p.tanDialWindage[row] * tanConeX);
        const double y = impact.path_cm / 100 + distance * tanY;
        const double x = impact.windage_cm / 100 + distance * tanX;
        Outcome outcome;
        if (x * x + y * y <= radius_m * radius_m)
            outcome = Hit;
        else if (std::fabs(y) >= std::fabs(x))
            outcome = y > 0 ? High : Low;
        else
            outcome = x > 0 ? Right : Left;
        ++m_counts[row][outcome];
    }
}

bool HitSimulation::advance(int count)
{
    if (m_refusal != pm::Refusal::None)
        return true;
    for (int i = 0; i < count && !done(); ++i, ++m_done)
        flyOne();
    return done();
}

HitTable HitSimulation::table() const
{
    HitTable t;
    t.refusal = m_refusal;
    if (!t.ok())
        return t;
    t.samples = m_done;
    const double n = std::max(1, m_done);
    for (std::size_t row = 0; row < m_distances.size(); ++row) {
        const auto& c = m_counts[row];
        HitRow r;
        r.distance_m = m_distances[row];
        if (m_done > 0) {
            r.probability = c[Hit] / n;
            r.missHigh = c[High] / n;
            r.missLow = c[Low] / n;
            r.missLeft = c[Left] / n;
            r.missRight = c[Right] / n;
        }
        t.rows.push_back(r);
    }
    t.ethicalDistance_m = ethicalDistance_m(t.rows, m_settings.minProbability);
    return t;
}

HitTable computeHitTable(const pm::Bullet& bullet, const pm::Conditions& conditions,
                         const pm::Zeroing& zeroing, const std::vector<double>& distances,
                         const HitSettings& settings)
{
    HitSimulation simulation(bullet, conditions, zeroing, distances, settings);
    simulation.advance(settings.samples);
    return simulation.table();
}

namespace {

// The errors with only one of them left.
HitErrors only(const HitErrors& all, HitError error)
{
    HitErrors one;
    switch (error) {
    case HitError::Range:
        one.range_m = all.range_m;
        one.range_pct = all.range_pct;
        break;
    case HitError::Wind: one.wind_kmh = all.wind_kmh; break;
    case HitError::Velocity: one.velocity_ms = all.velocity_ms; break;
    case HitError::Bc: one.bc_pct = all.bc_pct; break;
    case HitError::Cone: one.cone_moa = all.cone_moa; break;
    }
    return one;
}

} // namespace

std::string hitRowText(const HitRow& r, double distance_m)
{
    std::string text = "a " + roundedText(distance_m, 0, ',') + " m: " + percentText(r.probability) +
                       " nella zona vitale";
    const std::pair<double, const char*> sides[] = {{r.missLow, "colpi bassi"},
                                                    {r.missHigh, "colpi alti"},
                                                    {r.missLeft, "colpi a sinistra"},
                                                    {r.missRight, "colpi a destra"}};
    const auto* worst = std::max_element(std::begin(sides), std::end(sides),
                                         [](const auto& a, const auto& b) { return a.first < b.first; });
    if (worst->first > 0)
        text += std::string(", ") + worst->second + " " + percentText(worst->first);
    return text;
}

std::string hitLineAt(const HitTable& table, double distance_m)
{
    if (!table.ok() || table.samples == 0 || !(distance_m > 0))
        return {};
    const std::vector<HitRow>& rows = table.rows;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        const HitRow& a = rows[k - 1];
        const HitRow& b = rows[k];
        if (!(a.distance_m <= distance_m && distance_m <= b.distance_m) || !(b.distance_m > a.distance_m))
            continue;
        const double share = (distance_m - a.distance_m) / (b.distance_m - a.distance_m);
        const auto between = [share](double x, double y) { return x + (y - x) * share; };
        const HitRow r{distance_m,           between(a.probability, b.probability),
                       between(a.missHigh, b.missHigh), between(a.missLow, b.missLow),
                       between(a.missLeft, b.missLeft), between(a.missRight, b.missRight)};
        return hitRowText(r, distance_m);
    }
    return {};
}

HitSummary hitSummaryAt(const pm::Bullet& bullet, const pm::Conditions& conditions,
                        const pm::Zeroing& zeroing, double distance_m,
                        const HitSettings& settings)
{
    HitSummary summary;
    const HitTable all = computeHitTable(bullet, conditions, zeroing, {distance_m}, settings);
    summary.refusal = all.refusal;
    if (!all.ok())
        return summary;
    summary.row = all.rows.front();
    const HitRow& r = summary.row;
    const double missed = 1 - r.probability;
    summary.text = hitRowText(r, distance_m);
    if (!(missed > 0))
        return summary;
    double worstMiss = 0;
    for (int e = 0; e < kHitErrorCount; ++e) {
        HitSettings alone = settings;
        alone.sd = only(settings.sd, static_cast<HitError>(e));
        if (alone.sd == HitErrors{})
            continue;
        const HitTable one = computeHitTable(bullet, conditions, zeroing, {distance_m}, alone);
        const double miss = 1 - one.rows.front().probability;
        if (miss > worstMiss) {
            worstMiss = miss;
            summary.costliest = static_cast<HitError>(e);
        }
    }
    if (summary.costliest) {
        summary.costliestShare = std::min(1.0, worstMiss / missed);
        summary.costText = std::string("l'errore che costa di più: ") +
                           hitErrorText(*summary.costliest) + " (" +
                           percentText(summary.costliestShare) + " dei colpi mancati)";
    }
    return summary;
}

} // namespace siacci::card

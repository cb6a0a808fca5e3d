#include "card/hit_probability.hpp"

#include "ballistics/pointmass/fixed_bore.hpp"
#include "card/card_sheet.hpp"
#include "card/hit_presets.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace siacci::card {
namespace {

constexpr double kRadPerMoa = std::numbers::pi / (180 * 60);

// A .308 hunting load: 150 grains, G1 0.4, 800 m/s, sight 4 cm, zero 200 m, 10 km/h from 3.
struct Shot {
    pm::Bullet bullet;
    pm::Conditions conditions;
    pm::Zeroing zeroing;
    Shot()
    {
        bullet.muzzleVelocity_ms = 800;
        bullet.weight_gr = 150;
        bullet.bc_lbin2 = 0.4;
        conditions.wind = {10 / 3.6, 90};
        zeroing.sightHeight_cm = 4;
        zeroing.zeroDistance_m = 200;
    }
    HitTable table(const std::vector<double>& distances, const HitSettings& s) const
    {
        const HitTable t = computeHitTable(bullet, conditions, zeroing, distances, s);
        EXPECT_TRUE(t.ok()) << pm::refusalText(t.refusal);
        return t;
    }
};

std::vector<double> everyTenMetresTo(double last)
{
    std::vector<double> d;
    for (double x = 0; x <= last + 1e-9; x += 10)
        d.push_back(x);
    return d;
}

double normalCdf(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

// Without any error the hunter who corrects for the distance hits every time; without a
// correction he hits inside the point-blank span of the zone and misses outside it.
TEST(HitProbability, WithoutErrorsCertainWithTheCorrectionAndThePointBlankSpanWithout)
{
    Shot s;
    s.conditions.wind = {};
    HitSettings settings;
    settings.samples = 200;
    settings.vitalZone_cm = 20; // the top of the trajectory (8 cm at 100 m) inside the zone
    const std::vector<double> distances = everyTenMetresTo(500);
    for (const HitRow& row : s.table(distances, settings).rows)
        EXPECT_EQ(row.probability, 1) << row.distance_m;

    settings.aim = AimMode::NoCorrection;
    const auto span = pointBlankRange(s.bullet, s.conditions, s.zeroing, 20);
    ASSERT_TRUE(span);
    for (const HitRow& row : s.table(distances, settings).rows) {
        if (std::fabs(row.distance_m - span->to_m) < 1)
            continue; // the edge itself
        const bool inside = row.distance_m >= span->from_m && row.distance_m <= span->to_m;
        EXPECT_EQ(row.probability, inside ? 1 : 0) << row.distance_m;
        if (!inside) {
            EXPECT_EQ(row.missLow, 1) << "beyond the span the bullet is below";
        }
    }
    EXPECT_NEAR(s.table(distances, settings).ethicalDistance_m, span->to_m, 10);
}

// Only the cone: the impact is a circular normal about the aim point, and the share inside a
// circle of radius R is Rayleigh's 1 - exp(-R^2 / 2 sigma^2).
TEST(HitProbability, TheConeAloneIsRayleigh)
{
    const Shot s;
    HitSettings settings;
    settings.samples = 20000;
    settings.sd.cone_moa = 1;
    for (const double zone_cm : {10.0, 15.0, 25.0}) {
        settings.vitalZone_cm = zone_cm;
        const std::vector<double> distances{100, 300, 500};
        const HitTable t = s.table(distances, settings);
        for (const HitRow& row : t.rows) {
            const double sigma_cm = 100 * row.distance_m * std::tan(kRadPerMoa);
            const double r = zone_cm / 2;
            const double expected = 1 - std::exp(-r * r / (2 * sigma_cm * sigma_cm));
            EXPECT_NEAR(row.probability, expected, 0.012) << zone_cm << " cm at " << row.distance_m;
            // The cone misses as much on every side.
            EXPECT_NEAR(row.missHigh, row.missLow, 0.02);
            EXPECT_NEAR(row.missLeft, row.missRight, 0.02);
        }
    }
}

// One error at a time moves the impact along one line, by the engine's own sensitivity times
// the error: the share inside the zone is then 2 Phi(R / (|s| sigma)) - 1. Each SD is set so
// that the zone's edge lies 1.2 standard deviations out (P = 0.770).
TEST(HitProbability, OneErrorAtATimeMatchesTheNormalIntegralOfTheSensitivity)
{
    const Shot s;
    const double distance = 300, zone_cm = 6, radius_m = zone_cm / 200;
    const pm::Result zeroed = pm::computeTrajectory(s.bullet, s.conditions, s.zeroing, {200, 200});
    ASSERT_TRUE(zeroed.ok());
    const pm::FixedBoreFlight flight(
        s.bullet, s.conditions, {zeroed.trajectory.boreElevation_moa, 4, 0, 0});
    // Where a shot varied by `vary` lands at `trueDistance` for the hunter corrected for 300 m.
    const auto landing = [&](auto vary, double trueDistance) {
        const double at[] = {distance, trueDistance};
        pm::Impact nominal[2], varied[2];
        flight.fly(flight.nominal(), std::span(at, 1), nominal);
        pm::ShotVariation v = flight.nominal();
        vary(v);
        const double far[] = {trueDistance};
        flight.fly(v, far, varied);
        const double dialY = -std::atan(nominal[0].path_cm / 100 / distance);
        const double dialX = -std::atan(nominal[0].windage_cm / 100 / distance);
        return std::pair{varied[0].windage_cm / 100 + trueDistance * std::tan(dialX),
                         varied[0].path_cm / 100 + trueDistance * std::tan(dialY)};
    };
    struct Case {
        const char* what;
        double HitErrors::*sd;
        double step;
    };
    const Case cases[] = {{"range", &HitErrors::range_m, 1},
                          {"wind", &HitErrors::wind_kmh, 0.5},
                          {"velocity", &HitErrors::velocity_ms, 1},
                          {"coefficient", &HitErrors::bc_pct, 0.5}};
    for (const Case& c : cases) {
        const auto at = [&](double e) {
            const std::string what = c.what;
            if (what == "range")
                return landing([](pm::ShotVariation&) {}, distance + e);
            return landing(
                [&](pm::ShotVariation& v) {
                    if (what == "wind")
                        v.wind.speed_ms += e / 3.6;
                    else if (what == "velocity")
                        v.muzzleVelocity_ms += e;
                    else
                        v.dragFactor = 1 / (1 + e / 100);
                },
                distance);
        };
        const auto [x1, y1] = at(c.step);
        const auto [x0, y0] = at(-c.step);
        const double sensitivity = std::hypot(x1 - x0, y1 - y0) / (2 * c.step); // m per unit
        HitSettings settings;
        settings.samples = 20000;
        settings.vitalZone_cm = zone_cm;
        settings.sd.*c.sd = radius_m / (1.2 * sensitivity);
        const HitTable t = s.table({distance}, settings);
        EXPECT_NEAR(t.rows[0].probability, 2 * normalCdf(1.2) - 1, 0.015)
            << c.what << " sd " << settings.sd.*c.sd;
    }
}

// The hunter's errors grow: he can shoot less far. Every error alone, grown by half.
TEST(HitProbability, TheEthicalDistanceFallsWhenAnyErrorGrows)
{
    const Shot s;
    HitSettings base;
    base.samples = 4000;
    base.vitalZone_cm = 15;
    base.sd = {1, 0, 4, 10, 2, coneSd_moa(1, ShootingPosition::Banco)};
    const std::vector<double> distances = everyTenMetresTo(500);
    const double reference = s.table(distances, base).ethicalDistance_m;
    EXPECT_GT(reference, 50);
    EXPECT_LT(reference, 500);
    double HitErrors::*const errors[] = {&HitErrors::range_m, &HitErrors::wind_kmh,
                                         &HitErrors::velocity_ms, &HitErrors::bc_pct,
                                         &HitErrors::cone_moa};
    for (int e = 0; e < 5; ++e) {
        HitSettings grown = base;
        grown.sd.*errors[e] = 2 * base.sd.*errors[e] + 2;
        EXPECT_LT(s.table(distances, grown).ethicalDistance_m, reference) << "error " << e;
    }
    HitSettings pct = base;
    pct.sd.range_pct = 10;
    EXPECT_LT(s.table(distances, pct).ethicalDistance_m, reference);
}

// The seed decides every figure: the same seed twice gives the same table to the last bit,
// one batch at a time or all at once; another seed another one.
TEST(HitProbability, SameSeedSameFiguresInBatchesOrAtOnce)
{
    const Shot s;
    HitSettings settings;
    settings.samples = 1000;
    settings.vitalZone_cm = 12;
    settings.sd = {1, 0, 4, 10, 2, 1.2};
    const std::vector<double> distances = everyTenMetresTo(400);
    const HitTable once = s.table(distances, settings);
    HitSimulation batches(s.bullet, s.conditions, s.zeroing, distances, settings);
    int calls = 0;
    while (!batches.advance(128))
        ++calls;
    EXPECT_EQ(calls, 7);
    const HitTable stepped = batches.table();
    ASSERT_EQ(stepped.rows.size(), once.rows.size());
    for (std::size_t k = 0; k < once.rows.size(); ++k) {
        EXPECT_EQ(stepped.rows[k].probability, once.rows[k].probability);
        EXPECT_EQ(stepped.rows[k].missLow, once.rows[k].missLow);
    }
    EXPECT_EQ(stepped.ethicalDistance_m, once.ethicalDistance_m);
    settings.seed = 2;
    const HitTable other = s.table(distances, settings);
    bool differs = false;
    for (std::size_t k = 0; k < once.rows.size(); ++k)
        differs = differs || other.rows[k].probability != once.rows[k].probability;
    EXPECT_TRUE(differs);
    // Half-way the figures are those of the samples flown so far.
    HitSimulation half(s.bullet, s.conditions, s.zeroing, distances, settings);
    half.advance(500);
    EXPECT_EQ(half.table().samples, 500);
    EXPECT_FALSE(half.done());
}

// Each row's shares add up to one; rows keep the order they were given in.
TEST(HitProbability, SharesAddUpAndRowsKeepTheirOrder)
{
    const Shot s;
    HitSettings settings;
    settings.samples = 2000;
    settings.sd = {0, 10, 4, 10, 2, 2};
    const HitTable t = s.table({400, 100, 250}, settings);
    ASSERT_EQ(t.rows.size(), 3u);
    EXPECT_EQ(t.rows[0].distance_m, 400);
    EXPECT_EQ(t.rows[1].distance_m, 100);
    EXPECT_GT(t.rows[1].probability, t.rows[0].probability);
    for (const HitRow& r : t.rows)
        EXPECT_NEAR(r.probability + r.missHigh + r.missLow + r.missLeft + r.missRight, 1, 1e-12);
}

TEST(HitProbability, EthicalDistanceBetweenRows)
{
    const auto rows = [](std::vector<std::pair<double, double>> p) {
        std::vector<HitRow> out;
        for (const auto& [d, prob] : p)
            out.push_back({d, prob});
        return out;
    };
    struct Case {
        const char* what;
        std::vector<HitRow> rows;
        double expected;
    } cases[] = {
        {"interpolated", rows({{0, 1}, {100, 0.98}, {200, 0.94}, {300, 0.86}}), 250},
        {"never below: the last row", rows({{0, 1}, {100, 1}, {200, 0.95}}), 200},
        {"the first row past the muzzle below", rows({{0, 1}, {100, 0.5}, {200, 0.4}}), 0},
        {"the muzzle passed over", rows({{0, 0}, {100, 0.95}, {200, 0.85}}), 150},
        {"exactly at the minimum counts", rows({{100, 0.9}, {200, 0.8}}), 100},
        {"no rows", {}, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ethicalDistance_m(c.rows, 0.9), c.expected, 1e-9) << c.what;
}

TEST(HitProbability, SummaryAtOneDistanceNamesTheCostliestError)
{
    const Shot s;
    HitSettings settings;
    settings.samples = 4000;
    settings.vitalZone_cm = 10;
    settings.sd = {1, 0, 8, 5, 1, 0.5};
    const HitSummary summary = hitSummaryAt(s.bullet, s.conditions, s.zeroing, 287, settings);
    ASSERT_EQ(summary.refusal, pm::Refusal::None);
    ASSERT_TRUE(summary.costliest);
    EXPECT_EQ(*summary.costliest, HitError::Wind); // 8 km/h guessed wrong at 287 m
    EXPECT_GT(summary.costliestShare, 0.5);
    EXPECT_LE(summary.costliestShare, 1);
    EXPECT_EQ(summary.text.rfind("a 287 m: " + percentText(summary.row.probability) +
                                     " nella zona vitale, colpi a ", 0), 0u) << summary.text;
    EXPECT_EQ(summary.costText.rfind("l'errore che costa di più: il vento (", 0), 0u);

    settings.sd = {};
    const HitSummary sure = hitSummaryAt(s.bullet, s.conditions, s.zeroing, 287, settings);
    EXPECT_EQ(sure.text, "a 287 m: 100 % nella zona vitale");
    EXPECT_EQ(sure.costText, "");
}

// Between two rows of a table the line takes the straight line between them; outside the table,
// or before any sample, there is no line (a figure made of nothing is no figure).
TEST(HitProbability, LineBetweenTheRowsOfATable)
{
    HitTable t;
    t.samples = 1000;
    t.rows = {{0, 1, 0, 0, 0, 0}, {200, 1, 0, 0, 0, 0}, {300, 0.8, 0.02, 0.12, 0.04, 0.02}};
    EXPECT_EQ(hitLineAt(t, 250), "a 250 m: 90 % nella zona vitale, colpi bassi 6 %");
    EXPECT_EQ(hitLineAt(t, 300), "a 300 m: 80 % nella zona vitale, colpi bassi 12 %");
    EXPECT_EQ(hitLineAt(t, 100), "a 100 m: 100 % nella zona vitale");
    EXPECT_EQ(hitLineAt(t, 301), "");
    t.samples = 0;
    EXPECT_EQ(hitLineAt(t, 250), "");
}

TEST(HitProbability, PercentTextNeverRoundsToCertainty)
{
    const std::pair<double, const char*> cases[] = {
        {1, "100 %"}, {0.9996, "99 %"}, {0.844, "84 %"}, {0.0004, "1 %"}, {0, "0 %"}};
    for (const auto& [share, text] : cases)
        EXPECT_EQ(percentText(share), text) << share;
}

TEST(HitProbability, RefusesSettingsOutsideTheirLimits)
{
    HitSettings s;
    EXPECT_EQ(hitSettingsRefusal(s), "");
    s.vitalZone_cm = 0;
    EXPECT_EQ(hitSettingsRefusal(s), "Zona vitale: deve essere tra 1 e 200 cm");
    s = {};
    s.sd.wind_kmh = -1;
    EXPECT_EQ(hitSettingsRefusal(s), "Errore del vento: deve essere tra 0 e 50 km/h");
    s = {};
    s.minProbability = 1;
    EXPECT_EQ(hitSettingsRefusal(s), "Probabilità minima: deve essere tra 50 e 99,9 %");
    s = {};
    s.samples = 10;
    EXPECT_EQ(hitSettingsRefusal(s), "Campioni: deve essere tra 100 e 1000000");
    // A shot the engine refuses is refused, not simulated.
    Shot bad;
    bad.zeroing.zeroDistance_m = 50000;
    EXPECT_EQ(computeHitTable(bad.bullet, bad.conditions, bad.zeroing, {100}, HitSettings{}).refusal,
              pm::Refusal::ZeroUnreachable);
}

} // namespace
} // namespace siacci::card

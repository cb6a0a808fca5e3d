#include "bc/bc_search.hpp"

#include "ballistics/engine/engine.hpp"
#include "common/number_text.hpp"
#include "common/units.hpp"

#include <cmath>

namespace siacci {

namespace {

// The standard atmosphere of the search: sea level and 15 C, so the air density is 1 and the
// effective coefficient equals the trial one. Weight and sight height play no part.
constexpr double kStandardAltitude_m = 0;
constexpr double kStandardTemperature_c = 15;

PreparedShot standardShot(double v1_ms, int thousandths)
{
    return prepareShot(v1_ms, thousandths / 1000.0, kStandardAltitude_m, kStandardTemperature_c,
                       0, 0);
}

// One trial coefficient, as the fast search sees it.
struct Trial {
    bool reaches = false;    // the rounded prediction is at least the second velocity
    int stretch = 0;         // the band that holds the space value at D; -1 past the slow end
    bool consistent = true;  // the engine used the band the stretch stands for
};

// The stretch of a space value: the band whose stored range holds it, -1 when it lies past the
// slow end of the table (the engine then extrapolates the band of the muzzle evaluation), and
// the number of bands when it lies past the fast end. As the coefficient grows the space value
// falls, so the stretch never decreases.
int stretchOf(double s)
{
    const int count = static_cast<int>(kDragBands.size());
    for (int i = 0; i < count; ++i)
        if (kDragBands[i].sLo < s && s <= kDragBands[i].sHi)
            return i;
    return s > kDragBands.front().sHi ? -1 : count;
}

// The engine run of one trial: context, muzzle, then the distance, in that order (the muzzle
// evaluation chooses the band that is extrapolated past the slow end).
struct Run {
    ShotContext shot;
    int muzzleBandUsed = 0;
    TrajectoryPoint point;
};

std::optional<Run> run(double v1_ms, int thousandths, double x_ft)
{
    auto shot = standardShot(v1_ms, thousandths);
    if (!shot)
        return std::nullopt;
    Run r{*shot, 0, {}};
    evaluatePoint(r.shot, 0);
    r.muzzleBandUsed = r.shot.band;
    r.point = evaluatePoint(r.shot, x_ft);
    return r;
}

double roundedVelocity_ms(const TrajectoryPoint& point)
{
    return std::floor(kMetresPerFootVelocity * point.velocity_fps + 0.49);
}

BcRefusal check(const BcReadings& r)
{
    // Negative readings are as meaningless as missing ones: a negative distance would run the
    // bullet backwards, a negative second velocity would accept the smallest coefficient.
    if (r.v1_ms < kMinFirstVelocity_ms || r.v2_ms == 0 || r.distance_m == 0 ||
        std::isnan(r.v2_ms) || std::isnan(r.distance_m))
        return BcRefusal::MissingData;
    if (r.v2_ms < 0 || r.distance_m < 0)
        return BcRefusal::NegativeReading;
    if (r.v1_ms < r.v2_ms)
        return BcRefusal::SecondAboveFirst;
    if (!standardShot(r.v1_ms, 1))
        return BcRefusal::NoBand;
    return BcRefusal::None;
}

BcResult refused(BcRefusal why)
{
    return {why, 0};
}

BcResult found(int thousandths)
{
    return {BcRefusal::None, thousandths};
}

// The fast search. Within a stretch the engine uses one quadratic, and the velocity it predicts
// grows with the coefficient (every step of the computation is monotonic), so the rounded
// criterion there is false up to a point and true after it. Across a band limit the prediction
// may drop (the stored limits, not the quadratics, decide the band), so the stretches are visited
// in increasing order: gallop to find where the current one ends, and bisect inside the first
// stretch whose last trial reaches the second velocity. Returns nullopt when the engine did not
// behave as the stretches assume (the caller then falls back to the linear search).
class FastSearch {
public:
    FastSearch(const BcReadings& r)
        : m_v1(r.v1_ms), m_v2(r.v2_ms), m_x(kFeetPerMetreDistance * r.distance_m)
    {
    }

    // The smallest k (1..kMax) that reaches, kMax + 1 when none does; nullopt when unsure.
    std::optional<int> smallest()
    {
        int lo = 1;
        while (lo <= kMaxBcThousandths) {
            const Trial first = trial(lo);
            if (!m_ok)
                return std::nullopt;
            if (first.reaches)
                return lo;
            // Gallop: `last` is the furthest trial known in this stretch (not reaching), `next`
            // the first known beyond it.
            int last = lo;
            int next = kMaxBcThousandths + 1;
            for (int step = 1; last < kMaxBcThousandths; step *= 2) {
                const int k = std::min(lo + step, kMaxBcThousandths);
                const Trial t = trial(k);
                if (t.stretch != first.stretch) {
                    next = k;
                    break;
                }
                if (t.reaches)
                    return bisect(last, k);
                last = k;
            }
            // Narrow the stretch's end; a reaching trial met on the way settles it.
            while (next - last > 1) {
                const int mid = last + (next - last) / 2;
                const Trial t = trial(mid);
                if (t.stretch != first.stretch) {
                    next = mid;
                } else if (t.reaches) {
                    return bisect(last, mid);
                } else {
                    last = mid;
                }
            }
            if (!m_ok)
                return std::nullopt;
            lo = next;
        }
        return m_ok ? std::optional<int>(kMaxBcThousandths + 1) : std::nullopt;
    }

private:
    // The smallest reaching k in (no, yes], both in the same stretch.
    std::optional<int> bisect(int no, int yes)
    {
        while (yes - no > 1) {
            const int mid = no + (yes - no) / 2;
            (trial(mid).reaches ? yes : no) = mid;
        }
        return m_ok ? std::optional<int>(yes) : std::nullopt;
    }

    Trial trial(int thousandths)
    {
        Trial t;
        const auto r = run(m_v1, thousandths, m_x);
        if (!r) {
            m_ok = false;
            return t;
        }
        t.stretch = stretchOf(r->shot.s0 + m_x / r->shot.effectiveBc);
        t.reaches = roundedVelocity_ms(r->point) >= m_v2;
        const int count = static_cast<int>(kDragBands.size());
        const int expected =
            (t.stretch < 0 || t.stretch >= count) ? r->muzzleBandUsed : t.stretch;
        if (r->point.band != expected || !std::isfinite(r->point.velocity_fps))
            m_ok = false;
        return t;
    }

    double m_v1, m_v2, m_x;
    bool m_ok = true;
};

int linearSmallest(const BcReadings& r)
{
    for (int k = 1; k <= kMaxBcThousandths; ++k) {
        const auto v = predictedVelocity_ms(r.v1_ms, k, r.distance_m);
        if (v && *v >= r.v2_ms)
            return k;
    }
    return kMaxBcThousandths + 1;
}

BcResult outcome(int smallest)
{
    return smallest > kMaxBcThousandths ? refused(BcRefusal::NoPlausibleCoefficient)
                                        : found(smallest);
}

} // namespace

const std::string& bcRefusalText(BcRefusal refusal)
{
    static const std::string none;
    static const std::string missing = "immetti i dati richiesti prima di premere calcola e non "
                                       "inserire come prima velocità un valore inferiore a 100";
    static const std::string negative =
        "la seconda velocità e lo spazio devono essere maggiori di zero";
    static const std::string above = "Non puoi immettere la seconda velocità ad un valore "
                                     "superiore della prima velocità";
    static const std::string noBand =
        "non inserire come prima velocità un valore superiore a 1371";
    static const std::string implausible = "i dati immessi non danno un coefficiente balistico "
                                           "plausibile: controlla le velocità e lo spazio";
    switch (refusal) {
    case BcRefusal::None: return none;
    case BcRefusal::MissingData: return missing;
    case BcRefusal::NegativeReading: return negative;
    case BcRefusal::SecondAboveFirst: return above;
    case BcRefusal::NoBand: return noBand;
    case BcRefusal::NoPlausibleCoefficient: return implausible;
    }
    return none;
}

std::optional<double> predictedVelocity_ms(double v1_ms, int thousandths, double distance_m)
{
    const auto r = run(v1_ms, thousandths, kFeetPerMetreDistance * distance_m);
    if (!r)
        return std::nullopt;
    return roundedVelocity_ms(r->point);
}

BcResult searchBcLinear(const BcReadings& readings)
{
    if (const auto why = check(readings); why != BcRefusal::None)
        return refused(why);
    return outcome(linearSmallest(readings));
}

BcResult searchBc(const BcReadings& readings)
{
    if (const auto why = check(readings); why != BcRefusal::None)
        return refused(why);
    FastSearch fast(readings);
    const auto smallest = fast.smallest();
    return outcome(smallest ? *smallest : linearSmallest(readings));
}

CbModel::CbModel(ShotInput& shot, Dialogs& dialogs, char decimalSeparator)
    : m_shot(shot), m_dialogs(dialogs), m_decimal(decimalSeparator)
{
}

void CbModel::calcola()
{
    const BcReadings readings{readField(m_text1), readField(m_text2), readField(m_text3)};
    // The first reading is the shot's muzzle velocity from now on, whatever the search says.
    m_shot.velocity = readings.v1_ms;
    const BcResult result = searchBc(readings);
    if (result.refusal != BcRefusal::None) {
        Message box;
        box.text = bcRefusalText(result.refusal);
        box.buttons = MessageButtons::OkCancel;
        box.cancelIsDefault = true;
        m_dialogs.message(box); // the answer changes nothing
        return;
    }
    m_label2 = cellText(result.coefficient(), m_decimal);
}

} // namespace siacci

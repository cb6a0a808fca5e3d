#include "armoury/truing.hpp"

#include "common/portable_math.hpp"
#include "common/number_text.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

namespace siacci::armoury {

namespace {

using pointmass::Bullet;

constexpr double kPi = 3.14159265358979323846;
constexpr double kMradPerMoa = kPi / (180.0 * 60.0) * 1000.0;
// Where a 1 % change of the coefficient moves the correction at least this share of what a 1 %
// change of the velocity moves it, a dialled correction cannot tell the two apart: a maker's
// coefficient 5 % off would move the velocity found by 1.5 % or more. For a 150-grain G1 0.4
// bullet at 800 m/s the share is 0.18 at 400 m, 0.26 at 600 m, 0.36 at 800 m.
constexpr double kConfoundedRatio = 0.3;
constexpr int kScanPoints = 16;      // the coarse scan that brackets the root
constexpr int kMaxBisections = 60;   // far more than any tolerance below needs

std::string num(double value, int decimals)
{
    return roundedText(value, decimals, ',');
}

bool usesCurve(const Bullet& b)
{
    return !b.dragTable.empty() || !b.bcSteps.empty();
}

// The row at `distance_m`, or nothing when the engine refuses the shot or the bullet does not
// get there.
struct RowAt {
    std::optional<pointmass::Row> row;
    pointmass::Refusal refusal = pointmass::Refusal::None;
};

RowAt rowAt(const TruingShot& shot, const Bullet& bullet, double distance_m)
{
    const pointmass::TableSpan span{distance_m, distance_m};
    const pointmass::Result result =
        shot.engine == TruingEngine::PointMass
            ? pointmass::computeTrajectory(bullet, shot.conditions, shot.zeroing, span)
            : pointmass::computeSiacciTrajectory(bullet, shot.conditions, shot.zeroing, span);
    if (!result.ok())
        return {std::nullopt, result.refusal};
    const auto& rows = result.trajectory.rows;
    if (rows.size() < 2 || std::abs(rows.back().distance_m - distance_m) > 1e-6 ||
        !std::isfinite(rows.back().velocity_ms) || !std::isfinite(rows.back().path_cm))
        return {};
    return {rows.back(), pointmass::Refusal::None};
}

// The root of f on [low, high]: a scan of kScanPoints geometric steps finds the first change of
// sign between two computed points, bisection narrows it to `tolerance`. Bounded whatever f does.
std::optional<double> solve(const std::function<std::optional<double>(double)>& f, double low,
                            double high, double tolerance)
{
    std::optional<double> lastX, lastF;
    const double ratio = pm::pow(high / low, 1.0 / (kScanPoints - 1));
    for (int i = 0; i < kScanPoints; ++i) {
        const double x = i == kScanPoints - 1 ? high : low * pm::pow(ratio, i);
        const std::optional<double> fx = f(x);
        if (!fx) {
            lastX.reset();
            continue;
        }
        if (*fx == 0)
            return x;
        if (lastX && (*fx > 0) != (*lastF > 0)) {
            double a = *lastX, b = x, fa = *lastF;
            for (int n = 0; n < kMaxBisections && b - a > tolerance; ++n) {
                const double m = 0.5 * (a + b);
                const std::optional<double> fm = f(m);
                if (!fm)
                    return std::nullopt;
                if ((*fm > 0) == (fa > 0)) {
                    a = m;
                    fa = *fm;
                } else {
                    b = m;
                }
            }
            return 0.5 * (a + b);
        }
        lastX = x;
        lastF = fx;
    }
    return std::nullopt;
}

// The coefficient solved for: the single one, or a multiplier of the curve.
struct CoefficientSearch {
    TruedQuantity quantity;
    double previous, low, high, tolerance;
};

CoefficientSearch coefficientSearch(const Bullet& b)
{
    if (usesCurve(b))
        return {TruedQuantity::BcMultiplier, 1.0, 1.0 / 3.0, 3.0, 1e-5};
    return {TruedQuantity::Bc, b.bc_lbin2, std::max(0.01, b.bc_lbin2 / 3), std::min(2.0, b.bc_lbin2 * 3), 1e-5};
}

std::string coefficientWords(TruedQuantity q)
{
    return q == TruedQuantity::BcMultiplier ? "moltiplicatore della curva" : "coefficiente";
}

// The correction dialled, in mrad (positive up).
double observedMrad(const TruingShot& shot, const ObservedCorrection& seen)
{
    switch (seen.unit) {
    case CorrectionUnit::Clicks:
        return seen.amount * shot.click.value * (shot.click.unit == pointmass::AngleUnit::Moa ? kMradPerMoa : 1.0);
    case CorrectionUnit::Moa: return seen.amount * kMradPerMoa;
    case CorrectionUnit::Mrad: return seen.amount;
    case CorrectionUnit::Cm: return pm::atan(seen.amount / 100.0 / seen.distance_m) * 1000.0;
    }
    return 0;
}

std::string correctionText(const ObservedCorrection& seen)
{
    static constexpr std::array<const char*, 4> kUnits = {"click", "MOA", "mrad", "cm"};
    return num(seen.amount, 3) + " " + kUnits[static_cast<std::size_t>(seen.unit)];
}

std::optional<double> elevationMrad(const TruingShot& shot, const Bullet& b, double distance_m)
{
    const RowAt at = rowAt(shot, b, distance_m);
    if (!at.row)
        return std::nullopt;
    return pointmass::correctionAt(*at.row, shot.click).elevation_mrad;
}

TruingResult refused(TruingOutcome outcome, TruedQuantity q, double previous, std::string message)
{
    TruingResult r;
    r.outcome = outcome;
    r.quantity = q;
    r.previous = previous;
    r.message = std::move(message);
    return r;
}

// The shot as given must compute out to the distance, or the refusal says why.
std::optional<TruingResult> shotProblem(const TruingShot& shot, double distance_m, TruedQuantity q, double previous)
{
    const RowAt at = rowAt(shot, shot.bullet, distance_m);
    if (at.refusal != pointmass::Refusal::None) {
        TruingResult r = refused(TruingOutcome::ShotRefused, q, previous, pointmass::refusalText(at.refusal));
        r.refusal = at.refusal;
        return r;
    }
    return std::nullopt;
}

std::optional<TruingResult> distanceProblem(double distance_m, TruedQuantity q, double previous)
{
    if (!std::isfinite(distance_m) || distance_m <= 0 || distance_m > 5000)
        return refused(TruingOutcome::BadObservation, q, previous,
                       "La distanza dell'osservazione deve stare tra 0 e 5000 m.");
    return std::nullopt;
}

// Clicks are whole numbers: an observation can only tell the value when one click more or less
// moves the answer by at most 10 %, that is when 2 % of it (1 % either way) moves the
// correction there by a fifth of a click or more. Near the zero (where
// every velocity is zeroed to the same point) it does not: 0 click at 100 m gave 901.6 m/s.
std::optional<TruingResult> insensitive(const TruingShot& shot, double distance_m, TruedQuantity q,
                                        double previous, const char* dependsOn)
{
    const Bullet& b = shot.bullet;
    const auto up = elevationMrad(shot, applyTruing(b, q, previous * 1.01), distance_m);
    const auto down = elevationMrad(shot, applyTruing(b, q, previous * 0.99), distance_m);
    const double click_mrad =
        shot.click.value * (shot.click.unit == pointmass::AngleUnit::Moa ? kMradPerMoa : 1.0);
    if (up && down && std::abs(*up - *down) < click_mrad / 5)
        return refused(TruingOutcome::Insensitive, q, previous,
                       "Osservazione a " + num(distance_m, 1) +
                           " m: a questa distanza la correzione non dipende abbastanza " + dependsOn +
                           " (un click sposta il risultato di più del 10 %). Osserva il tiro più lontano dalla "
                           "distanza di taratura.");
    return std::nullopt;
}

TruingResult solved(TruedQuantity q, double previous, double value)
{
    TruingResult r;
    r.quantity = q;
    r.previous = previous;
    r.solved = value;
    return r;
}

TruingResult coefficientFrom(const TruingShot& shot, double distance_m,
                             const std::function<std::optional<double>(const pointmass::Row&)>& residual,
                             const std::string& whatWasSeen)
{
    const CoefficientSearch s = coefficientSearch(shot.bullet);
    if (auto problem = distanceProblem(distance_m, s.quantity, s.previous))
        return *problem;
    if (auto problem = shotProblem(shot, distance_m, s.quantity, s.previous))
        return *problem;
    const auto f = [&](double x) -> std::optional<double> {
        const RowAt at = rowAt(shot, applyTruing(shot.bullet, s.quantity, x), distance_m);
        if (!at.row)
            return std::nullopt;
        return residual(*at.row);
    };
    if (const auto x = solve(f, s.low, s.high, s.tolerance))
        return solved(s.quantity, s.previous, *x);
    return refused(TruingOutcome::NoPlausibleValue, s.quantity, s.previous,
                   "Nessun " + coefficientWords(s.quantity) + " tra " + num(s.low, 3) + " e " +
                       num(s.high, 3) + " dà " + whatWasSeen + " a " + num(distance_m, 1) +
                       " m: controlla la misura e i dati del tiro.");
}

} // namespace

TruingResult trueFromVelocity(const TruingShot& shot, const ObservedVelocity& seen)
{
    const CoefficientSearch s = coefficientSearch(shot.bullet);
    if (!std::isfinite(seen.velocity_ms) || seen.velocity_ms <= 0)
        return refused(TruingOutcome::BadObservation, s.quantity, s.previous,
                       "La velocità misurata deve essere maggiore di 0 m/s.");
    if (seen.velocity_ms >= shot.bullet.muzzleVelocity_ms)
        return refused(TruingOutcome::NoPlausibleValue, s.quantity, s.previous,
                       "La velocità misurata (" + num(seen.velocity_ms, 1) +
                           " m/s) deve essere minore di quella alla bocca (" +
                           num(shot.bullet.muzzleVelocity_ms, 1) + " m/s).");
    return coefficientFrom(
        shot, seen.distance_m,
        [&](const pointmass::Row& row) { return row.velocity_ms - seen.velocity_ms; },
        num(seen.velocity_ms, 1) + " m/s");
}

TruingResult trueBcFromCorrection(const TruingShot& shot, const ObservedCorrection& seen)
{
    if (!std::isfinite(seen.amount))
        return refused(TruingOutcome::BadObservation, coefficientSearch(shot.bullet).quantity, 0,
                       "La correzione osservata non è un numero.");
    const double target = observedMrad(shot, seen);
    const CoefficientSearch c = coefficientSearch(shot.bullet);
    // A distance or a shot that is not sound: coefficientFrom says why.
    if (!distanceProblem(seen.distance_m, c.quantity, c.previous) &&
        !shotProblem(shot, seen.distance_m, c.quantity, c.previous))
        if (auto problem = insensitive(shot, seen.distance_m, c.quantity, c.previous, "dal coefficiente"))
            return *problem;
    return coefficientFrom(
        shot, seen.distance_m,
        [&](const pointmass::Row& row) {
            return pointmass::correctionAt(row, shot.click).elevation_mrad - target;
        },
        "una correzione di " + correctionText(seen));
}

TruingResult trueVelocityFromCorrection(const TruingShot& shot, const ObservedCorrection& seen)
{
    const double v0 = shot.bullet.muzzleVelocity_ms;
    const TruedQuantity q = TruedQuantity::Velocity;
    if (auto problem = distanceProblem(seen.distance_m, q, v0))
        return *problem;
    if (!std::isfinite(seen.amount))
        return refused(TruingOutcome::BadObservation, q, v0, "La correzione osservata non è un numero.");
    if (auto problem = shotProblem(shot, seen.distance_m, q, v0))
        return *problem;

    if (auto problem = insensitive(shot, seen.distance_m, q, v0, "dalla velocità"))
        return *problem;

    // How much a per cent of velocity and a per cent of coefficient move the correction here.
    const CoefficientSearch c = coefficientSearch(shot.bullet);
    const Bullet& b = shot.bullet;
    const auto vUp = elevationMrad(shot, applyTruing(b, q, v0 * 1.01), seen.distance_m);
    const auto vDown = elevationMrad(shot, applyTruing(b, q, v0 * 0.99), seen.distance_m);
    const auto cUp = elevationMrad(shot, applyTruing(b, c.quantity, c.previous * 1.01), seen.distance_m);
    const auto cDown = elevationMrad(shot, applyTruing(b, c.quantity, c.previous * 0.99), seen.distance_m);
    if (vUp && vDown && cUp && cDown) {
        const double byVelocity = std::abs(*vUp - *vDown);
        const double byCoefficient = std::abs(*cUp - *cDown);
        if (byCoefficient >= kConfoundedRatio * byVelocity)
            return refused(TruingOutcome::Confounded, q, v0,
                           "A " + num(seen.distance_m, 1) +
                               " m velocità e coefficiente spostano la traiettoria quasi allo stesso "
                               "modo: la correzione non basta a distinguerli. Ricava il " +
                               coefficientWords(c.quantity) +
                               ", oppure osserva il tiro a una distanza più corta.");
    }

    const double target = observedMrad(shot, seen);
    const auto f = [&](double v) -> std::optional<double> {
        const auto e = elevationMrad(shot, applyTruing(b, q, v), seen.distance_m);
        if (!e)
            return std::nullopt;
        return *e - target;
    };
    const double low = std::max(50.0, 0.6 * v0), high = std::min(2000.0, 1.5 * v0);
    if (low < high)
        if (const auto v = solve(f, low, high, 1e-3))
            return solved(q, v0, *v);
    return refused(TruingOutcome::NoPlausibleValue, q, v0,
                   "Nessuna velocità tra " + num(low, 0) + " e " + num(high, 0) +
                       " m/s dà una correzione di " + correctionText(seen) + " a " +
                       num(seen.distance_m, 1) +
                       " m: controlla la correzione, la taratura e il valore del click.");
}

Bullet applyTruing(const Bullet& bullet, TruedQuantity quantity, double value)
{
    Bullet b = bullet;
    switch (quantity) {
    case TruedQuantity::Velocity: b.muzzleVelocity_ms = value; break;
    case TruedQuantity::Bc: b.bc_lbin2 = value; break;
    case TruedQuantity::BcMultiplier:
        b.bc_lbin2 *= value;
        for (auto& step : b.bcSteps)
            step.bc_lbin2 *= value;
        for (auto& point : b.dragTable)
            point.cd /= value;
        break;
    }
    return b;
}

void applyTruing(Load& load, TruedQuantity quantity, double value, double shotTemperature_C)
{
    switch (quantity) {
    case TruedQuantity::Velocity:
        load.velocity_ms = value - load.temperatureSensitivity_msPerC * (shotTemperature_C - load.velocityTemperature_C);
        break;
    case TruedQuantity::Bc: load.bc = value; break;
    case TruedQuantity::BcMultiplier:
        if (load.drag != LoadDrag::Table)
            load.bc *= value;
        for (auto& step : load.bcSteps)
            step.bc_lbin2 *= value;
        for (auto& point : load.dragTable)
            point.cd /= value;
        break;
    }
}

int shownDecimals(TruedQuantity quantity)
{
    switch (quantity) {
    case TruedQuantity::Velocity: return 1;
    case TruedQuantity::Bc: return 3;
    case TruedQuantity::BcMultiplier: return 4;
    }
    return 4;
}

double shownValue(TruedQuantity quantity, double value)
{
    const double scale = std::pow(10.0, shownDecimals(quantity));
    return std::round(value * scale) / scale;
}

std::string truingSummary(const TruingResult& r)
{
    const int d = shownDecimals(r.quantity);
    switch (r.quantity) {
    case TruedQuantity::Velocity:
        return "V0 " + num(r.solved, d) + " m/s (prima " + num(r.previous, d) + " m/s)";
    case TruedQuantity::Bc:
        return "Coefficiente " + num(r.solved, d) + " (prima " + num(r.previous, d) + ")";
    case TruedQuantity::BcMultiplier:
        return "Moltiplicatore della curva " + num(r.solved, d) + " (prima 1)";
    }
    return {};
}

} // namespace siacci::armoury

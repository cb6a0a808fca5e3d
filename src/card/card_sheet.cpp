#include "card/card_sheet.hpp"

#include "common/number_text.hpp"
#include "common/portable_math.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace siacci::card {

namespace {

using Engine = pm::Result (*)(const pm::Bullet&, const pm::Conditions&, const pm::Zeroing&,
                              const pm::TableSpan&);

Engine engineOf(Method method)
{
    return method == Method::Siacci ? &pm::computeSiacciTrajectory : &pm::computeTrajectory;
}

// The point-blank span is searched out to this distance, metre by metre.
constexpr double kPointBlankReach_m = 1500;
// The optimal zero is searched between these distances.
constexpr double kNearestZero_m = 5;
constexpr double kFarthestZero_m = 1000;

// Interpolated distance at which the path crosses `level` between two rows.
double crossing(const pm::Row& a, const pm::Row& b, double level)
{
    const double dp = b.path_cm - a.path_cm;
    if (dp == 0)
        return b.distance_m;
    return a.distance_m + (level - a.path_cm) / dp * (b.distance_m - a.distance_m);
}

std::optional<PointBlank> pointBlankOfRows(const std::vector<pm::Row>& rows, double half_cm)
{
    std::size_t i = 0;
    while (i < rows.size() && std::abs(rows[i].path_cm) > half_cm)
        ++i;
    if (i == rows.size())
        return std::nullopt;
    PointBlank span;
    if (i > 0) {
        const double level = rows[i - 1].path_cm < 0 ? -half_cm : half_cm;
        span.from_m = crossing(rows[i - 1], rows[i], level);
    }
    while (i < rows.size() && std::abs(rows[i].path_cm) <= half_cm)
        ++i;
    if (i == rows.size()) {
        span.to_m = rows.back().distance_m;
        return span;
    }
    span.to_m = crossing(rows[i - 1], rows[i], rows[i].path_cm < 0 ? -half_cm : half_cm);
    return span;
}

std::optional<PointBlank> pointBlankWith(Engine engine, const pm::Bullet& bullet,
                                         const pm::Conditions& conditions,
                                         const pm::Zeroing& zeroing, double vitalZone_cm)
{
    if (!(vitalZone_cm > 0))
        return std::nullopt;
    const pm::Result r = engine(bullet, conditions, zeroing, {kPointBlankReach_m, 1});
    if (!r.ok() || r.trajectory.rows.empty())
        return std::nullopt;
    return pointBlankOfRows(r.trajectory.rows, vitalZone_cm / 2);
}

// Highest path above the line of sight before the zero (the top of the trajectory lies
// there), cm; empty when the zero cannot be reached. A zero closer than the trajectory's
// first crossing of the line of sight is the near crossing of a trajectory whose top comes
// after it: its top counts as 0, so that the top rises steadily with the zero distance.
std::optional<double> topBeforeZero(Engine engine, const pm::Bullet& bullet,
                                    const pm::Conditions& conditions, pm::Zeroing zeroing,
                                    double zero_m)
{
    zeroing.zeroDistance_m = zero_m;
    const double step = std::max(0.5, zero_m / 200);
    const pm::Result r = engine(bullet, conditions, zeroing, {zero_m, step});
    if (!r.ok())
        return std::nullopt;
    const auto& rows = r.trajectory.rows;
    if (rows.size() >= 2 && rows.back().path_cm >= rows[rows.size() - 2].path_cm)
        return 0.0;
    double top = -1e300;
    for (const pm::Row& row : rows)
        top = std::max(top, row.path_cm);
    return top;
}

std::optional<OptimalZero> optimalZeroWith(Engine engine, const pm::Bullet& bullet,
                                           const pm::Conditions& conditions,
                                           const pm::Zeroing& zeroing, double vitalZone_cm)
{
    if (!(vitalZone_cm > 0))
        return std::nullopt;
    const double half = vitalZone_cm / 2;
    // The top of the trajectory rises with the zero distance: find the farthest zero whose
    // top stays within +half. A zero the bullet cannot reach counts as too far.
    double low = kNearestZero_m;
    double high = kFarthestZero_m;
    const auto tooHigh = [&](double z) {
        const auto top = topBeforeZero(engine, bullet, conditions, zeroing, z);
        return !top || *top > half;
    };
    if (tooHigh(low))
        return std::nullopt;
    if (!tooHigh(high)) {
        low = high;
    } else {
        while (high - low > 0.05) {
            const double mid = 0.5 * (low + high);
            (tooHigh(mid) ? high : low) = mid;
        }
    }
    pm::Zeroing best = zeroing;
    best.zeroDistance_m = low;
    const auto span = pointBlankWith(engine, bullet, conditions, best, vitalZone_cm);
    // The search assumes the top of the trajectory rises with the zero distance, which a
    // steep shot (60 degrees up) does not honour: the zero in use is never beaten by a worse
    // one (234.6 m reaching 42.7 m against 271.9 m).
    const auto current = pointBlankWith(engine, bullet, conditions, zeroing, vitalZone_cm);
    if (current && (!span || current->to_m >= span->to_m))
        return OptimalZero{zeroing.zeroDistance_m, *current};
    if (!span)
        return std::nullopt;
    return OptimalZero{low, *span};
}

// A key that changes whenever anything the flight depends on changes.
void append(std::string& key, double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g;", v);
    key += buf;
}

std::string flightKey(const CardSetup& s)
{
    std::string key;
    const pm::Bullet& b = s.bullet;
    for (double v : {b.muzzleVelocity_ms, b.weight_gr, b.bc_lbin2, b.diameter_mm.value_or(-1),
                     b.length_mm.value_or(-1), b.twist_in.value_or(-1),
                     double(b.model == pm::DragModel::G7)})
        append(key, v);
    for (const auto& step : b.bcSteps) {
        append(key, step.bc_lbin2);
        append(key, step.fromVelocity_ms);
    }
    key += '|';
    for (const auto& p : b.dragTable) {
        append(key, p.mach);
        append(key, p.cd);
    }
    const pm::Conditions& c = s.conditions;
    for (double v : {c.atmosphere.temperature_C, c.atmosphere.pressure_hPa,
                     c.atmosphere.humidity_pct, c.wind.speed_ms, c.wind.fromAngle_deg,
                     c.lookAngle_deg, c.earth ? c.earth->latitude_deg : 1000,
                     c.earth ? c.earth->azimuth_deg : 1000})
        append(key, v);
    return key;
}

std::string zeroKey(const CardSetup& s)
{
    std::string key = flightKey(s);
    append(key, s.zeroing.sightHeight_cm);
    if (const auto& a = s.zeroing.atmosphere) {
        append(key, a->temperature_C);
        append(key, a->pressure_hPa);
        append(key, a->humidity_pct);
    }
    append(key, s.vitalZone_cm.value_or(-1));
    append(key, double(s.method == Method::Siacci));
    return key;
}

// Everything the hit table depends on: the zero's key, the rows, the hunter's errors.
std::string hitKey(const CardSetup& s)
{
    std::string key = zeroKey(s);
    append(key, s.zeroing.zeroDistance_m);
    append(key, s.span.maxDistance_m);
    append(key, s.span.increment_m);
    if (const auto& h = s.hit) {
        for (double v : {h->sd.range_m, h->sd.range_pct, h->sd.wind_kmh, h->sd.velocity_ms,
                         h->sd.bc_pct, h->sd.cone_moa, h->vitalZone_cm, h->minProbability,
                         double(h->samples), double(h->seed), double(h->aim == AimMode::NoCorrection)})
            append(key, v);
    }
    return key;
}

std::string turnsText(const char* arrow, long clicks, int clicksPerTurn)
{
    if (clicks == 0)
        return "0";
    const long n = std::labs(clicks);
    std::string text = arrow;
    text += ' ';
    if (clicksPerTurn > 0 && n >= clicksPerTurn) {
        // "1 giro + 2": turns in words, so the "g" is never read as grams.
        const long turns = n / clicksPerTurn;
        text += std::to_string(turns) + (turns == 1 ? " giro" : " giri");
        if (n % clicksPerTurn != 0)
            text += " + " + std::to_string(n % clicksPerTurn);
    } else {
        text += std::to_string(n);
    }
    return text;
}

const char* headingOf(Column c)
{
    switch (c) {
    case Column::Distance: return "Distanza m";
    case Column::Velocity: return "Velocità m/s";
    case Column::Energy: return "Energia J";
    case Column::Time: return "Tempo s";
    case Column::Path: return "Traiettoria cm";
    case Column::Correction: return "Correzione";
    case Column::Clicks: return "Click ▲ su / ▼ giù";
    case Column::Windage: return "Deriva cm";
    case Column::WindCorrection: return "Correzione vento";
    case Column::WindClicks: return "Click vento ◀ sx / ▶ dx";
    case Column::SiacciPath: return "Siacci cm";
    case Column::SiacciDifference: return "Differenza cm";
    case Column::Lead: return "Anticipo cm (corpi)";
    case Column::Hit: return "Colpo utile %";
    }
    return "";
}

} // namespace

std::string fixed(double value, int decimals, char decimalSeparator)
{
    if (!std::isfinite(value))
        value = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    std::string text = buf;
    // A value that rounds to zero is written without its sign.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    if (const auto point = text.find('.'); point != std::string::npos)
        text[point] = decimalSeparator;
    return text;
}

std::string elevationClicksText(long clicks, int clicksPerTurn)
{
    return turnsText(clicks > 0 ? "▲" : "▼", clicks, clicksPerTurn);
}

std::string windageClicksText(long clicks, int clicksPerTurn)
{
    return turnsText(clicks > 0 ? "▶" : "◀", clicks, clicksPerTurn);
}

std::optional<PointBlank> pointBlankRange(const pm::Bullet& bullet,
                                          const pm::Conditions& conditions,
                                          const pm::Zeroing& zeroing, double vitalZone_cm,
                                          Method method)
{
    return pointBlankWith(engineOf(method), bullet, conditions, zeroing, vitalZone_cm);
}

std::optional<OptimalZero> optimalZero(const pm::Bullet& bullet, const pm::Conditions& conditions,
                                       const pm::Zeroing& zeroing, double vitalZone_cm,
                                       Method method)
{
    return optimalZeroWith(engineOf(method), bullet, conditions, zeroing, vitalZone_cm);
}

void describe(CardSetup& s)
{
    auto number = [](double v) {
        std::string t = fixed(v, 3);
        while (t.back() == '0')
            t.pop_back();
        if (t.back() == ',')
            t.pop_back();
        return t;
    };
    if (s.description.empty())
        s.description = number(s.bullet.muzzleVelocity_ms) + " m/s, " +
                        number(s.bullet.weight_gr) + " grains, " +
                        (s.bullet.model == pm::DragModel::G7 ? "G7 " : "G1 ") +
                        number(s.bullet.bc_lbin2);
    if (s.clickText.empty()) {
        const bool moa = s.click.unit == pm::AngleUnit::Moa;
        s.clickText = moa && s.click.value == 0.25    ? "1/4 MOA"
                      : moa && s.click.value == 0.125 ? "1/8 MOA"
                                                      : number(s.click.value) + (moa ? " MOA" : " MRAD");
    }
    if (s.conditionsText.empty()) {
        const pm::Atmosphere& air = s.conditions.atmosphere;
        std::string text = number(air.temperature_C) + " °C, " + fixed(air.pressure_hPa, 0) +
                           " hPa, " + number(air.humidity_pct) + " %";
        const pm::Wind& w = s.conditions.wind;
        if (w.speed_ms > 0) {
            double hour = std::fmod(std::fmod(w.fromAngle_deg / 30, 12) + 12, 12);
            text += ", vento " + fixed(w.speed_ms * 3.6, 0) + " km/h da ore " +
                    number(hour == 0 ? 12 : hour);
        }
        if (s.conditions.lookAngle_deg != 0)
            text += ", angolo " + number(s.conditions.lookAngle_deg) + "°";
        s.conditionsText = text;
    }
}

double energyAboveMinimumTo_m(const std::vector<pm::Row>& rows, double minimum_J)
{
    if (rows.empty() || rows.front().energy_J < minimum_J)
        return 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const pm::Row& a = rows[i - 1];
        const pm::Row& b = rows[i];
        if (b.energy_J < minimum_J)
            return a.distance_m + (a.energy_J - minimum_J) / (a.energy_J - b.energy_J) *
                                      (b.distance_m - a.distance_m);
    }
    return rows.back().distance_m;
}

CardSheet CardCalculator::compute(const CardSetup& setup)
{
    CardSheet sheet;
    sheet.setup = setup;
    const Engine engine = engineOf(setup.method);
    const pm::Result main = engine(setup.bullet, setup.conditions, setup.zeroing, setup.span);
    if (!main.ok()) {
        sheet.refusal = pm::refusalText(main.refusal);
        m_lastSetup.reset();
        return sheet;
    }
    const pm::Trajectory& t = main.trajectory;
    const bool moa = setup.click.unit == pm::AngleUnit::Moa;
    sheet.angleUnit = moa ? "MOA" : "MRAD";
    sheet.stability_sg = t.stability_sg;

    // The wind of the pocket card: 10 km/h from 3 o'clock, everything else as the shot.
    pm::Conditions pocketWind = setup.conditions;
    pocketWind.wind = {10 / 3.6, 90};
    const pm::Result pocket = engine(setup.bullet, pocketWind, setup.zeroing, setup.span);

    std::optional<pm::Result> siacci;
    if (setup.compareSiacci && setup.method == Method::PointMass) {
        siacci = pm::computeSiacciTrajectory(setup.bullet, setup.conditions, setup.zeroing,
                                             setup.span);
        if (!siacci->ok()) {
            sheet.siacciRefusal = pm::refusalText(siacci->refusal);
            siacci.reset();
        }
    }

    sheet.columns = {Column::Distance, Column::Velocity,   Column::Energy,
                     Column::Time,     Column::Path,       Column::Correction,
                     Column::Clicks,   Column::Windage,    Column::WindCorrection,
                     Column::WindClicks};
    if (siacci)
        sheet.columns.insert(sheet.columns.end(), {Column::SiacciPath, Column::SiacciDifference});
    const bool lead = setup.crossingSpeed_kmh && *setup.crossingSpeed_kmh > 0;
    if (lead)
        sheet.columns.push_back(Column::Lead);
    for (Column c : sheet.columns) {
        std::string h = headingOf(c);
        if (c == Column::Correction || c == Column::WindCorrection)
            h += " " + sheet.angleUnit;
        sheet.headings.push_back(h);
    }

    for (std::size_t i = 0; i < t.rows.size(); ++i) {
        CardRow cr;
        cr.row = t.rows[i];
        cr.correction = pm::correctionAt(cr.row, setup.click);
        if (pocket.ok() && i < pocket.trajectory.rows.size())
            cr.pocketWindClicks = pm::correctionAt(pocket.trajectory.rows[i], setup.click).windageClicks;
        if (siacci && i < siacci->trajectory.rows.size())
            cr.siacciPath_cm = siacci->trajectory.rows[i].path_cm;
        cr.belowMinimumEnergy = setup.minEnergy_J && cr.row.energy_J < *setup.minEnergy_J;
        const double elev = moa ? cr.correction.elevation_moa : cr.correction.elevation_mrad;
        const double wind = moa ? cr.correction.windage_moa : cr.correction.windage_mrad;
        for (Column c : sheet.columns) {
            std::string cell;
            switch (c) {
            case Column::Distance: cell = fixed(cr.row.distance_m, 0); break;
            case Column::Velocity: cell = fixed(cr.row.velocity_ms, 0); break;
            case Column::Energy: cell = fixed(cr.row.energy_J, 0); break;
            case Column::Time: cell = fixed(cr.row.time_s, 3); break;
            case Column::Path: cell = fixed(cr.row.path_cm, 1); break;
            case Column::Correction: cell = fixed(elev, 2); break;
            case Column::Clicks:
                cell = elevationClicksText(cr.correction.elevationClicks, setup.clicksPerTurn);
                break;
            case Column::Windage: cell = fixed(cr.row.windage_cm, 1); break;
            case Column::WindCorrection: cell = fixed(wind, 2); break;
            case Column::WindClicks:
                cell = windageClicksText(cr.correction.windageClicks, setup.clicksPerTurn);
                break;
            case Column::SiacciPath: cell = fixed(cr.siacciPath_cm.value_or(0), 1); break;
            case Column::SiacciDifference:
                cell = fixed(cr.siacciPath_cm.value_or(0) - cr.row.path_cm, 1);
                break;
            case Column::Hit: break; // filled by applyHitTable
            case Column::Lead: {
                const double lead_m = *setup.crossingSpeed_kmh / 3.6 * cr.row.time_s;
                cell = fixed(lead_m * 100, 0);
                if (setup.animalLength_m && *setup.animalLength_m > 0)
                    cell += " (" + fixed(lead_m / *setup.animalLength_m, 1) + ")";
                break;
            }
            }
            cr.cells.push_back(cell);
        }
        sheet.rows.push_back(std::move(cr));
    }

    // The expensive figures are kept while their inputs stay the same.
    const bool sameFlight = m_lastSetup && flightKey(*m_lastSetup) == flightKey(setup);
    const bool sameZeroing = sameFlight && zeroKey(*m_lastSetup) == zeroKey(setup);
    if (!sameFlight || !m_haveRange) {
        m_maximumRange_m = pm::maximumRange_m(setup.bullet, setup.conditions);
        m_haveRange = true;
    }
    if (!sameZeroing && setup.vitalZone_cm)
        m_optimal = optimalZeroWith(engine, setup.bullet, setup.conditions, setup.zeroing,
                                    *setup.vitalZone_cm);
    m_lastSetup = setup;
    sheet.maximumRange_m = m_maximumRange_m;

    // The lines under the grid.
    auto note = [&](std::string text, NoteKind kind = NoteKind::Plain) {
        sheet.notes.push_back({std::move(text), kind});
    };
    if (setup.minEnergy_J) {
        sheet.energyAboveMinimumTo_m = energyAboveMinimumTo_m(t.rows, *setup.minEnergy_J);
        if (!t.rows.empty() && *sheet.energyAboveMinimumTo_m < t.rows.back().distance_m)
            note("Energia sotto " + fixed(*setup.minEnergy_J, 0) + " J oltre " +
                     fixed(*sheet.energyAboveMinimumTo_m, 0) + " m: le righe in grigio",
                 NoteKind::Warning);
    }
    note("Distanze lungo la linea di mira (come le misura il telemetro)");
    if (setup.vitalZone_cm) {
        const std::string zone = fixed(*setup.vitalZone_cm, *setup.vitalZone_cm < 10 ? 1 : 0);
        sheet.pointBlank = pointBlankWith(engine, setup.bullet, setup.conditions, setup.zeroing,
                                          *setup.vitalZone_cm);
        if (sheet.pointBlank)
            note("Tiro utile (zona vitale " + zone + " cm): da " +
                 fixed(sheet.pointBlank->from_m, 0) + " a " + fixed(sheet.pointBlank->to_m, 0) +
                 " m");
        else
            note("Tiro utile (zona vitale " + zone + " cm): nessuno con questa taratura",
                 NoteKind::Warning);
        sheet.optimal = m_optimal;
        if (m_optimal)
            note("Taratura ottimale: " + fixed(m_optimal->zero_m, 0) + " m (tiro utile fino a " +
                 fixed(m_optimal->span.to_m, 0) + " m)");
        else
            note("Taratura ottimale: nessuna taratura tiene la palla nella zona vitale di " + zone + " cm",
                 NoteKind::Warning);
    }
    if (sheet.maximumRange_m > 0)
        note("Gittata massima: " + fixed(sheet.maximumRange_m, 0) + " m");
    if (t.stability_sg) {
        const double sg = *t.stability_sg;
        std::string text = "Stabilità giroscopica Sg: " + fixed(sg, 2);
        if (sg < 1)
            note(text + ": palla instabile, il passo di rigatura è troppo lento per questa palla",
                 NoteKind::Refusal);
        else if (sg < 1.3)
            note(text + " (bassa: sotto 1,3 la precisione ne soffre)", NoteKind::Warning);
        else
            note(text);
    }
    if (t.spinDrift && t.coriolis)
        note("Deriva da rotazione e Coriolis inclusi");
    else if (t.spinDrift)
        note("Deriva da rotazione inclusa");
    else if (t.coriolis)
        note("Coriolis incluso");
    const double headWind = setup.conditions.wind.speed_ms *
                            siacci::pm::cos(setup.conditions.wind.fromAngle_deg * M_PI / 180);
    if ((setup.method == Method::Siacci || siacci) && std::abs(headWind) > 0.01)
        note("Siacci trascura il vento frontale o in coda: conta solo quello di traverso");
    if (!sheet.siacciRefusal.empty())
        note("Confronto con Siacci: " + sheet.siacciRefusal, NoteKind::Warning);

    // The chance of a hit, kept while nothing it depends on changes.
    if (setup.hit && setup.method == Method::PointMass && !setup.hitDeferred) {
        const std::string key = hitKey(setup);
        if (!m_hit || key != m_hitKey) {
            m_hit = hitTableOf(sheet);
            m_hitKey = key;
        }
        applyHitTable(sheet, *m_hit);
    } else if (setup.hit && setup.method != Method::PointMass) {
        note("Colpo utile: solo con il metodo del punto materiale", NoteKind::Warning);
    }

    // The curve of the plot, a few hundred points.
    const double step = std::max(1.0, std::round(setup.span.maxDistance_m / 250));
    const pm::Result curve =
        engine(setup.bullet, setup.conditions, setup.zeroing, {setup.span.maxDistance_m, step});
    if (curve.ok())
        for (const pm::Row& row : curve.trajectory.rows)
            sheet.curve.emplace_back(row.distance_m, row.path_cm);
    return sheet;
}

std::string ethicalDistanceText(double minProbability, double distance_m)
{
    return "Distanza etica (" + roundedText(100 * minProbability, 1, ',') + " %): " +
           fixed(distance_m, 0) + " m";
}

std::vector<double> rowDistancesOf(const CardSheet& sheet)
{
    std::vector<double> distances;
    for (const CardRow& r : sheet.rows)
        distances.push_back(r.row.distance_m);
    return distances;
}

std::string hitTableKey(const CardSetup& setup)
{
    return hitKey(setup);
}

HitTable hitTableOf(const CardSheet& sheet)
{
    const CardSetup& s = sheet.setup;
    if (!s.hit || !sheet.ok())
        return {pm::Refusal::BadSpan, {}, 0, 0};
    return computeHitTable(s.bullet, s.conditions, s.zeroing, rowDistancesOf(sheet), *s.hit);
}

void applyHitTable(CardSheet& sheet, const HitTable& table)
{
    if (!sheet.ok() || !sheet.setup.hit)
        return;
    const bool fits = table.ok() && table.rows.size() == sheet.rows.size();
    if (!fits) {
        sheet.notes.push_back({"Colpo utile: " + (table.ok() ? std::string("tabella non aggiornata")
                                                              : pm::refusalText(table.refusal)),
                               NoteKind::Warning});
        return;
    }
    // The column goes once, after the wind's clicks (before the Siacci comparison and the lead).
    if (std::find(sheet.columns.begin(), sheet.columns.end(), Column::Hit) == sheet.columns.end()) {
        const auto at = std::find(sheet.columns.begin(), sheet.columns.end(), Column::WindClicks);
        const auto offset = at == sheet.columns.end() ? sheet.columns.size()
                                                      : static_cast<std::size_t>(at - sheet.columns.begin()) + 1;
        sheet.columns.insert(sheet.columns.begin() + static_cast<std::ptrdiff_t>(offset), Column::Hit);
        sheet.headings.insert(sheet.headings.begin() + static_cast<std::ptrdiff_t>(offset), headingOf(Column::Hit));
        for (CardRow& r : sheet.rows)
            r.cells.insert(r.cells.begin() + static_cast<std::ptrdiff_t>(offset), std::string());
    }
    const std::size_t column = static_cast<std::size_t>(
        std::find(sheet.columns.begin(), sheet.columns.end(), Column::Hit) - sheet.columns.begin());
    for (std::size_t k = 0; k < sheet.rows.size(); ++k) {
        std::string cell = percentText(table.rows[k].probability);
        cell.resize(cell.size() - 2); // the column's heading says "%"
        sheet.rows[k].cells[column] = cell;
    }
    sheet.hit = table;
    sheet.hitCurve.clear();
    for (const HitRow& r : table.rows)
        sheet.hitCurve.emplace_back(r.distance_m, 100 * r.probability);
    sheet.hitThreshold_pct = 100 * sheet.setup.hit->minProbability;
    const std::string text = ethicalDistanceText(sheet.setup.hit->minProbability, table.ethicalDistance_m);
    // The line replaces the one of an earlier, partial table.
    const auto same = std::find_if(sheet.notes.begin(), sheet.notes.end(), [&](const Note& n) {
        return !sheet.ethicalText.empty() && n.text == sheet.ethicalText;
    });
    if (same != sheet.notes.end())
        same->text = text;
    else
        sheet.notes.push_back({text, NoteKind::Plain});
    sheet.ethicalText = text;
}

std::string readoutAt(const CardSheet& sheet, double distance_m)
{
    const auto& c = sheet.curve;
    if (c.size() < 2 || distance_m < c.front().first || distance_m > c.back().first)
        return {};
    const auto next = std::lower_bound(c.begin(), c.end(), distance_m,
                                       [](const auto& p, double d) { return p.first < d; });
    double path = next->second;
    if (next != c.begin()) {
        const auto& a = *(next - 1);
        const auto& b = *next;
        path = a.second + (b.second - a.second) * (distance_m - a.first) / (b.first - a.first);
    }
    std::string text = fixed(distance_m, 0) + " m · traiettoria " + fixed(path, 1) + " cm";
    if (distance_m >= 1) {
        pm::Row row;
        row.distance_m = distance_m;
        row.path_cm = path;
        const long clicks = pm::correctionAt(row, sheet.setup.click).elevationClicks;
        text += " · " + elevationClicksText(clicks, sheet.setup.clicksPerTurn) + " click";
    }
    return text;
}

CardSheet computeCard(const CardSetup& setup)
{
    CardCalculator calculator;
    return calculator.compute(setup);
}

} // namespace siacci::card

#include "ballistics/tables.hpp"

#include "ballistics/engine/engine.hpp"
#include "ballistics/table_common.hpp"
#include "common/number_text.hpp"
#include "common/units.hpp"

#include <cmath>

namespace siacci {

using namespace tabledetail;

const GridLayout& metricLayout()
{
    static const GridLayout layout{
        {{
            {"", "", "Tempo", "Variazione", "Vento", " ", "Totale", "Ordinata"},
            {"Distanza", "Velocità", "Di volo", "Centro", "16Km./h", "Energia", "Calo", "M.R.T."},
            {"metri", "metri/s.", "sec", "cm.", "cm.", "Kgm.", "cm.", "cm."},
        }},
        {800, 800, 800, 960, 900, 700, 800, 900},
    };
    return layout;
}

const GridLayout& imperialLayout()
{
    static const GridLayout layout{
        {{
            {"", "", "Tempo", "Variazione", "Vento", "Energia", "Totale", "Ordinata"},
            {"Distanza", "Velocità", "Di volo", "Dal centro", "10/Mph", "Foot/", "Calo", "M.R.T."},
            {"yards", "feets/s.", "sec", "inch.", "inch.", "pounds", "inch", "inch"},
        }},
        {800, 800, 800, 960, 900, 700, 800, 900},
    };
    return layout;
}

const GridLayout& terminalLayout()
{
    static const GridLayout layout{
        {{
            {"", "", "Penetr.", "Power", "Relative", "Relative", "", "Penetr."},
            {"Distanza", "Velocità", "Tessuti", "Index", "Stopping", "Incapacit.", "Energia",
             "In Ossa"},
            {"metri", "metri/s.", "Molli/cm.", "Rating", "Power", "Index", "Kgm.", "cm."},
        }},
        {800, 800, 800, 800, 800, 1000, 800, 900},
    };
    return layout;
}

TableRefusal tableRefusal(ShotRefusal refusal)
{
    switch (refusal) {
    case ShotRefusal::None: return TableRefusal::None;
    case ShotRefusal::VelocityOutOfBand: return TableRefusal::VelocityOutOfBand;
    case ShotRefusal::NegativeCoefficient: return TableRefusal::NegativeCoefficient;
    case ShotRefusal::AltitudeOutOfRange: return TableRefusal::AltitudeOutOfRange;
    case ShotRefusal::TemperatureOutOfRange: return TableRefusal::TemperatureOutOfRange;
    case ShotRefusal::NotComputable: return TableRefusal::InputNotComputable;
    }
    return TableRefusal::InputNotComputable;
}

std::string refusalMessage(TableRefusal refusal, TableMode mode)
{
    switch (refusal) {
    case TableRefusal::None:
        return "";
    case TableRefusal::VelocityOutOfBand:
        return mode == TableMode::Imperial
                   ? "Velocità fuori dai limiti del programma: imposta una velocità da 300 a "
                     "4.499 fps."
                   : "Velocità fuori dai limiti del programma: imposta una velocità da 92 a "
                     "1.371 metri/sec.";
    case TableRefusal::IncrementNotPositive:
        return "L'incremento deve essere maggiore di zero.";
    case TableRefusal::TooManyRows:
        return "La tabella avrebbe più di 10.000 righe: aumenta l'incremento.";
    case TableRefusal::InputNotComputable:
        return "Con questi dati la tabella non si può calcolare: controlla il coefficiente "
               "balistico.";
    case TableRefusal::NegativeCoefficient:
        return "Il coefficiente balistico non può essere negativo.";
    case TableRefusal::AltitudeOutOfRange:
        return "Altitudine fuori dai limiti del programma: imposta un'altitudine da -500 a "
               "9.000 metri.";
    case TableRefusal::TemperatureOutOfRange:
        return "Temperatura fuori dai limiti del programma: imposta una temperatura da -60 a "
               "+60 gradi.";
    case TableRefusal::TerminalDataMissing:
        return "Per la balistica terminale servono il diametro e il peso del proiettile.";
    }
    return "";
}

namespace {

// The cell "0" of the energy column ends a screen table; cellText writes "0" for 0 and for a
// value that is not finite.
bool energyShowsZero(double energy) { return energy == 0 || !std::isfinite(energy); }

// The two header lines of the inputs, shared by the trajectory reports in their own wording.
struct HeaderWords {
    const char* altitude;
    const char* temperature;
    const char* sight;
    const char* bc;
    const char* zero;
    const char* siteAngle;
};

void printHeader(std::vector<PrintLine>& out, const std::string& banner, const ShotInput& in,
                 const HeaderWords& w, char sep)
{
    out.push_back(lineAt(1, banner));
    out.push_back(emptyLine());
    out.push_back(lineAt(6, in.description));
    out.push_back(emptyLine());
    out.push_back(lineAt(6, w.altitude + printerNumber(in.altitude, sep) + w.temperature +
                                printerNumber(in.temperature, sep) + w.sight +
                                printerNumber(in.sightHeight, sep)));
    out.push_back(lineAt(6, w.bc + printerNumber(in.bc, sep) + w.zero +
                                printerNumber(in.zeroDistance, sep) + w.siteAngle +
                                printerNumber(in.siteAngle.degrees, sep)));
    out.push_back(emptyLine());
}

// The three heading lines of a printed trajectory report: two in the same words for both unit
// systems (the imperial report too says "16km/h."), then the line of the units.
void printHeadings(std::vector<PrintLine>& out, PrintLine units)
{
    out.push_back(
        {{23, "Tempo"}, {34, "Variazione"}, {48, "Vento"}, {68, "Totale"}, {79, "Ordinata"}});
    out.push_back({{2, "Distanza"},
                   {13, "Velocità"},
                   {23, "di volo"},
                   {34, "dal Centro"},
                   {48, "16km/h."},
                   {58, "Energia"},
                   {68, "Calo"},
                   {79, "M.R.T."}});
    out.push_back(std::move(units));
}

} // namespace

namespace {

// What sets the metric and the imperial trajectory tables apart, besides the cells themselves.
struct TrajectorySystem {
    TableMode table;
    double feetPerUnit; // of the distances: 3.2808 ft per metre, 3 per yard
    double margin;      // of the last distance (Stepping)
    std::string banner;
    HeaderWords words;
    PrintLine unitsLine;
};

const TrajectorySystem& metricSystem()
{
    static const TrajectorySystem system{
        TableMode::Metric,
        kFeetPerMetreDistance,
        0.49,
        kPrintBanner,
        {"ALTITUDINE METRI=", "   TEMPERATURA GRADI=", "   ALTEZZA OTTICA cm.=+", "CB=",
         "   CENTRO BERSAGLIO METRI=", "   ANGOLO di SITO gradi="},
        {{2, "metri"}, {13, "m/sec."}, {23, "sec."}, {36, "cm."}, {48, "cm."}, {58, "kgm."},
         {68, "cm."}, {79, "cm."}},
    };
    return system;
}

const TrajectorySystem& imperialSystem()
{
    static const TrajectorySystem system{
        TableMode::Imperial,
        kFeetPerYard,
        0,
        std::string(" ") + kPrintBanner,
        {"Altitudine metri=", "   Temperatura gradi=", "   Altezza Ottica inches=+", "CB=",
         "   Centro Bersaglio Yards=", "   Angolo di Sito gradi="},
        {{2, "yards"}, {13, "f/s."}, {23, "sec."}, {36, "inches"}, {48, "inches"},
         {58, "f/pounds"}, {68, "inches"}, {79, "inches"}},
    };
    return system;
}

// The metric and the imperial table: one row per distance, X = 0, s, 2s, ... feet.
TableRun trajectoryTable(const ShotInput& input, RunKind kind, char sep,
                         const TrajectorySystem& system)
{
    TableRun run;
    run.table = system.table;
    const bool metric = system.table == TableMode::Metric;
    const Stepping stepping{system.feetPerUnit, system.margin, input.increment, input.maxDistance};
    if ((run.refusal = checkStepping(stepping)) != TableRefusal::None)
        return run;
    auto prepared = metric ? prepareShot(input.velocity, input.bc, input.altitude,
                                         input.temperature, input.weight, input.sightHeight)
                           : prepareShotImperial(input.velocity, input.bc, input.altitude,
                                                 input.temperature, input.weight,
                                                 input.sightHeight);
    if ((run.refusal = tableRefusal(prepared.refusal)) != TableRefusal::None)
        return run;
    ShotContext& shot = *prepared;

    evaluatePoint(shot, 0);
    zeroShot(shot, input.zeroDistance);

    const bool print = kind == RunKind::Print;
    if (print) {
        printHeader(run.printed, system.banner, input, system.words, sep);
        printHeadings(run.printed, system.unitsLine);
    } else {
        run.rows.reserve(static_cast<std::size_t>(*countRows(stepping)));
    }

    const double h = input.sightHeight;
    for (double x = 0;; x += stepping.step_ft()) {
        const TrajectoryPoint p = evaluatePoint(shot, x);
        TrajectoryRow row;
        double distance;
        if (metric) {
            distance = roundShown(x / kFeetPerMetreDistance, 10);
            row[0] = roundedCell(x / kFeetPerMetreDistance, 1, 0.49, sep);
            row[1] = roundedCell(p.velocity_ms, 0, 0.49, sep);
        } else {
            distance = x / kFeetPerYard;
            row[0] = cellText(distance, sep);
            row[1] = roundedCell(p.velocity_fps, 0, 0.49, sep);
        }
        row[2] = roundedCell(p.time_s, 3, 0.49, sep);
        if (x <= 0) {
            row[3] = cellText(-h, sep);
        } else if (metric) {
            // Summed in tenths, so that a correction that nearly cancels the height never shows
            // binary noise such as 0.100000000000001.
            const double correction = siteCorrection(input.siteAngle, p.time_s, input.weight);
            const double y = pathHeight(shot, x, p);
            row[3] = cellOf(std::round(10 * correction) + std::floor(10 * y + 0.49), 1, sep);
        } else {
            row[3] = roundedCell(pathHeight(shot, x, p), 1, 0.49, sep); // no site angle
        }
        // The engine's drift at the muzzle is kept.
        row[4] = roundedCell(p.drift, 1, 0.49, sep);
        const double energy = std::floor((metric ? p.energy_kgm : p.energy_ftlb) + 0.49);
        row[5] = cellOf(energy, 0, sep);
        row[6] = roundedCell(p.drop, 1, 0.49, sep);
        row[7] = roundedCell(p.mrt, 1, 0.49, sep);

        if (print) {
            PrintLine line = rowLine(row);
            if (!metric) {
                // The printed distance and deviation are numbers: a blank before, one after.
                const double deviation = x <= 0 ? -h : roundShown(pathHeight(shot, x, p), 10);
                line[0].text = printerNumber(distance, sep);
                line[3].text = printerNumber(deviation, sep);
            }
            run.printed.push_back(std::move(line));
        } else if (appendScreenRow(run, std::move(row), energyShowsZero(energy), distance)) {
            break;
        }
        if (stepping.isLast(x))
            break;
    }
    return run;
}

} // namespace

TableRun tableEuropa(const ShotInput& input, RunKind kind, char sep)
{
    return trajectoryTable(input, kind, sep, metricSystem());
}

TableRun tableAmerica(const ShotInput& input, RunKind kind, char sep)
{
    return trajectoryTable(input, kind, sep, imperialSystem());
}

} // namespace siacci

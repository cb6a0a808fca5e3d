#include "ballistics/terminal.hpp"

#include "ballistics/engine/engine.hpp"
#include "ballistics/table_common.hpp"
#include "ballistics/tables.hpp"
#include "common/number_text.hpp"
#include "common/units.hpp"

#include <cmath>

namespace siacci {

using namespace tabledetail;

namespace {

constexpr double kPiOfTheProgram = 3.14;
constexpr double kQuarterPi = 0.785;
constexpr double kSoftTissueStop_cm = 0.15;

} // namespace

double calibreFactor(double diameter_in)
{
    // Each test that holds overrides the one before. Up to 0.25 inch (with 0.249 to 0.25, which
    // no test of the six catches) the factor is that of the smallest calibres.
    double k = 0.8;
    if (diameter_in > 0.25)
        k = 0.85;
    if (diameter_in > 0.3)
        k = 0.9;
    if (diameter_in > 0.35)
        k = 1;
    if (diameter_in > 0.4)
        k = 1.1;
    if (diameter_in > 0.45)
        k = 1.15;
    return k;
}

TerminalBullet terminalBullet(double diameter_mm, double weight_gr)
{
    TerminalBullet b;
    b.diameter_mm = diameter_mm;
    b.weight_gr = weight_gr;
    b.diameter_in = diameter_mm / kMillimetresPerInch;
    b.k = calibreFactor(b.diameter_in);
    b.area_in2 = (b.diameter_in / 2) * (b.diameter_in / 2) * kPiOfTheProgram;
    b.mass_g = kGramsPerGrain * weight_gr;
    b.area_cm2 = kQuarterPi * (diameter_mm / 10) * (diameter_mm / 10);
    b.threshold_ms = 125 * (1 / (b.mass_g / b.area_cm2)) + 22;
    return b;
}

TerminalValues terminalValues(const TerminalBullet& b, const TerminalCoefficients& c,
                              double v_ms, double e_kgm)
{
    const double x = c.x.value_or(0), y = c.y.value_or(0), z = c.z.value_or(0),
                 d = c.d.value_or(0);
    const double fRsp = c.rspFactor.value_or(0), fPir = c.pirFactor.value_or(0);

    const double v = v_ms / kMetresPerFootVelocity;  // fps, from the shown velocity
    const double energy = kFootPoundsPerKgm * e_kgm; // foot-pounds, from the shown energy
    TerminalValues out;
    if (v != 0) {
        out.rsp = std::floor(10 * (energy / v) * b.area_in2 * b.area_in2 * fRsp * 10000) / 10;
        out.rii = std::floor(10 * (std::exp(x / 1000 + (y / 1000) * v + z / v) + d) + 0.5) / 10;
    }
    out.pir = std::floor(10 * v * v * fPir * b.weight_gr / 12111 * b.k) / 10;
    out.bone_cm = std::floor(10 * 0.44 * (b.mass_g / b.diameter_mm) * ((v_ms - 60) / 100) *
                             ((v_ms - 60) / 100)) /
                  10;
    // At or below the threshold the logarithm has no value: the bullet does not penetrate.
    if (v_ms > b.threshold_ms)
        out.softTissue_cm =
            std::floor(10 * 2.3 * (b.mass_g / b.area_cm2) * std::log((v_ms - b.threshold_ms) / 50)) /
            10;
    return out;
}

TableRun tableRscalc(const ShotInput& input, RunKind kind, char sep)
{
    TableRun run;
    run.table = TableMode::Terminal;
    const Stepping stepping{kFeetPerMetreDistance, 0.49, input.increment, input.maxDistance};
    if ((run.refusal = checkStepping(stepping)) != TableRefusal::None)
        return run;
    auto prepared = prepareShot(input.velocity, input.bc, input.altitude, input.temperature,
                                input.weight, input.sightHeight);
    if (prepared.refusal == ShotRefusal::VelocityOutOfBand) {
        run.refusal = TableRefusal::VelocityOutOfBand;
        return run;
    }
    // The bullet's own data are asked for before the conditions of the shot.
    const double diameter = input.terminal.diameter_mm.value_or(0);
    if (!(diameter > 0) || !(input.weight > 0)) {
        run.refusal = TableRefusal::TerminalDataMissing;
        return run;
    }
    if ((run.refusal = tableRefusal(prepared.refusal)) != TableRefusal::None)
        return run;
    ShotContext& shot = *prepared;
    const TerminalBullet bullet = terminalBullet(diameter, input.weight);

    // The zero pass moves the band only; no column uses the zero slope.
    evaluatePoint(shot, 0);
    zeroShot(shot, input.zeroDistance);

    const bool print = kind == RunKind::Print;
    if (print) {
        const auto& t = input.terminal;
        run.printed.push_back(lineAt(1, kPrintBanner));
        run.printed.push_back(emptyLine());
        run.printed.push_back(lineAt(6, input.description));
        run.printed.push_back(emptyLine());
        run.printed.push_back(lineAt(
            6, "X = " + printerNumber(t.x.value_or(0), sep) + "   Y = " +
                   printerNumber(t.y.value_or(0), sep) + "   Z = " +
                   printerNumber(t.z.value_or(0), sep) + "    D = " +
                   printerNumber(t.d.value_or(0), sep)));
        run.printed.push_back(
            lineAt(6, "P.I.R. = " + input.pirShapeName + "   R.S.P. = " + input.rspShapeName));
        run.printed.push_back(emptyLine());
        run.printed.push_back({{23, "Penetrazione"}, {79, "Penetrazione"}});
        run.printed.push_back({{2, "Distanza"},
                               {13, "Velocita"},
                               {23, "In Tessuti Molli"},
                               {68, "Energia"},
                               {79, "In Ossa"}});
        run.printed.push_back({{2, "metri"},
                               {13, "m/sec."},
                               {23, "cm."},
                               {36, "P.I.R."},
                               {48, "R.S.P."},
                               {58, "R.I.I."},
                               {68, "Kgm."},
                               {79, "cm."}});
    } else {
        run.rows.reserve(static_cast<std::size_t>(*countRows(stepping)));
    }

    for (double x = 0;; x += stepping.step_ft()) {
        const TrajectoryPoint p = evaluatePoint(shot, x);
        const double distance = roundShown(x / kFeetPerMetreDistance, 10);
        const double v_ms = std::floor(p.velocity_ms + 0.49);
        const double e_kgm = std::floor(p.energy_kgm + 0.49);
        const TerminalValues values = terminalValues(bullet, input.terminal, v_ms, e_kgm);

        TrajectoryRow row;
        row[0] = roundedCell(x / kFeetPerMetreDistance, 1, 0.49, sep);
        row[1] = cellOf(v_ms, 0, sep);
        row[2] = cellText(values.softTissue_cm, sep);
        row[3] = cellText(values.pir, sep);
        row[4] = cellText(values.rsp, sep);
        row[5] = cellText(values.rii, sep);
        row[6] = cellOf(e_kgm, 0, sep);
        row[7] = cellText(values.bone_cm, sep);

        if (print) {
            run.printed.push_back(rowLine(row));
        } else {
            if (!run.rows.empty()) {
                run.graphDistances += '%';
                run.graphHeights += '%';
            }
            run.graphDistances += row[0];
            // Compared on the numbers: a text such as "0,9" would read back as 0.
            const bool stops = values.softTissue_cm < kSoftTissueStop_cm || e_kgm == 0;
            if (appendScreenRow(run, std::move(row), stops, distance))
                break;
        }
        if (stepping.isLast(x))
            break;
    }
    return run;
}

} // namespace siacci

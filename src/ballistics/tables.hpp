#pragma once

#include "ballistics/engine/engine.hpp"
#include "common/ports.hpp"
#include "common/shot.hpp"

#include <array>
#include <string>
#include <vector>

// The three firing tables: metric (tableEuropa), imperial (tableAmerica) and terminal ballistics
// (tableRscalc), the pure computations behind the main window's routines europa, america and
// rscalc. Each takes the inputs of one run and returns everything the run produces; the main
// window wraps them with its own steps (visibility, the velocity check, the grid).
namespace siacci {

// The eight cell texts of one table row, in grid order.
using TrajectoryRow = std::array<std::string, 8>;

// The three heading rows and the column widths (twips) of a table's grid.
struct GridLayout {
    std::array<std::array<const char*, 8>, 3> headings;
    std::array<int, 8> widths_twips;
};
const GridLayout& metricLayout();
const GridLayout& imperialLayout();
const GridLayout& terminalLayout();

enum class RunKind { Screen, Print };

enum class TableRefusal {
    None,
    VelocityOutOfBand,  // the muzzle velocity lies outside the band table
    IncrementNotPositive,
    TooManyRows,        // more than kMaxTableRows rows
    // A ballistic coefficient of 0: distance and time have no scale, and nothing can be computed.
    InputNotComputable,
    NegativeCoefficient,
    AltitudeOutOfRange,     // outside -500 .. 9,000 m
    TemperatureOutOfRange,  // outside -60 .. +60 C
    // Terminal table: no bullet diameter or weight (not positive), which every index needs.
    TerminalDataMissing,
};

inline constexpr int kMaxTableRows = 10000;

// The table's refusal for the engine's.
TableRefusal tableRefusal(ShotRefusal refusal);

// The Italian message for a refusal (empty for None). `mode` picks the velocity limits named.
std::string refusalMessage(TableRefusal refusal, TableMode mode);

struct TableRun {
    TableMode table = TableMode::Metric;       // which of the three tables ran
    TableRefusal refusal = TableRefusal::None; // when set, nothing else is filled
    std::vector<TrajectoryRow> rows;           // screen run: the grid's data rows
    std::vector<PrintLine> printed;            // print run: the report, line by line
    // Screen run: the table ended at a row by the energy (or soft-tissue) stop; the maximum
    // distance input is then replaced by that row's distance.
    bool stopped = false;
    double stopDistance = 0;
    // Terminal table (and only it), screen run: the graph's two point lists (Text1 distances, Text2 heights),
    // items in row order, the leading "%" already removed as the run's end does.
    std::string graphDistances;
    std::string graphHeights;
};

// The inputs are those of ShotInput in the units of the table (metric for europa and rscalc,
// imperial for america); the velocity is the one after the window's velocity check.
// `decimalSeparator` is the system's, used in every cell and printed number.
TableRun tableEuropa(const ShotInput& input, RunKind kind, char decimalSeparator = '.');
TableRun tableAmerica(const ShotInput& input, RunKind kind, char decimalSeparator = '.');
TableRun tableRscalc(const ShotInput& input, RunKind kind, char decimalSeparator = '.');

// The printed report's banner line.
inline constexpr const char* kPrintBanner = "        ++++++++++++++-Balistica by Veltra-++++++++++++";

} // namespace siacci

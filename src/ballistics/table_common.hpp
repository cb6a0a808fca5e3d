#pragma once

#include "ballistics/tables.hpp"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

// What the three table routines share: the stepping of the distances, the row count decided
// before any row is computed, the fast cell texts and the printed lines.
namespace siacci::tabledetail {

// Print columns of the eight values of a printed row, counted from 1.
inline constexpr std::array<int, 8> kRowColumns = {2, 13, 23, 36, 48, 58, 68, 79};

// How a table steps its distances: X grows by feetPerUnit * increment from 0, and the table
// ends at the first X with X / feetPerUnit + margin >= maximum (metric: 3.2808 and 0.49 m;
// imperial: 3 and no margin).
struct Stepping {
    double feetPerUnit;
    double margin;
    double increment;   // table units
    double maximum;     // table units

    double step_ft() const { return feetPerUnit * increment; }
    bool isLast(double x_ft) const { return x_ft / feetPerUnit + margin >= maximum; }
};

// The number of rows the table runs to its maximum, counted with the same additions as the
// run itself, or nullopt when that is more than kMaxTableRows. The increment must be positive.
std::optional<int> countRows(const Stepping& stepping);

// The checks made before any row: the increment, then the row count.
TableRefusal checkStepping(const Stepping& stepping);

// The cell text of k / 10^decimals for a whole number k (the result of a floor): the same text
// as cellText of that quotient, written straight from the digits of k.
std::string cellOf(double k, int decimals, char decimalSeparator);

// floor(scale * value + add) / scale as its cell text; `scale` is 1, 10 or 1000.
inline std::string roundedCell(double value, int decimals, double add, char decimalSeparator)
{
    const double scale = decimals == 0 ? 1 : decimals == 1 ? 10 : 1000;
    return cellOf(std::floor(scale * value + add), decimals, decimalSeparator);
}

// Rounded to its shown decimals as the trajectory tables round: floor(scale * value + 0.49).
inline double roundShown(double value, double scale)
{
    return std::floor(scale * value + 0.49) / scale;
}

// Screen run: appends the row to the table. When `stopsHere` (the energy stop, or the terminal
// table's penetration stop) the table ends with this row and `distance` is kept as the new
// maximum distance. Returns true when the table has ended.
inline bool appendScreenRow(TableRun& run, TrajectoryRow row, bool stopsHere, double distance)
{
    run.rows.push_back(std::move(row));
    if (stopsHere) {
        run.stopped = true;
        run.stopDistance = distance;
    }
    return stopsHere;
}

// Lines of the printed report.
inline PrintLine emptyLine() { return {}; }
inline PrintLine lineAt(int column, std::string text) { return {PrintItem{column, std::move(text)}}; }
PrintLine rowLine(const TrajectoryRow& row);

} // namespace siacci::tabledetail

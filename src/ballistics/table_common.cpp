#include "ballistics/table_common.hpp"

#include "common/number_text.hpp"

namespace siacci::tabledetail {

std::optional<int> countRows(const Stepping& stepping)
{
    const double step = stepping.step_ft();
    double x = 0;
    for (int rows = 1; rows <= kMaxTableRows; ++rows) {
        if (stepping.isLast(x))
            return rows;
        x += step;
    }
    return std::nullopt;
}

TableRefusal checkStepping(const Stepping& stepping)
{
    // A negative increment would never reach the maximum; NaN is no increment at all.
    if (!(stepping.increment > 0))
        return TableRefusal::IncrementNotPositive;
    if (!countRows(stepping))
        return TableRefusal::TooManyRows;
    return TableRefusal::None;
}

std::string cellOf(double k, int decimals, char decimalSeparator)
{
    static constexpr double kPowers[] = {1, 10, 100, 1000};
    if (decimals < 0 || decimals > 3)
        decimals = 0;
    // Beyond 15 digits (and for non-finite values) the general form decides.
    if (!(std::fabs(k) < 1e15))
        return cellText(k / kPowers[decimals], decimalSeparator);
    if (k == 0)
        return "0";
    long long n = static_cast<long long>(k);
    const bool negative = n < 0;
    if (negative)
        n = -n;
    char digits[24];
    int len = 0;
    while (n > 0 || len <= decimals) {
        digits[len++] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    // digits[] holds the number reversed; the first `decimals` are the fraction.
    int firstKept = 0;
    while (firstKept < decimals && digits[firstKept] == '0')
        ++firstKept;
    std::string out;
    out.reserve(static_cast<std::size_t>(len) + 2);
    if (negative)
        out += '-';
    for (int i = len - 1; i >= decimals; --i)
        out += digits[i];
    if (firstKept < decimals) {
        out += decimalSeparator;
        for (int i = decimals - 1; i >= firstKept; --i)
            out += digits[i];
    }
    return out;
}

PrintLine rowLine(const TrajectoryRow& row)
{
    PrintLine line;
    line.reserve(row.size());
    for (std::size_t i = 0; i < row.size(); ++i)
        line.push_back({kRowColumns[i], row[i]});
    return line;
}

} // namespace siacci::tabledetail

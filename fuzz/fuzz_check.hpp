#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// What the fuzz targets hold true: a broken promise prints what was seen and aborts, so that
// libFuzzer keeps the input as a crash and the corpus replay test fails.
namespace siacci::fuzz {

[[noreturn]] inline void broken(const char* what, std::string_view seen)
{
    std::fprintf(stderr, "fuzz check failed: %s: \"%.*s\"\n", what, static_cast<int>(seen.size()),
                 seen.data());
    std::abort();
}

inline void check(bool ok, const char* what, std::string_view seen = {})
{
    if (!ok)
        broken(what, seen);
}

// A number as the program writes it: an optional minus, digits, at most one separator, digits.
// Never an exponent, "nan" or "inf".
inline bool isPlainDecimal(std::string_view text, char separator)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    bool separatorSeen = false;
    bool digitSeen = false;
    for (const char ch : text) {
        if (ch >= '0' && ch <= '9') {
            digitSeen = true;
        } else if (ch == separator && !separatorSeen && digitSeen) {
            separatorSeen = true;
        } else {
            return false;
        }
    }
    return text.back() != separator;
}

// Equal to fifteen significant digits (what the cell text keeps), with an absolute floor for
// numbers near the smallest doubles.
inline bool closeTo(double a, double b)
{
    return std::fabs(a - b) <= 1e-14 * std::fmax(std::fabs(a), std::fabs(b)) + 1e-300;
}

} // namespace siacci::fuzz

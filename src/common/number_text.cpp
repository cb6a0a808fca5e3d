#include "common/number_text.hpp"

#include "common/float_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace siacci {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The longest number at the start of `text`, read by the one rule of the program (see
// plainReading). `blanksInside` lets spaces and tabs stand anywhere, as the fields allow.
struct Scan {
    bool found = false;        // at least one digit of a mantissa
    std::size_t length = 0;    // characters taken, blanks inside included
    double value = 0;
};

Scan scanNumber(std::string_view text, bool blanksInside)
{
    std::size_t i = 0;
    const auto skip = [&] {
        while (blanksInside && i < text.size() && isBlank(text[i]))
            ++i;
    };
    Scan scan;
    std::string clean; // the number without blanks, for from_chars
    skip();
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    bool point = false;
    int leadingPlaces = 0; // decimal places before the mantissa's first significant digit
    int integerDigits = 0; // significant digits before the point
    bool significant = false;
    for (skip(); i < text.size(); ++i, skip()) {
        const char ch = text[i];
        if (isDigit(ch)) {
            clean += ch;
            scan.found = true;
            significant = significant || ch != '0';
            if (!point && significant)
                ++integerDigits;
            else if (point && !significant)
                ++leadingPlaces;
        } else if (ch == '.' && !point) {
            clean += ch;
            point = true;
        } else {
            break;
        }
    }
    if (!scan.found)
        return {};
    scan.length = i;
    // The exponent: E or D (the double-precision mark of the old platform's numbers), an
    // optional sign and at least one digit; otherwise the letter is not part of the number.
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::size_t j = i + 1;
        const auto skipAt = [&] {
            while (blanksInside && j < text.size() && isBlank(text[j]))
                ++j;
        };
        skipAt();
        bool expNegative = false;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
            expNegative = text[j] == '-';
            ++j;
        }
        bool expDigit = false;
        for (skipAt(); j < text.size() && isDigit(text[j]); ++j, skipAt()) {
            expDigit = true;
            exponent = std::min(exponent * 10 + (text[j] - '0'), 100000L);
        }
        if (expDigit) {
            if (expNegative)
                exponent = -exponent;
            clean += 'e' + std::to_string(exponent);
            scan.length = j;
        } else {
            exponent = 0;
        }
    }
    // from_chars, unlike strtod, ignores the C locale, which the window system sets to the
    // user's (an Italian desktop would read "0.45" as 0 through strtod).
    double value = 0;
    const auto parsed = fromChars(clean.data(), clean.data() + clean.size(), value);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Beyond a double: too large reads as the largest number (which every limit then
        // refuses by name), too small as 0.
        const long magnitude = significant ? (integerDigits > 0 ? integerDigits - 1
                                                                : -leadingPlaces - 1) +
                                                 exponent
                                           : 0;
        value = magnitude > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (parsed.ec != std::errc()) {
        value = 0;
    }
    scan.value = negative ? -value : value;
    return scan;
}

} // namespace

double plainReading(std::string_view text)
{
    const Scan scan = scanNumber(text, true);
    return scan.found ? scan.value : 0.0;
}

std::optional<double> wholeNumber(std::string_view text)
{
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    const std::string_view number = text.substr(first, last - first);
    const Scan scan = scanNumber(number, false);
    if (!scan.found || scan.length != number.size())
        return std::nullopt;
    return scan.value;
}

std::string virgola(std::string_view text)
{
    std::string out(text);
    if (const auto comma = out.find(','); comma != std::string::npos)
        out[comma] = '.';
    return out;
}

double readField(std::string_view text)
{
    return plainReading(virgola(text));
}

namespace {

// A finite, non-zero value rounded to fifteen significant digits: its sign, its digits without
// trailing zeros ("333333333333333", "5") and the decimal exponent of the first digit. Like
// to_chars it is independent of the C locale, as the files and the cells need.
SignificantDigits significant15(double value)
{
    return significantDigits(value, 15);
}

} // namespace

std::string roundedText(double value, int decimals, char decimalSeparator)
{
    // The powers of ten that a double holds exactly, as pow gives them.
    static constexpr double kExact[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double scale = decimals >= 0 && decimals <= 22 ? kExact[decimals] : std::pow(10.0, decimals);
    return cellText(std::round(value * scale) / scale, decimalSeparator);
}

std::string cellText(double value, char decimalSeparator)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    // Fifteen significant digits, then laid out as a plain decimal: the whole part (zeros after
    // the digits for a large number, "0" for a small one) and the fraction without trailing zeros.
    const SignificantDigits sig = significant15(value);
    char text[400];
    std::size_t n = 0;
    if (sig.negative)
        text[n++] = '-';
    const int pointAt = sig.exponent + 1; // digits before the decimal point
    if (pointAt <= 0) {
        text[n++] = '0';
        text[n++] = decimalSeparator;
        for (int k = pointAt; k < 0; ++k)
            text[n++] = '0';
        for (int k = 0; k < sig.count; ++k)
            text[n++] = sig.digits[k];
    } else if (pointAt >= sig.count) {
        for (int k = 0; k < sig.count; ++k)
            text[n++] = sig.digits[k];
        for (int k = sig.count; k < pointAt; ++k)
            text[n++] = '0';
    } else {
        for (int k = 0; k < pointAt; ++k)
            text[n++] = sig.digits[k];
        text[n++] = decimalSeparator;
        for (int k = pointAt; k < sig.count; ++k)
            text[n++] = sig.digits[k];
    }
    return std::string(text, n);
}

std::string generalNumber(double value)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    const SignificantDigits sig = significant15(value);
    if (sig.exponent >= -4 && sig.exponent < 15)
        return cellText(value);
    std::string out = sig.negative ? "-" : "";
    out += sig.digits[0];
    if (sig.count > 1) {
        out += '.';
        out.append(sig.digits + 1, static_cast<std::size_t>(sig.count - 1));
    }
    const int magnitude = sig.exponent < 0 ? -sig.exponent : sig.exponent;
    out += sig.exponent < 0 ? "E-" : "E+";
    if (magnitude < 10)
        out += '0';
    out += std::to_string(magnitude);
    return out;
}

std::string shortNumber(double value)
{
    const std::string text = cellText(value);
    return text[0] == '-' ? text : " " + text;
}

std::string printerNumber(double value, char decimalSeparator)
{
    const std::string text = cellText(value, decimalSeparator);
    return (text[0] == '-' ? text : " " + text) + " ";
}

} // namespace siacci

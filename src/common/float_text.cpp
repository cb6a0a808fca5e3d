#include "common/float_text.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace siacci {
namespace {

// A decimal number 0.DIGITS x 10^exp10; `digits` has no leading and no trailing zeros and is
// empty for zero.
struct Decimal {
    std::string digits;
    int exp10 = 0;
};

void stripTrailingZeros(Decimal& d)
{
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

// m x 2^e is m x 5^-e x 10^e for e < 0, so both cases are a big integer times a power of ten.
// Limbs of nine decimal digits.
// A finite positive number as mantissa x 2^exp2, and whether it is the lowest mantissa of its
// binade (its lower neighbour is then closer than its upper one).
struct Binary {
    std::uint64_t mantissa = 0;
    int exp2 = 0;
    bool binadeStart = false;
};

template <typename T>
Binary binaryOf(T value)
{
    constexpr bool single = sizeof(T) == sizeof(float);
    constexpr int fraction = single ? 23 : 52;
    constexpr int exponentMask = single ? 0xff : 0x7ff;
    constexpr int bias = single ? 127 : 1023;
    std::uint64_t bits = 0;  // std::bit_cast is missing from the WebAssembly build's library
    if constexpr (single) {
        std::uint32_t b = 0;
        std::memcpy(&b, &value, sizeof b);
        bits = b;
    } else {
        std::memcpy(&bits, &value, sizeof bits);
    }
    Binary b;
    b.mantissa = bits & ((std::uint64_t{1} << fraction) - 1);
    const int biased = static_cast<int>((bits >> fraction) & exponentMask);
    b.exp2 = 1 - bias - fraction;
    if (biased != 0) {
        b.binadeStart = b.mantissa == 0 && biased > 1;
        b.mantissa |= std::uint64_t{1} << fraction;
        b.exp2 = biased - bias - fraction;
    }
    return b;
}

// The exact decimal value of mantissa x 2^exp2 (mantissa > 0).
Decimal exactDecimal(std::uint64_t mantissa, int exp2)
{
    constexpr std::uint32_t kLimb = 1000000000;
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++exp2;
    }
    std::vector<std::uint32_t> limbs{static_cast<std::uint32_t>(mantissa % kLimb),
                                     static_cast<std::uint32_t>(mantissa / kLimb % kLimb),
                                     static_cast<std::uint32_t>(mantissa / kLimb / kLimb)};
    auto multiply = [&](std::uint32_t factor) {
        std::uint64_t carry = 0;
        for (auto& limb : limbs) {
            const std::uint64_t product = std::uint64_t{limb} * factor + carry;
            limb = static_cast<std::uint32_t>(product % kLimb);
            carry = product / kLimb;
        }
        while (carry != 0) {
            limbs.push_back(static_cast<std::uint32_t>(carry % kLimb));
            carry /= kLimb;
        }
    };
    int shift10 = 0;
    if (exp2 >= 0) {
        for (int k = exp2; k > 0; k -= 28)
            multiply(std::uint32_t{1} << std::min(k, 28));
    } else {
        static constexpr std::uint32_t kPow5[] = {1,      5,       25,       125,       625,
                                                  3125,   15625,   78125,    390625,    1953125,
                                                  9765625, 48828125, 244140625, 1220703125};
        for (int k = -exp2; k > 0; k -= 13)
            multiply(kPow5[std::min(k, 13)]);
        shift10 = exp2;
    }
    while (limbs.size() > 1 && limbs.back() == 0)
        limbs.pop_back();
    Decimal d;
    for (auto it = limbs.rbegin(); it != limbs.rend(); ++it) {
        char nine[9];
        std::uint32_t limb = *it;
        for (int k = 8; k >= 0; --k) {
            nine[k] = static_cast<char>('0' + limb % 10);
            limb /= 10;
        }
        d.digits.append(nine, 9);
    }
    d.digits.erase(0, d.digits.find_first_not_of('0'));
    d.exp10 = static_cast<int>(d.digits.size()) + shift10;
    stripTrailingZeros(d);
    return d;
}

// The exact decimal value of a finite positive double or float.
template <typename T>
Decimal exactDecimal(T value)
{
    const Binary b = binaryOf(value);
    return exactDecimal(b.mantissa, b.exp2);
}

// -1, 0, 1 as a is below, equal to or above b.
int compare(const Decimal& a, const Decimal& b)
{
    if (a.exp10 != b.exp10)
        return a.exp10 < b.exp10 ? -1 : 1;
    const int c = a.digits.compare(b.digits);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// Adds one unit in the last digit.
void incrementLast(Decimal& d)
{
    std::size_t k = d.digits.size();
    while (k > 0 && d.digits[k - 1] == '9')
        d.digits[--k] = '0';
    if (k == 0) {
        d.digits = "1";
        ++d.exp10;
    } else {
        ++d.digits[k - 1];
    }
    stripTrailingZeros(d);
}

// Rounded half to even to `n` >= 1 significant digits.
Decimal roundSignificant(const Decimal& d, int n)
{
    const auto count = static_cast<std::size_t>(n);
    if (d.digits.size() <= count)
        return d;
    const char next = d.digits[count];
    bool up = next > '5';
    if (next == '5')
        up = d.digits.size() > count + 1 || ((d.digits[count - 1] - '0') % 2 == 1);
    Decimal r{d.digits.substr(0, count), d.exp10};
    if (up)
        incrementLast(r);
    else
        stripTrailingZeros(r);
    return r;
}

// Rounded half to even to `fraction` digits after the point.
Decimal roundFixed(const Decimal& d, int fraction)
{
    const long n = static_cast<long>(d.exp10) + fraction;
    if (d.digits.empty() || n >= static_cast<long>(d.digits.size()))
        return d;
    if (n > 0)
        return roundSignificant(d, static_cast<int>(n));
    // Below one unit of the last place: only more than half of it rounds up (zero is even).
    if (n == 0 && (d.digits[0] > '5' || (d.digits[0] == '5' && d.digits.size() > 1)))
        return Decimal{"1", d.exp10 + 1};
    return Decimal{};
}

// Plain decimal text; `fraction` < 0: as many fraction digits as the number has.
std::string fixedText(const Decimal& d, int fraction)
{
    std::string out;
    if (d.exp10 <= 0 || d.digits.empty()) {
        out = "0";
    } else {
        out = d.digits.substr(0, std::min<std::size_t>(d.digits.size(), d.exp10));
        out.append(static_cast<std::size_t>(d.exp10) - out.size(), '0');
    }
    std::string frac;
    if (!d.digits.empty()) {
        if (d.exp10 < 0)
            frac.assign(static_cast<std::size_t>(-d.exp10), '0');
        if (static_cast<long>(d.digits.size()) > d.exp10)
            frac += d.digits.substr(static_cast<std::size_t>(std::max(d.exp10, 0)));
    }
    if (fraction >= 0)
        frac.resize(static_cast<std::size_t>(fraction), '0');
    if (!frac.empty())
        out += '.' + frac;
    return out;
}

// d.ddde+XX; `fraction` < 0: as many digits as the number has.
std::string scientificText(const Decimal& d, int fraction)
{
    std::string out(1, d.digits.empty() ? '0' : d.digits[0]);
    std::string frac = d.digits.empty() ? std::string() : d.digits.substr(1);
    if (fraction >= 0)
        frac.resize(static_cast<std::size_t>(fraction), '0');
    if (!frac.empty())
        out += '.' + frac;
    int exponent = d.digits.empty() ? 0 : d.exp10 - 1;
    out += exponent < 0 ? "e-" : "e+";
    exponent = std::abs(exponent);
    if (exponent < 10)
        out += '0';
    out += std::to_string(exponent);
    return out;
}

// %g: scientific when the exponent is below -4 or not below the significant digits `p`.
std::string generalText(const Decimal& d, int p)
{
    const int exponent = d.digits.empty() ? 0 : d.exp10 - 1;
    return exponent < -4 || exponent >= p ? scientificText(d, -1) : fixedText(d, -1);
}

// Reads DIGITS x 10^exponent, correctly rounded. The text has no decimal point, so the C
// library's reading does not depend on the locale's separator.
template <typename T>
T readScaled(const std::string& digits, long exponent)
{
    const std::string text = digits + 'e' + std::to_string(exponent);
    if constexpr (sizeof(T) == sizeof(float))
        return std::strtof(text.c_str(), nullptr);
    else
        return std::strtod(text.c_str(), nullptr);
}

// The fewest significant digits that read back as `value` (positive, finite), decided exactly:
// a decimal reads back when it lies in the value's rounding interval, whose ends (halfway to the
// neighbours) read back too when the mantissa is even. For each count of digits, the nearest
// decimal of that many digits, or its neighbour on the other side of the value (which the
// interval may hold when the value is a power of two).
template <typename T>
Decimal shortest(T value)
{
    const Binary b = binaryOf(value);
    const Decimal exact = exactDecimal(b.mantissa, b.exp2);
    const Decimal high = exactDecimal(4 * b.mantissa + 2, b.exp2 - 2);
    const Decimal low = exactDecimal(4 * b.mantissa - (b.binadeStart ? 1 : 2), b.exp2 - 2);
    const bool even = b.mantissa % 2 == 0;
    auto readsBack = [&](const Decimal& d) {
        const int above = compare(d, low);
        const int below = compare(d, high);
        return (above > 0 || (above == 0 && even)) && (below < 0 || (below == 0 && even));
    };
    // The decimal of n digits that reads back, if any. Whenever n digits do, n + 1 do too (the
    // nearest decimal of n + 1 digits lies between the value and the one of n), so the count is
    // found by bisection.
    auto withDigits = [&](int n) -> std::optional<Decimal> {
        const Decimal nearest = roundSignificant(exact, n);
        if (readsBack(nearest))
            return nearest;
        Decimal other = nearest;
        other.digits.resize(static_cast<std::size_t>(n), '0');
        if (compare(nearest, exact) > 0) {
            std::size_t k = other.digits.size();
            while (other.digits[k - 1] == '0')
                other.digits[--k] = '9';
            --other.digits[k - 1];
            if (other.digits[0] == '0') {
                other.digits.erase(0, 1);
                other.digits += '9';
                --other.exp10;
            }
            stripTrailingZeros(other);
        } else {
            incrementLast(other);
        }
        if (readsBack(other))
            return other;
        return std::nullopt;
    };
    int fewest = 1;
    int enough = sizeof(T) == sizeof(float) ? 9 : 17;
    std::optional<Decimal> best = roundSignificant(exact, enough);
    while (fewest < enough) {
        const int middle = (fewest + enough) / 2;
        if (auto found = withDigits(middle)) {
            enough = middle;
            best = std::move(found);
        } else {
            fewest = middle + 1;
        }
    }
    return *best;
}

std::to_chars_result put(char* first, char* last, bool negative, const std::string& text)
{
    const auto size = static_cast<std::size_t>(last - first);
    if (text.size() + (negative ? 1 : 0) > size)
        return {last, std::errc::value_too_large};
    if (negative)
        *first++ = '-';
    std::copy(text.begin(), text.end(), first);
    return {first + text.size(), std::errc()};
}

// inf and nan in every form; returns false for a finite value.
template <typename T>
bool putSpecial(char* first, char* last, T value, std::to_chars_result& result)
{
    if (std::isfinite(value))
        return false;
    result = put(first, last, std::signbit(value), std::isnan(value) ? "nan" : "inf");
    return true;
}

enum class Form { Plain, Fixed, Scientific, General };

template <typename T>
std::to_chars_result writeShortest(char* first, char* last, T value, Form form)
{
    std::to_chars_result result;
    if (putSpecial(first, last, value, result))
        return result;
    const Decimal d = value == 0 ? Decimal{} : shortest(std::fabs(value));
    // A whole number in fixed notation is written with all its digits, as printf's %.0f writes
    // it (1e23 is 99999999999999991611392), not padded with zeros after the shortest digits.
    auto fixed = [&] {
        if (d.digits.empty() || d.exp10 < static_cast<int>(d.digits.size()))
            return fixedText(d, -1);
        return fixedText(exactDecimal(std::fabs(value)), -1);
    };
    std::string text;
    switch (form) {
    case Form::Fixed:
        text = fixed();
        break;
    case Form::Scientific:
        text = scientificText(d, -1);
        break;
    case Form::General:
        // As the standard libraries choose: fixed from 1e-4 up to below 1e6.
        text = generalText(d, 6);
        break;
    case Form::Plain: {
        text = fixed();
        const std::string sci = scientificText(d, -1);
        if (sci.size() < text.size())
            text = sci;
        break;
    }
    }
    return put(first, last, std::signbit(value), text);
}

Form formOf(std::chars_format fmt)
{
    if (fmt == std::chars_format::fixed)
        return Form::Fixed;
    if (fmt == std::chars_format::scientific)
        return Form::Scientific;
    return Form::General;
}

template <typename T>
std::to_chars_result writePrecise(char* first, char* last, T value, std::chars_format fmt,
                                  int precision)
{
    std::to_chars_result result;
    if (putSpecial(first, last, value, result))
        return result;
    if (precision < 0)
        precision = 6;
    const Decimal exact = value == 0 ? Decimal{} : exactDecimal(std::fabs(value));
    std::string text;
    switch (formOf(fmt)) {
    case Form::Fixed:
        text = fixedText(roundFixed(exact, precision), precision);
        break;
    case Form::Scientific:
        text = scientificText(
            exact.digits.empty() ? exact : roundSignificant(exact, precision + 1), precision);
        break;
    default: {
        const int p = std::max(precision, 1);
        text = generalText(exact.digits.empty() ? exact : roundSignificant(exact, p), p);
        break;
    }
    }
    return put(first, last, std::signbit(value), text);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool matchesWord(const char* first, const char* last, const char* word)
{
    for (; *word != '\0'; ++word, ++first) {
        if (first == last || (*first | 0x20) != *word)
            return false;
    }
    return true;
}

template <typename T>
std::from_chars_result read(const char* first, const char* last, T& value, std::chars_format fmt)
{
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (negative)
        ++p;
    if (matchesWord(p, last, "inf")) {
        p += matchesWord(p, last, "infinity") ? 8 : 3;
        value = negative ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::infinity();
        return {p, std::errc()};
    }
    if (matchesWord(p, last, "nan")) {
        p += 3;
        if (p != last && *p == '(') {
            const char* q = p + 1;
            while (q != last && (isDigit(*q) || *q == '_' || ((*q | 0x20) >= 'a' && (*q | 0x20) <= 'z')))
                ++q;
            if (q != last && *q == ')')
                p = q + 1;
        }
        value = negative ? -std::numeric_limits<T>::quiet_NaN() : std::numeric_limits<T>::quiet_NaN();
        return {p, std::errc()};
    }
    std::string digits;
    long exponent = 0;
    bool anyDigit = false;
    for (; p != last && isDigit(*p); ++p) {
        anyDigit = true;
        if (!digits.empty() || *p != '0')
            digits += *p;
    }
    if (p != last && *p == '.') {
        for (++p; p != last && isDigit(*p); ++p) {
            anyDigit = true;
            if (!digits.empty() || *p != '0')
                digits += *p;
            --exponent;
        }
    }
    if (!anyDigit)
        return {first, std::errc::invalid_argument};
    const bool scientific = (fmt & std::chars_format::scientific) == std::chars_format::scientific;
    const bool fixed = (fmt & std::chars_format::fixed) == std::chars_format::fixed;
    if (scientific && p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool negativeExponent = q != last && *q == '-';
        if (q != last && (*q == '-' || *q == '+'))
            ++q;
        if (q != last && isDigit(*q)) {
            long written = 0;
            for (; q != last && isDigit(*q); ++q)
                written = std::min(written * 10 + (*q - '0'), 100000000L);
            exponent += negativeExponent ? -written : written;
            p = q;
        } else if (!fixed) {
            return {first, std::errc::invalid_argument};
        }
    } else if (scientific && !fixed) {
        return {first, std::errc::invalid_argument};
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (digits.empty()) {
        value = negative ? -T(0) : T(0);
        return {p, std::errc()};
    }
    // Far beyond any range: keep the C library's text short.
    const long magnitude = exponent + static_cast<long>(digits.size());
    if (magnitude > 400 || magnitude < -400)
        return {p, std::errc::result_out_of_range};
    const T read = readScaled<T>(digits, exponent);
    if (std::isinf(read) || read == 0)
        return {p, std::errc::result_out_of_range};
    value = negative ? -read : read;
    return {p, std::errc()};
}

} // namespace

std::to_chars_result toChars(char* first, char* last, double value)
{
    return writeShortest(first, last, value, Form::Plain);
}

std::to_chars_result toChars(char* first, char* last, float value)
{
    return writeShortest(first, last, value, Form::Plain);
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format fmt)
{
    return writeShortest(first, last, value, formOf(fmt));
}

std::to_chars_result toChars(char* first, char* last, float value, std::chars_format fmt)
{
    return writeShortest(first, last, value, formOf(fmt));
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format fmt,
                             int precision)
{
    return writePrecise(first, last, value, fmt, precision);
}

std::to_chars_result toChars(char* first, char* last, float value, std::chars_format fmt,
                             int precision)
{
    return writePrecise(first, last, value, fmt, precision);
}

std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format fmt)
{
    return read(first, last, value, fmt);
}

std::from_chars_result fromChars(const char* first, const char* last, float& value,
                                 std::chars_format fmt)
{
    return read(first, last, value, fmt);
}

} // namespace siacci

#include "common/float_text.hpp"

// Writing: Dragonbox's shortest digits and {fmt}'s correctly rounded fixed-precision forms;
// reading: fast_float. All three are header-only and use no C library conversion, so the
// WebAssembly module prints and reads exactly what the native program does.
#ifndef FMT_HEADER_ONLY
#define FMT_HEADER_ONLY 1
#endif
// WebAssembly has 128-bit integers only as calls into its runtime (a full 128 x 128 bit product
// for each 64 x 64 one): there Dragonbox takes its products in 32-bit halves, inline.
#if defined(__wasm__) && defined(__SIZEOF_INT128__)
#pragma push_macro("__SIZEOF_INT128__")
#undef __SIZEOF_INT128__
#include <dragonbox/dragonbox.h>
#pragma pop_macro("__SIZEOF_INT128__")
#else
#include <dragonbox/dragonbox.h>
#endif
#include <fast_float/fast_float.h>
#include <fmt/format.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace siacci {
namespace {

// The shortest decimal that reads back as a finite positive value: `count` digits (no
// trailing zeros) standing for 0.DIGITS x 10^exp10.
struct Digits {
    char text[20];
    int count = 0;
    int exp10 = 0;
};

template <typename T>
Digits shortestDigits(T value)
{
    const auto decimal = jkj::dragonbox::to_decimal(value, jkj::dragonbox::policy::sign::ignore);
    Digits d;
    // The digits from the last, eight at a time in 32-bit arithmetic: in WebAssembly, which has
    // no 64-bit multiply-high, every 64-bit division by ten would be a real division.
    auto significand = static_cast<std::uint64_t>(decimal.significand);
    d.count = 1;
    for (std::uint64_t power = 10; d.count < 20 && significand >= power; power *= 10)
        ++d.count;
    char* at = d.text + d.count;
    while (significand >= 100000000) {
        auto eight = static_cast<std::uint32_t>(significand % 100000000);
        significand /= 100000000;
        for (int k = 0; k < 8; ++k) {
            *--at = static_cast<char>('0' + eight % 10);
            eight /= 10;
        }
    }
    auto rest = static_cast<std::uint32_t>(significand);
    do {
        *--at = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    d.exp10 = decimal.exponent + d.count;
    return d;
}

// The short case of rounding to `places` significant digits, without the exact conversion:
// when the shortest digits are no more than the places asked, and those places are coarser than
// the value's binary precision (digits10: half a unit in the last binary place is below half a
// unit in the last decimal place), the value rounds to its shortest digits, which `d` receives.
template <typename T>
bool shortestRounds(T magnitude, int places, Digits& d)
{
    if (places > std::numeric_limits<T>::digits10 || !(magnitude >= std::numeric_limits<T>::min()))
        return false;
    d = shortestDigits(magnitude);
    return d.count <= places;
}

// A text being built in the caller's buffer; `overflow` once it would not fit.
class Out {
public:
    Out(char* first, char* last) : m_at(first), m_last(last) {}
    void put(char c)
    {
        if (m_at == m_last)
            m_overflow = true;
        else
            *m_at++ = c;
    }
    void put(const char* text, std::size_t size)
    {
        if (static_cast<std::size_t>(m_last - m_at) < size) {
            m_overflow = true;
            return;
        }
        std::memcpy(m_at, text, size);
        m_at += size;
    }
    void repeat(char c, std::size_t count)
    {
        if (static_cast<std::size_t>(m_last - m_at) < count) {
            m_overflow = true;
            return;
        }
        std::memset(m_at, c, count);
        m_at += count;
    }
    std::size_t room() const { return static_cast<std::size_t>(m_last - m_at); }
    void advance(std::size_t size) { m_at += size; }
    char* at() const { return m_at; }
    void fail() { m_overflow = true; }
    std::to_chars_result result() const
    {
        if (m_overflow)
            return {m_last, std::errc::value_too_large};
        return {m_at, std::errc()};
    }

private:
    char* m_at;
    char* m_last;
    bool m_overflow = false;
};

// printf's exponent: a sign and at least two digits.
void putExponent(Out& out, int exponent)
{
    out.put('e');
    out.put(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude >= 100)
        out.put(static_cast<char>('0' + magnitude / 100));
    out.put(static_cast<char>('0' + magnitude / 10 % 10));
    out.put(static_cast<char>('0' + magnitude % 10));
}

std::size_t scientificSize(const Digits& d)
{
    const int exponent = d.exp10 - 1;
    const int magnitude = exponent < 0 ? -exponent : exponent;
    return static_cast<std::size_t>(d.count) + (d.count > 1 ? 1 : 0) + 2 +
           (magnitude >= 100 ? 3 : 2);
}

void putScientific(Out& out, const Digits& d)
{
    out.put(d.text[0]);
    if (d.count > 1) {
        out.put('.');
        out.put(d.text + 1, static_cast<std::size_t>(d.count - 1));
    }
    putExponent(out, d.exp10 - 1);
}

// The digits as a plain decimal, padded with zeros.
std::size_t paddedSize(const Digits& d)
{
    if (d.exp10 <= 0)
        return 2 + static_cast<std::size_t>(-d.exp10 + d.count);
    if (d.exp10 >= d.count)
        return static_cast<std::size_t>(d.exp10);
    return static_cast<std::size_t>(d.count) + 1;
}

void putPadded(Out& out, const Digits& d)
{
    if (d.exp10 <= 0) {
        out.put("0.", 2);
        out.repeat('0', static_cast<std::size_t>(-d.exp10));
        out.put(d.text, static_cast<std::size_t>(d.count));
    } else if (d.exp10 >= d.count) {
        out.put(d.text, static_cast<std::size_t>(d.count));
        out.repeat('0', static_cast<std::size_t>(d.exp10 - d.count));
    } else {
        out.put(d.text, static_cast<std::size_t>(d.exp10));
        out.put('.');
        out.put(d.text + d.exp10, static_cast<std::size_t>(d.count - d.exp10));
    }
}

enum class Form { Plain, Fixed, Scientific, General };

// printf's %.*f, %.*e or %.*g by {fmt}, into the rest of the buffer.
template <typename T>
void putFormatted(Out& out, Form form, T value, int precision)
{
    const auto format = [&](auto spec) {
        return fmt::format_to_n(out.at(), out.room(), spec, value, precision);
    };
    const auto written = form == Form::Fixed        ? format(FMT_STRING("{:.{}f}"))
                         : form == Form::Scientific ? format(FMT_STRING("{:.{}e}"))
                                                    : format(FMT_STRING("{:.{}g}"));
    if (written.size > out.room())
        out.fail();
    else
        out.advance(written.size);
}

// In fixed notation a whole number is written with all its digits, as printf's %.0f writes it
// (1e23 is 99999999999999991611392), not padded with zeros after the shortest digits. Below
// 2^53 the two are the same: there every whole number is a value of its own.
template <typename T>
bool paddingIsExact(T magnitude, const Digits& d)
{
    return d.exp10 < d.count || magnitude < std::ldexp(T(1), std::numeric_limits<T>::digits);
}

template <typename T>
void putFixedShortest(Out& out, T magnitude, const Digits& d)
{
    if (paddingIsExact(magnitude, d))
        putPadded(out, d);
    else
        putFormatted(out, Form::Fixed, magnitude, 0);
}

Form formOf(std::chars_format fmt)
{
    if (fmt == std::chars_format::fixed)
        return Form::Fixed;
    if (fmt == std::chars_format::scientific)
        return Form::Scientific;
    return Form::General;
}

// inf and nan in every form, the sign of every number; false for a finite value.
template <typename T>
bool putSign(Out& out, T value)
{
    if (std::signbit(value))
        out.put('-');
    if (std::isfinite(value))
        return false;
    out.put(std::isnan(value) ? "nan" : "inf", 3);
    return true;
}

template <typename T>
std::to_chars_result writeShortest(char* first, char* last, T value, Form form)
{
    Out out(first, last);
    if (putSign(out, value))
        return out.result();
    const T magnitude = std::fabs(value);
    if (magnitude == 0) {
        if (form == Form::Scientific)
            out.put("0e+00", 5);
        else
            out.put('0');
        return out.result();
    }
    const Digits d = shortestDigits(magnitude);
    switch (form) {
    case Form::Fixed:
        putFixedShortest(out, magnitude, d);
        break;
    case Form::Scientific:
        putScientific(out, d);
        break;
    case Form::General:
        // As the standard libraries choose: fixed from 1e-4 up to below 1e6.
        if (d.exp10 - 1 < -4 || d.exp10 - 1 >= 6)
            putScientific(out, d);
        else
            putPadded(out, d);
        break;
    case Form::Plain:
        // Fixed or scientific, whichever is shorter; fixed on a tie.
        if (paddingIsExact(magnitude, d)) {
            if (paddedSize(d) <= scientificSize(d))
                putPadded(out, d);
            else
                putScientific(out, d);
        } else {
            char whole[400];
            Out exact(whole, whole + sizeof whole);
            putFixedShortest(exact, magnitude, d);
            const auto size = static_cast<std::size_t>(exact.at() - whole);
            if (size <= scientificSize(d))
                out.put(whole, size);
            else
                putScientific(out, d);
        }
        break;
    }
    return out.result();
}

template <typename T>
std::to_chars_result writePrecise(char* first, char* last, T value, std::chars_format fmt,
                                  int precision)
{
    Out out(first, last);
    if (putSign(out, value))
        return out.result();
    if (precision < 0)
        precision = 6;
    const T magnitude = std::fabs(value);
    const Form form = formOf(fmt);
    if (form == Form::Scientific) {
        Digits d;
        if (shortestRounds(magnitude, precision + 1, d)) {
            out.put(d.text[0]);
            if (precision > 0) {
                out.put('.');
                out.put(d.text + 1, static_cast<std::size_t>(d.count - 1));
                out.repeat('0', static_cast<std::size_t>(precision + 1 - d.count));
            }
            putExponent(out, d.exp10 - 1);
            return out.result();
        }
    }
    putFormatted(out, form, magnitude, form == Form::General && precision == 0 ? 1 : precision);
    return out.result();
}

SignificantDigits roundedDigits(double value, int places)
{
    SignificantDigits out;
    out.negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    Digits d;
    if (shortestRounds(magnitude, places, d)) {
        std::memcpy(out.digits, d.text, static_cast<std::size_t>(d.count));
        out.count = d.count;
        out.exponent = d.exp10 - 1;
        return out;
    }
    // D.DDDDe+XXX from {fmt}'s exact conversion.
    char sci[40];
    Out text(sci, sci + sizeof sci);
    putFormatted(text, Form::Scientific, magnitude, places - 1);
    const char* p = sci;
    for (; *p != 'e'; ++p)
        if (*p != '.')
            out.digits[out.count++] = *p;
    while (out.count > 1 && out.digits[out.count - 1] == '0')
        --out.count;
    const bool negativeExponent = p[1] == '-';
    int exponent = 0;
    for (p += 2; p != text.at(); ++p)
        exponent = exponent * 10 + (*p - '0');
    out.exponent = negativeExponent ? -exponent : exponent;
    return out;
}

fast_float::chars_format fastFloatFormat(std::chars_format fmt)
{
    using F = fast_float::chars_format;
    const bool fixed = (fmt & std::chars_format::fixed) == std::chars_format::fixed;
    const bool scientific = (fmt & std::chars_format::scientific) == std::chars_format::scientific;
    if (fixed && scientific)
        return F::general;
    return scientific ? F::scientific : F::fixed;
}

template <typename T>
std::from_chars_result read(const char* first, const char* last, T& value, std::chars_format fmt)
{
    if (first == last)
        return {first, std::errc::invalid_argument};
    T read = 0;
    const auto parsed = fast_float::from_chars(first, last, read, fastFloatFormat(fmt));
    if (parsed.ec != std::errc())
        return {first, parsed.ec};
    // fast_float gives infinity for a number beyond the range and zero for one below it; the
    // standard's reading leaves the value as it was and says so.
    const char* p = first + (*first == '-' ? 1 : 0);
    const bool written = (*p | 0x20) == 'i' || (*p | 0x20) == 'n';
    if (!written && std::isinf(read))
        return {parsed.ptr, std::errc::result_out_of_range};
    if (!written && read == 0) {
        for (; p != parsed.ptr && *p != 'e' && *p != 'E'; ++p)
            if (*p >= '1' && *p <= '9')
                return {parsed.ptr, std::errc::result_out_of_range};
    }
    value = read;
    return {parsed.ptr, std::errc()};
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

SignificantDigits significantDigits(double value, int places)
{
    return roundedDigits(value, places);
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

#include "common/number_text.hpp"

#include "common/float_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace siacci {

double plainReading(std::string_view text)
{
    std::string digits;
    std::size_t i = 0;
    auto skipSpaces = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
    };
    skipSpaces();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        digits += text[i];
        ++i;
    }
    bool point = false;
    bool anyDigit = false;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == ' ' || ch == '\t')
            continue;
        if (ch >= '0' && ch <= '9') {
            digits += ch;
            anyDigit = true;
        } else if (ch == '.' && !point) {
            digits += ch;
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return 0.0;
    // from_chars, unlike strtod, ignores the C locale, which the window system sets to the
    // user's (an Italian desktop would read "0.45" as 0 through strtod).
    const char* first = digits.data();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto parsed = fromChars(first, digits.data() + digits.size(), value);
    if (parsed.ec != std::errc())
        return 0.0;
    return std::isfinite(value) ? value : 0.0;
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

std::string cellText(double value, char decimalSeparator)
{
    if (!std::isfinite(value) || value == 0.0)
        return "0";
    // Fifteen significant digits in scientific form, then laid out as a plain decimal.
    // to_chars is independent of the C locale, as the files and the cells need.
    char buffer[64];
    const auto written = toChars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, 14);
    const std::string sci(buffer, written.ptr);
    const bool negative = sci[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t ePos = sci.find('e');
    std::string mantissa;
    for (std::size_t k = start; k < ePos; ++k)
        if (sci[k] != '.')
            mantissa += sci[k];
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0')
        mantissa.pop_back();

    std::string intPart;
    std::string fracPart;
    const int pointAt = exponent + 1; // digits before the decimal point
    if (pointAt <= 0) {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-pointAt), '0') + mantissa;
    } else if (static_cast<std::size_t>(pointAt) >= mantissa.size()) {
        intPart = mantissa + std::string(static_cast<std::size_t>(pointAt) - mantissa.size(), '0');
    } else {
        intPart = mantissa.substr(0, static_cast<std::size_t>(pointAt));
        fracPart = mantissa.substr(static_cast<std::size_t>(pointAt));
    }
    while (!fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    std::string out = negative ? "-" : "";
    out += intPart;
    if (!fracPart.empty()) {
        out += decimalSeparator;
        out += fracPart;
    }
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

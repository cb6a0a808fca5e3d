#pragma once

#include <charconv>

// The text forms of floating-point numbers, written and read the same way on every platform the
// program is built for. They have the meaning of std::to_chars and std::from_chars (decimal
// forms only, no hexadecimal) and print exactly what a conforming standard library prints, but
// they do not need its floating-point conversions (the WebAssembly build's library has none):
// header-only libraries do the work, the same code in both builds.
// Like the standard forms they ignore the C locale, which the window system sets to the user's
// (an Italian desktop writes a comma through printf).
//
// Writing: the exact decimal value of the number, rounded half to even where a precision is
// given; the shortest form is the fewest significant digits that read back to the same number
// (the closest such digits when several qualify). Reading: correctly rounded to nearest.
namespace siacci {

// Shortest form, fixed or scientific notation whichever is shorter (fixed on a tie).
std::to_chars_result toChars(char* first, char* last, double value);
std::to_chars_result toChars(char* first, char* last, float value);

// Shortest digits in the given notation (fixed, scientific or general).
std::to_chars_result toChars(char* first, char* last, double value, std::chars_format fmt);
std::to_chars_result toChars(char* first, char* last, float value, std::chars_format fmt);

// The printf forms %.*f, %.*e and %.*g with `precision` (negative: 6), in the C locale.
std::to_chars_result toChars(char* first, char* last, double value, std::chars_format fmt,
                             int precision);
std::to_chars_result toChars(char* first, char* last, float value, std::chars_format fmt,
                             int precision);

// The decimal digits of a finite, nonzero value rounded half to even to `places` (1 to 17)
// significant digits, as %.*e prints them: `digits` without the trailing zeros (at least one
// digit), the decimal exponent of the first one, the sign. For the program's own layouts of
// numbers (table cells), without a round trip through text.
struct SignificantDigits {
    bool negative = false;
    char digits[17];
    int count = 0;
    int exponent = 0;
};
SignificantDigits significantDigits(double value, int places);

// Reads a number as std::from_chars: an optional '-', digits with an optional point, an exponent
// as `fmt` allows, or inf, infinity, nan, nan(chars). A number beyond the type's range, or a
// nonzero one that would read as zero, is errc::result_out_of_range with `value` untouched.
std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format fmt = std::chars_format::general);
std::from_chars_result fromChars(const char* first, const char* last, float& value,
                                 std::chars_format fmt = std::chars_format::general);

} // namespace siacci

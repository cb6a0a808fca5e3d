#pragma once

#include <string>
#include <string_view>

// The ways the program reads numbers from text and writes them back.
namespace siacci {

// The plain reading of a field: the number at the start of the text. Spaces anywhere are
// ignored, a point is the decimal separator, reading stops at the first character that cannot
// continue the number, and a text that does not begin with a number reads as 0.
// "0,45" reads 0, "1 000" reads 1000, "-4x" reads -4. Never returns NaN or infinity: a digit
// string too long for a double reads as 0.
double plainReading(std::string_view text);

// Turns the first comma of a text, and only the first, into a point: "0,45" -> "0.45",
// "1,234,5" -> "1.234,5".
std::string virgola(std::string_view text);

// virgola, then the plain reading: how the window reads what the user typed.
double readField(std::string_view text);

// The shortest decimal text of a number with at most 15 significant digits, never with an
// exponent, trailing zeros dropped, negative zero written as 0; `decimalSeparator` stands for
// the point. 10.299999999999999 -> "10.3", 5.87e18 -> "5868446063622630000".
// NaN and infinity (which no rule of the program should produce) are written as "0".
std::string cellText(double value, char decimalSeparator = '.');

// The short number form written into the input fields: cellText with a point, preceded by a
// space when the number is not negative. 800 -> " 800", 0.45 -> " 0.45", -4 -> "-4".
std::string shortNumber(double value);

// The printer's number form: the short number form followed by one space. 800 -> " 800 ".
std::string printerNumber(double value, char decimalSeparator = '.');

} // namespace siacci

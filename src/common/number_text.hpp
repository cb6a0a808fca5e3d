#pragma once

#include <optional>
#include <string>
#include <string_view>

// The ways the program reads numbers from text and writes them back.
namespace siacci {

// The one rule by which the program reads a number, in fields, command-line options, shot files
// and conversions alike, as the old platform's reading did: an optional sign, digits with at
// most one point (".5" and "0.5" alike), then an optional exponent: E or D (either case), an
// optional sign and digits ("8E2" and "8d2" read 800; an "E" without digits is not part of the
// number). The point is the decimal separator whatever the locale. Never NaN or infinity: a
// number beyond a double (a digit string of 309 figures, "1e999") reads as the largest double,
// so that the limits refuse it as too large; one too small for a double ("1e-999") reads 0.
//
// The plain reading of a field: the number at the start of the text. Spaces anywhere are
// ignored, reading stops at the first character that cannot continue the number, and a text
// that does not begin with a number reads as 0.
// "0,45" reads 0, "1 000" reads 1000, "-4x" reads -4, "1e6" reads 1000000.
double plainReading(std::string_view text);

// The same rule where the whole text must be the number (blanks around it allowed, none
// inside): shot files and the values of siacci-cli convert. nullopt for anything else.
std::optional<double> wholeNumber(std::string_view text);

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

// cellText of the value rounded to at most `decimals` decimals: the range card's and the
// armoury's numbers for reading (823.0 -> "823", 0.40351 with 3 -> "0.404").
std::string roundedText(double value, int decimals, char decimalSeparator = '.');

// The general number form of the calculator's display, as the old platform wrote a number:
// fifteen significant digits, plainly (as cellText) when the first digit's decimal exponent
// lies from -4 to 14, otherwise one digit, the others after the point, and an exponent of at
// least two figures: 1 / 3000000 -> "3.33333333333333E-07", 1e15 -> "1E+15", 0.0001 -> "0.0001".
// plainReading reads it back.
std::string generalNumber(double value);

// The short number form written into the input fields: cellText with a point, preceded by a
// space when the number is not negative. 800 -> " 800", 0.45 -> " 0.45", -4 -> "-4".
std::string shortNumber(double value);

// The printer's number form: the short number form followed by one space. 800 -> " 800 ".
std::string printerNumber(double value, char decimalSeparator = '.');

} // namespace siacci

#pragma once

#include "common/ports.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The pocket calculator of the `Calc` window and its fourteen one-click unit conversions.
// The display (`Readout`) is both the calculator's result and the converter's input.
namespace siacci {

// Keys of the window, by control array and index.
inline constexpr int kNumberKeys = 10;    // number(0..9)
inline constexpr int kOperatorKeys = 5;   // operator(0..4)
inline constexpr int kConversionKeys = 14; // dea(0..13)

// Captions of the digit keys, by index: the keypad order "7" "9" "8" "4" "5" "6" "1" "2" "3" "0".
std::string_view numberCaption(int index);
// Captions of the operator keys: "+", "-", "X", "/", "=".
std::string_view operatorCaption(int index);

// One conversion key: its caption and the unit names shown in `Label1` (from) and `Label2` (to).
struct ConversionKey {
    std::string_view caption;
    std::string_view fromUnit;
    std::string_view toUnit;
};

// The conversion key `dea(index)`; nullopt for an index outside 0..13.
std::optional<ConversionKey> conversionKey(int index);

// The result of conversion key `index` applied to `value`: two decimals (temperatures one),
// always rounded down (toward minus infinity), with each product taken left to right as the
// program always has: (value * 100) * factor. A length, mass or energy whose result is below a
// hundredth (which two decimals would show as 0) is kept as it is: 1E-14 inches are 2.54E-14
// cm. nullopt for a bad index, or when the value is so large that the result would not be a
// finite number.
std::optional<double> convertValue(int index, double value);

// The text `Label4` shows for that result: the calculator's general number form (as the
// display shows a result, with an exponent past fifteen figures), a space before a number that
// is not negative. 10 inches -> " 25.4", -40 °C -> "-40", 1E+24 grams -> " 1.543E+25".
// nullopt as for convertValue.
std::optional<std::string> conversionText(int index, double value);

// The longest number the user can type on the display, in characters (digits and the point):
// a double holds no more figures, and the display shows them whole.
inline constexpr std::size_t kMaxTypedCharacters = 20;

// The key a typed character stands for, as a person expects of a calculator: digits, "." and
// "," (the point), "+", "-", "*" / "x" / "X" (times), "/", "=" and Enter ('\r' or '\n') for
// equals, Escape ('\x1b') for "C".
struct TypedKey {
    enum class Kind { Number, Point, Operator, Cancel };
    Kind kind;
    int index = 0; // number(index) or operator(index)

    friend bool operator==(const TypedKey&, const TypedKey&) = default;
};
std::optional<TypedKey> keyForTyped(char typed);

class Calculator {
public:
    // What the last key was: "NONE", "NUMS" (a digit or the point), "OPS" (an operator).
    enum class LastKeyKind { None, Nums, Ops };
    // The pending operator: " " (none), "+", "-", "X", "/" or "=".
    enum class Pending { None, Plus, Minus, Times, Divide, Equals };

    // The window as it opens: an empty display, nothing pending.
    explicit Calculator(Dialogs& dialogs);

    // The keys. A bad index does nothing.
    void number(int index);
    void decimal();
    void operatorKey(int index);
    void cancel(); // "C"
    void dea(int index);

    // What the window shows.
    const std::string& readout() const { return m_readout; }
    const std::string& label1() const { return m_label1; } // unit converted from
    const std::string& label2() const { return m_label2; } // unit converted to
    const std::string& label3() const { return m_label3; } // the value converted
    const std::string& label4() const { return m_label4; } // the result

    // The operand state.
    double accumulator() const { return m_accumulator; }
    double operand() const { return m_operand; }
    bool pointTyped() const { return m_pointTyped; }
    std::int16_t operandCount() const { return m_operandCount; }
    LastKeyKind lastKeyKind() const { return m_lastKeyKind; }
    Pending pendingOperator() const { return m_pendingOperator; }
    // The kind and the operator as the program names them: "NUMS", "X" ...
    std::string_view lastKeyKindText() const;
    std::string_view pendingOperatorText() const;

private:
    void resetOperands();
    double displayValue() const;
    void refuse(const char* text);

    Dialogs& m_dialogs;
    std::string m_readout;
    std::string m_label1, m_label2, m_label3, m_label4;
    double m_accumulator = 0;
    double m_operand = 0;
    bool m_pointTyped = false;
    std::int16_t m_operandCount = 0;
    LastKeyKind m_lastKeyKind = LastKeyKind::None;
    Pending m_pendingOperator = Pending::None;
};

// The texts of the calculator's messages.
inline constexpr const char* kCalculatorTitle = "Calculator";
inline constexpr const char* kDivideByZeroText = "Can't divide by zero";
inline constexpr const char* kTooLargeText = "Risultato troppo grande";

} // namespace siacci

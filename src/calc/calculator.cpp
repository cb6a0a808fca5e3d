#include "calc/calculator.hpp"

#include "common/number_text.hpp"

#include <array>
#include <cmath>

namespace siacci {

namespace {

constexpr std::array<std::string_view, kNumberKeys> kNumberCaptions = {
    "7", "9", "8", "4", "5", "6", "1", "2", "3", "0"};

constexpr std::array<std::string_view, kOperatorKeys> kOperatorCaptions = {"+", "-", "X", "/", "="};

constexpr std::array<ConversionKey, kConversionKeys> kConversions = {{
    {"Inches/Centimetri", "INCHES", "CENTIMETRI"},
    {"Centimetri/Inches", "CENTIMETRI", "INCHES"},
    {"Feet/Metri", "FEET", "METRI"},
    {"Metri/Feet", "METRI", "FEET"},
    {"Yards/Metri", "YARDS", "METRI"},
    {"Metri/Yards", "METRI", "YARDS"},
    {"Miles/Kilometri", "MILES", "KILOMETRI"},
    {"Kilometri/Miles", "KILOMETRI", "MILES"},
    {"Grains/Grammi", "GRAINS", "GRAMMI"},
    {"Grammi/Grains", "GRAMMI", "GRAINS"},
    {"F.Pounds/Kgram.", "FOOT POUNDS", "KILOGRAMMETRI"},
    {"Kgram./F.Pounds", "KILOGRAMMETRI", "FOOT POUNDS"},
    {"Celsius/Fahren.", "CELSIUS", "FAHRENHEIT"},
    {"Fahren./Celsius", "FAHRENHEIT", "CELSIUS"},
}};

// The factors of the twelve length, mass and energy keys. They are the converter's own
// round figures, not the exact ones: metres to yards is 1.0944, and each pair is only a
// near-reciprocal (0.3937 with 2.54, 0.6214 with 1.609 ...).
constexpr std::array<double, 12> kFactors = {
    2.54, 0.3937, 0.3048, 3.281, 0.9144, 1.0944, 1.609, 0.6214, 0.0648, 15.43, 0.1383, 7.233};

constexpr int kCelsiusToFahrenheit = 12;
constexpr int kFahrenheitToCelsius = 13;

bool validIndex(int index, int count)
{
    return index >= 0 && index < count;
}

} // namespace

std::string_view numberCaption(int index)
{
    return validIndex(index, kNumberKeys) ? kNumberCaptions[static_cast<std::size_t>(index)] : "";
}

std::string_view operatorCaption(int index)
{
    return validIndex(index, kOperatorKeys) ? kOperatorCaptions[static_cast<std::size_t>(index)]
                                            : "";
}

std::optional<ConversionKey> conversionKey(int index)
{
    if (!validIndex(index, kConversionKeys))
        return std::nullopt;
    return kConversions[static_cast<std::size_t>(index)];
}

std::optional<double> convertValue(int index, double v)
{
    if (!validIndex(index, kConversionKeys) || !std::isfinite(v))
        return std::nullopt;
    double result;
    if (index == kCelsiusToFahrenheit)
        result = std::floor((v / 5 * 9 + 32) * 10) / 10;
    else if (index == kFahrenheitToCelsius)
        result = std::floor((v - 32) * 10 * 5 / 9) / 10;
    else if (const double exact = v * kFactors[static_cast<std::size_t>(index)]; exact != 0 && std::fabs(exact) < 0.01)
        result = exact;
    else
        result = std::floor(v * 100 * kFactors[static_cast<std::size_t>(index)]) / 100;
    if (!std::isfinite(result))
        return std::nullopt;
    return result;
}

std::optional<std::string> conversionText(int index, double value)
{
    const auto result = convertValue(index, value);
    if (!result)
        return std::nullopt;
    const std::string text = generalNumber(*result);
    return text[0] == '-' ? text : " " + text;
}

std::optional<TypedKey> keyForTyped(char typed)
{
    using Kind = TypedKey::Kind;
    for (int i = 0; i < kNumberKeys; ++i)
        if (kNumberCaptions[static_cast<std::size_t>(i)][0] == typed)
            return TypedKey{Kind::Number, i};
    switch (typed) {
    case '.':
    case ',':
        return TypedKey{Kind::Point};
    case '+':
        return TypedKey{Kind::Operator, 0};
    case '-':
        return TypedKey{Kind::Operator, 1};
    case '*':
    case 'x':
    case 'X':
        return TypedKey{Kind::Operator, 2};
    case '/':
        return TypedKey{Kind::Operator, 3};
    case '=':
    case '\r':
    case '\n':
        return TypedKey{Kind::Operator, 4};
    case '\x1b':
        return TypedKey{Kind::Cancel};
    default:
        return std::nullopt;
    }
}

Calculator::Calculator(Dialogs& dialogs) : m_dialogs(dialogs)
{
    resetOperands();
}

void Calculator::resetOperands()
{
    m_pointTyped = false;
    m_operandCount = 0;
    m_lastKeyKind = LastKeyKind::None;
    m_pendingOperator = Pending::None;
}

// The display read as a number; an empty display or "0." reads as 0.
double Calculator::displayValue() const
{
    return plainReading(m_readout);
}

void Calculator::refuse(const char* text)
{
    Message message;
    message.title = kCalculatorTitle;
    message.text = text;
    message.icon = MessageIcon::Warning;
    message.buttons = MessageButtons::Ok;
    m_dialogs.message(message);
}

void Calculator::number(int index)
{
    if (!validIndex(index, kNumberKeys))
        return;
    if (m_lastKeyKind != LastKeyKind::Nums) {
        m_readout.clear();
        m_pointTyped = false;
    } else if (m_readout.size() >= kMaxTypedCharacters) {
        return; // the display is full, as on any calculator
    }
    m_readout += numberCaption(index);
    m_lastKeyKind = LastKeyKind::Nums;
}

void Calculator::decimal()
{
    if (m_lastKeyKind != LastKeyKind::Nums)
        m_readout = "0.";
    else if (!m_pointTyped && m_readout.size() < kMaxTypedCharacters)
        m_readout += ".";
    else if (!m_pointTyped)
        return;
    m_pointTyped = true;
    m_lastKeyKind = LastKeyKind::Nums;
}

void Calculator::operatorKey(int index)
{
    if (!validIndex(index, kOperatorKeys))
        return;
    if (m_lastKeyKind == LastKeyKind::Nums)
        ++m_operandCount;
    if (m_operandCount == 1) {
        m_accumulator = displayValue();
    } else if (m_operandCount == 2) {
        m_operand = displayValue();
        double result = m_accumulator;
        switch (m_pendingOperator) {
        case Pending::Plus:
            result = m_accumulator + m_operand;
            break;
        case Pending::Minus:
            result = m_accumulator - m_operand;
            break;
        case Pending::Times:
            result = m_accumulator * m_operand;
            break;
        case Pending::Divide:
            if (m_operand == 0)
                refuse(kDivideByZeroText);
            else
                result = m_accumulator / m_operand;
            break;
        case Pending::Equals:
            result = m_operand;
            break;
        case Pending::None:
            break;
        }
        // A result beyond the range of a double is refused like a division by zero, so that
        // the running result stays a number.
        if (std::isfinite(result))
            m_accumulator = result;
        else
            refuse(kTooLargeText);
        m_readout = generalNumber(m_accumulator);
        m_operandCount = 1;
    }
    m_lastKeyKind = LastKeyKind::Ops;
    static constexpr Pending kPressed[kOperatorKeys] = {Pending::Plus, Pending::Minus,
                                                        Pending::Times, Pending::Divide,
                                                        Pending::Equals};
    m_pendingOperator = kPressed[index];
}

void Calculator::cancel()
{
    m_readout = "0.";
    m_label1.clear();
    m_label2.clear();
    m_label3.clear();
    m_label4.clear();
    resetOperands();
}

void Calculator::dea(int index)
{
    const auto key = conversionKey(index);
    if (!key)
        return;
    m_label3 = m_readout;
    const auto text = conversionText(index, displayValue());
    m_label4 = text.value_or("");
    m_label1 = key->fromUnit;
    m_label2 = key->toUnit;
    if (!text)
        refuse(kTooLargeText);
}

std::string_view Calculator::lastKeyKindText() const
{
    switch (m_lastKeyKind) {
    case LastKeyKind::Nums:
        return "NUMS";
    case LastKeyKind::Ops:
        return "OPS";
    case LastKeyKind::None:
        break;
    }
    return "NONE";
}

std::string_view Calculator::pendingOperatorText() const
{
    switch (m_pendingOperator) {
    case Pending::Plus:
        return "+";
    case Pending::Minus:
        return "-";
    case Pending::Times:
        return "X";
    case Pending::Divide:
        return "/";
    case Pending::Equals:
        return "=";
    case Pending::None:
        break;
    }
    return " ";
}

} // namespace siacci

#include "session/card_limits.hpp"

#include "armoury/armoury.hpp"
#include "common/number_text.hpp"

#include <cmath>
#include <optional>

namespace siacci::card {

namespace {

struct Limit {
    CardField field;
    double low, high;
    bool optional;       // an empty text is no value, and allowed
    bool whole = false;  // a count
};

// The page's names of the units, where the card's caption table has another.
constexpr Limit kLimits[] = {
    {CardField::Velocity, 50, 2000, false},
    {CardField::Weight, 1, 2000, false},
    {CardField::Bc, 0.01, 2, false},
    {CardField::Diameter, 1, 30, true},
    {CardField::Length, 1, 100, true},
    {CardField::SightHeight, 0, 30, false},
    {CardField::Zero, 1, 3000, false},
    {CardField::Twist, 1, 100, true},
    {CardField::ClickTyped, 0.01, 10, false},
    {CardField::ClicksPerTurn, 1, 999, true, true},
    {CardField::Temperature, -60, 70, false},
    {CardField::Pressure, 300, 1100, false},
    {CardField::Altitude, -500, 9000, false},
    {CardField::Humidity, 0, 100, false},
    {CardField::WindSpeed, 0, 200, false},
    {CardField::LookAngle, -80, 80, false},
    {CardField::Latitude, -90, 90, true},
    {CardField::Azimuth, 0, 360, true},
    {CardField::MaxDistance, 10, 5000, false},
    {CardField::Increment, 1, 1000, false},
    {CardField::MinEnergy, 0, 20000, true},
    {CardField::VitalZone, 0, 200, true},
    {CardField::AnimalSpeed, 0, 100, true},
    {CardField::AnimalLength, 0.1, 5, true},
    {CardField::GroupSize, 0, 100, false},
    {CardField::VelocitySd, 0, 100, false},
    {CardField::BcSd, 0, 50, false},
    {CardField::MinProbability, 50, 99.9, false},
};

const Limit* limitOf(CardField field)
{
    for (const Limit& l : kLimits)
        if (l.field == field)
            return &l;
    return nullptr;
}

std::string unitOf(CardField field)
{
    if (field == CardField::Weight)
        return "grani";
    return fieldInfo(field).unit;
}

} // namespace

bool incompleteNumber(std::string_view text)
{
    // Blanks around, a sign, digits with one comma or point, an exponent's letter and sign: the
    // prefix of a number that does not read as one yet.
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+' || text.substr(i, 3) == "\xe2\x88\x92"))
        i += text[i] == '-' || text[i] == '+' ? 1 : 3;
    bool digits = false, separator = false;
    while (i < text.size()) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            digits = true;
        else if ((c == ',' || c == '.') && !separator)
            separator = true;
        else
            break;
        ++i;
    }
    const std::size_t numberEnd = i;
    bool exponent = false;
    if (digits && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        exponent = true;
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+'))
            ++i;
        if (i < text.size() && text[i] >= '0' && text[i] <= '9')
            return false;
    }
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i != text.size() || i == start)
        return false;
    const bool endsInSeparator = numberEnd > start && (text[numberEnd - 1] == ',' || text[numberEnd - 1] == '.');
    return exponent || !digits || endsInSeparator;
}

std::string fieldMessage(CardField field, std::string_view text, bool required)
{
    const Limit* limit = limitOf(field);
    if (!limit || !required)
        return {};
    const std::string caption = fieldInfo(field).caption;
    std::string typed(text);
    // The minus sign of a phone's keyboard is the typographic one.
    for (std::size_t at = typed.find("\xe2\x88\x92"); at != std::string::npos; at = typed.find("\xe2\x88\x92"))
        typed.replace(at, 3, "-");
    if (typed.find_first_not_of(" \t") == std::string::npos)
        return limit->optional ? std::string() : caption + ": manca il valore";
    const std::optional<double> value = armoury::readNumber(typed);
    if (!value || !std::isfinite(*value))
        return caption + ": scrivi un numero";
    const std::string unit = unitOf(field);
    if (*value < limit->low || *value > limit->high)
        return caption + ": deve essere tra " + cellText(limit->low, ',') + " e " + cellText(limit->high, ',') +
               (unit.empty() ? "" : " " + unit);
    if (limit->whole && *value != std::floor(*value))
        return caption + ": deve essere un numero intero";
    return {};
}

bool fieldRequired(const Cartellino& card, CardField field)
{
    switch (field) {
    case CardField::Pressure: return card.pressureEnabled();
    case CardField::Altitude: return card.altitudeEnabled();
    case CardField::ClickTyped: return card.clickTypedEnabled();
    default: return true;
    }
}

} // namespace siacci::card

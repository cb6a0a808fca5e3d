#include "card/input_limits.hpp"

#include "ballistics/pointmass/pointmass.hpp"
#include "common/number_text.hpp"

#include <cmath>
#include <optional>

namespace siacci::card {

namespace {

// Why these numbers: the velocity of an air rifle to the fastest cartridge made, with margin;
// 1 to 2000 grains (a .17 to a 20 mm); a G1/G7 coefficient of a shot pellet to beyond any
// bullet; sizes of real bullets and twists of real barrels; the air from the Antarctic winter
// to a desert noon and from the sea to the highest ranges (300 hPa is above Everest); wind to a
// storm; an angle short of the vertical. The distances keep a card within the engines' sure
// ground (a table of 10 km and 30 s of flight). A click between 0.01 and 10 (mrad or MOA) gives
// at most a few hundred thousand clicks for any angle, far inside an int.
constexpr InputLimit kLimits[] = {
    {LimitedInput::Velocity, "Velocità", 50, 2000, "m/s"},
    {LimitedInput::Weight, "Peso", 1, 2000, "grains"},
    {LimitedInput::Bc, "Coefficiente balistico", 0.01, 2, ""},
    {LimitedInput::BcStepBc, "Coefficiente di un gradino", 0.01, 2, ""},
    {LimitedInput::BcStepVelocity, "Velocità di un gradino", 1, 2000, "m/s"},
    {LimitedInput::Diameter, "Diametro", 1, 30, "mm"},
    {LimitedInput::Length, "Lunghezza", 1, 100, "mm"},
    {LimitedInput::Twist, "Passo di rigatura", 3, 60, "pollici per giro"},
    {LimitedInput::SightHeight, "Altezza dell'ottica", 0, 30, "cm"},
    {LimitedInput::Zero, "Distanza di taratura", 1, 2000, "m"},
    {LimitedInput::MaxDistance, "Distanza massima", 1, 10000, "m"},
    {LimitedInput::Increment, "Incremento", 0.1, 10000, "m"},
    {LimitedInput::Temperature, "Temperatura", -60, 70, "°C"},
    {LimitedInput::Pressure, "Pressione", 300, 1200, "hPa"},
    {LimitedInput::Qnh, "Pressione del bollettino", 800, 1100, "hPa"},
    {LimitedInput::Altitude, "Altitudine", -500, 9000, "m"},
    {LimitedInput::Humidity, "Umidità", 0, 100, "%"},
    {LimitedInput::WindSpeed, "Vento", 0, 200, "km/h"},
    {LimitedInput::WindClock, "Direzione del vento", 0, 12, "ore"},
    {LimitedInput::WindAngle, "Direzione del vento", -360, 360, "gradi"},
    {LimitedInput::LookAngle, "Angolo di tiro", -80, 80, "gradi"},
    {LimitedInput::Latitude, "Latitudine", -90, 90, "gradi"},
    {LimitedInput::Azimuth, "Azimut", -360, 360, "gradi"},
    {LimitedInput::ClickMrad, "Valore del click", 0.01, 10, "mrad"},
    {LimitedInput::ClickMoa, "Valore del click", 0.01, 10, "MOA"},
    {LimitedInput::ClickCm, "Valore del click", 0.1, 100, "cm a 100 m"},
    {LimitedInput::ClicksPerTurn, "Click per giro", 0, 1000, ""},
    {LimitedInput::ZeroTemperature, "Temperatura della taratura", -60, 70, "°C"},
    {LimitedInput::ZeroPressure, "Pressione della taratura", 300, 1200, "hPa"},
    {LimitedInput::ZeroHumidity, "Umidità della taratura", 0, 100, "%"},
    {LimitedInput::MinEnergy, "Energia minima", 0, 20000, "J"},
    {LimitedInput::VitalZone, "Zona vitale", 0, 200, "cm"},
    {LimitedInput::AnimalSpeed, "Velocità dell'animale", 0, 100, "km/h"},
    {LimitedInput::AnimalLength, "Lunghezza dell'animale", 0, 5, "m"},
    {LimitedInput::ObservedVelocity, "Velocità osservata", 50, 2000, "m/s"},
    {LimitedInput::ObservedDistance, "Distanza osservata", 1, 5000, "m"},
    {LimitedInput::ObservedClicks, "Click osservati", -10000, 10000, ""},
    {LimitedInput::HitVitalZone, "Zona vitale", 1, 200, "cm"},
    {LimitedInput::SdRange, "Errore della distanza", 0, 100, "m"},
    {LimitedInput::SdRangePct, "Errore della distanza", 0, 50, "%"},
    {LimitedInput::SdWind, "Errore del vento", 0, 50, "km/h"},
    {LimitedInput::SdVelocity, "Scarto della velocità", 0, 100, "m/s"},
    {LimitedInput::SdBc, "Errore del coefficiente", 0, 50, "%"},
    {LimitedInput::SdCone, "Dispersione", 0, 60, "MOA"},
    {LimitedInput::GroupSize, "Rosata di 5 colpi", 0, 100, "MOA"},
    {LimitedInput::HitSamples, "Campioni", 100, 1000000, ""},
    {LimitedInput::MinProbability, "Probabilità minima", 50, 99.9, "%"},
    // One shot: as far as a card reaches with its engines' care; a hunting scope's zoom; a
    // reading on the reticle and the size of the animal it is read on.
    {LimitedInput::ShotDistance, "Distanza del tiro", 1, 5000, "m"},
    {LimitedInput::Magnification, "Ingrandimento", 1, 100, "×"},
    {LimitedInput::ReticleReading, "Lettura sul reticolo", 0.01, 100, ""},
    {LimitedInput::AnimalSize, "Misura dell'animale", 0.05, 5, "m"},
    {LimitedInput::PostTip, "Punta del montante", 0.1, 100, "MOA"},
};

static_assert(std::size(kLimits) == static_cast<std::size_t>(LimitedInput::PostTip) + 1,
              "one limit for every input");

constexpr bool inOrder()
{
    for (std::size_t i = 0; i < std::size(kLimits); ++i)
        if (static_cast<std::size_t>(kLimits[i].input) != i)
            return false;
    return true;
}
static_assert(inOrder(), "the limits in the order of LimitedInput");

std::string number(double value)
{
    return cellText(value, ',');
}

} // namespace

std::span<const InputLimit> inputLimits()
{
    return kLimits;
}

const InputLimit& inputLimit(LimitedInput input)
{
    return kLimits[static_cast<std::size_t>(input)];
}

std::string limitRefusal(LimitedInput input, double value)
{
    const InputLimit& l = inputLimit(input);
    if (std::isfinite(value) && value >= l.low && value <= l.high)
        return {};
    std::string text = std::string(l.caption) + ": deve essere tra " + number(l.low) + " e " + number(l.high);
    if (*l.unit)
        text += std::string(" ") + l.unit;
    return text;
}

std::string limitRefusal(LimitedInput input, const std::optional<double>& value)
{
    return value ? limitRefusal(input, *value) : std::string();
}

bool wholeInput(LimitedInput input)
{
    return input == LimitedInput::ClicksPerTurn;
}

std::string textRefusal(LimitedInput input, std::string_view text, bool optional)
{
    const std::string caption = inputLimit(input).caption;
    std::string typed(text);
    for (std::size_t at = typed.find("\xe2\x88\x92"); at != std::string::npos; at = typed.find("\xe2\x88\x92"))
        typed.replace(at, 3, "-");
    if (typed.find_first_not_of(" \t") == std::string::npos)
        return optional ? std::string() : caption + ": manca il valore";
    // The whole text must be the number: "8oo" is no velocity of 8 m/s.
    const std::optional<double> value = wholeNumber(virgola(typed));
    if (!value)
        return caption + ": scrivi un numero";
    if (std::string refusal = limitRefusal(input, *value); !refusal.empty())
        return refusal;
    if (wholeInput(input) && *value != std::floor(*value))
        return caption + ": deve essere un numero intero";
    return {};
}

bool incompleteNumber(std::string_view text)
{
    // Blanks around, a sign, digits with one comma or point, an exponent's letter and sign: the
    // prefix of a number that does not read as one yet.
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (text.substr(i, 3) == "\xe2\x88\x92")
        i += 3;
    else if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
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

std::string bcStepsRefusal(std::span<const BcStepText> steps)
{
    if (steps.size() > pointmass::kMaxBcSteps)
        return "Coefficienti a gradini: al più " + std::to_string(pointmass::kMaxBcSteps) + " gradini";
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (std::string r = limitRefusal(LimitedInput::BcStepBc, steps[i].bc); !r.empty())
            return r;
        if (std::string r = limitRefusal(LimitedInput::BcStepVelocity, steps[i].fromVelocity_ms); !r.empty())
            return r;
        for (std::size_t j = 0; j < i; ++j)
            if (steps[j].fromVelocity_ms == steps[i].fromVelocity_ms)
                return "Coefficienti a gradini: due gradini partono dalla stessa velocità (" +
                       number(steps[i].fromVelocity_ms) + " m/s)";
    }
    return {};
}

} // namespace siacci::card

#include "cli/true.hpp"

#include "armoury/truing.hpp"
#include "cli/card_options.hpp"
#include "cli/card_sources.hpp"
#include "cli/text_output.hpp"
#include "common/float_text.hpp"
#include "common/number_text.hpp"

#include <charconv>
#include <cmath>
#include <optional>
#include <ostream>

namespace siacci::cli {
namespace {

using namespace siacci::armoury;

constexpr std::string_view kUsage =
    "true --observed-velocity V@D | --observed-clicks K@D [--solve velocity|bc]\n"
    "      <le opzioni del cartellino>  la verifica sul campo: il coefficiente o la velocità\n"
    "      che danno quanto osservato";

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\n"
        << "Osservazione (una sola):\n"
           "  --observed-velocity V@D  velocità V (m/s) misurata a D metri: il coefficiente\n"
           "                           (G1 o G7), o il moltiplicatore della curva per i\n"
           "                           coefficienti a gradini e la tabella misurata\n"
           "  --observed-clicks K@D    K click del valore di --click dati in su dallo zero per\n"
           "                           colpire a D metri lungo la linea di mira (negativo: in\n"
           "                           giù; anche decimale): la velocità alla bocca\n"
           "  --solve velocity|bc      con --observed-clicks, che cosa ricavare (predefinito:\n"
           "                           la velocità)\n"
           "\nOpzioni del cartellino:\n"
        << cardOptionsUsage()
        << "  --rifle ARMA --load CARICA [--armoury FILE]  l'arma e la carica dell'armeria\n"
           "\nUscita: il valore trovato; con --format json un oggetto con \"bc\", \"bc_multiplier\"\n"
           "o \"velocity_ms\" e \"previous\" (il valore di partenza).\n"
           "Stato di uscita: 0 trovato, 2 uso errato, 3 nessun valore plausibile (messaggio su\n"
           "stderr).\n";
}

// "V@D" with both numbers (a comma may stand for the point).
std::optional<std::pair<double, double>> observation(const std::string& text)
{
    const std::size_t at = text.find('@');
    if (at == std::string::npos)
        return std::nullopt;
    const auto value = readNumber(text.substr(0, at));
    const auto distance = readNumber(text.substr(at + 1));
    if (!value || !distance)
        return std::nullopt;
    return std::make_pair(*value, *distance);
}

const char* jsonKey(TruedQuantity q)
{
    switch (q) {
    case TruedQuantity::Bc: return "bc";
    case TruedQuantity::BcMultiplier: return "bc_multiplier";
    case TruedQuantity::Velocity: return "velocity_ms";
    }
    return "bc";
}

} // namespace

int runTrue(const Args& given, std::ostream& out, std::ostream& err)
{
    Args args = given;
    const CardSourceResult source = expandCardSources(args);
    if (source.status != kExitOk)
        return reportSourceFailure(source, "true", err);
    std::optional<std::string> velocitySeen, clicksSeen, solve;
    const ExtraOptionHandler ours = [&](const Args& a, std::size_t& i, std::string& error) {
        std::optional<std::string>* slot = a[i] == "--observed-velocity" ? &velocitySeen
                                           : a[i] == "--observed-clicks" ? &clicksSeen
                                           : a[i] == "--solve"           ? &solve
                                                                         : nullptr;
        if (!slot)
            return false;
        if (i + 1 >= a.size()) {
            error = "manca il valore di " + a[i];
            return false;
        }
        *slot = a[++i];
        return true;
    };
    std::string error;
    auto options = parseCardOptions(args, error, ours);
    if (options && options->help) {
        printHelp(out);
        return kExitOk;
    }
    if (options && velocitySeen.has_value() == clicksSeen.has_value())
        error = "dai una sola osservazione: --observed-velocity V@D oppure --observed-clicks K@D";
    else if (options && solve && (*solve != "velocity" && *solve != "bc"))
        error = "valore non valido per --solve: \"" + *solve + "\" (velocity o bc)";
    else if (options && solve && velocitySeen)
        error = "--solve vale solo con --observed-clicks";
    const auto seen = velocitySeen ? observation(*velocitySeen) : clicksSeen ? observation(*clicksSeen) : std::nullopt;
    if (options && error.empty() && !seen)
        error = "l'osservazione si scrive VALORE@DISTANZA, per esempio 590@300";
    if (!options || !error.empty()) {
        err << "siacci-cli true: " << error << "\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    if (source.patch)
        source.patch(*options);
    if (const std::string refusal = cardInputRefusal(*options); !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    if (const std::string refusal = loadCardFiles(*options); !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }

    const std::pair<double, double> observed = seen.value_or(std::pair<double, double>{});
    for (const std::string& refusal :
         {card::limitRefusal(velocitySeen ? card::LimitedInput::ObservedVelocity : card::LimitedInput::ObservedClicks,
                             observed.first),
          card::limitRefusal(card::LimitedInput::ObservedDistance, observed.second)})
        if (!refusal.empty()) {
            err << refusal << ".\n";
            return kExitRefused;
        }
    TruingShot shot;
    shot.bullet = options->bullet;
    shot.conditions = options->conditions;
    shot.zeroing = options->zeroing;
    shot.click = options->click;
    shot.engine = options->engine == CardEngine::Siacci ? TruingEngine::Siacci : TruingEngine::PointMass;
    TruingResult result;
    if (velocitySeen)
        result = trueFromVelocity(shot, {observed.first, observed.second});
    else if (solve == "bc")
        result = trueBcFromCorrection(shot, {observed.first, CorrectionUnit::Clicks, observed.second});
    else
        result = trueVelocityFromCorrection(shot, {observed.first, CorrectionUnit::Clicks, observed.second});
    if (!result.ok()) {
        err << result.message << "\n";
        return kExitRefused;
    }
    if (options->format == CardFormat::Json) {
        out << "{\"" << jsonKey(result.quantity) << "\": " << jsonNumber(result.solved)
            << ", \"previous\": " << jsonNumber(result.previous) << "}\n";
        return kExitOk;
    }
    const int decimals = result.quantity == TruedQuantity::Velocity ? 1 : 4;
    out << roundedText(result.solved, decimals, options->decimal) << "\n";
    return kExitOk;
}

const Command trueCommand{"true", kUsage, &runTrue};

} // namespace siacci::cli

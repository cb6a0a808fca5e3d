// siacci-cli convert: one conversion key of the calculator applied to a value, printed as the
// window's `Label4` shows it (a space before a number that is not negative).
#include "calc/calculator.hpp"
#include "cli/command.hpp"
#include "common/number_text.hpp"

#include <cctype>
#include <optional>
#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kUsage =
    "convert I VALUE\n"
    "      il tasto di conversione I della calcolatrice applicato a VALUE: 0 Inches/Centimetri,\n"
    "      1 Centimetri/Inches, 2 Feet/Metri, 3 Metri/Feet, 4 Yards/Metri, 5 Metri/Yards,\n"
    "      6 Miles/Kilometri, 7 Kilometri/Miles, 8 Grains/Grammi, 9 Grammi/Grains,\n"
    "      10 F.Pounds/Kgram., 11 Kgram./F.Pounds, 12 Celsius/Fahren., 13 Fahren./Celsius;\n"
    "      la virgola di VALUE vale come punto.";

// The key index: a whole number written with digits only.
std::optional<int> keyIndex(const std::string& text)
{
    if (text.empty() || text.size() > 2)
        return std::nullopt;
    int index = 0;
    for (const char ch : text) {
        if (!std::isdigit(static_cast<unsigned char>(ch)))
            return std::nullopt;
        index = index * 10 + (ch - '0');
    }
    if (!conversionKey(index))
        return std::nullopt;
    return index;
}

int runConvert(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << "Uso: siacci-cli " << kUsage << "\n";
        return kExitOk;
    }
    if (args.size() != 2) {
        err << (args.size() < 2 ? "siacci-cli convert: servono il tasto I e il valore\n"
                                : "siacci-cli convert: troppi argomenti: servono solo il tasto I "
                                  "e il valore\n");
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    const auto index = keyIndex(args[0]);
    if (!index) {
        err << "siacci-cli convert: il tasto \"" << args[0] << "\" non esiste (da 0 a 13)\n";
        return kExitUsage;
    }
    const auto value = wholeNumber(virgola(args[1]));
    if (!value) {
        err << "siacci-cli convert: \"" << args[1] << "\" non è un numero\n";
        return kExitUsage;
    }
    const auto text = conversionText(*index, *value);
    if (!text) {
        err << "siacci-cli convert: " << kTooLargeText << "\n";
        return kExitRefused;
    }
    out << *text << "\n";
    return kExitOk;
}

} // namespace

const Command convertCommand{"convert", kUsage, &runConvert};

} // namespace siacci::cli

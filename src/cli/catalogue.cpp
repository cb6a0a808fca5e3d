// siacci-cli catalogue [VOCE]: the built-in cartridge catalogue, tab-separated, no header line.
//   without VOCE: one line per menu item: menu, submenu, item name, caption, number of loads;
//   with VOCE:    one line per load in button order: button, caption, description, velocity
//                 (m/s), weight (grains), ballistic coefficient and, for the terminal loads,
//                 diameter (mm), X, Y, Z, D, RSP factor, PIR factor.
// Captions are written as the menus and buttons show them, trailing blanks included.

#include "catalogue/catalogue.hpp"
#include "cli/command.hpp"
#include "common/number_text.hpp"

#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kSynopsis = "catalogue [VOCE]";
constexpr std::string_view kUsage = "catalogue [VOCE]      le voci del catalogo; con VOCE, le sue palle";

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kSynopsis << "\n\n"
           "Senza VOCE: una riga per voce dei menu, con menu, sottomenu, nome della voce,\n"
           "titolo e numero di palle.\n"
           "Con VOCE (per esempio cinquesei1, tre11, RS38b): una riga per palla, nell'ordine\n"
           "dei pulsanti, con pulsante, titolo, descrizione, velocità (m/s), peso (grani),\n"
           "coefficiente balistico e, per le palle del menu R.I.I.-R.S.P.-P.I.R., diametro (mm),\n"
           "X, Y, Z, D, fattore R.S.P. e fattore P.I.R.\n"
           "Campi separati da tabulazioni, senza riga di intestazione.\n";
}

void printItems(std::ostream& out)
{
    for (const CatalogueMenu& menu : catalogueMenus())
        for (const CartridgeFamily& family : menu.families)
            for (const CartridgePreset& preset : family.presets)
                out << menu.title << '\t' << family.caption << '\t' << preset.itemName << '\t'
                    << preset.caption << '\t' << preset.loads.size() << '\n';
}

void printOptional(std::ostream& out, const std::optional<double>& value)
{
    out << '\t';
    if (value)
        out << cellText(*value);
}

void printLoads(std::ostream& out, const CartridgePreset& preset)
{
    int button = 0;
    for (const BulletLoad& load : preset.loads) {
        out << ++button << '\t' << load.caption << '\t' << load.description << '\t'
            << cellText(load.velocity_ms) << '\t' << cellText(load.weight_gr) << '\t' << cellText(load.bc);
        if (load.terminal != TerminalCoefficients{}) {
            const TerminalCoefficients& t = load.terminal;
            for (const auto* value : {&t.diameter_mm, &t.x, &t.y, &t.z, &t.d, &t.rspFactor, &t.pirFactor})
                printOptional(out, *value);
        }
        out << '\n';
    }
}

int runCatalogue(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        printHelp(out);
        return kExitOk;
    }
    if (args.size() > 1 || (args.size() == 1 && args[0].starts_with("-"))) {
        err << "siacci-cli catalogue: argomenti non validi\nUso: siacci-cli " << kSynopsis << '\n';
        return kExitUsage;
    }
    if (args.empty()) {
        printItems(out);
        return kExitOk;
    }
    const CartridgePreset* preset = findPreset(args[0]);
    if (!preset) {
        err << "siacci-cli catalogue: voce \"" << args[0] << "\" non presente nel catalogo\n";
        return kExitRefused;
    }
    printLoads(out, *preset);
    return kExitOk;
}

} // namespace

const Command catalogueCommand{"catalogue", kUsage, &runCatalogue};

} // namespace siacci::cli

#include "card/reticle_drawing.hpp"
#include "card/shot_solution.hpp"
#include "cli/card.hpp"
#include "cli/card_at.hpp"
#include "cli/text_output.hpp"
#include "common/number_text.hpp"
#include "files/careful_write.hpp"

#include <ostream>
#include <string>
#include <vector>

// siacci-cli reticle: the generic reticles, and the holds of a card's distances on one of them,
// as lines or drawn into an SVG file.
namespace siacci::cli {

namespace {

constexpr std::string_view kUsage =
    "reticle --list | reticle NOME <le opzioni del cartellino> [--magnification Y ...] [--svg FILE]\n"
    "      i reticoli, o dove mirare per ogni distanza del cartellino su quel reticolo";

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\n"
        << "  --list              un reticolo per riga: nome, descrizione, unità, piano focale,\n"
           "                      ingrandimento di taratura (0 per il primo piano)\n"
           "  --svg FILE          scrive il reticolo con i punti di mira di ogni distanza\n"
           "Senza --svg: una riga per distanza del cartellino: distanza, mira in verticale e di\n"
           "lato nelle tacche del reticolo all'ingrandimento in uso (+ in su, + a destra), e la\n"
           "tacca da mettere sul bersaglio.\n\n"
        << cardOptionsUsage() << shotAtOptionsUsage()
        << "\nStato di uscita: 0 fatto, 2 uso errato, 3 dati rifiutati (messaggio su stderr).\n";
}

int listReticles(std::ostream& out)
{
    for (const card::Reticle& r : card::reticles())
        writeCells(out,
                   std::vector<std::string>{r.key, r.caption, r.unit == card::ReticleUnit::Moa ? "moa" : "mrad",
                    r.plane == card::FocalPlane::First ? "first" : "second",
                    cellText(r.calibratedMagnification)},
                   CellFormat::Tsv);
    return kExitOk;
}

int runReticle(const Args& given, std::ostream& out, std::ostream& err)
{
    if (!given.empty() && given[0] == "--list")
        return given.size() == 1 ? listReticles(out) : (err << "siacci-cli reticle: --list va da solo\n", kExitUsage);
    if (!given.empty() && (given[0] == "--help" || given[0] == "-h")) {
        printHelp(out);
        return kExitOk;
    }
    if (given.empty() || given[0].rfind("--", 0) == 0) {
        err << "siacci-cli reticle: manca il nome del reticolo\nUso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    ShotAtOptions at;
    at.reticle = given[0];
    Args args(given.begin() + 1, given.end());
    std::string error;
    const auto options = parseCardOptions(args, error, shotAtOptionHandler(at));
    if (!options) {
        err << "siacci-cli reticle: " << error << "\nUso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    if (options->help) {
        printHelp(out);
        return kExitOk;
    }
    for (const std::string& refusal : {cardInputRefusal(*options), shotAtRefusal(at)})
        if (!refusal.empty()) {
            err << refusal << "\n";
            return kExitRefused;
        }
    CardOptions loaded = *options;
    if (const std::string refusal = loadCardFiles(loaded); !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    const card::CardSheet sheet = card::computeCard(cardSetupOf(loaded, {}));
    if (!sheet.ok()) {
        err << sheet.refusal << "\n";
        return kExitRefused;
    }
    const card::ScopeSetup scope = scopeOf(at);
    const card::Reticle reticle = card::scopeReticle(scope).reticle;
    std::vector<card::MarkedHold> holds;
    for (const card::CardRow& row : sheet.rows) {
        if (!(row.row.distance_m > 0))
            continue;
        const card::Hold h = card::holdFor(reticle, scope.magnification, row.correction);
        holds.push_back({roundedText(row.row.distance_m, 0), h.elevation, h.windage});
        if (at.svgPath.empty())
            writeCells(out,
                       std::vector<std::string>{roundedText(row.row.distance_m, 1, options->decimal),
                        roundedText(h.elevation, 2, options->decimal), roundedText(h.windage, 2, options->decimal),
                        h.text},
                       CellFormat::Tsv);
    }
    if (at.svgPath.empty())
        return kExitOk;
    const std::string svg = card::reticleSvg(card::drawReticle(reticle, scope.magnification, holds), 480);
    const CarefulWriteResult written = fileWriter().write(at.svgPath, svg);
    if (!written) {
        err << "siacci-cli reticle: il file \"" << at.svgPath << "\" non si scrive (" << writeFailureText(written)
            << ")\n";
        return kExitRefused;
    }
    return kExitOk;
}

} // namespace

const Command reticleCommand{"reticle", kUsage, &runReticle};

} // namespace siacci::cli

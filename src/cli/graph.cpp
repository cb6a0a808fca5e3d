// siacci-cli graph: the points of the trajectory graph out to 1000 m, as the graph window
// plots them.
#include "cli/command.hpp"
#include "cli/shot_options.hpp"
#include "common/float_text.hpp"
#include "graph/graph_points.hpp"

#include <charconv>
#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kUsage =
    "graph --velocity V --bc B --increment I [altre opzioni del tiro]\n"
    "      i punti del grafico fino a 1000 m: distanza (decimetri) e altezza (decimi di mm)";

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\n"
        << "Una riga per punto, dall'origine della linea di mira: la distanza in decimetri e\n"
           "l'altezza sulla linea di mira in decimi di millimetro, separate da uno spazio.\n"
           "Il grafico si calcola in unità metriche; --max non ha effetto.\n\nOpzioni del tiro:\n"
        << shotOptionsUsage()
        << "\nStato di uscita: 0 fatto, 2 uso errato, 3 dati rifiutati (messaggio su stderr).\n";
}

// A stored single-precision value in its shortest plain decimal form.
std::string stored(float value)
{
    if (value == 0)
        return "0";
    char buffer[64];
    const auto result = toChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return result.ec == std::errc() ? std::string(buffer, result.ptr) : "0";
}

int runGraph(const Args& args, std::ostream& out, std::ostream& err)
{
    std::string error;
    const auto options = parseShotOptions(args, error);
    if (!options) {
        err << "siacci-cli graph: " << error << "\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    if (options->help) {
        printHelp(out);
        return kExitOk;
    }

    TableMode mode = TableMode::Metric;
    ShotInput shot;
    std::string refusal = resolveShot(*options, mode, shot);
    if (refusal.empty() && mode == TableMode::Imperial)
        refusal = "Il grafico si calcola solo con i dati in unità metriche.";
    if (refusal.empty())
        refusal = windowRefusal(mode, shot);
    if (!refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }

    GraphState state;
    const GraphRun outcome = europagraphic(shot, state);
    if (outcome == GraphOutcome::Refused) {
        err << refusalMessage(tableRefusal(outcome.refusal), mode) << "\n";
        return kExitRefused;
    }
    if (outcome == GraphOutcome::NoBand || outcome == GraphOutcome::InvalidInput) {
        err << "Con questi dati non si può calcolare la traiettoria.\n";
        return kExitRefused;
    }
    if (outcome == GraphOutcome::Truncated)
        err << "Incremento troppo piccolo: il grafico tiene i primi 499 punti.\n";
    LoadGraphPoints(state);
    for (int i = 1; i <= state.N; ++i)
        out << stored(state.GraphPoints[i].distance_dm) << ' '
            << stored(state.GraphPoints[i].height_tenthMm) << '\n';
    return kExitOk;
}

} // namespace

const Command graphCommand{"graph", kUsage, &runGraph};

} // namespace siacci::cli

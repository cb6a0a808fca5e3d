// siacci-cli bc: the ballistic coefficient from two chronograph readings, as the window `CB`
// computes it.
#include "bc/bc_search.hpp"
#include "cli/command.hpp"
#include "common/number_text.hpp"

#include <optional>
#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kUsage =
    "bc --v1 V1 --v2 V2 --distance D  il coefficiente balistico da due velocità";

constexpr std::string_view kHelp =
    "Uso: siacci-cli bc --v1 V1 --v2 V2 --distance D\n"
    "Il coefficiente balistico dalla prima velocità V1 e dalla seconda V2 (metri/sec.),\n"
    "misurate a D metri l'una dall'altra, in atmosfera standard (0 metri, 15 gradi).\n"
    "I numeri si leggono come nella finestra: la virgola vale come punto.\n";

int runBc(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kHelp;
        return kExitOk;
    }
    std::optional<std::string> v1, v2, distance;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string>* slot = args[i] == "--v1"         ? &v1
                                           : args[i] == "--v2"       ? &v2
                                           : args[i] == "--distance" ? &distance
                                                                     : nullptr;
        if (!slot) {
            err << "siacci-cli bc: opzione sconosciuta \"" << args[i] << "\"\n";
            err << kHelp;
            return kExitUsage;
        }
        if (i + 1 >= args.size()) {
            err << "siacci-cli bc: manca il valore di " << args[i] << "\n";
            return kExitUsage;
        }
        *slot = args[++i];
    }
    if (!v1 || !v2 || !distance) {
        err << "siacci-cli bc: servono --v1, --v2 e --distance\n";
        err << kHelp;
        return kExitUsage;
    }
    const BcResult result = searchBc({readField(*v1), readField(*v2), readField(*distance)});
    if (result.refusal != BcRefusal::None) {
        err << bcRefusalText(result.refusal) << "\n";
        return kExitRefused;
    }
    out << cellText(result.coefficient()) << "\n";
    return kExitOk;
}

} // namespace

const Command bcCommand{"bc", kUsage, &runBc};

} // namespace siacci::cli

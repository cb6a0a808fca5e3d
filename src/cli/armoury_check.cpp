// siacci-cli armoury: an armoury document checked by the program's own rules and printed again
// in the program's own form, or refused with the reason. The phone page hands its document here
// before it stores or exports it, so that what it writes always reads on the desktop.
#include "armoury/armoury_document.hpp"
#include "cli/command.hpp"
#include "files/careful_read.hpp"

#include <ostream>

namespace siacci::cli {
namespace {

constexpr std::string_view kUsage =
    "armoury --document JSON | --file FILE\n"
    "      il documento dell'armeria controllato con le regole del programma e riscritto nella\n"
    "      sua forma; rifiutato (stato 3) con il motivo quando non lo è.";

int runArmoury(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << "Uso: siacci-cli " << kUsage << "\n";
        return kExitOk;
    }
    if (args.size() != 2 || (args[0] != "--document" && args[0] != "--file")) {
        err << "siacci-cli armoury: serve --document JSON oppure --file FILE\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    std::string text = args[1];
    if (args[0] == "--file") {
        CarefulReadResult read = readFileCarefully(args[1], armoury::kArmouryMaxBytes);
        if (!read) {
            err << "L'armeria \"" << args[1] << "\" non si legge: "
                << (read.status == CarefulReadStatus::TooLarge ? "il file è troppo grande per essere un'armeria"
                                                                : readFailureText(read))
                << ".\n";
            return kExitRefused;
        }
        text = std::move(read.bytes);
    }
    const armoury::NormalisedDocument document = armoury::normaliseDocumentJson(text);
    if (!document.problem.empty()) {
        const std::string& p = document.problem;
        err << "L'armeria non si legge: " << p << (p.ends_with('.') ? "" : ".") << "\n";
        return kExitRefused;
    }
    out << document.json;
    return kExitOk;
}

} // namespace

const Command armouryCommand{"armoury", kUsage, &runArmoury};

} // namespace siacci::cli

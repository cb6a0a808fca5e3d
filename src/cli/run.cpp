#include "cli/command.hpp"

#include "common/version.hpp"

#include <ostream>

namespace siacci::cli {

const std::vector<const Command*>& commands()
{
    static const std::vector<const Command*> all{
        &tableCommand,
        &cardCommand,
        &reticleCommand,
        &trueCommand,
        &hitCommand,
        &graphCommand,
#ifdef SIACCI_CLI_PDF
        &pdfCommand,
#endif
        &bcCommand,
        &catalogueCommand,
        &convertCommand,
        &armouryCommand,
    };
    return all;
}

namespace {

void printHelp(std::ostream& out)
{
    out << "siacci-cli: le tabelle di tiro di Siacci dalla riga di comando.\n\nUso:\n";
    for (const Command* c : commands())
        out << "  siacci-cli " << c->usage << "\n";
    out << "  siacci-cli --version\n"
           "\nsiacci-cli COMANDO --help mostra le opzioni del comando.\n";
}

} // namespace

int runCli(const Args& args, std::ostream& out, std::ostream& err)
{
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(args.empty() ? err : out);
        return args.empty() ? kExitUsage : kExitOk;
    }
    if (args[0] == "--version" && args.size() == 1) {
        out << "siacci-cli " << kVersion << "\n";
        return kExitOk;
    }
    for (const Command* c : commands()) {
        if (c->name == args[0]) {
            const Args rest(args.begin() + 1, args.end());
            return c->run(rest, out, err);
        }
    }
    err << "siacci-cli: comando sconosciuto \"" << args[0] << "\"\n";
    printHelp(err);
    return kExitUsage;
}

} // namespace siacci::cli

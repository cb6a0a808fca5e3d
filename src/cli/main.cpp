#include "cli/command.hpp"
#include "cli/output.hpp"

#include <iostream>

namespace siacci::cli {

std::vector<Command>& registry()
{
    static std::vector<Command> all;
    return all;
}

bool registerCommand(const Command& command)
{
    registry().push_back(command);
    return true;
}

const std::vector<Command>& commands()
{
    return registry();
}

namespace {

void printHelp(std::ostream& out)
{
    out << "siacci-cli: le tabelle di tiro di Siacci dalla riga di comando.\n\nUso:\n";
    for (const auto& c : commands())
        out << "  siacci-cli " << c.usage << "\n";
    out << "\nsiacci-cli COMANDO --help mostra le opzioni del comando.\n";
}

} // namespace
} // namespace siacci::cli

int main(int argc, char** argv)
{
    using namespace siacci::cli;
    Args args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? kExitUsage : kExitOk;
    }
    for (const auto& c : commands()) {
        if (c.name == args[0]) {
            const Args rest(args.begin() + 1, args.end());
            return finishOutput(c.run(rest, std::cout, std::cerr), std::cout, std::cerr);
        }
    }
    std::cerr << "siacci-cli: comando sconosciuto \"" << args[0] << "\"\n";
    printHelp(std::cerr);
    return kExitUsage;
}

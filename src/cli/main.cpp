#include "cli/command.hpp"
#include "cli/output.hpp"
#ifdef SIACCI_CLI_QT_TOOL
#include "cli/tool_launcher.hpp"
#endif

#include <iostream>

int main(int argc, char** argv)
{
    using namespace siacci::cli;
    const Args args(argv + 1, argv + argc);
#ifdef SIACCI_CLI_QT_TOOL
    if (needsQtTool(args))
        return runQtTool(argv);
#endif
    return finishOutput(runCli(args, std::cout, std::cerr), std::cout, std::cerr);
}

#include "cli/command.hpp"
#include "cli/output.hpp"

#include <iostream>

int main(int argc, char** argv)
{
    using namespace siacci::cli;
    const Args args(argv + 1, argv + argc);
    return finishOutput(runCli(args, std::cout, std::cerr), std::cout, std::cerr);
}

#include "cli/command.hpp"

#include <iostream>

int main(int argc, char** argv)
{
    const siacci::cli::Args args(argv + 1, argv + argc);
    return siacci::cli::runCli(args, std::cout, std::cerr);
}

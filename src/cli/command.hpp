#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// siacci-cli is a set of subcommands; each file of this folder registers its own.
// Exit status: 0 done, 2 bad usage, 3 input the program refuses (an Italian message on stderr).
namespace siacci::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRefused = 3;

using Args = std::vector<std::string>;

struct Command {
    std::string_view name;
    std::string_view usage;   // one or more lines for --help, Italian
    int (*run)(const Args& args, std::ostream& out, std::ostream& err);
};

// Adds a subcommand; returns true so that it can initialise a file-scope constant:
//     const bool registered = registerCommand({"table", "...", &runTable});
bool registerCommand(const Command& command);

const std::vector<Command>& commands();

} // namespace siacci::cli

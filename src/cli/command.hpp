#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

// siacci-cli is a set of subcommands, one file each; run.cpp lists them.
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

// The subcommands, each defined in its own file:
//     const Command tableCommand{"table", kUsage, &runTable};
extern const Command tableCommand;      // table.cpp
extern const Command graphCommand;      // graph.cpp
extern const Command pdfCommand;        // qt_pdf.cpp, only in a build with Qt
extern const Command bcCommand;         // bc.cpp
extern const Command catalogueCommand;  // catalogue.cpp
extern const Command convertCommand;    // convert.cpp
extern const Command cardCommand;       // card.cpp
extern const Command trueCommand;       // true.cpp
extern const Command hitCommand;        // hit.cpp
extern const Command armouryCommand;    // armoury_check.cpp
extern const Command reticleCommand;    // reticle.cpp

// Every subcommand of this build, in the order of the help.
const std::vector<const Command*>& commands();

// The whole tool: `args` without the program's name, the output and messages written to `out`
// and `err`; returns the exit status. The WebAssembly build calls it as the native main does.
int runCli(const Args& args, std::ostream& out, std::ostream& err);

} // namespace siacci::cli

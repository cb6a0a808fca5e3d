// siacci-cli without Qt: the everyday commands start at once, linked against the standard
// library alone. What needs Qt (the PDF report, the printed card, the armoury's document) and
// everything that prints the whole help is done by siacci-cli-qt, installed beside it: this
// program replaces itself with that one, with the same arguments, so that the output and the
// exit status are that program's own.
#include "cli/tool_launcher.hpp"

#include "cli/command.hpp"

#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <string_view>

namespace siacci::cli {

bool needsQtTool(const Args& args)
{
    constexpr std::string_view kQtFree[] = {"table", "card",      "true",    "hit",     "graph",  "bc",
                                            "catalogue", "convert", "armoury", "reticle"};
    if (args.empty() || std::find(std::begin(kQtFree), std::end(kQtFree), args[0]) == std::end(kQtFree))
        return true;
    if (args[0] != "card" && args[0] != "true" && args[0] != "hit")
        return false;
    constexpr std::string_view kQtOptions[] = {"--pdf", "--rifle", "--load", "--armoury"};
    return std::any_of(args.begin() + 1, args.end(), [&](const std::string& a) {
        return std::find(std::begin(kQtOptions), std::end(kQtOptions), a) != std::end(kQtOptions);
    });
}

int runQtTool(char** argv)
{
    char self[PATH_MAX];
    const ssize_t size = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = size > 0 ? std::string(self, static_cast<std::size_t>(size)) : std::string();
    path = path.substr(0, path.rfind('/') + 1) + "siacci-cli-qt";
    std::fflush(nullptr);
    execv(path.c_str(), argv);
    std::fprintf(stderr, "siacci-cli: per questo comando serve siacci-cli-qt, che non si trova "
                         "accanto al programma (%s)\n", path.c_str());
    return kExitRefused;
}

} // namespace siacci::cli

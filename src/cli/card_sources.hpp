#pragma once

#include "cli/card_options.hpp"
#include "cli/command.hpp"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// Sources of a whole card given by a few options (a rifle and a load of the armoury). A source
// takes its options out of the command line and stands for the card options they mean, placed
// before the user's own, which then override them.
namespace siacci::cli {

struct CardSourceResult {
    int status = kExitOk;    // kExitUsage or kExitRefused, with the Italian message
    std::string message;
    Args options;            // the card options the source stands for
    // Applied to the parsed options (what no option can say, as a measured drag table); may be
    // empty.
    std::function<void(CardOptions&)> patch;
    // The load's shot-to-shot velocity SD (m/s) when it was measured: the chance of a hit takes
    // it unless the user gives --sd-velocity (no card option carries it).
    std::optional<double> velocitySd_ms;
};

// Takes the options it knows out of `args`; returns an empty result when none was given.
using CardSource = CardSourceResult (*)(Args& args);

// Adds a source to the commands that read card options (card, true); returns true so that it
// can initialise a file-scope constant.
bool registerCardSource(CardSource source);

// Runs every source over `args`. On success `args` holds the sources' options followed by the
// rest, and the result's patch applies every source's patch.
CardSourceResult expandCardSources(Args& args);

// A source's refusal or bad usage on `err`, as `command` reports its own (bad usage prefixed
// with "siacci-cli COMMAND: "); returns the exit status.
int reportSourceFailure(const CardSourceResult& source, std::string_view command,
                        std::ostream& err);

} // namespace siacci::cli

#pragma once

#include "ballistics/tables.hpp"
#include "cli/command.hpp"
#include "common/shot.hpp"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The options that describe one shot, shared by the subcommands that compute one (table,
// graph, pdf). Each number is read as the main window reads its field (virgola, then the plain
// reading: "0,45" is 0.45, "abc" is 0), so the tool behaves as CALCOLA with those texts.
namespace siacci::cli {

// The single values given on the command line; an option not given stays empty.
struct ShotFields {
    std::optional<double> velocity, bc, weight, sight, zero, increment, max, temperature, altitude;
    std::optional<SiteAngle> siteAngle;
    std::optional<double> diameter, x, y, z, d, rsp, pir;
};

// A source of a whole shot given by one option (a catalogue load, a shot file). Sources are
// applied in command-line order before the single values, which then override them.
struct ShotSource {
    std::string_view option;  // e.g. "--load"
    std::string_view usage;   // one help line, Italian, e.g. "--load ITEM:BUTTON  ..."
    // Fills `shot` from the option's value in `mode` (and may change the mode, as a shot file
    // saved in another mode does). Returns an Italian message when the value is refused (the
    // tool then exits 3), or an empty string.
    std::string (*apply)(const std::string& value, TableMode& mode, ShotInput& shot);
};

// The shot sources, each defined in its own file; every subcommand that parses shot options
// takes them all, in the order of shotSources().
extern const ShotSource loadSource;  // load.cpp
extern const ShotSource fileSource;  // file.cpp
const std::vector<const ShotSource*>& shotSources();

struct ShotOptions {
    TableMode mode = TableMode::Metric;
    ShotFields fields;
    // The sources given, in order: the source and the option's value.
    std::vector<std::pair<const ShotSource*, std::string>> sources;
    bool help = false;
};

// Called for an argument that is not a shot option, with `index` at it. Returns false when it
// does not know the option. It may take values by advancing `index` to the last argument it
// used; on a bad value it sets `error` (a usage error).
using ExtraOptionHandler =
    std::function<bool(const Args& args, std::size_t& index, std::string& error)>;

// Parses the shot options: --mode metric|imperial|terminal, --velocity --bc --weight --sight
// --zero --increment --max --temperature --altitude, --site-angle 0|15|30|45|60, the terminal
// set --diameter --x --y --z --d --rsp --pir, the registered sources, and --help. Returns
// nullopt on bad usage, with the reason in `error`.
std::optional<ShotOptions> parseShotOptions(const Args& args, std::string& error,
                                            const ExtraOptionHandler& extra = {});

// The help lines of the shot options (sources included), Italian.
std::string shotOptionsUsage();

// The shot: an empty main window's inputs (every number 0), then the sources in order, then
// the single values. `mode` may be changed by a source. Returns an Italian message when a
// source refuses its value, or an empty string.
std::string resolveShot(const ShotOptions& options, TableMode& mode, ShotInput& shot);

// What the window refuses before a table starts, as an Italian message (empty when none):
// velocity, ballistic coefficient or increment equal to 0, then a velocity outside the window's
// limits (92 to 1371 m/s in metric and terminal mode, 300 to 4499 fps in imperial mode).
std::string windowRefusal(TableMode mode, const ShotInput& shot);

// The shot of a table as CALCOLA would start it: resolveShot, then windowRefusal. Returns the
// first refusal's message, or an empty string when the table may run.
std::string resolveTableShot(const ShotOptions& options, TableMode& mode, ShotInput& shot);

// The table routine of `mode` (europa, america or rscalc) run on `shot`.
TableRun tableOfMode(TableMode mode, const ShotInput& shot, RunKind kind, char decimalSeparator);

} // namespace siacci::cli

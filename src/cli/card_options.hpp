#pragma once

#include "ballistics/pointmass/pointmass.hpp"
#include "card/input_limits.hpp"
#include "cli/command.hpp"
#include "cli/shot_options.hpp"

#include <optional>
#include <string>
#include <utility>

// The options of a range card (siacci-cli card and the commands built on it): the bullet, the
// air, the wind, the slope, the earth, the zero, the table, the scope's click and the output.
// Numbers are read as the window reads them, a comma standing for the point ("0,462"), but a text
// that is not a number is bad usage, not 0.
namespace siacci::cli {

enum class CardEngine { PointMass, Siacci };
enum class CardFormat { Tsv, Csv, Json };

// The numbers as given on the command line; an option not given stays empty.
struct CardFields {
    std::optional<double> velocity, bc, weight, diameter, length, twist, sight, zero, max,
        increment, temperature, pressure, altitude, qnh, humidity, wind, windClock, windAngle,
        angle, latitude, azimuth, zeroTemperature, zeroPressure, zeroHumidity;
};

struct CardOptions {
    CardFields fields;                  // what the numbers were; the structs below hold the card
    pointmass::Bullet bullet;
    pointmass::Conditions conditions;
    pointmass::Zeroing zeroing;
    pointmass::TableSpan span;
    pointmass::ClickValue click;
    CardEngine engine = CardEngine::PointMass;
    CardFormat format = CardFormat::Tsv;
    bool dragGiven = false;             // --drag was given
    bool headings = false;
    char decimal = '.';
    std::optional<std::string> dragTableFile; // read by loadCardFiles into bullet.dragTable
    bool help = false;
    // The click as typed (--click 2cm: 2 and ClickCm), for its limits.
    std::optional<std::pair<double, card::LimitedInput>> clickTyped;
};

// Reads the card options:
//   --engine pointmass|siacci --drag G1|G7 --drag-table FILE --velocity V_ms --bc B
//   --bc-step B@V_ms (repeatable) --weight GRAINS --diameter MM --length MM --twist INCHES
//   --sight CM --zero M --max M --increment M --temperature C --pressure HPA | --altitude M
//   [--qnh HPA] --humidity PCT --wind KMH --wind-clock H | --wind-angle DEG --angle DEG
//   --latitude DEG --azimuth DEG --click 0.1mrad|0.25moa|0.125moa|1cm|VALUEmrad|VALUEmoa|VALUEcm
//   --zero-temperature C --zero-pressure HPA --zero-humidity PCT --format tsv|csv|json
//   --headings --decimal SEP --help.
// The numbers go to `fields`, the words straight to the card. An argument it does not know goes
// to `extra` (as with parseShotOptions). Returns nullopt on bad usage (a missing or unreadable
// value, an unknown option), with the reason, Italian, in `error`.
std::optional<CardOptions> parseCardArguments(const Args& args, std::string& error,
                                              const ExtraOptionHandler& extra = {});

// Checks the fields together and builds the card from them. A command that fills some fields
// itself (a saved rifle's load, say) does so between parseCardArguments and this. Defaults:
// point mass, G1, ICAO air (15 C, 1013.25 hPa, 0 %) whatever the altitude, still air (a wind
// without a direction blows from 3 o'clock), level, click 0.1 mrad, zero 100 m, every 100 m to
// 1000 m, sight 4 cm; the zero in the shot's own air unless a --zero-* option is given. Returns
// false on bad usage (--velocity, --weight or --bc missing, options that exclude each other),
// with the reason in `error`.
bool completeCardOptions(CardOptions& options, std::string& error);

// parseCardArguments, then (unless --help) completeCardOptions.
std::optional<CardOptions> parseCardOptions(const Args& args, std::string& error,
                                            const ExtraOptionHandler& extra = {});

// The first number of the card outside its plausible limits (card/input_limits.hpp), or a
// stepped coefficient that cannot be used: the Italian refusal (the tool exits 3), else "".
std::string cardInputRefusal(const CardOptions& options);

// Reads what the options name in files (the measured drag table). Returns an Italian message
// when a file cannot be read or is not a drag table (the tool then exits 3), else "".
std::string loadCardFiles(CardOptions& options);

// The card of the chosen engine.
pointmass::Result computeCard(const CardOptions& options);

// The help lines of the card options, Italian.
std::string cardOptionsUsage();

} // namespace siacci::cli

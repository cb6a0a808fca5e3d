// The range card's options: any argument list (one argument a line) is bad usage, a refusal or
// a card, never a crash, an overflow or a hang; every number of an accepted card is finite and
// its computation is bounded (libFuzzer's -timeout catches a crawl).
#include "cli/card_options.hpp"
#include "fuzz_check.hpp"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using siacci::fuzz::check;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size > 4096)
        return 0;
    siacci::cli::Args args;
    std::string_view rest = bytes;
    while (!rest.empty()) {
        const std::size_t eol = rest.find('\n');
        args.emplace_back(rest.substr(0, eol));
        rest = eol == std::string_view::npos ? std::string_view{} : rest.substr(eol + 1);
    }
    std::string error;
    auto options = siacci::cli::parseCardOptions(args, error);
    check(options.has_value() || !error.empty(), "bad usage without a reason", bytes);
    if (!options || options->help || options->dragTableFile)
        return 0;
    if (const std::string refusal = siacci::cli::cardInputRefusal(*options); !refusal.empty()) {
        check(refusal.back() == '.' && refusal.find("..") == std::string::npos,
              "a refusal that is not one sentence", refusal);
        return 0;
    }
    const siacci::pointmass::Result result = siacci::cli::computeCard(*options);
    if (!result.ok()) {
        check(!siacci::pointmass::refusalText(result.refusal).empty(), "a refusal without a text", bytes);
        return 0;
    }
    check(!result.trajectory.rows.empty(), "an accepted card without rows", bytes);
    for (const siacci::pointmass::Row& row : result.trajectory.rows)
        for (const double v : {row.distance_m, row.velocity_ms, row.mach, row.time_s, row.energy_J,
                               row.path_cm, row.drop_cm, row.windage_cm})
            check(std::isfinite(v), "a row holds a number that is not finite", bytes);
    return 0;
}

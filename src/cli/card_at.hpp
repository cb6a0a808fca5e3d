#pragma once

#include "card/reticle.hpp"
#include "cli/card_extras.hpp"
#include "cli/card_options.hpp"

#include <iosfwd>
#include <optional>
#include <string>

// What `siacci-cli card --at D` and `siacci-cli reticle` add to the card's options: the one
// distance of the shot, the scope whose reticle gives the hold, a crossing animal for the lead,
// and the reticle drawn into an SVG file.
namespace siacci::cli {

struct ShotAtOptions {
    std::optional<double> at_m;                  // --at D
    std::optional<std::string> reticle;          // --reticle NAME
    std::optional<card::FocalPlane> plane;       // --focal-plane first|second
    std::optional<double> calibratedMagnification, magnification, postTip;
    std::optional<std::vector<double>> marks;    // --marks "1 2 3,5"
    std::optional<card::ReticleUnit> marksUnit;  // --marks-unit mrad|moa
    std::optional<double> animalSpeed_kmh, animalLength_m;
    std::string svgPath;                         // --svg FILE (siacci-cli reticle)
};

ExtraOptionHandler shotAtOptionHandler(ShotAtOptions& options);
std::string shotAtOptionsUsage();

// The scope the options describe (the reticle's own plane and calibration unless given), and
// the Italian refusal of its numbers, or "".
card::ScopeSetup scopeOf(const ShotAtOptions& options);
std::string shotAtRefusal(const ShotAtOptions& options);

// The solution at --at in the card's format: one TSV/CSV line of the card's columns, or one JSON
// object with the row's keys, the wind bracket, the lead and, with --reticle, the hold.
// Exit 0, or 3 with the refusal on `err`.
int writeShotAt(std::ostream& out, std::ostream& err, const CardOptions& options,
                const CardExtraOptions& extra, const ShotAtOptions& at);

} // namespace siacci::cli

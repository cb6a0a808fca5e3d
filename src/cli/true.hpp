#pragma once

#include "cli/command.hpp"

#include <iosfwd>

// siacci-cli true: truing from the range. From a velocity measured at a distance, the ballistic
// coefficient (or the multiplier of a stepped or measured curve); from the correction dialled to
// hit at a distance, the muzzle velocity (or, with --solve bc, the coefficient). The other
// options are the card's (or --rifle and --load of the armoury).
namespace siacci::cli {

// Exit 0 solved, 2 bad usage, 3 no plausible value fits (or velocity and coefficient cannot be
// told apart), with the Italian message on standard error.
int runTrue(const Args& args, std::ostream& out, std::ostream& err);

} // namespace siacci::cli

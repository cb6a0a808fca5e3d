#pragma once

#include <iosfwd>

namespace siacci::cli {

// The end of every command: flushes standard output and, when any of it could not be written
// (a full disk, a closed pipe), says so on `err` and turns the command's status into a failure.
// A script must never take a cut table for a whole one.
int finishOutput(int status, std::ostream& out, std::ostream& err);

} // namespace siacci::cli

#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace siacci::cli {

// The end of every command: flushes standard output and, when any of it could not be written
// (a full disk, a closed pipe), says so on `err` and turns the command's status into a failure.
// A script must never take a cut table for a whole one.
int finishOutput(int status, std::ostream& out, std::ostream& err);

// The value of --decimal: one printable ASCII character, neither a blank, a digit nor a sign (a
// tab or a newline would split the cells of the output, a digit or a sign the numbers). nullopt, with the Italian reason in `error`, for anything else.
std::optional<char> decimalSeparatorOption(const std::string& value, std::string& error);

} // namespace siacci::cli

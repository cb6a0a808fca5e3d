#pragma once

#include "ballistics/pointmass/pointmass.hpp"
#include "cli/card_extras.hpp"
#include "cli/card_options.hpp"
#include "cli/command.hpp"

#include <iosfwd>
#include <string>
#include <vector>

// siacci-cli card: the range card of one shot, row by row, as text for reading (TSV, CSV) or
// JSON for scripts.
namespace siacci::cli {

// The subcommand: parses the card options, computes, prints. Exit 0, 2 (usage) or 3 (refused).
int runCard(const Args& args, std::ostream& out, std::ostream& err);

// What the user must know about a computed card, Italian: a bullet that is not stable, a table
// that ends short of its maximum, a head or tail wind the Siacci engine leaves out.
std::vector<std::string> cardWarnings(const CardOptions& options,
                                      const pointmass::Trajectory& trajectory);

// The rows (and, in JSON, the summary with the warnings) in the options' format.
// With extras: their keys in each JSON row and the summary, their columns after the others.
void writeCard(std::ostream& out, const CardOptions& options,
               const pointmass::Trajectory& trajectory, const std::vector<std::string>& warnings,
               const CardExtras& extras = {});

// One row as the card writes it: its JSON keys and values ("distance_m": 300, ...) without
// the braces, and its text line (with the headings line first when asked).
void writeRowJsonMembers(std::ostream& out, const pointmass::Row& row, const pointmass::ClickValue& click);
void writeRowText(std::ostream& out, const CardOptions& options, const pointmass::Row& row);

} // namespace siacci::cli

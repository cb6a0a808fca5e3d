#pragma once

#include "card/card_sheet.hpp"
#include "cli/card_options.hpp"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// What `siacci-cli card` adds for the range card of the window: the Siacci path beside each row
// (--compare), the point-blank span and the optimal zero (--vital-zone), the energy threshold
// (--min-energy), and the printed card as a PDF (--pdf FILE [--pocket]).
namespace siacci::cli {

struct CardExtraOptions {
    bool compare = false;
    std::optional<double> vitalZone_cm;
    std::optional<double> minEnergy_J;
    std::string pdfPath;
    bool pocket = false;
    std::string description;
};

// The handler of those options for parseCardOptions.
ExtraOptionHandler cardExtraOptionHandler(CardExtraOptions& extras);
std::string cardExtraOptionsUsage();

// Extra keys and columns of the output: per row (in row order) and in the summary.
struct CardExtras {
    std::vector<std::string> rowKeys;          // JSON keys of the extra row values
    std::vector<std::string> rowHeadings;      // their text headings
    std::vector<std::vector<double>> rowValues; // one vector per row
    std::vector<std::pair<std::string, double>> summary;
};

// Computes the extras of a computed card; an Italian refusal (exit 3) when the comparison with
// Siacci is asked of a shot it cannot honour. The summary only for the JSON output, the one
// that shows it.
std::string computeCardExtras(const CardOptions& options, const CardExtraOptions& extra,
                              const pointmass::Trajectory& trajectory, CardExtras& out);

// The window's card setup from the command line's options.
card::CardSetup cardSetupOf(const CardOptions& options, const CardExtraOptions& extra);

// Writes the printed card (pocket or full page) as a PDF; "" or why not (Italian). Set by the
// Qt part of the tool when it is built with Qt; without it --pdf is refused.
using CardPdfWriter = std::string (*)(const card::CardSheet& sheet, bool pocket,
                                      const std::string& path);
bool registerCardPdfWriter(CardPdfWriter writer);
CardPdfWriter cardPdfWriter();

} // namespace siacci::cli

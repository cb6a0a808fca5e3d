#include "cli/card_extras.hpp"

#include "common/number_text.hpp"

#include <cmath>

namespace siacci::cli {

namespace {

CardPdfWriter& pdfWriter()
{
    static CardPdfWriter writer = nullptr;
    return writer;
}

} // namespace

bool registerCardPdfWriter(CardPdfWriter writer)
{
    pdfWriter() = writer;
    return true;
}

CardPdfWriter cardPdfWriter()
{
    return pdfWriter();
}

ExtraOptionHandler cardExtraOptionHandler(CardExtraOptions& extras)
{
    return [&extras](const Args& a, std::size_t& i, std::string& error) {
        const std::string& arg = a[i];
        if (arg == "--compare") {
            extras.compare = true;
            return true;
        }
        if (arg == "--pocket") {
            extras.pocket = true;
            return true;
        }
        if (arg != "--vital-zone" && arg != "--min-energy" && arg != "--pdf" &&
            arg != "--description")
            return false;
        if (i + 1 >= a.size()) {
            error = "manca il valore di " + arg;
            return false;
        }
        const std::string& value = a[++i];
        if (arg == "--pdf") {
            extras.pdfPath = value;
            return true;
        }
        if (arg == "--description") {
            extras.description = value;
            return true;
        }
        const std::string text = virgola(value);
        const double number = plainReading(text);
        if (text.find_first_of("0123456789") == std::string::npos || !(number > 0)) {
            error = arg + " vuole un numero maggiore di zero, non \"" + value + "\"";
            return false;
        }
        (arg == "--vital-zone" ? extras.vitalZone_cm : extras.minEnergy_J) = number;
        return true;
    };
}

std::string cardExtraOptionsUsage()
{
    return "Cartellino:\n"
           "  --compare           aggiunge a ogni riga la traiettoria di Siacci (siacci_path_cm)\n"
           "  --vital-zone CM     zona vitale: tiro utile e taratura ottimale nel riepilogo\n"
           "  --min-energy J      energia minima: ultima distanza che la rispetta nel riepilogo\n"
           "  --pdf FILE          scrive il cartellino stampato in un file PDF\n"
           "  --pocket            con --pdf: cartellini tascabili 9 x 5,5 cm invece della pagina\n"
           "  --description TESTO la cartuccia, stampata sul cartellino\n";
}

card::CardSetup cardSetupOf(const CardOptions& options, const CardExtraOptions& extra)
{
    card::CardSetup s;
    s.bullet = options.bullet;
    s.conditions = options.conditions;
    s.zeroing = options.zeroing;
    s.span = options.span;
    s.click = options.click;
    s.method = options.engine == CardEngine::Siacci ? card::Method::Siacci : card::Method::PointMass;
    s.compareSiacci = extra.compare;
    s.minEnergy_J = extra.minEnergy_J;
    s.vitalZone_cm = extra.vitalZone_cm;
    s.description = extra.description;
    card::describe(s);
    return s;
}

std::string computeCardExtras(const CardOptions& options, const CardExtraOptions& extra,
                              const pointmass::Trajectory& trajectory, CardExtras& out)
{
    const auto& rows = trajectory.rows;
    out.rowValues.assign(rows.size(), {});
    if (extra.compare) {
        const pointmass::Result siacci = pointmass::computeSiacciTrajectory(
            options.bullet, options.conditions, options.zeroing, options.span);
        if (!siacci.ok())
            return "Confronto con Siacci impossibile: " + pointmass::refusalText(siacci.refusal);
        out.rowKeys.push_back("siacci_path_cm");
        out.rowHeadings.push_back("Siacci (cm)");
        for (std::size_t r = 0; r < rows.size(); ++r)
            out.rowValues[r].push_back(r < siacci.trajectory.rows.size()
                                           ? siacci.trajectory.rows[r].path_cm
                                           : 0.0);
    }
    // The summary is shown in JSON alone: for the rows of text its searches would be thrown
    // away (the maximum range by itself flies a trajectory at each step of a search over the
    // launch angle, many times the card's own work).
    if (options.format != CardFormat::Json)
        return {};
    const card::Method method =
        options.engine == CardEngine::Siacci ? card::Method::Siacci : card::Method::PointMass;
    if (extra.vitalZone_cm) {
        const auto span = card::pointBlankRange(options.bullet, options.conditions,
                                                options.zeroing, *extra.vitalZone_cm, method);
        const auto best = card::optimalZero(options.bullet, options.conditions, options.zeroing,
                                            *extra.vitalZone_cm, method);
        out.summary.emplace_back("point_blank_from_m", span ? span->from_m : 0);
        out.summary.emplace_back("point_blank_to_m", span ? span->to_m : 0);
        out.summary.emplace_back("optimal_zero_m", best ? best->zero_m : 0);
        out.summary.emplace_back("optimal_point_blank_to_m", best ? best->span.to_m : 0);
    }
    // "Gittata massima" as the card shows it: whole metres.
    out.summary.emplace_back("max_range_m",
                             std::round(pointmass::maximumRange_m(options.bullet, options.conditions)));
    if (extra.minEnergy_J)
        out.summary.emplace_back("energy_above_min_to_m",
                                 card::energyAboveMinimumTo_m(rows, *extra.minEnergy_J));
    return {};
}

} // namespace siacci::cli

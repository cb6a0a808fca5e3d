#include "cli/card.hpp"
#include "cli/card_sources.hpp"

#include "cli/card_at.hpp"
#include "cli/card_extras.hpp"
#include "cli/text_output.hpp"
#include "common/float_text.hpp"
#include "common/portable_math.hpp"
#include "common/number_text.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <ostream>

namespace siacci::cli {

using namespace pointmass;

namespace {

constexpr std::string_view kUsage =
    "card --velocity V --bc B --weight GRAINS [altre opzioni del tiro e dell'aria]\n"
    "      [--engine pointmass|siacci] [--format tsv|csv|json] [--headings] [--decimal SEP]\n"
    "      (oppure --rifle ARMA --load CARICA [--armoury FILE] al posto dei dati della palla)\n"
    "      [--at D [--reticle NOME --magnification Y ...]]\n"
    "      il cartellino di tiro: una riga per distanza, con le correzioni da dare all'ottica;\n"
    "      con --at la soluzione a quella sola distanza";

// The columns of a card row: the JSON key, the Italian heading, and the decimals shown in text.
struct Column {
    std::string_view key;
    std::string_view heading;
    int decimals;
};

constexpr std::array<Column, 15> kColumns = {{
    {"distance_m", "Distanza (m)", 1},
    {"velocity_ms", "Velocità (m/s)", 1},
    {"mach", "Mach", 3},
    {"time_s", "Tempo (s)", 3},
    {"energy_J", "Energia (J)", 0},
    {"energy_kgm", "Energia (kgm)", 0},
    {"path_cm", "Traiettoria (cm)", 1},
    {"drop_cm", "Caduta (cm)", 1},
    {"windage_cm", "Deriva (cm)", 1},
    {"elevation_moa", "Alzo (MOA)", 2},
    {"elevation_mrad", "Alzo (mrad)", 2},
    {"elevation_clicks", "Alzo (click)", 0},
    {"windage_moa", "Deriva (MOA)", 2},
    {"windage_mrad", "Deriva (mrad)", 2},
    {"windage_clicks", "Deriva (click)", 0},
}};

std::array<double, 15> valuesOf(const Row& row, const ClickValue& click)
{
    const Correction c = correctionAt(row, click);
    return {row.distance_m,  row.velocity_ms,  row.mach,
            row.time_s,      row.energy_J,     row.energy_kgm,
            row.path_cm,     row.drop_cm,      row.windage_cm,
            c.elevation_moa, c.elevation_mrad, static_cast<double>(c.elevationClicks),
            c.windage_moa,   c.windage_mrad,   static_cast<double>(c.windageClicks)};
}


// A value rounded for reading, in the user's decimal separator.
std::string shown(double value, int decimals, char separator)
{
    return roundedText(value, decimals, separator);
}

void writeJson(std::ostream& out, const CardOptions& options, const Trajectory& t,
               const std::vector<std::string>& warnings, const CardExtras& extras)
{
    std::string text;
    text.reserve(512 * (t.rows.size() + 1));
    const auto member = [&text](std::string_view key, double value) {
        text += '"';
        text += key;
        text += "\": ";
        appendJsonNumber(text, value);
    };
    text += "{\"rows\": [";
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const auto values = valuesOf(t.rows[r], options.click);
        text += r == 0 ? "\n  {" : ",\n  {";
        for (std::size_t i = 0; i < kColumns.size(); ++i) {
            if (i > 0)
                text += ", ";
            member(kColumns[i].key, values[i]);
        }
        for (std::size_t i = 0; i < extras.rowKeys.size() && r < extras.rowValues.size(); ++i) {
            text += ", ";
            member(extras.rowKeys[i], extras.rowValues[r][i]);
        }
        text += '}';
    }
    text += "\n], \"summary\": {\"engine\": ";
    text += options.engine == CardEngine::Siacci ? "\"siacci\"" : "\"pointmass\"";
    text += ", ";
    member("bore_elevation_moa", t.boreElevation_moa);
    if (t.stability_sg) {
        text += ", ";
        member("stability_sg", *t.stability_sg);
    }
    const std::pair<std::string_view, double> figures[] = {
        {"max_ordinate_cm", t.maxOrdinate_cm},
        {"max_ordinate_distance_m", t.maxOrdinateDistance_m},
        {"zero_distance_m", options.zeroing.zeroDistance_m},
        {"sight_cm", options.zeroing.sightHeight_cm},
        {"click_value", options.click.value}};
    for (const auto& [key, value] : figures) {
        text += ", ";
        member(key, value);
    }
    text += ", \"click_unit\": ";
    text += options.click.unit == AngleUnit::Moa ? "\"moa\"" : "\"mrad\"";
    text += ", ";
    member("air_density_kgm3", airDensity_kgm3(options.conditions.atmosphere));
    text += ", \"spin_drift\": ";
    text += t.spinDrift ? "true" : "false";
    text += ", \"coriolis\": ";
    text += t.coriolis ? "true" : "false";
    for (const auto& [key, value] : extras.summary) {
        text += ", ";
        member(key, value);
    }
    text += ", \"warnings\": [";
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        text += i == 0 ? "" : ", ";
        text += jsonString(warnings[i]);
    }
    text += "]}}\n";
    out << text;
}

void writeText(std::ostream& out, const CardOptions& options, const Trajectory& t,
               const CardExtras& extras)
{
    const CellFormat format = options.format == CardFormat::Csv ? CellFormat::Csv : CellFormat::Tsv;
    std::vector<std::string> cells(kColumns.size() + extras.rowKeys.size());
    std::string text;
    text.reserve(128 * (t.rows.size() + 1));
    if (options.headings) {
        for (std::size_t i = 0; i < kColumns.size(); ++i)
            cells[i] = kColumns[i].heading;
        for (std::size_t i = 0; i < extras.rowHeadings.size(); ++i)
            cells[kColumns.size() + i] = extras.rowHeadings[i];
        appendCells(text, cells, format);
    }
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const auto values = valuesOf(t.rows[r], options.click);
        for (std::size_t i = 0; i < kColumns.size(); ++i)
            cells[i] = shown(values[i], kColumns[i].decimals, options.decimal);
        for (std::size_t i = 0; i < extras.rowKeys.size() && r < extras.rowValues.size(); ++i)
            cells[kColumns.size() + i] = shown(extras.rowValues[r][i], 1, options.decimal);
        appendCells(text, cells, format);
    }
    out << text;
}

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\n"
        << cardOptionsUsage() << cardExtraOptionsUsage() << shotAtOptionsUsage()
        << "Uscita:\n"
           "  --format tsv|csv|json   righe arrotondate separate da tabulazione (predefinito),\n"
           "                      CSV (RFC 4180), o JSON a piena precisione con il riepilogo\n"
           "  --headings          una prima riga con i nomi delle colonne (tsv, csv)\n"
           "  --decimal SEP       separatore decimale (tsv, csv; predefinito il punto)\n"
           "\nStato di uscita: 0 fatto, 2 uso errato, 3 dati rifiutati (messaggio su stderr).\n";
}

} // namespace

void writeRowJsonMembers(std::ostream& out, const Row& row, const ClickValue& click)
{
    const auto values = valuesOf(row, click);
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        out << (i == 0 ? "" : ", ") << '"' << kColumns[i].key << "\": " << jsonNumber(values[i]);
}

void writeRowText(std::ostream& out, const CardOptions& options, const Row& row)
{
    const CellFormat format = options.format == CardFormat::Csv ? CellFormat::Csv : CellFormat::Tsv;
    std::vector<std::string> cells(kColumns.size());
    if (options.headings) {
        for (std::size_t i = 0; i < kColumns.size(); ++i)
            cells[i] = kColumns[i].heading;
        writeCells(out, cells, format);
    }
    const auto values = valuesOf(row, options.click);
    for (std::size_t i = 0; i < kColumns.size(); ++i)
        cells[i] = shown(values[i], kColumns[i].decimals, options.decimal);
    writeCells(out, cells, format);
}

std::vector<std::string> cardWarnings(const CardOptions& options, const Trajectory& t)
{
    std::vector<std::string> warnings;
    if (t.stability_sg && *t.stability_sg < 1)
        warnings.push_back("Attenzione: con questo passo di rigatura il proiettile non è stabile "
                           "(Sg " +
                           shown(*t.stability_sg, 2, options.decimal) +
                           ", sotto 1): la deriva giroscopica non è attendibile.");
    if (!t.rows.empty()) {
        const double last = t.rows.back().distance_m;
        // A row short by a millionth of the increment is the rounding of the distances, not a
        // bullet that stops: the tolerance scales with the increment (1e-6 m would wrongly warn
        // for an increment of 1e7 m, and miss nothing for one of 0.1 m).
        const double increment = options.span.increment_m;
        if (last + increment <= options.span.maxDistance_m + 1e-6 * increment)
            warnings.push_back("Attenzione: il proiettile non arriva a " +
                               shown(options.span.maxDistance_m, 1, options.decimal) +
                               " m; la tabella si ferma a " + shown(last, 1, options.decimal) +
                               " m.");
    }
    const Wind& wind = options.conditions.wind;
    if (options.engine == CardEngine::Siacci && wind.speed_ms > 0 &&
        std::fabs(pm::cos(wind.fromAngle_deg * 3.141592653589793 / 180)) > 1e-9)
        warnings.push_back("Con il metodo di Siacci il vento conta solo per la sua componente "
                           "trasversale: quella di fronte o alle spalle è trascurata.");
    return warnings;
}

void writeCard(std::ostream& out, const CardOptions& options, const Trajectory& trajectory,
               const std::vector<std::string>& warnings, const CardExtras& extras)
{
    if (options.format == CardFormat::Json)
        writeJson(out, options, trajectory, warnings, extras);
    else
        writeText(out, options, trajectory, extras);
}

int runCard(const Args& given, std::ostream& out, std::ostream& err)
{
    // A rifle and a load of the armoury stand for their options (cli/qt_armoury_card.cpp).
    Args args = given;
    const CardSourceResult source = expandCardSources(args);
    if (source.status != kExitOk)
        return reportSourceFailure(source, "card", err);
    std::string error;
    CardExtraOptions extra;
    ShotAtOptions at;
    const ExtraOptionHandler cardExtra = cardExtraOptionHandler(extra);
    const ExtraOptionHandler shotAt = shotAtOptionHandler(at);
    auto options = parseCardOptions(args, error, [&](const Args& a, std::size_t& i, std::string& e) {
        if (cardExtra(a, i, e))
            return true;
        return e.empty() && shotAt(a, i, e);
    });
    if (!options) {
        err << "siacci-cli card: " << error << "\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    if (source.patch)
        source.patch(*options);
    if (options->help) {
        printHelp(out);
        return kExitOk;
    }
    if (const std::string refusal = cardInputRefusal(*options); !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    if (const std::string refusal = loadCardFiles(*options); !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    if (const std::string refusal = shotAtRefusal(at); !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    if (at.at_m)
        return writeShotAt(out, err, *options, extra, at);
    const Result result = computeCard(*options);
    if (!result.ok()) {
        err << refusalText(result.refusal) << "\n";
        return kExitRefused;
    }
    CardExtras extras;
    if (const std::string refusal = computeCardExtras(*options, extra, result.trajectory, extras);
        !refusal.empty()) {
        err << refusal << "\n";
        return kExitRefused;
    }
    const auto warnings = cardWarnings(*options, result.trajectory);
    for (const std::string& warning : warnings)
        err << warning << "\n";
    if (!extra.pdfPath.empty()) {
        // Only the printed card needs Qt: without --pdf no Qt application is created.
        const CardPdfWriter writer = cardPdfWriter();
        if (!writer) {
            err << "siacci-cli card: questo programma è stato compilato senza la stampa (Qt)\n";
            return kExitRefused;
        }
        const card::CardSheet sheet = card::computeCard(cardSetupOf(*options, extra));
        if (!sheet.ok()) {
            err << sheet.refusal << "\n";
            return kExitRefused;
        }
        if (const std::string failed = writer(sheet, extra.pocket, extra.pdfPath); !failed.empty()) {
            err << "siacci-cli card: " << failed << "\n";
            return kExitRefused;
        }
        return kExitOk;
    }
    writeCard(out, *options, result.trajectory, warnings, extras);
    return kExitOk;
}

const Command cardCommand{"card", kUsage, &runCard};

} // namespace siacci::cli

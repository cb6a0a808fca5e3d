// siacci-cli hit: "fin dove posso tirare?", the chance of a shot in the vital zone at every row
// of the card and the ethical distance, by the core's Monte Carlo (card/hit_probability.hpp).
#include "cli/card_options.hpp"
#include "cli/card_sources.hpp"
#include "cli/command.hpp"
#include "cli/text_output.hpp"

#include "card/hit_probability.hpp"
#include "common/float_text.hpp"
#include "common/number_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <ostream>

namespace siacci::cli {

namespace {

constexpr std::string_view kUsage =
    "hit --velocity V --bc B --weight GRAINS [altre opzioni del cartellino] --vital-zone CM\n"
    "      [--sd-range M|P%] [--sd-wind KMH] [--sd-velocity MS] [--sd-bc PCT]\n"
    "      [--sd-dispersion-moa MOA] [--samples N] [--seed S] [--min-probability P]\n"
    "      [--no-correction] [--format tsv|csv|json]\n"
    "      la probabilità di colpire la zona vitale a ogni distanza e la distanza etica";

struct HitOptions {
    std::optional<double> vitalZone_cm;
    card::HitSettings settings;
    bool velocitySdGiven = false;
};

std::optional<double> numberOf(std::string_view text)
{
    const std::string s = virgola(text);
    const char* begin = s.data();
    const char* end = s.data() + s.size();
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0;
    const auto [ptr, ec] = fromChars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

template <typename Int>
std::optional<Int> wholeOf(std::string_view text)
{
    Int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

ExtraOptionHandler hitOptionHandler(HitOptions& o)
{
    return [&o](const Args& a, std::size_t& i, std::string& error) {
        const std::string& arg = a[i];
        card::HitSettings& s = o.settings;
        if (arg == "--no-correction") {
            s.aim = card::AimMode::NoCorrection;
            return true;
        }
        constexpr std::string_view kValued[] = {
            "--vital-zone", "--sd-range",  "--sd-wind", "--sd-velocity", "--sd-bc",
            "--sd-dispersion-moa", "--samples", "--seed", "--min-probability"};
        if (std::find(std::begin(kValued), std::end(kValued), arg) == std::end(kValued))
            return false;
        if (i + 1 >= a.size()) {
            error = "manca il valore di " + arg;
            return false;
        }
        const std::string& value = a[++i];
        const auto bad = [&](const char* wanted) {
            error = arg + " vuole " + wanted + ", non \"" + value + "\"";
            return false;
        };
        if (arg == "--samples") {
            const auto n = wholeOf<int>(value);
            if (!n)
                return bad("un numero intero");
            s.samples = *n;
            return true;
        }
        if (arg == "--seed") {
            const auto n = wholeOf<std::uint64_t>(value);
            if (!n)
                return bad("un numero intero da 0 in su");
            s.seed = *n;
            return true;
        }
        if (arg == "--sd-range" && !value.empty() && value.back() == '%') {
            const auto pct = numberOf(std::string_view(value).substr(0, value.size() - 1));
            if (!pct)
                return bad("metri o una percentuale (5%)");
            s.sd.range_pct = *pct;
            s.sd.range_m = 0;
            return true;
        }
        const auto number = numberOf(value);
        if (!number)
            return bad("un numero");
        if (arg == "--vital-zone")
            o.vitalZone_cm = *number;
        else if (arg == "--sd-range") {
            s.sd.range_m = *number;
            s.sd.range_pct = 0;
        } else if (arg == "--sd-wind")
            s.sd.wind_kmh = *number;
        else if (arg == "--sd-velocity") {
            s.sd.velocity_ms = *number;
            o.velocitySdGiven = true;
        }
        else if (arg == "--sd-bc")
            s.sd.bc_pct = *number;
        else if (arg == "--sd-dispersion-moa")
            s.sd.cone_moa = *number;
        else
            s.minProbability = *number;
        return true;
    };
}

constexpr std::string_view kKeys[] = {"distance_m", "hit_probability", "miss_high",
                                      "miss_low",   "miss_left",       "miss_right"};
constexpr std::string_view kHeadings[] = {"Distanza (m)", "Colpo utile", "Alti",
                                          "Bassi",        "A sinistra",  "A destra"};

std::array<double, 6> valuesOf(const card::HitRow& r)
{
    return {r.distance_m, r.probability, r.missHigh, r.missLow, r.missLeft, r.missRight};
}

void writeJson(std::ostream& out, const card::HitTable& t, const card::HitSettings& s)
{
    out << "{\"rows\": [";
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
        const auto values = valuesOf(t.rows[r]);
        out << (r == 0 ? "\n  {" : ",\n  {");
        for (std::size_t i = 0; i < values.size(); ++i)
            out << (i == 0 ? "" : ", ") << '"' << kKeys[i] << "\": " << jsonNumber(values[i]);
        out << '}';
    }
    out << "\n], \"summary\": {\"ethical_distance_m\": " << jsonNumber(t.ethicalDistance_m)
        << ", \"min_probability\": " << jsonNumber(s.minProbability)
        << ", \"vital_zone_cm\": " << jsonNumber(s.vitalZone_cm)
        << ", \"correction\": " << (s.aim == card::AimMode::Corrected ? "true" : "false")
        << ", \"samples\": " << s.samples << ", \"seed\": " << s.seed
        << ", \"sd_range_m\": " << jsonNumber(s.sd.range_m)
        << ", \"sd_range_pct\": " << jsonNumber(s.sd.range_pct)
        << ", \"sd_wind_kmh\": " << jsonNumber(s.sd.wind_kmh)
        << ", \"sd_velocity_ms\": " << jsonNumber(s.sd.velocity_ms)
        << ", \"sd_bc_pct\": " << jsonNumber(s.sd.bc_pct)
        << ", \"sd_dispersion_moa\": " << jsonNumber(s.sd.cone_moa) << "}}\n";
}

void writeText(std::ostream& out, const card::HitTable& t, const CardOptions& o)
{
    const CellFormat format = o.format == CardFormat::Csv ? CellFormat::Csv : CellFormat::Tsv;
    std::vector<std::string> cells(std::size(kKeys));
    if (o.headings) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            cells[i] = kHeadings[i];
        writeCells(out, cells, format);
    }
    for (const card::HitRow& r : t.rows) {
        const auto values = valuesOf(r);
        for (std::size_t i = 0; i < values.size(); ++i)
            cells[i] = roundedText(values[i], i == 0 ? 1 : 4, o.decimal);
        writeCells(out, cells, format);
    }
}

void printHelp(std::ostream& out)
{
    out << "Uso: siacci-cli " << kUsage << "\n\n"
        << cardOptionsUsage()
        << "Errori del cacciatore (deviazioni standard; quelle non date valgono 0):\n"
           "  --vital-zone CM     diametro della zona vitale (obbligatorio)\n"
           "  --sd-range M|P%     distanza: metri (telemetro 1) o percentuale (a occhio 10%)\n"
           "  --sd-wind KMH       vento, lungo la sua direzione (misurato 1,5, stimato 4)\n"
           "  --sd-velocity MS    velocità iniziale da colpo a colpo (lo scarto del cronografo;\n"
           "                      con --rifle e --load quello della carica, se misurato)\n"
           "  --sd-bc PCT         coefficiente balistico, percentuale\n"
           "  --sd-dispersion-moa MOA  rosata di arma, carica e tiratore, per asse\n"
           "  --samples N         colpi simulati (predefinito 10000)\n"
           "  --seed S            seme dei numeri casuali (predefinito 1)\n"
           "  --min-probability P soglia della distanza etica, da 0,5 a 0,999 (predefinito 0,9)\n"
           "  --no-correction     mira al centro senza correzione (tiro utile)\n"
           "Uscita: distance_m, hit_probability, miss_high, miss_low, miss_left, miss_right\n"
           "(0-1); --format json aggiunge il riepilogo con ethical_distance_m.\n"
           "\nStato di uscita: 0 fatto, 2 uso errato, 3 dati rifiutati (messaggio su stderr).\n";
}

int runHit(const Args& given, std::ostream& out, std::ostream& err)
{
    Args args = given;
    const CardSourceResult source = expandCardSources(args);
    if (source.status != kExitOk)
        return reportSourceFailure(source, "hit", err);
    std::string error;
    HitOptions hit;
    auto options = parseCardOptions(args, error, hitOptionHandler(hit));
    if (options && !options->help && !hit.vitalZone_cm)
        error = "manca --vital-zone (il diametro della zona vitale, cm)";
    if (options && options->engine == CardEngine::Siacci)
        error = "la probabilità di colpire si calcola solo con il motore a punto materiale";
    if (!options || !error.empty()) {
        err << "siacci-cli hit: " << error << "\n";
        err << "Uso: siacci-cli " << kUsage << "\n";
        return kExitUsage;
    }
    if (source.patch)
        source.patch(*options);
    if (options->help) {
        printHelp(out);
        return kExitOk;
    }
    hit.settings.vitalZone_cm = *hit.vitalZone_cm;
    if (source.velocitySd_ms && !hit.velocitySdGiven)
        hit.settings.sd.velocity_ms = *source.velocitySd_ms;
    for (const std::string& refusal :
         {cardInputRefusal(*options), card::hitSettingsRefusal(hit.settings),
          loadCardFiles(*options)}) {
        if (!refusal.empty()) {
            err << refusal << "\n";
            return kExitRefused;
        }
    }
    const pointmass::Result card = computeCard(*options);
    if (!card.ok()) {
        err << pointmass::refusalText(card.refusal) << "\n";
        return kExitRefused;
    }
    std::vector<double> distances;
    for (const pointmass::Row& row : card.trajectory.rows)
        distances.push_back(row.distance_m);
    const card::HitTable table = card::computeHitTable(
        options->bullet, options->conditions, options->zeroing, distances, hit.settings);
    if (!table.ok()) {
        err << pointmass::refusalText(table.refusal) << "\n";
        return kExitRefused;
    }
    if (options->format == CardFormat::Json)
        writeJson(out, table, hit.settings);
    else
        writeText(out, table, *options);
    return kExitOk;
}

} // namespace

const Command hitCommand{"hit", kUsage, &runHit};

} // namespace siacci::cli

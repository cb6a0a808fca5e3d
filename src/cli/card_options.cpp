#include "cli/card_options.hpp"

#include "ballistics/pointmass/drag.hpp"
#include "cli/output.hpp"
#include "common/float_text.hpp"
#include "common/number_text.hpp"
#include "files/careful_read.hpp"

#include <charconv>
#include <cmath>

namespace siacci::cli {

using namespace pointmass;

namespace {

constexpr double kKmh_ms = 1 / 3.6;

// A number as typed: the first comma read as the point, then the whole text must be the number.
std::optional<double> numberOf(std::string_view text)
{
    std::string s = virgola(text);
    const char* begin = s.data();
    if (!s.empty() && s.front() == '+')
        ++begin;
    double value = 0;
    const char* end = s.data() + s.size();
    const auto [ptr, ec] = fromChars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// --click: 0.1mrad, 0.25moa, 1cm (at 100 m), any VALUE with one of those units.
std::optional<ClickValue> clickOf(std::string_view text)
{
    struct Unit {
        std::string_view suffix;
        AngleUnit unit;
        double scale;
    };
    constexpr Unit kUnits[] = {
        {"mrad", AngleUnit::Mrad, 1}, {"moa", AngleUnit::Moa, 1}, {"cm", AngleUnit::Mrad, 0.1}};
    for (const Unit& u : kUnits) {
        if (text.size() > u.suffix.size() && text.ends_with(u.suffix)) {
            const auto value = numberOf(text.substr(0, text.size() - u.suffix.size()));
            if (!value || !(*value > 0))
                return std::nullopt;
            return ClickValue{*value * u.scale, u.unit};
        }
    }
    return std::nullopt;
}

// Every option that takes a number, and where the number goes.
struct NumberOption {
    std::string_view name;
    std::optional<double> CardFields::*field;
};

constexpr NumberOption kNumbers[] = {
    {"--velocity", &CardFields::velocity},
    {"--bc", &CardFields::bc},
    {"--weight", &CardFields::weight},
    {"--diameter", &CardFields::diameter},
    {"--length", &CardFields::length},
    {"--twist", &CardFields::twist},
    {"--sight", &CardFields::sight},
    {"--zero", &CardFields::zero},
    {"--max", &CardFields::max},
    {"--increment", &CardFields::increment},
    {"--temperature", &CardFields::temperature},
    {"--pressure", &CardFields::pressure},
    {"--altitude", &CardFields::altitude},
    {"--qnh", &CardFields::qnh},
    {"--humidity", &CardFields::humidity},
    {"--wind", &CardFields::wind},
    {"--wind-clock", &CardFields::windClock},
    {"--wind-angle", &CardFields::windAngle},
    {"--angle", &CardFields::angle},
    {"--latitude", &CardFields::latitude},
    {"--azimuth", &CardFields::azimuth},
    {"--zero-temperature", &CardFields::zeroTemperature},
    {"--zero-pressure", &CardFields::zeroPressure},
    {"--zero-humidity", &CardFields::zeroHumidity},
};

// The options whose value is a word, not a number.
constexpr std::string_view kWordOptions[] = {"--engine", "--drag",   "--drag-table", "--bc-step",
                                             "--click",  "--format", "--decimal"};

// The bad-usage checks made once every option is read.
std::string conflicts(const CardFields& g, const CardOptions& o)
{
    if (!g.velocity)
        return "manca --velocity";
    if (!g.weight)
        return "manca --weight";
    if (o.dragTableFile) {
        if (g.bc || o.dragGiven || !o.bullet.bcSteps.empty())
            return "--drag-table sostituisce --drag, --bc e --bc-step: dai l'una o gli altri";
        if (!g.diameter)
            return "--drag-table vuole anche --diameter";
    } else if (!g.bc) {
        return "manca --bc";
    }
    if ((g.length || g.twist) && !(g.diameter && g.length && g.twist))
        return "la deriva giroscopica vuole --diameter, --length e --twist insieme";
    if (g.pressure && (g.altitude || g.qnh))
        return "dai la pressione alla stazione (--pressure) oppure l'altitudine (--altitude, con "
               "--qnh se la pressione è quella del bollettino), non entrambe";
    if (g.qnh && !g.altitude)
        return "--qnh vuole anche --altitude, per ridurre la pressione alla stazione";
    if (g.windClock && g.windAngle)
        return "dai la direzione del vento con --wind-clock oppure con --wind-angle, non entrambe";
    if (g.latitude.has_value() != g.azimuth.has_value())
        return "l'effetto Coriolis vuole --latitude e --azimuth insieme";
    return "";
}

} // namespace

std::optional<CardOptions> parseCardArguments(const Args& args, std::string& error,
                                              const ExtraOptionHandler& extra)
{
    CardOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            continue;
        }
        if (arg == "--headings") {
            o.headings = true;
            continue;
        }
        const NumberOption* number = nullptr;
        for (const NumberOption& n : kNumbers)
            if (arg == n.name)
                number = &n;
        bool word = false;
        for (const std::string_view w : kWordOptions)
            word = word || arg == w;
        if (!number && !word) {
            std::size_t at = i;
            if (extra && extra(args, at, error)) {
                i = at;
                continue;
            }
            if (error.empty())
                error = "opzione sconosciuta \"" + arg + "\"";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "manca il valore di " + arg;
            return std::nullopt;
        }
        const std::string& value = args[++i];
        const auto bad = [&](std::string_view expected) {
            error = "valore non valido per " + arg + ": \"" + value + "\"";
            if (!expected.empty())
                error += " (" + std::string(expected) + ")";
            return std::nullopt;
        };
        if (number) {
            const auto n = numberOf(value);
            if (!n)
                return bad("un numero");
            o.fields.*(number->field) = n;
        } else if (arg == "--engine") {
            if (value == "pointmass")
                o.engine = CardEngine::PointMass;
            else if (value == "siacci")
                o.engine = CardEngine::Siacci;
            else
                return bad("pointmass o siacci");
        } else if (arg == "--drag") {
            o.dragGiven = true;
            if (value == "G1" || value == "g1")
                o.bullet.model = DragModel::G1;
            else if (value == "G7" || value == "g7")
                o.bullet.model = DragModel::G7;
            else
                return bad("G1 o G7");
        } else if (arg == "--drag-table") {
            o.dragTableFile = value;
        } else if (arg == "--bc-step") {
            const std::size_t at = value.find('@');
            const auto bc = at == std::string::npos ? std::nullopt : numberOf(value.substr(0, at));
            const auto from =
                at == std::string::npos ? std::nullopt : numberOf(value.substr(at + 1));
            if (!bc || !from)
                return bad("B@V, il coefficiente dalla velocità V in m/s in su");
            o.bullet.bcSteps.push_back({*bc, *from});
        } else if (arg == "--click") {
            const auto click = clickOf(value);
            if (!click)
                return bad("0.1mrad, 0.25moa, 0.125moa, 1cm, VALOREmrad o VALOREmoa");
            o.click = *click;
            const bool cm = value.ends_with("cm");
            o.clickTyped = {cm ? click->value / 0.1 : click->value,
                            cm ? card::LimitedInput::ClickCm
                               : click->unit == AngleUnit::Moa ? card::LimitedInput::ClickMoa
                                                               : card::LimitedInput::ClickMrad};
        } else if (arg == "--format") {
            if (value == "tsv")
                o.format = CardFormat::Tsv;
            else if (value == "csv")
                o.format = CardFormat::Csv;
            else if (value == "json")
                o.format = CardFormat::Json;
            else
                return bad("tsv, csv o json");
        } else { // --decimal
            std::string why;
            const auto separator = decimalSeparatorOption(value, why);
            if (!separator)
                return bad(why);
            o.decimal = *separator;
        }
    }
    return o;
}

bool completeCardOptions(CardOptions& o, std::string& error)
{
    const CardFields& g = o.fields;
    if (error = conflicts(g, o); !error.empty())
        return false;

    Bullet& b = o.bullet;
    b.muzzleVelocity_ms = *g.velocity;
    b.weight_gr = *g.weight;
    b.bc_lbin2 = g.bc.value_or(0);
    b.diameter_mm = g.diameter;
    b.length_mm = g.length;
    b.twist_in = g.twist;

    Atmosphere& air = o.conditions.atmosphere;
    air.temperature_C = g.temperature.value_or(air.temperature_C);
    air.humidity_pct = g.humidity.value_or(air.humidity_pct);
    if (g.pressure)
        air.pressure_hPa = *g.pressure;
    else if (g.altitude)
        air.pressure_hPa = g.qnh ? stationPressureFromQnh_hPa(*g.qnh, *g.altitude)
                                 : pressureAtAltitude_hPa(*g.altitude);
    if (g.zeroTemperature || g.zeroPressure || g.zeroHumidity)
        o.zeroing.atmosphere = Atmosphere{g.zeroTemperature.value_or(air.temperature_C),
                                          g.zeroPressure.value_or(air.pressure_hPa),
                                          g.zeroHumidity.value_or(air.humidity_pct)};

    o.conditions.wind.speed_ms = g.wind.value_or(0) * kKmh_ms;
    o.conditions.wind.fromAngle_deg = g.windAngle ? *g.windAngle : 30 * g.windClock.value_or(3);
    o.conditions.lookAngle_deg = g.angle.value_or(0);
    if (g.latitude)
        o.conditions.earth = EarthPosition{*g.latitude, *g.azimuth};

    o.zeroing.sightHeight_cm = g.sight.value_or(o.zeroing.sightHeight_cm);
    o.zeroing.zeroDistance_m = g.zero.value_or(o.zeroing.zeroDistance_m);
    o.span.maxDistance_m = g.max.value_or(o.span.maxDistance_m);
    o.span.increment_m = g.increment.value_or(o.span.increment_m);
    return true;
}

std::optional<CardOptions> parseCardOptions(const Args& args, std::string& error,
                                            const ExtraOptionHandler& extra)
{
    auto options = parseCardArguments(args, error, extra);
    if (options && !options->help && !completeCardOptions(*options, error))
        return std::nullopt;
    return options;
}

namespace {

// The lines of a drag table that hold a point (neither blank nor a comment).
std::size_t dragTableLines(std::string_view text)
{
    std::size_t n = 0;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view{} : text.substr(eol + 1);
        const std::size_t first = line.find_first_not_of(" \t\r;,");
        if (first != std::string_view::npos && line[first] != '#')
            ++n;
    }
    return n;
}

} // namespace

std::string cardInputRefusal(const CardOptions& o)
{
    using card::LimitedInput;
    const CardFields& g = o.fields;
    const std::pair<LimitedInput, const std::optional<double>*> given[] = {
        {LimitedInput::Velocity, &g.velocity},
        {LimitedInput::Weight, &g.weight},
        {LimitedInput::Bc, &g.bc},
        {LimitedInput::Diameter, &g.diameter},
        {LimitedInput::Length, &g.length},
        {LimitedInput::SightHeight, &g.sight},
        {LimitedInput::Zero, &g.zero},
        {LimitedInput::MaxDistance, &g.max},
        {LimitedInput::Increment, &g.increment},
        {LimitedInput::Temperature, &g.temperature},
        {LimitedInput::Pressure, &g.pressure},
        {LimitedInput::Altitude, &g.altitude},
        {LimitedInput::Qnh, &g.qnh},
        {LimitedInput::Humidity, &g.humidity},
        {LimitedInput::WindSpeed, &g.wind},
        {LimitedInput::WindClock, &g.windClock},
        {LimitedInput::WindAngle, &g.windAngle},
        {LimitedInput::LookAngle, &g.angle},
        {LimitedInput::Latitude, &g.latitude},
        {LimitedInput::Azimuth, &g.azimuth},
        {LimitedInput::ZeroTemperature, &g.zeroTemperature},
        {LimitedInput::ZeroPressure, &g.zeroPressure},
        {LimitedInput::ZeroHumidity, &g.zeroHumidity},
    };
    for (const auto& [input, value] : given)
        if (std::string refusal = card::limitRefusal(input, *value); !refusal.empty())
            return refusal + ".";
    // A left-hand twist is given as a negative one.
    if (g.twist)
        if (std::string refusal = card::limitRefusal(LimitedInput::Twist, std::fabs(*g.twist)); !refusal.empty())
            return refusal + " (negativo per la rigatura sinistrorsa).";
    if (o.clickTyped)
        if (std::string refusal = card::limitRefusal(o.clickTyped->second, o.clickTyped->first); !refusal.empty())
            return refusal + ".";
    std::vector<card::BcStepText> steps;
    for (const BcStep& step : o.bullet.bcSteps)
        steps.push_back({step.bc_lbin2, step.fromVelocity_ms});
    if (std::string refusal = card::bcStepsRefusal(steps); !refusal.empty())
        return refusal + ".";
    return "";
}

std::string loadCardFiles(CardOptions& options)
{
    if (!options.dragTableFile)
        return "";
    // A few thousand lines of "Mach Cd" are well under a megabyte.
    constexpr std::size_t kLargestTable = 1024 * 1024;
    const CarefulReadResult read = readFileCarefully(*options.dragTableFile, kLargestTable);
    if (!read)
        return "Non riesco a leggere la tabella di resistenza \"" + *options.dragTableFile + "\": " +
               (read.status == CarefulReadStatus::TooLarge
                    ? "ha più di " + std::to_string(kMaxDragTablePoints) + " punti"
                    : readFailureText(read)) + ".";
    options.bullet.dragTable = readDragTable(read.bytes);
    if (options.bullet.dragTable.empty()) {
        if (dragTableLines(read.bytes) > kMaxDragTablePoints)
            return "La tabella di resistenza ha più di " + std::to_string(kMaxDragTablePoints) +
                   " punti: non è la tabella di una palla.";
        return refusalText(Refusal::BadDragTable);
    }
    return "";
}

Result computeCard(const CardOptions& options)
{
    return options.engine == CardEngine::Siacci
               ? computeSiacciTrajectory(options.bullet, options.conditions, options.zeroing,
                                         options.span)
               : computeTrajectory(options.bullet, options.conditions, options.zeroing,
                                   options.span);
}

std::string cardOptionsUsage()
{
    return "Calcolo:\n"
           "  --engine pointmass|siacci   punto materiale (predefinito) o il metodo di Siacci\n"
           "Proiettile:\n"
           "  --velocity V        velocità iniziale, m/s\n"
           "  --bc B              coefficiente balistico (lb/in²), sotto ogni gradino\n"
           "  --bc-step B@V       da V m/s in su il coefficiente è B (anche più volte)\n"
           "  --drag G1|G7        funzione di resistenza del coefficiente (predefinita G1)\n"
           "  --drag-table FILE   tabella misurata Mach Cd, una coppia per riga (con --diameter)\n"
           "  --weight GRAINS     peso del proiettile\n"
           "  --diameter MM --length MM --twist POLLICI\n"
           "                      deriva giroscopica e stabilità; passo negativo: rigatura "
           "sinistrorsa\n"
           "Arma e tabella:\n"
           "  --sight CM          altezza ottica sull'asse della canna (predefinita 4)\n"
           "  --zero M            distanza di taratura (predefinita 100)\n"
           "  --max M             distanza massima (predefinita 1000)\n"
           "  --increment M       incremento (predefinito 100)\n"
           "  --click SCATTO      0.1mrad (predefinito), 0.25moa, 0.125moa, 1cm, VALOREmrad, "
           "VALOREmoa\n"
           "Aria, vento, terreno:\n"
           "  --temperature C     temperatura (predefinita 15)\n"
           "  --pressure HPA      pressione alla stazione (predefinita 1013.25)\n"
           "  --altitude M        altitudine: la pressione ICAO di quella quota...\n"
           "  --qnh HPA           ...oppure da quella del bollettino (QNH) ridotta alla quota\n"
           "  --humidity PCT      umidità relativa, da 0 a 100 (predefinita 0)\n"
           "  --wind KMH          velocità del vento\n"
           "  --wind-clock H      da dove viene: 12 dal bersaglio, 3 da destra (predefinito)\n"
           "  --wind-angle GRADI  la stessa direzione in gradi (30 per ora)\n"
           "  --angle GRADI       angolo di tiro, + in salita, - in discesa (da -80 a +80)\n"
           "  --latitude GRADI --azimuth GRADI   effetto Coriolis (latitudine + nord; azimut\n"
           "                      dal nord in senso orario)\n"
           "  --zero-temperature C --zero-pressure HPA --zero-humidity PCT\n"
           "                      l'aria della taratura, se non è quella del tiro\n"
           "  I numeri accettano la virgola decimale (\"0,462\").\n";
}

} // namespace siacci::cli

#include "cli/shot_options.hpp"

#include "ballistics/tables.hpp"
#include "common/number_text.hpp"

namespace siacci::cli {

namespace {

struct NumberOption {
    std::string_view name;
    std::optional<double> ShotFields::*field;
};

constexpr NumberOption kNumberOptions[] = {
    {"--velocity", &ShotFields::velocity},
    {"--bc", &ShotFields::bc},
    {"--weight", &ShotFields::weight},
    {"--sight", &ShotFields::sight},
    {"--zero", &ShotFields::zero},
    {"--increment", &ShotFields::increment},
    {"--max", &ShotFields::max},
    {"--temperature", &ShotFields::temperature},
    {"--altitude", &ShotFields::altitude},
    {"--diameter", &ShotFields::diameter},
    {"--x", &ShotFields::x},
    {"--y", &ShotFields::y},
    {"--z", &ShotFields::z},
    {"--d", &ShotFields::d},
    {"--rsp", &ShotFields::rsp},
    {"--pir", &ShotFields::pir},
};

std::optional<TableMode> modeNamed(std::string_view name)
{
    if (name == "metric")
        return TableMode::Metric;
    if (name == "imperial")
        return TableMode::Imperial;
    if (name == "terminal")
        return TableMode::Terminal;
    return std::nullopt;
}

std::optional<SiteAngle> siteAngleNamed(std::string_view degrees)
{
    for (const SiteAngle& angle : kSiteAngles)
        if (degrees == std::to_string(angle.degrees))
            return angle;
    return std::nullopt;
}

} // namespace

const std::vector<const ShotSource*>& shotSources()
{
    static const std::vector<const ShotSource*> all{&loadSource, &fileSource};
    return all;
}

std::optional<ShotOptions> parseShotOptions(const Args& args, std::string& error,
                                            const ExtraOptionHandler& extra)
{
    ShotOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        const NumberOption* number = nullptr;
        for (const auto& n : kNumberOptions)
            if (arg == n.name)
                number = &n;
        const ShotSource* source = nullptr;
        for (const ShotSource* s : shotSources())
            if (arg == s->option)
                source = s;
        const bool takesValue = number || source || arg == "--mode" || arg == "--site-angle";
        if (!takesValue) {
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
        if (number) {
            options.fields.*(number->field) = readField(value);
        } else if (source) {
            options.sources.emplace_back(source, value);
        } else if (arg == "--mode") {
            const auto mode = modeNamed(value);
            if (!mode) {
                error = "modo sconosciuto \"" + value + "\" (metric, imperial o terminal)";
                return std::nullopt;
            }
            options.mode = *mode;
        } else {
            options.fields.siteAngle = siteAngleNamed(value);
            if (!options.fields.siteAngle) {
                error = "angolo di sito \"" + value + "\" non previsto (0, 15, 30, 45 o 60)";
                return std::nullopt;
            }
        }
    }
    return options;
}

std::string shotOptionsUsage()
{
    std::string usage =
        "  --mode metric|imperial|terminal   tabella metrica (predefinita), inglese o di\n"
        "                                    balistica terminale\n"
        "  --velocity V      velocità iniziale (metri/sec.; feet/sec. in imperial)\n"
        "  --bc B            coefficiente balistico (non negativo)\n"
        "  --weight W        peso del proiettile, grains\n"
        "  --sight H         altezza ottica (cm; inches in imperial)\n"
        "  --zero Z          taratura centro (metri; yards in imperial)\n"
        "  --increment I     incremento (metri; yards in imperial)\n"
        "  --max M           massima distanza (metri; yards in imperial)\n"
        "  --temperature T   temperatura, gradi centigradi (da -60 a +60)\n"
        "  --altitude A      altitudine s.l.m., metri (da -500 a 9.000)\n"
        "  --site-angle N    angolo di sito: 0, 15, 30, 45 o 60 gradi\n"
        "  --diameter MM --x X --y Y --z Z --d D --rsp F --pir F\n"
        "                    diametro (mm), coefficienti e fattori di forma del proiettile\n"
        "                    per la balistica terminale\n";
    for (const ShotSource* s : shotSources()) {
        usage += "  ";
        usage += s->usage;
        usage += "\n";
    }
    usage += "  I numeri si leggono come nella finestra (la virgola vale come punto, 8E2 vale\n"
             "  800); un valore non dato vale 0, come nella finestra vuota.\n";
    return usage;
}

std::string resolveShot(const ShotOptions& options, TableMode& mode, ShotInput& shot)
{
    mode = options.mode;
    shot = ShotInput{};
    for (const auto& [source, value] : options.sources)
        if (std::string message = source->apply(value, mode, shot); !message.empty())
            return message;
    const ShotFields& f = options.fields;
    const auto set = [](double& target, const std::optional<double>& value) {
        if (value)
            target = *value;
    };
    set(shot.velocity, f.velocity);
    set(shot.bc, f.bc);
    set(shot.weight, f.weight);
    set(shot.sightHeight, f.sight);
    set(shot.zeroDistance, f.zero);
    set(shot.increment, f.increment);
    set(shot.maxDistance, f.max);
    set(shot.temperature, f.temperature);
    set(shot.altitude, f.altitude);
    if (f.siteAngle)
        shot.siteAngle = *f.siteAngle;
    const auto setTerminal = [](std::optional<double>& target, const std::optional<double>& v) {
        if (v)
            target = v;
    };
    setTerminal(shot.terminal.diameter_mm, f.diameter);
    setTerminal(shot.terminal.x, f.x);
    setTerminal(shot.terminal.y, f.y);
    setTerminal(shot.terminal.z, f.z);
    setTerminal(shot.terminal.d, f.d);
    setTerminal(shot.terminal.rspFactor, f.rsp);
    setTerminal(shot.terminal.pirFactor, f.pir);
    return "";
}

std::string windowRefusal(TableMode mode, const ShotInput& shot)
{
    if (shot.velocity == 0 || shot.bc == 0 || shot.increment == 0)
        return "Velocità, coefficiente balistico e incremento devono essere diversi da zero.";
    const bool outside = mode == TableMode::Imperial
                             ? shot.velocity < 300 || shot.velocity >= 4500
                             : shot.velocity < 92 || shot.velocity > 1371;
    if (outside)
        return refusalMessage(TableRefusal::VelocityOutOfBand, mode);
    return "";
}

std::string resolveTableShot(const ShotOptions& options, TableMode& mode, ShotInput& shot)
{
    std::string refusal = resolveShot(options, mode, shot);
    if (refusal.empty())
        refusal = windowRefusal(mode, shot);
    return refusal;
}

TableRun tableOfMode(TableMode mode, const ShotInput& shot, RunKind kind, char decimalSeparator)
{
    switch (mode) {
    case TableMode::Imperial:
        return tableAmerica(shot, kind, decimalSeparator);
    case TableMode::Terminal:
        return tableRscalc(shot, kind, decimalSeparator);
    case TableMode::Metric:
        break;
    }
    return tableEuropa(shot, kind, decimalSeparator);
}

} // namespace siacci::cli

#include "armoury/armoury.hpp"

#include "card/input_limits.hpp"
#include "common/float_text.hpp"
#include "common/number_text.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace siacci::armoury {

bool operator==(const Load& a, const Load& b)
{
    const auto sameSteps = [](const auto& x, const auto& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto& p, const auto& q) {
            return p.bc_lbin2 == q.bc_lbin2 && p.fromVelocity_ms == q.fromVelocity_ms;
        });
    };
    const auto sameTable = [](const auto& x, const auto& y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const auto& p, const auto& q) {
            return p.mach == q.mach && p.cd == q.cd;
        });
    };
    return a.description == b.description && a.velocity_ms == b.velocity_ms &&
           a.velocityTemperature_C == b.velocityTemperature_C &&
           a.temperatureSensitivity_msPerC == b.temperatureSensitivity_msPerC &&
           a.velocitySd_ms == b.velocitySd_ms &&
           a.drag == b.drag && a.bc == b.bc && sameSteps(a.bcSteps, b.bcSteps) &&
           sameTable(a.dragTable, b.dragTable) && a.weight_gr == b.weight_gr &&
           a.diameter_mm == b.diameter_mm && a.length_mm == b.length_mm && a.notes == b.notes;
}

namespace {

bool within(double value, double low, double high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

std::string number(double value)
{
    return cellText(value, ',');
}

using L = card::LimitedInput;

// Within the limits of the card's table (card/input_limits.hpp), the same in every face.
bool inLimits(double value, L input)
{
    return card::limitRefusal(input, value).empty();
}

std::string outside(const std::string& what, double low, double high, const std::string& unit)
{
    return what + " deve stare tra " + number(low) + " e " + number(high) +
           (unit.empty() ? "" : " " + unit) + ".";
}

std::string outside(const std::string& what, L input)
{
    const card::InputLimit& l = card::inputLimit(input);
    return outside(what, l.low, l.high, l.unit);
}

} // namespace

// --- soundness -------------------------------------------------------------------------------

std::string loadProblem(const Load& load)
{
    const std::string of = " della carica \"" + load.description + "\"";
    if (load.description.empty())
        return "La carica non ha una descrizione.";
    if (!inLimits(load.velocity_ms, L::Velocity))
        return outside("La velocità" + of, L::Velocity);
    if (!inLimits(load.velocityTemperature_C, L::Temperature))
        return outside("La temperatura della velocità" + of, L::Temperature);
    if (!within(load.temperatureSensitivity_msPerC, -10, 10))
        return outside("La sensibilità alla temperatura" + of, -10, 10, "m/s per °C");
    if (load.velocitySd_ms && !inLimits(*load.velocitySd_ms, L::SdVelocity))
        return outside("Lo scarto della velocità" + of, L::SdVelocity);
    if (!inLimits(load.weight_gr, L::Weight))
        return outside("Il peso" + of, L::Weight);
    if (load.diameter_mm && !inLimits(*load.diameter_mm, L::Diameter))
        return outside("Il diametro" + of, L::Diameter);
    if (load.length_mm && !inLimits(*load.length_mm, L::Length))
        return outside("La lunghezza" + of, L::Length);
    if (load.drag == LoadDrag::Table) {
        if (!load.diameter_mm)
            return "La carica \"" + load.description + "\" con la tabella di resistenza vuole il diametro della palla.";
        if (load.dragTable.size() < 2)
            return "La tabella di resistenza" + of + " ha meno di due righe.";
        if (load.dragTable.size() > pointmass::kMaxDragTablePoints)
            return "La tabella di resistenza" + of + " ha più di " +
                   std::to_string(pointmass::kMaxDragTablePoints) + " righe.";
        for (std::size_t i = 0; i < load.dragTable.size(); ++i) {
            const auto& p = load.dragTable[i];
            if (!within(p.mach, 0, 10) || !within(p.cd, 0.001, 5))
                return "La tabella di resistenza" + of + " ha una riga impossibile (Mach " +
                       number(p.mach) + ", Cd " + number(p.cd) + ").";
            if (i > 0 && p.mach <= load.dragTable[i - 1].mach)
                return "Nella tabella di resistenza" + of + " i numeri di Mach devono crescere.";
        }
        return {};
    }
    if (!inLimits(load.bc, L::Bc))
        return outside("Il coefficiente balistico" + of, L::Bc);
    if (load.bcSteps.size() > pointmass::kMaxBcSteps)
        return "La carica \"" + load.description + "\" ha più di " +
               std::to_string(pointmass::kMaxBcSteps) + " coefficienti a gradini.";
    for (const auto& step : load.bcSteps) {
        if (!inLimits(step.bc_lbin2, L::BcStepBc))
            return outside("Un coefficiente a gradini" + of, L::BcStepBc);
        if (!inLimits(step.fromVelocity_ms, L::BcStepVelocity))
            return outside("La velocità di un gradino" + of, L::BcStepVelocity);
    }
    for (std::size_t i = 0; i < load.bcSteps.size(); ++i)
        for (std::size_t j = i + 1; j < load.bcSteps.size(); ++j)
            if (load.bcSteps[i].fromVelocity_ms == load.bcSteps[j].fromVelocity_ms)
                return "Due coefficienti a gradini" + of + " partono dalla stessa velocità.";
    return {};
}

std::string rifleProblem(const Rifle& rifle)
{
    if (rifle.name.empty())
        return "L'arma non ha un nome.";
    const std::string of = " dell'arma \"" + rifle.name + "\"";
    if (!inLimits(rifle.sightHeight_cm, L::SightHeight))
        return outside("L'altezza dell'ottica" + of, L::SightHeight);
    if (!inLimits(rifle.twist_in, L::Twist))
        return outside("Il passo di rigatura" + of, L::Twist);
    const L click = rifle.clickUnit == pointmass::AngleUnit::Moa ? L::ClickMoa : L::ClickMrad;
    if (!inLimits(rifle.clickValue, click))
        return outside("Il valore del click" + of, click);
    if (rifle.turretClicksPerTurn && (*rifle.turretClicksPerTurn < 1 || *rifle.turretClicksPerTurn > 1000))
        return outside("I click per giro della torretta" + of, 1, 1000, "");
    if (!inLimits(rifle.zero_m, L::Zero))
        return outside("La distanza di taratura" + of, L::Zero);
    const ZeroAtmosphere& air = rifle.zeroAtmosphere;
    if (!inLimits(air.temperature_C, L::ZeroTemperature))
        return outside("La temperatura della taratura" + of, L::ZeroTemperature);
    if (!inLimits(air.pressure_hPa, L::ZeroPressure))
        return outside("La pressione della taratura" + of, L::ZeroPressure);
    if (!inLimits(air.humidity_pct, L::ZeroHumidity))
        return outside("L'umidità della taratura" + of, L::ZeroHumidity);
    if (const card::ScopeReticle sr = card::scopeReticle(rifle.scope); !sr.ok())
        return "L'ottica" + of + ": " + sr.problem + ".";
    for (const Load& load : rifle.loads)
        if (std::string problem = loadProblem(load); !problem.empty())
            return problem;
    const auto names = loadNames(rifle);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (std::find(names.begin() + static_cast<std::ptrdiff_t>(i) + 1, names.end(), names[i]) != names.end())
            return "L'arma \"" + rifle.name + "\" ha due cariche di nome \"" + names[i] + "\".";
    return {};
}

std::string armouryProblem(const Armoury& armoury)
{
    for (const Rifle& rifle : armoury.rifles)
        if (std::string problem = rifleProblem(rifle); !problem.empty())
            return problem;
    const auto names = rifleNames(armoury);
    for (std::size_t i = 0; i < names.size(); ++i)
        if (std::find(names.begin() + static_cast<std::ptrdiff_t>(i) + 1, names.end(), names[i]) != names.end())
            return "Due armi si chiamano \"" + names[i] + "\".";
    return {};
}

// --- the muzzle velocity on the day ----------------------------------------------------------

double velocityAt_ms(const Load& load, double temperature_C)
{
    return load.velocity_ms + load.temperatureSensitivity_msPerC * (temperature_C - load.velocityTemperature_C);
}

std::string powderVelocityProblem(const Load& load, double temperature_C, bool siacciEngine)
{
    const card::InputLimit& limit = card::inputLimit(L::Velocity);
    // The classic engine's bands, as its own refusal states them.
    const double low = siacciEngine ? 92 : limit.low;
    const double high = siacciEngine ? 1371 : limit.high;
    const double v = velocityAt_ms(load, temperature_C);
    if (std::isfinite(v) && v >= low && v <= high)
        return {};
    return "Con la polvere a " + number(temperature_C) + " °C la velocità della carica \"" + load.description +
           "\" diventa " + (std::isfinite(v) ? number(std::round(v * 10) / 10) : std::string("infinita")) +
           " m/s, fuori dai limiti del calcolo (da " + number(low) + " a " + number(high) + " m/s).";
}

// --- editing rules ---------------------------------------------------------------------------

std::string freeName(const std::string& wanted, const std::vector<std::string>& taken)
{
    const auto free = [&](const std::string& name) {
        return std::find(taken.begin(), taken.end(), name) == taken.end();
    };
    if (free(wanted))
        return wanted;
    for (int n = 2;; ++n)
        if (std::string name = wanted + " (" + std::to_string(n) + ")"; free(name))
            return name;
}

std::vector<std::string> rifleNames(const Armoury& armoury)
{
    std::vector<std::string> names;
    for (const Rifle& rifle : armoury.rifles)
        names.push_back(rifle.name);
    return names;
}

std::vector<std::string> loadNames(const Rifle& rifle)
{
    std::vector<std::string> names;
    for (const Load& load : rifle.loads)
        names.push_back(load.description);
    return names;
}

std::optional<std::size_t> findRifle(const Armoury& armoury, std::string_view name)
{
    for (std::size_t i = 0; i < armoury.rifles.size(); ++i)
        if (armoury.rifles[i].name == name)
            return i;
    return std::nullopt;
}

std::optional<std::size_t> findLoad(const Rifle& rifle, std::string_view description)
{
    for (std::size_t i = 0; i < rifle.loads.size(); ++i)
        if (rifle.loads[i].description == description)
            return i;
    return std::nullopt;
}

std::size_t addRifle(Armoury& armoury, Rifle rifle)
{
    rifle.name = freeName(rifle.name, rifleNames(armoury));
    armoury.rifles.push_back(std::move(rifle));
    return armoury.rifles.size() - 1;
}

std::size_t addLoad(Rifle& rifle, Load load)
{
    load.description = freeName(load.description, loadNames(rifle));
    rifle.loads.push_back(std::move(load));
    return rifle.loads.size() - 1;
}

std::size_t duplicateRifle(Armoury& armoury, std::size_t rifle)
{
    Rifle copy = armoury.rifles.at(rifle);
    copy.name = freeName(copy.name, rifleNames(armoury));
    armoury.rifles.insert(armoury.rifles.begin() + static_cast<std::ptrdiff_t>(rifle) + 1, std::move(copy));
    return rifle + 1;
}

std::size_t duplicateLoad(Rifle& rifle, std::size_t load)
{
    Load copy = rifle.loads.at(load);
    copy.description = freeName(copy.description, loadNames(rifle));
    rifle.loads.insert(rifle.loads.begin() + static_cast<std::ptrdiff_t>(load) + 1, std::move(copy));
    return load + 1;
}

std::optional<std::size_t> importRifle(Armoury& armoury, Rifle rifle, ClashChoice choice)
{
    const auto clash = findRifle(armoury, rifle.name);
    if (!clash)
        return addRifle(armoury, std::move(rifle));
    switch (choice) {
    case ClashChoice::Replace:
        armoury.rifles[*clash] = std::move(rifle);
        return clash;
    case ClashChoice::KeepBoth:
        return addRifle(armoury, std::move(rifle));
    case ClashChoice::Skip:
        break;
    }
    return std::nullopt;
}

// --- the engine's inputs ---------------------------------------------------------------------

EngineInputs engineInputs(const Rifle& rifle, const Load& load, double temperature_C)
{
    EngineInputs in;
    pointmass::Bullet& b = in.bullet;
    b.muzzleVelocity_ms = velocityAt_ms(load, temperature_C);
    b.weight_gr = load.weight_gr;
    b.model = load.drag == LoadDrag::G7 ? pointmass::DragModel::G7 : pointmass::DragModel::G1;
    if (load.drag == LoadDrag::Table) {
        b.dragTable = load.dragTable;
        b.bc_lbin2 = load.bc > 0 ? load.bc : 0.4; // unused by a measured curve
    } else {
        b.bc_lbin2 = load.bc;
        b.bcSteps = load.bcSteps;
    }
    b.diameter_mm = load.diameter_mm;
    b.length_mm = load.length_mm;
    b.twist_in = rifle.twistRightHand ? rifle.twist_in : -rifle.twist_in;

    in.zeroing.sightHeight_cm = rifle.sightHeight_cm;
    in.zeroing.zeroDistance_m = rifle.zero_m;
    in.zeroing.atmosphere = pointmass::Atmosphere{rifle.zeroAtmosphere.temperature_C,
                                                  rifle.zeroAtmosphere.pressure_hPa,
                                                  rifle.zeroAtmosphere.humidity_pct};
    in.click = {rifle.clickValue, rifle.clickUnit};
    in.turretClicksPerTurn = rifle.turretClicksPerTurn;
    return in;
}

// --- text forms ------------------------------------------------------------------------------

std::optional<double> readNumber(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    std::string s(text);
    std::replace(s.begin(), s.end(), ',', '.');
    if (s.empty() || s.front() == '+')
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = fromChars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

std::vector<std::string_view> split(std::string_view text, std::string_view separators)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find_first_of(separators, start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        if (stop > start)
            parts.push_back(text.substr(start, stop - start));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return parts;
}

} // namespace

std::optional<std::vector<pointmass::BcStep>> readBcSteps(std::string_view text)
{
    std::vector<pointmass::BcStep> steps;
    for (std::string_view item : split(text, " \t;\r\n")) {
        const std::size_t at = item.find('@');
        if (at == std::string_view::npos)
            return std::nullopt;
        const auto bc = readNumber(item.substr(0, at));
        const auto from = readNumber(item.substr(at + 1));
        if (!bc || !from)
            return std::nullopt;
        steps.push_back({*bc, *from});
    }
    return steps;
}

std::string bcStepsText(const std::vector<pointmass::BcStep>& steps)
{
    std::string text;
    for (const auto& step : steps)
        text += (text.empty() ? "" : " ") + number(step.bc_lbin2) + "@" + number(step.fromVelocity_ms);
    return text;
}

std::optional<std::vector<pointmass::DragPoint>> readDragTable(std::string_view text)
{
    std::vector<pointmass::DragPoint> table;
    for (std::string_view line : split(text, "\n")) {
        const auto fields = split(line, " \t;\r");
        if (fields.empty())
            continue;
        if (fields.size() != 2)
            return std::nullopt;
        const auto mach = readNumber(fields[0]);
        const auto cd = readNumber(fields[1]);
        if (!mach || !cd)
            return std::nullopt;
        table.push_back({*mach, *cd});
    }
    return table;
}

std::string dragTableText(const std::vector<pointmass::DragPoint>& table)
{
    std::string text;
    for (const auto& p : table)
        text += number(p.mach) + " " + number(p.cd) + "\n";
    return text;
}

} // namespace siacci::armoury

// siacci-cli card --rifle NAME --load NAME [--armoury FILE]: the card of a rifle and a load of
// the user's armoury. Reading the document needs QJsonDocument, so this source joins the tool
// only with Qt; without these options nothing of Qt runs.
#include "armoury/armoury.hpp"
#include "armoury/qt_armoury_store.hpp"
#include "card/reticle.hpp"
#include "cli/card_sources.hpp"
#include "common/number_text.hpp"

#include <QCoreApplication>

#include <algorithm>
#include <string_view>

namespace siacci::cli {
namespace {

std::string number(double value)
{
    return cellText(value, '.');
}

// Takes "--name VALUE" out of args; a missing value is reported in `missing`.
std::optional<std::string> takeOption(Args& args, const std::string& name, bool& missing)
{
    std::optional<std::string> value;
    for (std::size_t i = 0; i < args.size();) {
        if (args[i] != name) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size()) {
            missing = true;
            args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        value = args[i + 1];
        args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    }
    return value;
}

// The shot's temperature as the user gave it (the card's default is 15 C): the powder's too.
double shotTemperature(const Args& args)
{
    double t = 15;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--temperature")
            if (const auto v = armoury::readNumber(args[i + 1]))
                t = *v;
    return t;
}

bool given(const Args& args, std::string_view name)
{
    return std::find(args.begin(), args.end(), name) != args.end();
}

// The rifle's scope as the options of the shot at one distance: the hold is read on its reticle,
// at its magnification. A reticle named by the user stands alone, with its own plane and
// calibration; the user's other scope options override these, which come first.
void appendScope(Args& o, const card::ScopeSetup& scope)
{
    o.insert(o.end(), {"--reticle", scope.reticle, "--focal-plane",
                       scope.plane == card::FocalPlane::First ? "first" : "second",
                       "--calibrated-magnification", number(scope.calibratedMagnification),
                       "--magnification", number(scope.magnification), "--post-tip",
                       number(scope.postTip)});
    if (!scope.customMarks.empty())
        o.insert(o.end(), {"--marks", card::marksText(scope.customMarks), "--marks-unit",
                           scope.customUnit == card::ReticleUnit::Moa ? "moa" : "mrad"});
}

CardSourceResult fromArmoury(Args& args)
{
    bool missing = false;
    const auto rifleName = takeOption(args, "--rifle", missing);
    const auto loadName = takeOption(args, "--load", missing);
    const auto file = takeOption(args, "--armoury", missing);
    CardSourceResult r;
    if (missing) {
        r.status = kExitUsage;
        r.message = "manca il valore di --rifle, --load o --armoury";
        return r;
    }
    if (!rifleName && !loadName) {
        if (file) {
            r.status = kExitUsage;
            r.message = "--armoury vuole anche --rifle e --load";
        }
        return r;
    }
    if (!rifleName || !loadName) {
        r.status = kExitUsage;
        r.message = "dai l'arma (--rifle) e la carica (--load) insieme";
        return r;
    }
    if (QCoreApplication::applicationName().isEmpty() || !QCoreApplication::instance())
        QCoreApplication::setApplicationName("Siacci"); // the desktop program's data folder
    const QString path = file ? QString::fromStdString(*file) : armoury::QtArmouryStore::defaultPath();
    const armoury::JsonReading reading = armoury::readDocument(path);
    r.status = kExitRefused;
    if (!reading.armoury) {
        const std::string& p = reading.problem;
        r.message = "L'armeria \"" + path.toStdString() + "\" non si legge: " + p + (p.ends_with('.') ? "" : ".");
        return r;
    }
    const auto rifleIndex = armoury::findRifle(*reading.armoury, *rifleName);
    if (!rifleIndex) {
        r.message = "Nell'armeria non c'è l'arma \"" + *rifleName + "\".";
        return r;
    }
    const armoury::Rifle& rifle = reading.armoury->rifles[*rifleIndex];
    const auto loadIndex = armoury::findLoad(rifle, *loadName);
    if (!loadIndex) {
        r.message = "L'arma \"" + *rifleName + "\" non ha la carica \"" + *loadName + "\".";
        return r;
    }
    const armoury::Load& load = rifle.loads[*loadIndex];
    bool siacci = false;
    for (std::size_t i = 0; i + 1 < args.size(); ++i)
        siacci = siacci || (args[i] == "--engine" && args[i + 1] == "siacci");
    if (std::string problem = armoury::powderVelocityProblem(load, shotTemperature(args), siacci); !problem.empty()) {
        r.message = std::move(problem);
        return r;
    }
    const armoury::EngineInputs in = armoury::engineInputs(rifle, load, shotTemperature(args));
    r.status = kExitOk;
    Args& o = r.options;
    o = {"--velocity", number(in.bullet.muzzleVelocity_ms), "--weight", number(in.bullet.weight_gr),
         "--sight", number(in.zeroing.sightHeight_cm), "--zero", number(in.zeroing.zeroDistance_m),
         "--zero-temperature", number(rifle.zeroAtmosphere.temperature_C),
         "--zero-pressure", number(rifle.zeroAtmosphere.pressure_hPa),
         "--zero-humidity", number(rifle.zeroAtmosphere.humidity_pct),
         "--click", number(in.click.value) + (in.click.unit == pointmass::AngleUnit::Moa ? "moa" : "mrad")};
    if (load.drag == armoury::LoadDrag::Table) {
        // No option names a table by its values: the patch sets it, unless the user gave his own
        // drag description.
        o.insert(o.end(), {"--bc", number(load.bc)});
        const auto table = load.dragTable;
        r.patch = [table](CardOptions& c) {
            if (!c.dragTableFile && c.bullet.bcSteps.empty())
                c.bullet.dragTable = table;
        };
    } else {
        o.insert(o.end(), {"--drag", load.drag == armoury::LoadDrag::G7 ? "G7" : "G1", "--bc", number(load.bc)});
        for (const auto& step : load.bcSteps)
            o.insert(o.end(), {"--bc-step", number(step.bc_lbin2) + "@" + number(step.fromVelocity_ms)});
    }
    if (load.diameter_mm)
        o.insert(o.end(), {"--diameter", number(*load.diameter_mm)});
    if (load.diameter_mm && load.length_mm)
        o.insert(o.end(), {"--length", number(*load.length_mm), "--twist", number(*in.bullet.twist_in)});
    if (given(args, "--at") && !given(args, "--reticle"))
        appendScope(o, rifle.scope);
    r.velocitySd_ms = load.velocitySd_ms;
    return r;
}

const bool registered = registerCardSource(&fromArmoury);

} // namespace
} // namespace siacci::cli

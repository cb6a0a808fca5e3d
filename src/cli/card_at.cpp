#include "cli/card_at.hpp"

#include "card/input_limits.hpp"
#include "card/shot_solution.hpp"
#include "cli/card.hpp"
#include "cli/text_output.hpp"
#include "common/number_text.hpp"

#include <ostream>

namespace siacci::cli {

namespace {

std::optional<double> numberOf(const std::string& text)
{
    return wholeNumber(virgola(text));
}

} // namespace

ExtraOptionHandler shotAtOptionHandler(ShotAtOptions& o)
{
    return [&o](const Args& a, std::size_t& i, std::string& error) {
        const std::string& arg = a[i];
        const char* const known[] = {"--at", "--reticle", "--focal-plane", "--calibrated-magnification",
                                     "--magnification", "--post-tip", "--marks", "--marks-unit",
                                     "--animal-speed", "--animal-length", "--svg"};
        if (std::find(std::begin(known), std::end(known), arg) == std::end(known))
            return false;
        if (i + 1 >= a.size()) {
            error = "manca il valore di " + arg;
            return false;
        }
        const std::string& value = a[++i];
        if (arg == "--reticle") {
            o.reticle = value;
        } else if (arg == "--svg") {
            o.svgPath = value;
        } else if (arg == "--focal-plane") {
            if (value != "first" && value != "second") {
                error = "--focal-plane vuole first o second, non \"" + value + "\"";
                return false;
            }
            o.plane = value == "first" ? card::FocalPlane::First : card::FocalPlane::Second;
        } else if (arg == "--marks-unit") {
            if (value != "mrad" && value != "moa") {
                error = "--marks-unit vuole mrad o moa, non \"" + value + "\"";
                return false;
            }
            o.marksUnit = value == "moa" ? card::ReticleUnit::Moa : card::ReticleUnit::Mrad;
        } else if (arg == "--marks") {
            o.marks = card::readMarks(value);
            if (!o.marks) {
                error = "--marks vuole numeri crescenti tra 0 e 100 separati da spazi, non \"" + value + "\"";
                return false;
            }
        } else {
            const auto v = numberOf(value);
            if (!v) {
                error = arg + " vuole un numero, non \"" + value + "\"";
                return false;
            }
            if (arg == "--at")
                o.at_m = v;
            else if (arg == "--calibrated-magnification")
                o.calibratedMagnification = v;
            else if (arg == "--magnification")
                o.magnification = v;
            else if (arg == "--post-tip")
                o.postTip = v;
            else if (arg == "--animal-speed")
                o.animalSpeed_kmh = v;
            else
                o.animalLength_m = v;
        }
        return true;
    };
}

std::string shotAtOptionsUsage()
{
    return "Un tiro solo:\n"
           "  --at D              la soluzione esatta alla distanza D (m), una riga sola\n"
           "  --animal-speed KMH  un animale che attraversa: l'anticipo (lead_cm)\n"
           "  --animal-length M   la sua lunghezza: l'anticipo anche in corpi\n"
           "Reticolo (con --at: dove mirare; con --rifle quello dell'arma, se non ne dai un altro):\n"
           "  --reticle NOME      uno dei reticoli di siacci-cli reticle --list\n"
           "  --focal-plane first|second   il piano del reticolo (predefinito quello del reticolo)\n"
           "  --calibrated-magnification X ingrandimento a cui il secondo piano misura il vero\n"
           "  --magnification Y   l'ingrandimento in uso (predefinito quello di taratura)\n"
           "  --post-tip MOA      duplex: le punte dei montanti\n"
           "  --marks \"1 2 3,5\"   personalizzato: le tacche, con --marks-unit mrad|moa\n";
}

card::ScopeSetup scopeOf(const ShotAtOptions& o)
{
    card::ScopeSetup scope;
    if (o.reticle) {
        const card::Reticle* r = card::findReticle(*o.reticle);
        scope.reticle = r ? r->key : *o.reticle;
        if (r) {
            scope.plane = r->plane;
            if (r->plane == card::FocalPlane::Second)
                scope.calibratedMagnification = r->calibratedMagnification;
        }
    }
    if (o.plane)
        scope.plane = *o.plane;
    if (o.calibratedMagnification)
        scope.calibratedMagnification = *o.calibratedMagnification;
    scope.magnification = o.magnification.value_or(
        scope.plane == card::FocalPlane::Second ? scope.calibratedMagnification : 10);
    if (o.postTip)
        scope.postTip = *o.postTip;
    if (o.marks)
        scope.customMarks = *o.marks;
    if (o.marksUnit)
        scope.customUnit = *o.marksUnit;
    return scope;
}

std::string shotAtRefusal(const ShotAtOptions& o)
{
    if (o.animalSpeed_kmh)
        if (std::string r = card::limitRefusal(card::LimitedInput::AnimalSpeed, *o.animalSpeed_kmh); !r.empty())
            return r;
    if (o.animalLength_m)
        if (std::string r = card::limitRefusal(card::LimitedInput::AnimalLength, *o.animalLength_m); !r.empty())
            return r;
    if (o.reticle)
        return card::scopeReticle(scopeOf(o)).problem;
    return {};
}

int writeShotAt(std::ostream& out, std::ostream& err, const CardOptions& options,
                const CardExtraOptions& extra, const ShotAtOptions& at)
{
    card::CardSetup setup = cardSetupOf(options, extra);
    setup.crossingSpeed_kmh = at.animalSpeed_kmh;
    setup.animalLength_m = at.animalLength_m;
    const card::SolutionResult r = card::solveAt(setup, *at.at_m);
    if (!r.ok()) {
        err << r.refusal << "\n";
        return kExitRefused;
    }
    const card::ShotSolution& s = r.solution;
    if (options.format != CardFormat::Json) {
        writeRowText(out, options, s.row);
        return kExitOk;
    }
    out << '{';
    writeRowJsonMembers(out, s.row, options.click);
    out << ", \"windage_clicks_minus5\": " << s.windLess.windageClicks
        << ", \"windage_clicks_plus5\": " << s.windMore.windageClicks
        << ", \"lead_cm\": " << jsonNumber(s.lead_cm.value_or(0));
    if (s.leadBodies)
        out << ", \"lead_bodies\": " << jsonNumber(*s.leadBodies);
    out << ", \"below_min_energy\": " << (s.belowMinimumEnergy ? "true" : "false");
    if (at.reticle) {
        const card::ScopeSetup scope = scopeOf(at);
        const card::ScopeReticle sr = card::scopeReticle(scope);
        const card::Hold hold = card::holdFor(sr.reticle, scope.magnification, s.correction);
        out << ", \"reticle\": " << jsonString(sr.reticle.key)
            << ", \"reticle_unit\": " << (sr.reticle.unit == card::ReticleUnit::Moa ? "\"moa\"" : "\"mrad\"")
            << ", \"magnification\": " << jsonNumber(scope.magnification)
            << ", \"hold_elevation_reticle\": " << jsonNumber(hold.elevation)
            << ", \"hold_windage_reticle\": " << jsonNumber(hold.windage)
            << ", \"hold_text\": " << jsonString(hold.text);
    }
    out << "}\n";
    return kExitOk;
}

} // namespace siacci::cli

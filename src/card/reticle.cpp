#include "card/reticle.hpp"

#include "card/input_limits.hpp"
#include "common/number_text.hpp"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace siacci::card {

namespace {

constexpr std::size_t kMaxMarks = 200;   // a table's range of marks
constexpr std::size_t kMaxUserMarks = 40;
constexpr double kMaxMark = 100;          // mrad or MOA from the centre: beyond any field of view

std::vector<std::string_view> split(std::string_view text, std::string_view separators)
{
    std::vector<std::string_view> parts;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(separators, at);
        if (start == std::string_view::npos)
            break;
        std::size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos)
            end = text.size();
        parts.push_back(text.substr(start, end - start));
        at = end;
    }
    return parts;
}

std::optional<double> number(std::string_view text)
{
    return wholeNumber(virgola(text));
}

// "1:1:5" or "0.5 1 1.5": the marks, ascending and above 0; nullopt when they are not.
std::optional<std::vector<double>> marksOf(std::string_view text)
{
    std::vector<double> marks;
    for (std::string_view part : split(text, " ;")) {
        const auto pieces = split(part, ":");
        if (pieces.size() == 3) {
            const auto from = number(pieces[0]), step = number(pieces[1]), to = number(pieces[2]);
            if (!from || !step || !to || !(*step > 0) || *to < *from || (*to - *from) / *step > kMaxMarks)
                return std::nullopt;
            const auto count = static_cast<int>(std::floor((*to - *from) / *step + 1e-9));
            for (int k = 0; k <= count; ++k)
                marks.push_back(*from + k * *step);
        } else if (pieces.size() == 1) {
            const auto v = number(part);
            if (!v)
                return std::nullopt;
            marks.push_back(*v);
        } else {
            return std::nullopt;
        }
        if (marks.size() > kMaxMarks)
            return std::nullopt;
    }
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (!(marks[i] > 0 && marks[i] <= kMaxMark) || (i > 0 && !(marks[i] > marks[i - 1])))
            return std::nullopt;
    return marks;
}

std::string lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string ordinal(std::size_t n, bool feminine)
{
    return std::to_string(n) + (feminine ? "ª" : "°");
}

} // namespace

ReticleTable readReticles(std::string_view tsv)
{
    ReticleTable table;
    int lineNumber = 0;
    for (std::string_view line : split(tsv, "\n")) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        std::vector<std::string_view> f;
        std::size_t at = 0;
        while (true) {
            const std::size_t tab = line.find('\t', at);
            f.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
            if (tab == std::string_view::npos)
                break;
            at = tab + 1;
        }
        const auto bad = [&](const char* what) {
            table.problem = "riga " + std::to_string(lineNumber) + " dei reticoli: " + what;
            table.reticles.clear();
            return table;
        };
        if (f.size() != 12)
            return bad("non ha 12 colonne");
        Reticle r;
        r.key = std::string(f[0]);
        r.caption = std::string(f[1]);
        if (r.key.empty() || r.caption.empty())
            return bad("nome vuoto");
        if (f[2] != "mrad" && f[2] != "moa")
            return bad("unità non mrad né moa");
        r.unit = f[2] == "moa" ? ReticleUnit::Moa : ReticleUnit::Mrad;
        if (f[3] != "first" && f[3] != "second")
            return bad("piano focale non first né second");
        r.plane = f[3] == "first" ? FocalPlane::First : FocalPlane::Second;
        const auto magnification = number(f[4]);
        if (!magnification || (r.plane == FocalPlane::Second && !(*magnification >= 1 && *magnification <= 100)))
            return bad("ingrandimento di taratura non valido");
        r.calibratedMagnification = r.plane == FocalPlane::Second ? *magnification : 0;
        const std::string_view styles[] = {"duplex", "dots", "hash", "tree", "custom"};
        const auto style = std::find(std::begin(styles), std::end(styles), f[5]);
        if (style == std::end(styles))
            return bad("stile sconosciuto");
        r.style = static_cast<ReticleStyle>(style - std::begin(styles));
        for (int axis = 0; axis < 2; ++axis) {
            const std::string_view text = f[6 + axis];
            auto& marks = axis == 0 ? r.verticalMarks : r.horizontalMarks;
            if (text == "tip") {
                r.userTip = true;
            } else if (text == "user") {
                r.userMarks = true;
            } else {
                const auto m = marksOf(text);
                if (!m || m->empty())
                    return bad("tacche non valide");
                marks = *m;
            }
        }
        if (f[8].empty() || f[10].empty() || (f[9] != "m" && f[9] != "f") || (f[11] != "m" && f[11] != "f"))
            return bad("nome delle tacche non valido");
        r.verticalNoun = std::string(f[8]);
        r.verticalFeminine = f[9] == "f";
        r.horizontalNoun = std::string(f[10]);
        r.horizontalFeminine = f[11] == "f";
        for (const Reticle& other : table.reticles)
            if (other.key == r.key)
                return bad("nome ripetuto");
        table.reticles.push_back(std::move(r));
    }
    if (table.reticles.empty())
        table.problem = "nessun reticolo";
    return table;
}

const std::vector<Reticle>& reticles()
{
    static const std::vector<Reticle> all = readReticles(reticlesTsv()).reticles;
    return all;
}

const Reticle* findReticle(std::string_view name)
{
    const std::string wanted = lower(name);
    for (const Reticle& r : reticles())
        if (lower(r.key) == wanted || lower(r.caption) == wanted)
            return &r;
    return nullptr;
}

std::optional<std::vector<double>> readMarks(std::string_view text)
{
    auto marks = marksOf(text);
    if (!marks || marks->empty() || marks->size() > kMaxUserMarks)
        return std::nullopt;
    return marks;
}

std::string marksText(const std::vector<double>& marks)
{
    std::string text;
    for (double m : marks)
        text += (text.empty() ? "" : " ") + cellText(m, ',');
    return text;
}

ScopeReticle scopeReticle(const ScopeSetup& scope)
{
    ScopeReticle out;
    const Reticle* base = findReticle(scope.reticle);
    if (!base) {
        out.problem = "Reticolo sconosciuto: \"" + scope.reticle + "\"";
        return out;
    }
    out.reticle = *base;
    Reticle& r = out.reticle;
    r.plane = scope.plane;
    if (std::string r = limitRefusal(LimitedInput::Magnification, scope.magnification); !r.empty()) {
        out.problem = r;
        return out;
    }
    if (scope.plane == FocalPlane::Second) {
        if (std::string r = limitRefusal(LimitedInput::Magnification, scope.calibratedMagnification); !r.empty()) {
            out.problem = "Reticolo esatto a: " + r;
            return out;
        }
        r.calibratedMagnification = scope.calibratedMagnification;
    }
    if (r.userTip) {
        if (std::string r = limitRefusal(LimitedInput::PostTip, scope.postTip); !r.empty()) {
            out.problem = r;
            return out;
        }
        r.verticalMarks = r.horizontalMarks = {scope.postTip};
    }
    if (r.userMarks) {
        const bool valid = !scope.customMarks.empty() && scope.customMarks.size() <= kMaxUserMarks &&
                           std::is_sorted(scope.customMarks.begin(), scope.customMarks.end()) &&
                           scope.customMarks.front() > 0 && scope.customMarks.back() <= kMaxMark &&
                           std::adjacent_find(scope.customMarks.begin(), scope.customMarks.end()) ==
                               scope.customMarks.end();
        if (!valid) {
            out.problem = "Tacche del reticolo: numeri crescenti tra 0 e 100, al più 40";
            return out;
        }
        r.verticalMarks = r.horizontalMarks = scope.customMarks;
        r.unit = scope.customUnit;
    }
    return out;
}

double subtensionScale(const Reticle& reticle, double magnification)
{
    if (reticle.plane == FocalPlane::First || !(magnification > 0))
        return 1;
    return reticle.calibratedMagnification / magnification;
}

double inReticleUnits(const Reticle& reticle, double magnification, double mrad, double moa)
{
    return (reticle.unit == ReticleUnit::Moa ? moa : mrad) / subtensionScale(reticle, magnification);
}

std::string markName(const std::vector<double>& marks, double value, const std::string& noun,
                     bool feminine)
{
    if (marks.empty() || !std::isfinite(value))
        return {};
    const std::string half = feminine ? "mezza" : "mezzo";
    const bool single = marks.size() == 1;
    const auto named = [&](std::size_t n) {
        return single ? noun : ordinal(n, feminine) + " " + noun;
    };
    double below = 0;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const double above = marks[i];
        if (value <= above) {
            const double halves = std::round(2 * (value - below) / (above - below));
            if (halves == 0)
                return i == 0 ? std::string() : named(i);
            if (halves == 2)
                return named(i + 1);
            return i == 0 ? std::string("metà") : named(i) + " e " + half;
        }
        below = above;
    }
    // Past the last mark: what is beyond it, in marks of the last interval.
    const double last = marks.back();
    const double gap = marks.size() > 1 ? last - marks[marks.size() - 2] : last;
    if (value - last < gap / 4)
        return named(marks.size());
    return std::string("oltre ") + (feminine ? "la " : "il ") + named(marks.size());
}

Hold holdFor(const Reticle& reticle, double magnification, const pm::Correction& correction)
{
    Hold hold;
    hold.elevation = inReticleUnits(reticle, magnification, correction.elevation_mrad, correction.elevation_moa);
    hold.windage = inReticleUnits(reticle, magnification, correction.windage_mrad, correction.windage_moa);
    // Holding up puts a mark below the centre on the target; holding right, one on the left.
    const std::string up = markName(reticle.verticalMarks, std::fabs(hold.elevation),
                                    reticle.verticalNoun, reticle.verticalFeminine);
    const std::string side = markName(reticle.horizontalMarks, std::fabs(hold.windage),
                                      reticle.horizontalNoun, reticle.horizontalFeminine);
    std::string text;
    if (!up.empty())
        text = up + (hold.elevation > 0 ? " sotto" : " sopra");
    if (!side.empty())
        text += (text.empty() ? "" : ", ") + side + (hold.windage > 0 ? " a sinistra" : " a destra");
    hold.text = text.empty() ? "al centro" : text;
    return hold;
}

} // namespace siacci::card

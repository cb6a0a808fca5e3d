#include "card/il_tiro.hpp"

#include "card/hit_probability.hpp"
#include "card/input_limits.hpp"
#include "common/number_text.hpp"

#include <cmath>

namespace siacci::card {

namespace {

constexpr FieldInfo kTiroFields[] = {
    {"Distanza", "m", "Distanza del bersaglio lungo la linea di mira, come la dà il telemetro", "tiroDistanza"},
    {"Angolo", "°", "Inclinazione della linea di mira: + in salita, − in discesa (è l'angolo del cartellino)", "tiroAngolo"},
    {"Ingrandimento", "×", "L'ingrandimento a cui si spara", "tiroIngrandimento"},
    {"Esatto a", "×", "Ingrandimento a cui il reticolo del secondo piano misura il vero", "tiroTaratura"},
    {"Punta del montante", "MOA", "Distanza dal centro delle punte dei montanti del duplex", "tiroMontante"},
    {"Tacche", "", "Le tacche del proprio reticolo, dal centro, separate da spazi (per esempio 1 2 3,5 5)", "tiroTacche"},
    {"Misura dell'animale", "m", "Altezza al garrese dell'animale (quella del tipo scelto, o la propria)", "tiroMisura"},
    {"Lettura", "tacche", "Quante tacche copre l'animale sul reticolo, all'ingrandimento in uso", "tiroLettura"},
};
static_assert(std::size(kTiroFields) == kTiroFieldCount);

std::optional<double> numberOf(const std::string& text)
{
    return wholeNumber(virgola(text));
}

std::string number(double v, int decimals)
{
    return roundedText(v, decimals, ',');
}

// "▲ 9 click", "◀ 3 click", "0 click".
std::string clicksText(std::string clicks)
{
    return clicks + " click";
}

const char* arrowUpDown(double v) { return v > 0 ? "▲ " : v < 0 ? "▼ " : ""; }
const char* arrowSides(double v) { return v > 0 ? "▶ " : v < 0 ? "◀ " : ""; }

} // namespace

const FieldInfo& tiroFieldInfo(TiroField field)
{
    return kTiroFields[static_cast<int>(field)];
}

IlTiro::IlTiro(Cartellino& card) : m_card(card)
{
    m_fields[index(TiroField::Distance)] = "200";
    m_fields[index(TiroField::Reading)] = "";
    writeScopeFields();
    recompute();
}

void IlTiro::writeScopeFields()
{
    m_fields[index(TiroField::Magnification)] = cellText(m_scope.magnification, ',');
    m_fields[index(TiroField::CalibratedMagnification)] = cellText(m_scope.calibratedMagnification, ',');
    m_fields[index(TiroField::PostTip)] = cellText(m_scope.postTip, ',');
    m_fields[index(TiroField::CustomMarks)] = marksText(m_scope.customMarks);
}

void IlTiro::readScopeFields()
{
    const auto take = [&](TiroField f, double& into) {
        if (const auto v = numberOf(m_fields[index(f)]))
            into = *v;
        else
            into = 0; // refused by the scope's own check, with its name and limit
    };
    take(TiroField::Magnification, m_scope.magnification);
    take(TiroField::CalibratedMagnification, m_scope.calibratedMagnification);
    take(TiroField::PostTip, m_scope.postTip);
    if (const auto marks = readMarks(m_fields[index(TiroField::CustomMarks)]))
        m_scope.customMarks = *marks;
    else
        m_scope.customMarks.clear();
}

std::string IlTiro::fieldText(TiroField field) const
{
    if (field == TiroField::Angle)
        return m_card.fieldText(CardField::LookAngle);
    if (field == TiroField::AnimalSize) {
        const std::string& own = m_speciesSize[static_cast<int>(m_species)];
        return own.empty() ? cellText(defaultSpeciesHeight_m(m_species), ',') : own;
    }
    return m_fields[index(field)];
}

std::string IlTiro::fieldMessage(TiroField field) const
{
    const std::string text = fieldText(field);
    const auto v = numberOf(text);
    const auto limited = [&](LimitedInput input) {
        if (!v)
            return std::string(tiroFieldInfo(field).caption) + ": scrivi un numero";
        return limitRefusal(input, *v);
    };
    switch (field) {
    case TiroField::Distance: return limited(LimitedInput::ShotDistance);
    case TiroField::Angle: return limited(LimitedInput::LookAngle);
    case TiroField::Magnification: return limited(LimitedInput::Magnification);
    case TiroField::CalibratedMagnification:
        return calibratedEnabled() ? limited(LimitedInput::Magnification) : std::string();
    case TiroField::PostTip: return postTipShown() ? limited(LimitedInput::PostTip) : std::string();
    case TiroField::CustomMarks:
        return !customMarksShown() || readMarks(text)
                   ? std::string()
                   : "Tacche: numeri crescenti tra 0 e 100 separati da spazi, al più 40";
    case TiroField::AnimalSize: return limited(LimitedInput::AnimalSize);
    case TiroField::Reading: return text.empty() ? std::string() : limited(LimitedInput::ReticleReading);
    }
    return {};
}

void IlTiro::fieldChanged(TiroField field, const std::string& text)
{
    if (field == TiroField::Angle) {
        m_card.fieldChanged(CardField::LookAngle, text);
    } else if (field == TiroField::AnimalSize) {
        m_speciesSize[static_cast<int>(m_species)] = text;
    } else {
        m_fields[index(field)] = text;
        readScopeFields();
    }
    recompute();
}

int IlTiro::reticleIndex() const
{
    const auto& all = reticles();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].key == m_scope.reticle)
            return static_cast<int>(i);
    return 0;
}

bool IlTiro::postTipShown() const
{
    const Reticle* r = findReticle(m_scope.reticle);
    return r && r->userTip;
}

bool IlTiro::customMarksShown() const
{
    const Reticle* r = findReticle(m_scope.reticle);
    return r && r->userMarks;
}

void IlTiro::reticleChosen(int i)
{
    const auto& all = reticles();
    if (i < 0 || i >= static_cast<int>(all.size()))
        return;
    const Reticle& r = all[static_cast<std::size_t>(i)];
    m_scope.reticle = r.key;
    // A reticle comes in its usual plane; the user may say otherwise after.
    m_scope.plane = r.plane;
    if (r.plane == FocalPlane::Second && !numberOf(m_fields[index(TiroField::CalibratedMagnification)]))
        m_scope.calibratedMagnification = r.calibratedMagnification;
    recompute();
}

void IlTiro::focalPlaneChosen(FocalPlane plane)
{
    m_scope.plane = plane;
    recompute();
}

void IlTiro::customUnitChosen(ReticleUnit unit)
{
    m_scope.customUnit = unit;
    recompute();
}

void IlTiro::speciesChosen(Species species)
{
    m_species = species;
    recompute();
}

void IlTiro::rowHoldsShown(bool shown)
{
    m_rowHolds = shown;
    recompute();
}

void IlTiro::rangeUsed()
{
    if (m_view.rangeText.empty())
        return;
    const auto reading = numberOf(m_fields[index(TiroField::Reading)]);
    const auto size = numberOf(fieldText(TiroField::AnimalSize));
    const ScopeReticle sr = scopeReticle(m_scope);
    if (!reading || !size || !sr.ok())
        return;
    const RangeEstimate e = rangeFromReading(sr.reticle, m_scope.magnification, *size, *reading);
    if (!e.ok())
        return;
    m_fields[index(TiroField::Distance)] = roundedText(e.distance_m, 0);
    recompute();
}

void IlTiro::scopeTaken(const ScopeSetup& scope)
{
    m_scope = scope;
    writeScopeFields();
    recompute();
}

void IlTiro::riflesScope(const std::optional<ScopeSetup>& scope)
{
    if (scope == m_rifleScope)
        return;
    m_rifleScope = scope;
    if (scope && *scope != m_scope)
        scopeTaken(*scope);
}

void IlTiro::cardChanged()
{
    recompute();
}

void IlTiro::setExtraLine(std::string line)
{
    m_extraLine = std::move(line);
    m_view.extraLine = m_extraLine;
}

std::optional<PrintedCard> IlTiro::reticleCard() const
{
    const ScopeReticle sr = scopeReticle(m_scope);
    if (!m_view.scopeRefusal.empty() || !sr.ok() || !m_card.sheet().ok())
        return std::nullopt;
    std::vector<ReticleCardRow> rows;
    for (const MarkedHold& h : m_view.rowHolds)
        rows.push_back({h.label, {h.elevation, h.windage, {}}});
    const ReticleDrawing drawing = drawReticle(sr.reticle, m_scope.magnification, m_view.rowHolds);
    return reticleCardLayout(m_card.sheet().setup.description + " · " + drawing.caption, drawing, rows);
}

void IlTiro::recompute()
{
    TiroView v;
    v.extraLine = m_extraLine;
    const ScopeReticle sr = scopeReticle(m_scope);
    for (TiroField f : {TiroField::Magnification, TiroField::CalibratedMagnification, TiroField::PostTip,
                        TiroField::CustomMarks})
        if (std::string m = fieldMessage(f); !m.empty() && v.scopeRefusal.empty())
            v.scopeRefusal = m;
    if (v.scopeRefusal.empty() && !sr.ok())
        v.scopeRefusal = sr.problem;
    const bool haveReticle = v.scopeRefusal.empty();
    const double magnification = m_scope.magnification;

    // Ranging: independent of the card.
    if (haveReticle && !m_fields[index(TiroField::Reading)].empty()) {
        if (std::string m = fieldMessage(TiroField::Reading); !m.empty())
            v.rangeRefusal = m;
        else if (std::string s = fieldMessage(TiroField::AnimalSize); !s.empty())
            v.rangeRefusal = s;
        else {
            const RangeEstimate e = rangeFromReading(sr.reticle, magnification,
                                                     *numberOf(fieldText(TiroField::AnimalSize)),
                                                     *numberOf(m_fields[index(TiroField::Reading)]));
            (e.ok() ? v.rangeText : v.rangeRefusal) = e.ok() ? e.text : e.refusal;
        }
    }

    // The answer.
    if (std::string m = fieldMessage(TiroField::Distance); !m.empty())
        v.refusal = m;
    else if (std::string a = fieldMessage(TiroField::Angle); !a.empty())
        v.refusal = a;
    else if (!m_card.inputRefusal().empty())
        v.refusal = m_card.inputRefusal();
    else if (!m_card.sheet().ok())
        v.refusal = m_card.sheet().refusal;
    if (v.refusal.empty()) {
        const CardSetup& setup = m_card.setup();
        const double distance = *numberOf(m_fields[index(TiroField::Distance)]);
        const SolutionResult r = solveAt(setup, distance);
        if (!r.ok()) {
            v.refusal = r.refusal;
        } else {
            const ShotSolution& s = r.solution;
            const pm::Correction& c = s.correction;
            v.elevationText = clicksText(elevationClicksText(c.elevationClicks, setup.clicksPerTurn));
            v.windageText = clicksText(windageClicksText(c.windageClicks, setup.clicksPerTurn));
            v.elevationAngles = number(c.elevation_mrad, 2) + " mrad · " + number(c.elevation_moa, 2) + " MOA";
            v.windageAngles = number(c.windage_mrad, 2) + " mrad · " + number(c.windage_moa, 2) + " MOA";
            v.windBracket = "Vento " + number(s.windSpeedLess_kmh, 0) + "–" + number(s.windSpeedMore_kmh, 0) +
                            " km/h: da " + windageClicksText(s.windLess.windageClicks, setup.clicksPerTurn) +
                            " a " + windageClicksText(s.windMore.windageClicks, setup.clicksPerTurn) + " click";
            v.lines = {
                {"Velocità", number(s.row.velocity_ms, 0) + " m/s"},
                {"Energia", number(s.row.energy_J, 0) + " J"},
                {"Tempo di volo", number(s.row.time_s, 3) + " s"},
                {"Traiettoria", number(s.row.path_cm, 1) + " cm"},
                {"Caduta", number(s.row.drop_cm, 1) + " cm"},
                {"Deriva", number(s.row.windage_cm, 1) + " cm"},
            };
            if (s.lead_cm)
                v.lines.emplace_back("Anticipo", number(*s.lead_cm, 0) + " cm" +
                                                     (s.leadBodies ? " (" + number(*s.leadBodies, 1) + " corpi)" : ""));
            if (s.belowMinimumEnergy)
                v.energyWarning = "Energia sotto il minimo per il " + std::string(speciesCaption(m_card.species())) +
                                  " (" + number(*setup.minEnergy_J, 0) + " J): non tirare";
            if (haveReticle) {
                const Hold hold = holdFor(sr.reticle, magnification, c);
                const std::string unit = sr.reticle.unit == ReticleUnit::Moa ? "MOA" : "mrad";
                v.holdText = hold.text;
                v.holdValues = std::string(arrowUpDown(hold.elevation)) + number(std::fabs(hold.elevation), 1) +
                               " · " + arrowSides(hold.windage) + number(std::fabs(hold.windage), 1) + " " + unit +
                               " a " + cellText(magnification, ',') + "×";
                v.hold = hold;
            }
            v.solution = s;
            // The chance of a hit there, from the card's table once it is computed.
            if (m_extraLine.empty() && m_card.sheet().hit)
                v.extraLine = hitLineAt(*m_card.sheet().hit, distance);
        }
    }
    if (haveReticle) {
        if (m_card.sheet().ok())
            for (const CardRow& row : m_card.sheet().rows) {
                if (!(row.row.distance_m > 0))
                    continue;
                const Hold h = holdFor(sr.reticle, magnification, row.correction);
                v.rowHolds.push_back({roundedText(row.row.distance_m, 0), h.elevation, h.windage});
            }
        std::optional<MarkedHold> shot;
        if (v.hold)
            shot = MarkedHold{{}, v.hold->elevation, v.hold->windage};
        v.drawing = drawReticle(sr.reticle, magnification, m_rowHolds ? v.rowHolds : std::vector<MarkedHold>{},
                                shot ? &*shot : nullptr);
    }
    m_view = std::move(v);
}

} // namespace siacci::card

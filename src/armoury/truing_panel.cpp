#include "armoury/truing_panel.hpp"

namespace siacci::armoury {

TruingPanel::TruingPanel(CardArmoury& armoury, const card::Cartellino& card) : m_armoury(armoury), m_card(card)
{
}

void TruingPanel::forget()
{
    m_result.reset();
    m_resultText.clear();
}

void TruingPanel::observationChosen(Observation observation)
{
    m_observation = observation;
    forget();
}

void TruingPanel::unitChosen(CorrectionUnit unit)
{
    m_unit = unit;
    forget();
}

void TruingPanel::valueChanged(const std::string& text)
{
    m_value = text;
    forget();
}

void TruingPanel::distanceChanged(const std::string& text)
{
    m_distance = text;
    forget();
}

std::string TruingPanel::valueCaption() const
{
    return m_observation == Observation::Velocity ? "Velocità misurata (m/s)" : "Correzione data (in su +)";
}

void TruingPanel::solve(bool coefficientFromCorrection)
{
    forget();
    const auto value = readNumber(m_value);
    const auto distance = readNumber(m_distance);
    if (!value || !distance) {
        TruingResult r;
        r.outcome = TruingOutcome::BadObservation;
        r.message = "Scrivi il valore osservato e la distanza in metri.";
        m_result = r;
        m_resultText = r.message;
        return;
    }
    if (!m_card.inputRefusal().empty()) {
        TruingResult r;
        r.outcome = TruingOutcome::ShotRefused;
        r.message = m_card.inputRefusal();
        m_result = r;
        m_resultText = r.message;
        return;
    }
    const card::CardSetup& s = m_card.setup();
    TruingShot shot;
    shot.bullet = s.bullet;
    shot.conditions = s.conditions;
    shot.zeroing = s.zeroing;
    shot.click = s.click;
    shot.engine = s.method == card::Method::Siacci ? TruingEngine::Siacci : TruingEngine::PointMass;
    const ObservedCorrection correction{*value, m_unit, *distance};
    m_result = m_observation == Observation::Velocity ? trueFromVelocity(shot, {*value, *distance})
               : coefficientFromCorrection              ? trueBcFromCorrection(shot, correction)
                                                        : trueVelocityFromCorrection(shot, correction);
    m_resultText = m_result->ok() ? truingSummary(*m_result) : m_result->message;
}

void TruingPanel::solveClicked()
{
    solve(false);
}

void TruingPanel::solveBcClicked()
{
    solve(true);
}

void TruingPanel::applyClicked()
{
    if (!applyEnabled())
        return;
    const TruingResult r = *m_result;
    // Kept as shown: "Applica" never stores digits the user did not see.
    m_armoury.truingApplied(r.quantity, shownValue(r.quantity, r.solved));
    forget();
}

} // namespace siacci::armoury

#pragma once

#include "armoury/card_armoury.hpp"
#include "armoury/truing.hpp"

#include <optional>
#include <string>

// "Verifica sul campo" in the range card, as a model: what the user saw (a velocity downrange,
// or the correction he dialled), the value that explains it for the card's shot and engine,
// shown beside the old one, and "Applica" to keep it.
namespace siacci::armoury {

enum class Observation { Velocity, Correction };

class TruingPanel {
public:
    TruingPanel(CardArmoury& armoury, const card::Cartellino& card);

    // --- events ---------------------------------------------------------------------------
    void observationChosen(Observation observation);
    void unitChosen(CorrectionUnit unit);     // of the correction
    void valueChanged(const std::string& text);
    void distanceChanged(const std::string& text);
    void solveClicked();                      // "Calcola"
    void solveBcClicked();                    // "Ricava il coefficiente", offered when confounded
    void applyClicked();                      // "Applica"

    // --- what the view shows --------------------------------------------------------------
    Observation observation() const { return m_observation; }
    CorrectionUnit unit() const { return m_unit; }
    bool unitEnabled() const { return m_observation == Observation::Correction; }
    // The caption of the value field: "Velocità misurata (m/s)" or "Correzione data (su +)".
    std::string valueCaption() const;
    const std::string& valueText() const { return m_value; }
    const std::string& distanceText() const { return m_distance; }
    // "Coefficiente 0,4123 (prima 0,4)", the message when nothing fits, or empty.
    const std::string& resultText() const { return m_resultText; }
    bool resultIsRefusal() const { return m_result && !m_result->ok(); }
    bool applyEnabled() const { return m_result && m_result->ok(); }
    bool solveBcOffered() const { return m_result && m_result->outcome == TruingOutcome::Confounded; }

private:
    void solve(bool coefficientFromCorrection);
    void forget();

    CardArmoury& m_armoury;
    const card::Cartellino& m_card;
    Observation m_observation = Observation::Correction;
    CorrectionUnit m_unit = CorrectionUnit::Clicks;
    std::string m_value, m_distance;
    std::optional<TruingResult> m_result;
    std::string m_resultText;
};

} // namespace siacci::armoury

#pragma once

#include "card/cartellino.hpp"
#include "card/ranging.hpp"
#include "card/reticle_card.hpp"
#include "card/reticle.hpp"
#include "card/reticle_drawing.hpp"
#include "card/shot_solution.hpp"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// "IL TIRO": the answer for one shot in one glance. The distance from the rangefinder and the
// angle are its first fields; the answer is the clicks to dial in large type, or the hold on the
// hunter's own reticle, with the reticle drawn. The load, the rifle and the day are the range
// card's (Cartellino): the angle is the card's own field, so the card and the shot never
// disagree. Ranging with the reticle sits under it. The desktop window and the page show this
// model; neither decides anything.
namespace siacci::card {

enum class TiroField {
    Distance, Angle,                                   // the shot
    Magnification, CalibratedMagnification, PostTip, CustomMarks, // the scope
    AnimalSize, Reading,                               // ranging
};
inline constexpr int kTiroFieldCount = static_cast<int>(TiroField::Reading) + 1;
const FieldInfo& tiroFieldInfo(TiroField field);

// What the view shows, all texts decided here.
struct TiroView {
    std::string refusal;            // why there is no answer (Italian), or empty
    std::string elevationText;      // "▲ 9 click"
    std::string windageText;        // "◀ 3 click"
    std::string elevationAngles;    // "2,61 mrad · 8,98 MOA"
    std::string windageAngles;
    std::string holdText;           // "2° puntino sotto, metà a sinistra"
    std::string holdValues;         // "▲ 2,1 · ◀ 0,5 mrad a 8×"
    std::string windBracket;        // "Vento 5-15 km/h: da ◀ 2 a ◀ 5 click"
    std::vector<std::pair<std::string, std::string>> lines; // caption, value
    std::string energyWarning;      // below the game's minimum, or empty
    // One more summary line, left for the chance of a hit at this distance; empty until
    // something fills it (setExtraLine).
    std::string extraLine;
    std::string scopeRefusal;       // the scope's fields cannot give a reticle
    std::string rangeText;          // "270 m ± 13 m"
    std::string rangeRefusal;
    std::optional<ShotSolution> solution;
    std::optional<Hold> hold;
    std::vector<MarkedHold> rowHolds; // one per row of the card past the muzzle
    std::optional<ReticleDrawing> drawing;
};

class IlTiro {
public:
    explicit IlTiro(Cartellino& card);

    // --- events -------------------------------------------------------------------------------
    void fieldChanged(TiroField field, const std::string& text);
    void reticleChosen(int index);                 // in reticles()
    void focalPlaneChosen(FocalPlane plane);
    void customUnitChosen(ReticleUnit unit);
    void speciesChosen(Species species);           // the animal of the ranging
    void rowHoldsShown(bool shown);
    // "Usa questa distanza": the ranged distance becomes the shot's.
    void rangeUsed();
    // A rifle's scope (from the armoury) replaces the one in the fields.
    void scopeTaken(const ScopeSetup& scope);
    // The scope of the card's rifle now (none: no rifle of the armoury): taken when it is not the
    // one last taken, so that another rifle brings its scope and the user's edits stay.
    void riflesScope(const std::optional<ScopeSetup>& scope);
    // The card changed (a field, a load): the answer again.
    void cardChanged();
    void setExtraLine(std::string line);

    // --- what the view shows ------------------------------------------------------------------
    std::string fieldText(TiroField field) const;
    const ScopeSetup& scope() const { return m_scope; }
    int reticleIndex() const;
    bool calibratedEnabled() const { return m_scope.plane == FocalPlane::Second; }
    bool postTipShown() const;
    bool customMarksShown() const;
    Species species() const { return m_species; }
    bool rowHoldsShown() const { return m_rowHolds; }
    const TiroView& view() const { return m_view; }
    // The field's refusal (its name and limit), or empty.
    std::string fieldMessage(TiroField field) const;
    const Cartellino& card() const { return m_card; }
    // The printed reticle card: the reticle with the holds of every distance of the card, and
    // the list of them; none while the scope or the card is refused.
    std::optional<PrintedCard> reticleCard() const;

private:
    static int index(TiroField f) { return static_cast<int>(f); }
    void recompute();
    void readScopeFields();
    void writeScopeFields();

    Cartellino& m_card;
    std::array<std::string, kTiroFieldCount> m_fields{};
    ScopeSetup m_scope;
    Species m_species = Species::Capriolo;
    std::array<std::string, kSpeciesCount> m_speciesSize{};
    bool m_rowHolds = true;
    std::string m_extraLine;
    std::optional<ScopeSetup> m_rifleScope;
    TiroView m_view;
};

} // namespace siacci::card

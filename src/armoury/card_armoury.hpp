#pragma once

#include "armoury/armoury_session.hpp"
#include "armoury/truing.hpp"
#include "card/cartellino.hpp"
#include "common/ports.hpp"

#include <optional>
#include <string>
#include <vector>

// The range card's link to the armoury: the boxes "Arma" and "Carica" that fill every rifle and
// load input of the card at once, the muzzle velocity moved with the card's temperature, and
// "Salva nell'armeria" that keeps the card's load in the chosen rifle: as a new load, or, for a
// load that came from the armoury, updating it if the user says so. The rifle's own values are
// written only where the user changed them on the card. The rifle and load are followed by
// name, so an edit elsewhere (ARMERIA) never points the card at another entry; the load shown
// in "Carica" is the card's source, so a load taken from the main window leaves it empty.
namespace siacci::armoury {

class CardArmoury {
public:
    CardArmoury(ArmourySession& session, card::Cartellino& card, Dialogs& dialogs);

    // --- what the view shows --------------------------------------------------------------
    // The items of the two boxes; the first item of each is "(nessuna)".
    std::vector<std::string> rifleItems() const;
    std::vector<std::string> loadItems() const;
    int rifleIndex() const;   // in rifleItems(); 0: none
    int loadIndex() const;    // in loadItems(); 0: none
    // "V0 corretta per la temperatura: 797 m/s" for the chosen load, else empty.
    std::string correctedVelocityText() const;
    bool saveEnabled() const { return chosenRifle() != nullptr; }
    // A short line after "Salva nell'armeria" or a fill ("Salvato nell'armeria."), else empty.
    const std::string& status() const { return m_status; }

    const Rifle* chosenRifle() const;
    // The armoury load the card holds (its source), in the chosen rifle; else null.
    const Load* chosenLoad() const;
    double cardTemperature_C() const;

    // --- events ---------------------------------------------------------------------------
    void rifleChosen(int item);
    void loadChosen(int item);
    // After every edit of the card: a new temperature moves the velocity of the chosen load.
    void cardEdited();
    void saveClicked();
    // "Salva nell'armeria" under names typed by the user: the card's values kept as the load
    // `loadName` of the rifle `rifleName`, either made new (a new rifle zeroed in the card's
    // air) or overwritten; both then chosen. Refused while the card is.
    void saveAsClicked(const std::string& rifleName, const std::string& loadName);
    // The scope of the chosen rifle ("IL TIRO" shows its reticle), or none.
    std::optional<card::ScopeSetup> chosenScope() const;
    // "IL TIRO" changed the scope: kept in the chosen rifle when it is a sound one and not the
    // same; nothing without a rifle. The armoury's failure to save, or "".
    std::string scopeEdited(const card::ScopeSetup& scope);
    // A trued value kept in the chosen load (and the card refilled from it); without a load,
    // put into the card alone.
    void truingApplied(TruedQuantity quantity, double value);

private:
    void fill(const std::string& loadName);
    void setField(card::CardField field, double value);
    // The card's bullet into `load`, its velocity taken back to the load's own temperature.
    void storeBullet(Load& load) const;
    // The card's rifle inputs into `rifle`: all of them, or (editedOnly) those the user changed
    // on the card, the others kept.
    void storeRifle(Rifle& rifle, bool editedOnly) const;

    ArmourySession& m_session;
    card::Cartellino& m_card;
    Dialogs& m_dialogs;
    std::string m_rifle;       // empty: none
    std::string m_filledTemperature;
    std::string m_status;
};

} // namespace siacci::armoury

#pragma once

#include "armoury/armoury_session.hpp"
#include "common/ports.hpp"

#include <optional>
#include <string>
#include <vector>

// The window "ARMERIA" as a model: a tree of rifles and their loads, the form of the selected
// entry, and one method per button. Every accepted change goes through the session, which saves
// the document at once.
namespace siacci::armoury {

// A catalogue load as the main window has it chosen (menu item and bullet button).
struct CatalogueLoadChoice {
    std::string description;
    double velocity_ms = 0;
    double weight_gr = 0;
    double bc = 0;                    // G1
    double sightHeight_cm = 0;
};

// What the armoury needs from the main window.
class ArmouryHost {
public:
    virtual ~ArmouryHost() = default;
    // The catalogue load chosen in the main window; nullopt when none is.
    virtual std::optional<CatalogueLoadChoice> chosenCatalogueLoad() const = 0;
};

// The form of a rifle as the user types it (decimal comma accepted).
struct RifleForm {
    std::string name, sightHeight_cm, twist_in;
    bool twistRightHand = true;
    std::string clickValue;
    pointmass::AngleUnit clickUnit = pointmass::AngleUnit::Mrad;
    std::string turretClicksPerTurn;  // empty: not known
    std::string zero_m, zeroTemperature_C, zeroPressure_hPa, zeroHumidity_pct;

    friend bool operator==(const RifleForm&, const RifleForm&) = default;
};

struct LoadForm {
    std::string description, velocity_ms, velocityTemperature_C, temperatureSensitivity;
    LoadDrag drag = LoadDrag::G1;
    std::string bc, bcSteps, dragTable, weight_gr, diameter_mm, length_mm, notes;

    friend bool operator==(const LoadForm&, const LoadForm&) = default;
};

// The field of a form a refusal is about (its object name: "velocita", "taratura" ...), from
// the Italian message; empty when the message names none.
std::string refusedFieldOf(const std::string& problem);

RifleForm rifleFormOf(const Rifle& rifle);
LoadForm loadFormOf(const Load& load);
// The rifle or load a form describes (loads of the rifle kept from `base`), or the Italian
// message naming the first field that is not a number.
struct RifleReading { std::optional<Rifle> rifle; std::string problem; };
struct LoadReading { std::optional<Load> load; std::string problem; };
RifleReading readRifleForm(const RifleForm& form, const Rifle& base);
LoadReading readLoadForm(const LoadForm& form);

struct Selection {
    std::optional<std::size_t> rifle;
    std::optional<std::size_t> load;  // only with a rifle

    friend bool operator==(const Selection&, const Selection&) = default;
};

class ArmouryModel {
public:
    ArmouryModel(ArmourySession& session, Dialogs& dialogs, ArmouryHost& host);

    // --- what the view shows --------------------------------------------------------------
    const Armoury& armoury() const { return m_session.armoury(); }
    const Selection& selection() const { return m_selection; }
    bool rifleFormShown() const { return m_selection.rifle && !m_selection.load; }
    bool loadFormShown() const { return m_selection.rifle && m_selection.load; }
    // The form as the user typed it (kept through a refused "Conferma"), else as stored.
    RifleForm rifleForm() const;
    LoadForm loadForm() const;
    // The typed form differs from the stored entry.
    bool unconfirmedEdits() const;
    // The field the last refused "Conferma" was about (object name), else empty.
    const std::string& refusedField() const { return m_refusedField; }
    bool canAddLoad() const { return m_selection.rifle.has_value(); }
    bool canDuplicate() const { return m_selection.rifle.has_value(); }
    bool canDelete() const { return m_selection.rifle.has_value(); }
    bool canExport() const { return m_selection.rifle.has_value(); }
    // "Nessuna arma: ..." when the armoury is empty, else a line about the selection.
    std::string hint() const;

    // --- events ---------------------------------------------------------------------------
    // Another entry chosen. With unconfirmed edits the user is asked "Salvare le modifiche?":
    // Sì confirms them first (a refusal keeps the entry), No drops them, Annulla stays. True
    // when the selection moved.
    bool select(Selection selection);
    // The user typed in a form: the whole form as it now reads.
    void rifleFormEdited(const RifleForm& form);
    void loadFormEdited(const LoadForm& form);
    // The document was changed elsewhere (the range card): the selection stays within it.
    void armouryChanged() { keepSelectionValid(); }
    void addRifleClicked();                        // "Nuova arma"
    void addLoadClicked();                         // "Nuova carica"
    void duplicateClicked();                       // "Duplica"
    void deleteClicked();                          // "Elimina", asks first
    void addFromCatalogueClicked();                // "Aggiungi dal catalogo"
    // "Conferma" under a form: true when the change was kept.
    bool rifleFormApplied(const RifleForm& form);
    bool loadFormApplied(const LoadForm& form);

    // "Esporta…": the document holding the selected rifle alone, and a file name for it.
    std::optional<Armoury> exportDocument() const;
    std::string exportFileName() const;
    // "Importa…": the rifles of a document read from a file (or why it was not read). A rifle
    // whose name is taken is never replaced without asking: the user chooses between replacing
    // it and keeping both (the import renamed).
    void documentImported(const std::optional<Armoury>& document, const std::string& problem);

private:
    // Hands the edited document to the session; tells the user when it was refused or not saved.
    bool commit(Armoury next, Selection select);
    void tell(const std::string& text, MessageIcon icon = MessageIcon::Warning);
    void keepSelectionValid();
    void forgetDraft();
    bool confirmed(Armoury next);

    ArmourySession& m_session;
    Dialogs& m_dialogs;
    ArmouryHost& m_host;
    Selection m_selection;
    std::optional<RifleForm> m_rifleDraft;
    std::optional<LoadForm> m_loadDraft;
    std::string m_refusedField;
};

} // namespace siacci::armoury

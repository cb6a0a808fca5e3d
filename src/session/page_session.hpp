#pragma once

#include "armoury/armoury_session.hpp"
#include "armoury/card_armoury.hpp"
#include "armoury/truing_panel.hpp"
#include "card/cartellino.hpp"
#include "card/il_tiro.hpp"
#include "session/page_sensors.hpp"
#include "common/ports.hpp"

#include "common/json.hpp"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The phone page as one model: the range card (Cartellino), its load source (typed by hand, a
// catalogue bullet, an armoury load), the armoury document kept in the browser's storage,
// "Verifica sul campo", the catalogue and the classic metric table of the same shot. The page
// forwards every event here and shows the JSON views; it decides nothing itself. The page's
// storage is a set of texts by key: the session reads them at the start and hands back, after
// each event, what to write (takeWrites).
namespace siacci::session {

// The storage keys: the armoury document (the desktop's JSON), the page's own inputs, and the
// unreadable documents kept aside (the key followed by a fingerprint of the text).
inline constexpr const char* kArmouryKey = "siacci-armeria";
inline constexpr const char* kPageKey = "siacci-pagina";
inline constexpr const char* kUnreadablePrefix = "siacci-armeria-illeggibile";

enum class LoadSource { Hand, Catalogue, Armoury };

struct StorageWrite {
    std::string key;
    std::string text;
};

class PageSession {
public:
    // `stored`: the texts of the page's storage by key (other keys are ignored).
    explicit PageSession(const std::vector<std::pair<std::string, std::string>>& stored = {});
    ~PageSession();
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    // --- the card ---------------------------------------------------------------------------
    // A key typed in a field (named by the card's object name: "velocita", "umidita" ...). A
    // text on its way to a number, or out of the field's limits, waits until the field is left:
    // the card stays as it was and no message shows.
    void cardSet(std::string_view field, std::string_view text);
    void cardLeave(std::string_view field);
    // The ± key: the sign of the field's number turned.
    void cardNegate(std::string_view field);
    // A choice: "modello" G1|G7, "click" 0..5, "pressione" 0..2, "ora" 1..12, "sinistra" 0|1,
    // "specie" 0..3, "metodo" 0 (punto materiale) | 1 (Siacci); "Distanza etica": "colpo"
    // 0|1, "telemetro" 0..1, "vento_letto" 0..1, "posizione" 0..4, "mira" 0 (con la
    // correzione) | 1 (senza).
    void cardChoose(std::string_view what, std::string_view value);
    // "A mano": the card keeps its numbers, freed of the catalogue bullet or the armoury load.
    void useHand();
    // A catalogue bullet (menu item name, button 1 ...) into the card.
    void useCatalogue(std::string_view item, int button);
    // The card's view; with "Distanza etica" on, the chance of a hit from the samples flown
    // so far ("colpo": in_corso while samples remain).
    std::string cardView() const;
    // Flies up to `samples` more samples of the card's hit table (the page calls it between
    // frames, so that it never freezes); true while more remain.
    bool hitStep(int samples);
    // The classic metric table of the card's shot, or why the Siacci engine cannot give it.
    std::string tableView() const;

    // --- Il tiro: the answer at one distance -----------------------------------------------
    // A field of "Il tiro" by its object name ("tiroDistanza", "tiroAngolo", "tiroIngrandimento"
    // ...). The angle is the card's own.
    void tiroSet(std::string_view field, std::string_view text);
    void tiroLeave(std::string_view field);
    // "reticolo" 0..n-1, "piano" 0 (primo) | 1 (secondo), "unitaTacche" 0 (mrad) | 1 (MOA),
    // "specie" 0..3 (the animal of the ranging), "tacche" 0|1 (the holds of the card drawn).
    void tiroChoose(std::string_view what, std::string_view value);
    // "Usa questa distanza": the ranged distance becomes the shot's.
    void tiroUseRange();
    // A sensor's reading, after the user allowed it: "inclinazione" DEG (the phone's tilt),
    // "azzera" DEG (the tilt on a level surface), "blocca" (a tap: hold or follow),
    // "posizione" "LAT ALT" (the altitude may be missing), "bussola" DEG (the azimuth of fire),
    // "ventoBussola" DEG (the compass direction the wind comes from).
    void tiroSensor(std::string_view what, std::string_view value);
    std::string tiroView() const;

    // --- the catalogue ----------------------------------------------------------------------
    // The cartridges of a menu (0 ...) by family, or of every menu that a search finds.
    std::string catalogueView(int menu, std::string_view query) const;
    std::string catalogueLoads(std::string_view item) const;

    // --- the armoury ------------------------------------------------------------------------
    std::string armouryView() const;
    // An armoury load into the card (rifle and load indexes from 0; load -1: the rifle alone).
    void armouryChoose(int rifle, int load);
    // "Salva nell'armeria" under the names typed.
    void armourySave(std::string_view rifleName, std::string_view loadName);
    // "Elimina": the load, or the rifle with all its loads (load -1).
    void armouryDelete(int rifle, int load);
    // "Importa…": a document's text. Rifles equal to ones already here are not taken again; a
    // rifle whose name is taken by a different one is kept beside it renamed, or replaces it
    // when `replace`.
    void armouryImport(std::string_view text, bool replace);
    // What to ask before importing: "Sostituire ...?" when rifles of the file take names of
    // different rifles here, else empty.
    std::string armouryImportQuestion(std::string_view text) const;
    // "Esporta…": the whole document.
    std::string armouryExport() const;

    // --- Verifica sul campo -----------------------------------------------------------------
    // "osservazione" correzione|velocita, "unita" 0..3, "valore", "distanza".
    void truingSet(std::string_view what, std::string_view value);
    void truingSolve(bool coefficient);
    void truingApply();

    // --- the storage ------------------------------------------------------------------------
    // What to write into the page's storage since the last call, in order.
    std::vector<StorageWrite> takeWrites();

    // For the tests.
    const card::Cartellino& card() const { return *m_card; }
    const card::IlTiro& tiro() const { return *m_tiro; }
    const armoury::Armoury& armoury() const { return m_armoury->armoury(); }
    LoadSource source() const { return m_source; }

private:
    // Il tiro's line of the chance of a hit, from the samples flown so far.
    std::string tiroHitLine() const;
    struct Parts;
    void forward(card::CardField field, const std::string& text);
    void afterEdit();
    void saveState();
    void restoreState(std::string_view text);
    void restoreTiro(const json::Value& state);
    // The scope "Il tiro" shows into the chosen rifle of the armoury, when there is one.
    void keepScope();
    std::vector<std::pair<std::string, std::string>> fieldMessages() const;
    bool cardRefused() const;
    const std::string& lastDialogMessage() const;

    std::unique_ptr<Parts> m_parts;
    card::Cartellino* m_card = nullptr;
    card::IlTiro* m_tiro = nullptr;
    TiltMeter m_tilt;
    armoury::ArmourySession* m_armoury = nullptr;
    armoury::CardArmoury* m_cardArmoury = nullptr;
    armoury::TruingPanel* m_truing = nullptr;

    LoadSource m_source = LoadSource::Hand;
    std::string m_catalogueItem;
    int m_catalogueButton = 0;
    // The field being typed, and its text while the card does not take it yet.
    std::optional<card::CardField> m_typing;
    std::optional<std::string> m_waiting;
    std::string m_armouryNotice;  // a line about the last armoury action
    struct Unreadable {
        std::string key, text, problem;
    };
    std::vector<Unreadable> m_unreadable;
    std::vector<StorageWrite> m_writes;
    bool m_restoring = false;
    // The card's hit table as it is being flown, and what it was started for.
    std::unique_ptr<card::HitSimulation> m_hitRun;
    std::string m_hitKey;
};

// The field of the card named by its object name, or nullopt.
std::optional<card::CardField> cardFieldNamed(std::string_view name);

} // namespace siacci::session

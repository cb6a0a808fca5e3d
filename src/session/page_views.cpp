// The views of the page's session as JSON: what each face of the page shows, texts ready.
#include "session/page_session.hpp"

#include "armoury/armoury_document.hpp"
#include "ballistics/tables.hpp"
#include "catalogue/catalogue.hpp"
#include "catalogue/catalogue_search.hpp"
#include "common/json.hpp"
#include "common/number_text.hpp"
#include "card/input_limits.hpp"

#include <cmath>

namespace siacci::session {

using card::CardField;
using card::Column;
using json::Value;

namespace {

// The card's columns the phone shows, with their headings.
struct PhoneColumn {
    Column column;
    const char* heading;
};
constexpr PhoneColumn kPhoneColumns[] = {
    {Column::Distance, "Distanza m"}, {Column::Clicks, "Click alzo"}, {Column::WindClicks, "Click vento"},
    {Column::Path, "Traiettoria cm"}, {Column::Velocity, "Velocità m/s"}, {Column::Energy, "Energia J"},
    {Column::Lead, "Anticipo cm (corpi)"}, {Column::Hit, "Colpo utile %"},
};

const char* noteKind(card::NoteKind kind)
{
    switch (kind) {
    case card::NoteKind::Plain: return "nota";
    case card::NoteKind::Warning: return "avviso";
    case card::NoteKind::Refusal: return "rifiuto";
    }
    return "nota";
}

Value captions(int count, const char* (*caption)(int))
{
    Value list = Value::array();
    for (int i = 0; i < count; ++i)
        list.push(caption(i));
    return list;
}

std::string number(double v, int decimals)
{
    return roundedText(v, decimals, ',');
}

} // namespace

std::string PageSession::cardView() const
{
    const auto messages = fieldMessages();
    Value fields = Value::object();
    for (int f = 0; f < card::kCardFieldCount; ++f) {
        const auto field = static_cast<CardField>(f);
        const card::FieldInfo& info = card::fieldInfo(field);
        std::string message;
        for (const auto& [name, text] : messages)
            if (name == info.objectName)
                message = text;
        const bool waiting = m_typing == field && m_waiting;
        fields.set(info.objectName, Value::object()
                                        .set("testo", waiting ? *m_waiting : m_card->fieldText(field))
                                        .set("nome", info.caption)
                                        .set("unita", italianCaption(info.unit))
                                        .set("aiuto", info.tooltip)
                                        .set("messaggio", message)
                                        .set("attivo", m_card->fieldUsed(field)));
    }

    Value choices = Value::object();
    choices.set("modello", m_card->dragModel() == card::pm::DragModel::G7 ? "G7" : "G1")
        .set("click", static_cast<int>(m_card->clickChoice()))
        .set("click_voci", captions(card::kClickChoiceCount,
                                    [](int i) { return card::clickChoiceCaption(static_cast<card::ClickChoice>(i)); }))
        .set("pressione", static_cast<int>(m_card->pressureMode()))
        .set("pressione_voci", captions(3, [](int i) { return card::pressureModeCaption(static_cast<card::PressureMode>(i)); }))
        .set("ora", m_card->windClock())
        .set("vento_da", "Vento " + m_card->windDirectionText())
        // The clock's arrow: a wind the card computes with.
        .set("freccia", readField(m_card->fieldText(CardField::WindSpeed)) > 0 &&
                            m_card->fieldRefusal(CardField::WindSpeed, m_card->fieldText(CardField::WindSpeed)).empty())
        .set("sinistra", m_card->leftHand())
        .set("specie", static_cast<int>(m_card->species()))
        .set("specie_voci", captions(card::kSpeciesCount, [](int i) { return card::speciesCaption(static_cast<card::Species>(i)); }))
        .set("metodo", m_card->method() == card::Method::Siacci ? 1 : 0)
        .set("colpo", m_card->hit())
        .set("telemetro", static_cast<int>(m_card->rangeFinder()))
        .set("telemetro_voci", captions(card::kRangeFinderCount, [](int i) { return card::rangeFinderCaption(static_cast<card::RangeFinder>(i)); }))
        .set("vento_letto", static_cast<int>(m_card->windReading()))
        .set("vento_letto_voci", captions(card::kWindReadingCount, [](int i) { return card::windReadingCaption(static_cast<card::WindReading>(i)); }))
        .set("posizione", static_cast<int>(m_card->position()))
        .set("posizione_voci", captions(card::kShootingPositionCount, [](int i) { return card::shootingPositionCaption(static_cast<card::ShootingPosition>(i)); }))
        .set("mira", m_card->aim() == card::AimMode::NoCorrection ? 1 : 0)
        .set("mira_voci", captions(card::kAimModeCount, [](int i) { return card::aimModeCaption(static_cast<card::AimMode>(i)); }));

    // Where the card's load comes from, in one line.
    Value source = Value::object();
    std::string line;
    switch (m_source) {
    case LoadSource::Hand:
        source.set("tipo", "mano");
        line = "Carica scritta a mano";
        break;
    case LoadSource::Catalogue: {
        source.set("tipo", "catalogo").set("voce", m_catalogueItem).set("pulsante", m_catalogueButton);
        const CartridgePreset* preset = findPreset(m_catalogueItem);
        line = "Dal catalogo: " + (preset ? italianCaption(preset->caption) : std::string());
        if (preset && m_catalogueButton >= 1 && m_catalogueButton <= static_cast<int>(preset->loads.size()))
            line += " · " + italianCaption(preset->loads[static_cast<std::size_t>(m_catalogueButton - 1)].description);
        break;
    }
    case LoadSource::Armoury: {
        source.set("tipo", "armeria");
        const armoury::Rifle* rifle = m_cardArmoury->chosenRifle();
        const armoury::Load* load = m_cardArmoury->chosenLoad();
        line = "Dall'armeria: " + (rifle ? rifle->name : std::string()) + (load ? " · " + load->description : std::string());
        source.set("velocita", m_cardArmoury->correctedVelocityText());
        break;
    }
    }
    source.set("riga", line);

    Value headings = Value::array();
    Value rows = Value::array();
    Value notes = Value::array();
    std::string refusal;
    // The chance of a hit from the samples flown so far, when they are this card's.
    card::CardSheet sheet = m_card->sheet();
    Value hit = Value::object();
    const bool hitAsked = sheet.ok() && sheet.setup.hit && sheet.setup.method == card::Method::PointMass;
    const bool hitCurrent = hitAsked && m_hitRun && m_hitKey == card::hitTableKey(sheet.setup);
    if (hitCurrent && m_hitRun->samplesDone() > 0)
        card::applyHitTable(sheet, m_hitRun->table());
    const bool running = hitAsked && !(hitCurrent && m_hitRun->done());
    const int done = hitCurrent ? m_hitRun->samplesDone() : 0;
    const int of = hitAsked ? sheet.setup.hit->samples : 0;
    // While the samples fly, how far they are; then the line of the ethical distance.
    const std::string state = running && of > 0
        ? "Colpo utile: " + roundedText(100.0 * done / of, 0, ',') + " %…"
        : sheet.ethicalText;
    hit.set("attivo", hitAsked)
        .set("in_corso", running)
        .set("campioni", done)
        .set("di", of)
        .set("riga", sheet.ethicalText)
        .set("stato", state);
    if (!messages.empty())
        refusal = messages.size() == 1 ? "Correggi il valore segnato: " + messages.front().second + "."
                                       : "Correggi i valori segnati.";
    else if (!sheet.ok())
        refusal = sheet.refusal;
    if (refusal.empty()) {
        std::vector<std::size_t> at;
        for (const PhoneColumn& pc : kPhoneColumns)
            for (std::size_t c = 0; c < sheet.columns.size(); ++c)
                if (sheet.columns[c] == pc.column) {
                    at.push_back(c);
                    headings.push(pc.heading);
                }
        for (const card::CardRow& row : sheet.rows) {
            Value cells = Value::array();
            for (std::size_t c : at)
                cells.push(row.cells[c]);
            rows.push(Value::object()
                          .set("distanza", row.row.distance_m)
                          .set("celle", std::move(cells))
                          .set("sotto", row.belowMinimumEnergy));
        }
        for (const card::Note& note : sheet.notes)
            notes.push(Value::object().set("testo", note.text).set("tipo", noteKind(note.kind)));
    }

    const armoury::TruingPanel& t = *m_truing;
    Value truing = Value::object();
    truing.set("osservazione", t.observation() == armoury::Observation::Velocity ? "velocita" : "correzione")
        .set("unita", static_cast<int>(t.unit()))
        .set("unita_voci", Value(Value::Array{"click", "MOA", "MRAD", "cm"}))
        .set("unita_attiva", t.unitEnabled())
        .set("valore_nome", t.valueCaption())
        .set("valore", t.valueText())
        .set("distanza", t.distanceText())
        .set("risultato", t.resultText())
        .set("rifiuto", t.resultIsRefusal())
        .set("applica", t.applyEnabled())
        .set("coefficiente", t.solveBcOffered());

    std::string status = m_cardArmoury->status();
    if (!lastDialogMessage().empty())
        status = lastDialogMessage();
    const Value view = Value::object()
                           .set("campi", std::move(fields))
                           .set("scelte", std::move(choices))
                           .set("origine", std::move(source))
                           .set("rifiuto", refusal)
                           .set("intestazioni", std::move(headings))
                           .set("righe", std::move(rows))
                           .set("note", std::move(notes))
                           .set("colpo", std::move(hit))
                           .set("stato", status)
                           .set("verifica", std::move(truing));
    return json::write(view);
}

std::string PageSession::tableView() const
{
    Value view = Value::object();
    Value notes = Value::array();
    const auto refuse = [&](const std::string& why) {
        view.set("rifiuto", why).set("intestazioni", Value::array()).set("righe", Value::array()).set("note", Value::array());
        return json::write(view);
    };
    if (const auto messages = fieldMessages(); !messages.empty())
        return refuse("Correggi prima il cartellino: " + messages.front().second + ".");
    if (!m_card->inputRefusal().empty())
        return refuse(m_card->inputRefusal());
    const card::CardSetup& s = m_card->setup();
    const auto& bullet = s.bullet;
    // What Siacci's method does not know, said rather than left out.
    if (!bullet.dragTable.empty())
        return refuse("La tabella classica di Siacci non usa la curva di resistenza misurata della carica: vale il cartellino.");
    if (bullet.model != card::pm::DragModel::G1)
        return refuse("La tabella classica di Siacci vale per il coefficiente G1: con il G7 vale il cartellino.");
    if (!bullet.bcSteps.empty())
        return refuse("La tabella classica di Siacci vale per un solo coefficiente: con i coefficienti a gradini vale il cartellino.");
    const double wind = s.conditions.wind.speed_ms;
    const int hour = m_card->windClock();
    if (wind > 0 && hour != 3 && hour != 9)
        return refuse("La tabella classica di Siacci conosce solo il vento di traverso (da ore 3 o da ore 9): "
                      "con il vento " + m_card->windDirectionText() + " vale il cartellino.");
    const double angle = s.conditions.lookAngle_deg;
    std::optional<SiteAngle> site;
    for (const SiteAngle& a : kSiteAngles)
        if (std::abs(std::abs(angle) - a.degrees) < 1e-9)
            site = a;
    if (!site)
        return refuse("La tabella classica di Siacci conosce l'angolo di sito di 0, 15, 30, 45 o 60°: "
                      "per " + number(angle, 1) + "° vale il cartellino.");

    ShotInput input;
    input.velocity = bullet.muzzleVelocity_ms;
    input.bc = bullet.bc_lbin2;
    input.weight = bullet.weight_gr;
    input.maxDistance = s.span.maxDistance_m;
    input.zeroDistance = s.zeroing.zeroDistance_m;
    input.increment = s.span.increment_m;
    input.temperature = s.conditions.atmosphere.temperature_C;
    input.altitude = readField(m_card->fieldText(CardField::Altitude));
    input.sightHeight = s.zeroing.sightHeight_cm;
    input.description = s.description;
    input.siteAngle = *site;
    const TableRun run = tableEuropa(input, RunKind::Screen, ',');
    if (run.refusal != TableRefusal::None)
        return refuse(refusalMessage(run.refusal, TableMode::Metric));

    Value headings = Value::array();
    for (const auto& line : metricLayout().headings) {
        Value cells = Value::array();
        for (const char* h : line)
            cells.push(h);
        headings.push(std::move(cells));
    }
    Value rows = Value::array();
    for (const TrajectoryRow& row : run.rows) {
        Value cells = Value::array();
        for (const std::string& c : row)
            cells.push(c);
        rows.push(std::move(cells));
    }
    if (site->degrees != 0)
        notes.push("Angolo di sito " + std::to_string(site->degrees) + "°" + (angle < 0 ? " (in discesa)" : ""));
    notes.push("Il vento della tabella è di 16 km/h di traverso; il cartellino usa il vento scritto.");
    if (m_card->pressureMode() != card::PressureMode::AltitudeOnly)
        notes.push("La tabella classica ricava l'aria dall'altitudine e dalla temperatura: la pressione scritta vale nel cartellino.");
    notes.push("L'umidità non entra nella tabella classica.");
    if (run.stopped)
        notes.push("La tabella si ferma a " + number(run.stopDistance, 0) + " m.");
    view.set("rifiuto", "").set("intestazioni", std::move(headings)).set("righe", std::move(rows)).set("note", std::move(notes));
    return json::write(view);
}

std::string PageSession::catalogueView(int menuIndex, std::string_view query) const
{
    const auto& menus = catalogueMenus();
    Value titles = Value::array();
    for (const CatalogueMenu& m : menus)
        titles.push(m.title);
    if (menuIndex < 0 || menuIndex >= static_cast<int>(menus.size()))
        menuIndex = 0;
    // Cartridges by heading, in order.
    std::vector<std::pair<std::string, Value>> grouped;
    const auto add = [&](const std::string& heading, const CartridgePreset& p, const std::vector<int>& bullets) {
        if (grouped.empty() || grouped.back().first != heading)
            grouped.emplace_back(heading, Value::array());
        Value b = Value::array();
        for (int n : bullets)
            b.push(n);
        grouped.back().second.push(
            Value::object().set("voce", p.itemName).set("nome", italianCaption(p.caption)).set("palle", std::move(b)));
    };
    const bool searching = !searchKey(query).empty();
    if (searching) {
        for (const CatalogueHit& hit : searchCatalogue(query)) {
            std::string heading = std::string(hit.menu->title);
            if (!hit.family->caption.empty())
                heading += " · " + familyHeading(hit.family->caption);
            add(heading, *hit.preset, hit.bullets);
        }
    } else {
        const CatalogueMenu& menu = menus[static_cast<std::size_t>(menuIndex)];
        for (const CartridgeFamily& family : menu.families)
            for (const CartridgePreset& p : family.presets)
                add(family.caption.empty() ? std::string(menu.title) : familyHeading(family.caption), p, {});
    }
    Value groups = Value::array();
    for (auto& [heading, items] : grouped)
        groups.push(Value::object().set("titolo", heading).set("voci", std::move(items)));
    const bool none = grouped.empty();
    const Value view = Value::object()
                           .set("menu", titles)
                           .set("scelto", menuIndex)
                           .set("gruppi", std::move(groups))
                           .set("messaggio", searching && none ? "nessun risultato" : "");
    return json::write(view);
}

std::string PageSession::catalogueLoads(std::string_view itemName) const
{
    Value loads = Value::array();
    const CartridgePreset* preset = findPreset(itemName);
    if (preset)
        for (std::size_t i = 0; i < preset->loads.size(); ++i) {
            const BulletLoad& l = preset->loads[i];
            loads.push(Value::object()
                           .set("pulsante", static_cast<int>(i) + 1)
                           .set("nome", italianCaption(l.caption))
                           .set("descrizione", italianCaption(l.description))
                           .set("dettaglio", number(l.velocity_ms, 0) + " m/s · BC " + number(l.bc, 3) + " · " +
                                                 number(l.weight_gr, 1) + " grani"));
        }
    const Value view = Value::object()
                           .set("voce", std::string(itemName))
                           .set("nome", preset ? italianCaption(preset->caption) : std::string())
                           .set("palle", std::move(loads));
    return json::write(view);
}

std::string PageSession::armouryView() const
{
    Value rifles = Value::array();
    for (const armoury::Rifle& r : armoury().rifles) {
        Value loads = Value::array();
        for (const armoury::Load& l : r.loads)
            loads.push(l.description);
        rifles.push(Value::object().set("nome", r.name).set("cariche", std::move(loads)));
    }
    Value unreadable = Value::array();
    for (const Unreadable& u : m_unreadable)
        unreadable.push(Value::object()
                            .set("chiave", u.key)
                            .set("problema", u.problem)
                            .set("testo", u.text)
                            .set("file", "armeria-illeggibile.json")
                            .set("avviso", "Un'armeria salvata in questo browser non si legge (" + u.problem +
                                               "): è conservata, scaricala per non perderla."));
    std::string notice = m_armouryNotice;
    if (notice.empty())
        notice = lastDialogMessage();
    if (notice.empty())
        notice = m_cardArmoury->status();
    if (notice.empty() && armoury().rifles.empty())
        notice = "L'armeria è vuota: importa il file dell'armeria del computer, oppure scrivi i nomi e salva la carica in uso.";
    const Value view = Value::object()
                           .set("armi", std::move(rifles))
                           .set("arma", m_cardArmoury->rifleIndex() - 1)
                           .set("carica", m_cardArmoury->loadIndex() - 1)
                           .set("messaggio", notice)
                           .set("illeggibili", std::move(unreadable))
                           .set("file", "armeria.json");
    return json::write(view);
}

std::string PageSession::armouryImportQuestion(std::string_view text) const
{
    const armoury::DocumentReading reading = armoury::readDocumentJson(text);
    if (!reading.armoury)
        return {};
    std::vector<std::string> clashes;
    for (const armoury::Rifle& rifle : reading.armoury->rifles)
        if (const auto same = armoury::findRifle(armoury(), rifle.name); same && !(armoury().rifles[*same] == rifle))
            clashes.push_back(rifle.name);
    if (clashes.empty())
        return {};
    std::string names;
    for (std::size_t i = 0; i < clashes.size(); ++i)
        names += (i == 0 ? "\"" : i + 1 == clashes.size() ? " e \"" : ", \"") + clashes[i] + "\"";
    return (clashes.size() == 1 ? "L'arma " + names + " è già nell'armeria, diversa. Sostituirla con quella del file? "
                                : "Le armi " + names + " sono già nell'armeria, diverse. Sostituirle con quelle del file? ") +
           "(Annulla: le tiene entrambe, quelle del file con un nome nuovo.)";
}

} // namespace siacci::session

namespace siacci::session {

// The chance of a hit at the one shot's distance, from the samples the card has flown so far
// (the page flies them a batch at a time, after the card shows).
std::string PageSession::tiroHitLine() const
{
    const card::TiroView& v = m_tiro->view();
    if (!v.extraLine.empty() || !v.solution)
        return v.extraLine;
    const card::CardSheet& sheet = m_card->sheet();
    if (!sheet.ok() || !sheet.setup.hit || !m_hitRun || m_hitKey != card::hitTableKey(sheet.setup) ||
        m_hitRun->samplesDone() == 0)
        return {};
    return card::hitLineAt(m_hitRun->table(), v.solution->row.distance_m);
}

// "Il tiro": the answer at one distance in large type, the hold, the reticle as SVG, ranging,
// and the state of the sensors.
std::string PageSession::tiroView() const
{
    const card::IlTiro& t = *m_tiro;
    const card::TiroView& v = t.view();
    Value fields = Value::object();
    for (int f = 0; f < card::kTiroFieldCount; ++f) {
        const auto field = static_cast<card::TiroField>(f);
        const card::FieldInfo& info = card::tiroFieldInfo(field);
        std::string text = t.fieldText(field);
        std::string message = t.fieldMessage(field);
        if (field == card::TiroField::Angle) {
            // The card's field as the card shows it, also while typed.
            const bool waiting = m_typing == CardField::LookAngle && m_waiting;
            if (waiting)
                text = *m_waiting;
            message = waiting ? std::string() : m_card->fieldRefusal(CardField::LookAngle, m_card->fieldText(CardField::LookAngle));
        }
        const bool shown = !(field == card::TiroField::PostTip && !t.postTipShown()) &&
                           !(field == card::TiroField::CustomMarks && !t.customMarksShown()) &&
                           !(field == card::TiroField::CalibratedMagnification && !t.calibratedEnabled());
        fields.set(info.objectName, Value::object()
                                        .set("testo", text)
                                        .set("nome", info.caption)
                                        .set("unita", info.unit)
                                        .set("aiuto", info.tooltip)
                                        .set("messaggio", message)
                                        .set("visibile", shown));
    }
    Value lines = Value::array();
    for (const auto& [caption, value] : v.lines)
        lines.push(Value(Value::Array{Value(caption), Value(value)}));
    Value reticles = Value::array();
    for (const card::Reticle& r : card::reticles())
        reticles.push(r.caption);
    Value species = Value::array();
    for (int i = 0; i < card::kSpeciesCount; ++i)
        species.push(card::speciesCaption(static_cast<card::Species>(i)));
    Value view = Value::object();
    view.set("campi", std::move(fields))
        .set("rifiuto", v.refusal)
        .set("alzo", v.elevationText)
        .set("deriva", v.windageText)
        .set("alzoAngoli", v.elevationAngles)
        .set("derivaAngoli", v.windageAngles)
        .set("mira", v.holdText)
        .set("miraValori", v.holdValues)
        .set("forcella", v.windBracket)
        .set("righe", std::move(lines))
        .set("energia", v.energyWarning)
        .set("rigaExtra", tiroHitLine())
        .set("otticaRifiuto", v.scopeRefusal)
        .set("stima", v.rangeText)
        .set("stimaRifiuto", v.rangeRefusal)
        .set("svg", v.drawing ? card::reticleSvg(*v.drawing, 300) : std::string())
        .set("didascalia", v.drawing ? v.drawing->caption : std::string())
        .set("reticoli", std::move(reticles))
        .set("reticolo", t.reticleIndex())
        .set("piano", t.scope().plane == card::FocalPlane::First ? 0 : 1)
        .set("unitaTacche", t.scope().customUnit == card::ReticleUnit::Moa ? 1 : 0)
        .set("specie", static_cast<int>(t.species()))
        .set("specie_voci", std::move(species))
        .set("tacche", t.rowHoldsShown())
        .set("inclinazione", Value::object().set("bloccata", m_tilt.held()).set("zero", m_tilt.zeroText()))
        .set("vento", "Vento " + m_card->windDirectionText())
        // What the page says of a sensor it asked for; where one is missing the field stays typed.
        .set("sensori", Value::object()
                            .set("nessunaInclinazione", "Il telefono non dà l'inclinazione: scrivi l'angolo.")
                            .set("inclinazioneAccesa",
                                 "Appoggia il telefono lungo la canna, o mira lungo il suo bordo; tocca Blocca per tenere il valore.")
                            .set("nessunaPosizione", "Posizione non disponibile: scrivi latitudine e altitudine.")
                            .set("posizioneAttesa", "Cerco la posizione…")
                            .set("posizioneLetta", "Latitudine e altitudine dalla posizione del telefono.")
                            .set("nessunaBussola", "Bussola non disponibile: scrivi l'azimut e scegli l'ora del vento.")
                            .set("bussolaLetta", "Azimut di tiro dalla bussola.")
                            .set("ventoLetto", "Direzione del vento dalla bussola: " + m_card->windDirectionText() + "."));
    return json::write(view);
}

} // namespace siacci::session

#include "session/page_session.hpp"

#include "armoury/armoury_document.hpp"
#include "card/card_host.hpp"
#include "catalogue/catalogue.hpp"
#include "common/json.hpp"
#include "common/number_text.hpp"
#include "card/input_limits.hpp"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace siacci::session {

using card::CardField;
using json::Value;

namespace {

// The armoury saved into the page's storage: the document's text under its key.
class PageStorage : public armoury::ArmouryStorage {
public:
    explicit PageStorage(std::vector<StorageWrite>& writes) : m_writes(writes) {}
    std::string save(const armoury::Armoury& armoury) override
    {
        m_writes.push_back({kArmouryKey, armoury::documentJson(armoury)});
        return {};
    }

private:
    std::vector<StorageWrite>& m_writes;
};

// The models' messages, kept for the page's status line (the page has no message boxes).
class PageDialogs : public Dialogs {
public:
    std::string last;
    std::optional<std::string> prompt(const std::string&, const std::string&, const std::string&) override
    {
        return std::nullopt;
    }
    MessageAnswer message(const Message& m) override
    {
        last = m.text;
        return MessageAnswer::Ok;
    }
    void beep() override {}
};

// The catalogue bullet chosen, as the shot the card takes (the desktop's main window's role).
class CatalogueShot : public CardHost {
public:
    CardShot shot;
    CardShot cardShot() const override { return shot; }
};

// A fingerprint of a text (FNV-1a, 64 bits) for the key of an unreadable document kept aside:
// two different documents never share a key, the same one is not kept twice.
std::string fingerprint(std::string_view text)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(h));
    return buffer;
}

std::string withAsciiMinus(std::string_view text)
{
    std::string out(text);
    for (std::size_t at = out.find("\xe2\x88\x92"); at != std::string::npos; at = out.find("\xe2\x88\x92"))
        out.replace(at, 3, "-");
    return out;
}

std::optional<int> integer(std::string_view text)
{
    const auto v = armoury::readNumber(text);
    if (!v || *v != static_cast<double>(static_cast<int>(*v)))
        return std::nullopt;
    return static_cast<int>(*v);
}

} // namespace

std::optional<CardField> cardFieldNamed(std::string_view name)
{
    for (int f = 0; f < card::kCardFieldCount; ++f)
        if (name == card::fieldInfo(static_cast<CardField>(f)).objectName)
            return static_cast<CardField>(f);
    return std::nullopt;
}

struct PageSession::Parts {
    explicit Parts(std::vector<StorageWrite>& writes, armoury::Armoury initial)
        : storage(writes), card(&host), armoury(std::move(initial), storage),
          cardArmoury(armoury, card, dialogs), truing(cardArmoury, card), tiro(card)
    {
    }
    PageStorage storage;
    PageDialogs dialogs;
    CatalogueShot host;
    card::Cartellino card;
    armoury::ArmourySession armoury;
    armoury::CardArmoury cardArmoury;
    armoury::TruingPanel truing;
    card::IlTiro tiro;
};

PageSession::PageSession(const std::vector<std::pair<std::string, std::string>>& stored)
{
    armoury::Armoury initial;
    std::string page;
    for (const auto& [key, text] : stored) {
        if (key == kArmouryKey && !text.empty()) {
            armoury::DocumentReading reading = armoury::readDocumentJson(text);
            if (reading.armoury) {
                initial = std::move(*reading.armoury);
            } else {
                // Kept aside before anything is written over it, and offered for download.
                const std::string aside = std::string(kUnreadablePrefix) + "-" + fingerprint(text);
                m_writes.push_back({aside, text});
                m_unreadable.push_back({aside, text, reading.problem});
            }
        } else if (key.rfind(kUnreadablePrefix, 0) == 0) {
            bool known = false;
            for (const Unreadable& u : m_unreadable)
                known = known || u.key == key;
            if (!known)
                m_unreadable.push_back({key, text, armoury::readDocumentJson(text).problem});
        } else if (key == kPageKey) {
            page = text;
        }
    }
    m_parts = std::make_unique<Parts>(m_writes, std::move(initial));
    m_card = &m_parts->card;
    m_armoury = &m_parts->armoury;
    m_cardArmoury = &m_parts->cardArmoury;
    m_truing = &m_parts->truing;
    m_card->deferHit(true);
    m_tiro = &m_parts->tiro;
    if (!page.empty())
        restoreState(page);
}

PageSession::~PageSession() = default;

bool PageSession::hitStep(int samples)
{
    const card::CardSheet& sheet = m_card->sheet();
    const card::CardSetup& setup = sheet.setup;
    if (!sheet.ok() || !setup.hit || setup.method != card::Method::PointMass) {
        m_hitRun.reset();
        return false;
    }
    const std::string key = card::hitTableKey(setup);
    if (!m_hitRun || key != m_hitKey) {
        m_hitRun = std::make_unique<card::HitSimulation>(setup.bullet, setup.conditions, setup.zeroing,
                                                         card::rowDistancesOf(sheet), *setup.hit);
        m_hitKey = key;
    }
    return !m_hitRun->advance(std::max(1, samples));
}

// --- the card ------------------------------------------------------------------------------

void PageSession::forward(CardField field, const std::string& text)
{
    m_card->fieldChanged(field, withAsciiMinus(text));
    afterEdit();
}

void PageSession::afterEdit()
{
    m_cardArmoury->cardEdited();
    saveState();
}

void PageSession::cardSet(std::string_view name, std::string_view text)
{
    const auto field = cardFieldNamed(name);
    if (!field)
        return;
    if (m_typing && *m_typing != *field)
        cardLeave(card::fieldInfo(*m_typing).objectName);
    m_typing = field;
    const std::string typed = withAsciiMinus(text);
    if (card::incompleteNumber(typed) ||
        !m_card->fieldRefusal(*field, typed).empty()) {
        m_waiting = std::string(text);
        return;
    }
    m_waiting.reset();
    forward(*field, typed);
}

void PageSession::cardLeave(std::string_view name)
{
    const auto field = cardFieldNamed(name);
    if (!field || m_typing != field)
        return;
    m_typing.reset();
    if (m_waiting) {
        const std::string text = *m_waiting;
        m_waiting.reset();
        forward(*field, text);
    }
}

void PageSession::cardNegate(std::string_view name)
{
    const auto field = cardFieldNamed(name);
    if (!field)
        return;
    std::string text = m_typing == field && m_waiting ? *m_waiting : m_card->fieldText(*field);
    text = withAsciiMinus(text);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        text = "-";
    else if (text[first] == '-')
        text.erase(first, 1);
    else if (text[first] == '+')
        text[first] = '-';
    else
        text.insert(first, "-");
    cardSet(name, text);
}

void PageSession::cardChoose(std::string_view what, std::string_view value)
{
    const auto n = integer(value);
    if (what == "modello") {
        if (value == "G1" || value == "G7")
            m_card->dragModelChosen(value == "G7" ? card::pm::DragModel::G7 : card::pm::DragModel::G1);
    } else if (what == "click") {
        if (n && *n >= 0 && *n < card::kClickChoiceCount)
            m_card->clickChosen(static_cast<card::ClickChoice>(*n));
    } else if (what == "pressione") {
        if (n && *n >= 0 && *n <= 2)
            m_card->pressureModeChosen(static_cast<card::PressureMode>(*n));
    } else if (what == "ora") {
        if (n)
            m_card->windClockChosen(*n);
    } else if (what == "sinistra") {
        if (n)
            m_card->leftHandChosen(*n != 0);
    } else if (what == "specie") {
        if (n && *n >= 0 && *n < card::kSpeciesCount)
            m_card->speciesChosen(static_cast<card::Species>(*n));
    } else if (what == "metodo") {
        if (n && (*n == 0 || *n == 1))
            m_card->methodChosen(*n == 1 ? card::Method::Siacci : card::Method::PointMass);
    } else if (what == "colpo") {
        if (n && (*n == 0 || *n == 1))
            m_card->hitChosen(*n == 1);
    } else if (what == "telemetro") {
        if (n && *n >= 0 && *n < card::kRangeFinderCount)
            m_card->rangeFinderChosen(static_cast<card::RangeFinder>(*n));
    } else if (what == "vento_letto") {
        if (n && *n >= 0 && *n < card::kWindReadingCount)
            m_card->windReadingChosen(static_cast<card::WindReading>(*n));
    } else if (what == "posizione") {
        if (n && *n >= 0 && *n < card::kShootingPositionCount)
            m_card->positionChosen(static_cast<card::ShootingPosition>(*n));
    } else if (what == "mira") {
        if (n && (*n == 0 || *n == 1))
            m_card->aimChosen(*n == 1 ? card::AimMode::NoCorrection : card::AimMode::Corrected);
    } else {
        return;
    }
    afterEdit();
}

void PageSession::useHand()
{
    if (m_source == LoadSource::Armoury) {
        m_cardArmoury->rifleChosen(0);
        m_card->armouryExtrasChosen(std::nullopt, {});
    }
    m_source = LoadSource::Hand;
    saveState();
}

void PageSession::useCatalogue(std::string_view item, int button)
{
    const CartridgePreset* preset = findPreset(item);
    if (!preset || button < 1 || button > static_cast<int>(preset->loads.size()))
        return;
    const BulletLoad& load = preset->loads[static_cast<std::size_t>(button - 1)];
    const auto current = [this](CardField f) { return readField(m_card->fieldText(f)); };
    CardShot shot;
    shot.velocity_ms = load.velocity_ms;
    shot.bc = load.bc;
    shot.weight_gr = load.weight_gr;
    shot.sightHeight_cm = current(CardField::SightHeight);
    shot.temperature_C = current(CardField::Temperature);
    shot.altitude_m = current(CardField::Altitude);
    shot.zero_m = preset->range.zeroDistance.value_or(0);
    shot.maxDistance_m = preset->range.maxDistance.value_or(0);
    shot.increment_m = preset->range.increment.value_or(0);
    shot.description = std::string(load.description);
    // The card's pressure mode is the user's: the shot of the catalogue knows none.
    const card::PressureMode mode = m_card->pressureMode();
    if (m_source == LoadSource::Armoury)
        m_cardArmoury->rifleChosen(0);
    m_parts->host.shot = shot;
    m_card->takeCurrentShot();
    // A catalogue coefficient is a single G1 one, for a bullet of no known size.
    m_card->dragModelChosen(card::pm::DragModel::G1);
    for (int row = 0; row < card::kBcStepRows; ++row) {
        m_card->bcStepChanged(row, 0, "");
        m_card->bcStepChanged(row, 1, "");
    }
    m_card->fieldChanged(CardField::Diameter, "");
    m_card->fieldChanged(CardField::Length, "");
    m_card->pressureModeChosen(mode);
    m_source = LoadSource::Catalogue;
    m_catalogueItem = std::string(item);
    m_catalogueButton = button;
    m_typing.reset();
    m_waiting.reset();
    saveState();
}

std::vector<std::pair<std::string, std::string>> PageSession::fieldMessages() const
{
    std::vector<std::pair<std::string, std::string>> out;
    for (int f = 0; f < card::kCardFieldCount; ++f) {
        const auto field = static_cast<CardField>(f);
        if (m_typing == field)
            continue;
        std::string message = m_card->fieldRefusal(field, m_card->fieldText(field));
        if (!message.empty())
            out.emplace_back(card::fieldInfo(field).objectName, std::move(message));
    }
    return out;
}

bool PageSession::cardRefused() const
{
    return !fieldMessages().empty() || !m_card->inputRefusal().empty() || !m_card->sheet().ok();
}

const std::string& PageSession::lastDialogMessage() const
{
    return m_parts->dialogs.last;
}

// --- the armoury ---------------------------------------------------------------------------

void PageSession::armouryChoose(int rifle, int load)
{
    m_armouryNotice.clear();
    m_parts->dialogs.last.clear();
    if (rifle < 0 || rifle >= static_cast<int>(armoury().rifles.size()))
        return;
    m_typing.reset();
    m_waiting.reset();
    m_cardArmoury->rifleChosen(rifle + 1);
    if (load >= 0)
        m_cardArmoury->loadChosen(load + 1);
    m_source = LoadSource::Armoury;
    if (const auto scope = m_cardArmoury->chosenScope())
        m_tiro->scopeTaken(*scope);
    saveState();
}

void PageSession::armourySave(std::string_view rifleName, std::string_view loadName)
{
    m_armouryNotice.clear();
    m_parts->dialogs.last.clear();
    if (m_typing)
        cardLeave(card::fieldInfo(*m_typing).objectName);
    if (const auto messages = fieldMessages(); !messages.empty()) {
        m_armouryNotice = "Il cartellino non si salva: " + messages.front().second + ".";
        return;
    }
    const auto trimmed = [](std::string_view s) {
        const auto a = s.find_first_not_of(' ');
        const auto b = s.find_last_not_of(' ');
        return a == std::string_view::npos ? std::string() : std::string(s.substr(a, b - a + 1));
    };
    m_cardArmoury->saveAsClicked(trimmed(rifleName), trimmed(loadName));
    if (m_cardArmoury->chosenLoad())
        m_source = LoadSource::Armoury;
    saveState();
}

void PageSession::armouryDelete(int rifle, int load)
{
    m_armouryNotice.clear();
    armoury::Armoury next = armoury();
    if (rifle < 0 || rifle >= static_cast<int>(next.rifles.size()))
        return;
    armoury::Rifle& r = next.rifles[static_cast<std::size_t>(rifle)];
    std::string what;
    if (load >= 0) {
        if (load >= static_cast<int>(r.loads.size()))
            return;
        what = "Eliminata la carica \"" + r.loads[static_cast<std::size_t>(load)].description + "\".";
        r.loads.erase(r.loads.begin() + load);
    } else {
        what = "Eliminata l'arma \"" + r.name + "\".";
        next.rifles.erase(next.rifles.begin() + rifle);
    }
    const std::string failure = m_armoury->change(std::move(next));
    m_armouryNotice = failure.empty() ? what : failure;
    if (m_source == LoadSource::Armoury && !m_cardArmoury->chosenLoad())
        useHand();
    saveState();
}

void PageSession::armouryImport(std::string_view text, bool replace)
{
    m_armouryNotice.clear();
    const armoury::DocumentReading reading = armoury::readDocumentJson(text);
    if (!reading.armoury) {
        m_armouryNotice = "Il file non si importa: " + reading.problem + ".";
        return;
    }
    armoury::Armoury next = armoury();
    int added = 0, already = 0;
    for (const armoury::Rifle& rifle : reading.armoury->rifles) {
        const auto same = armoury::findRifle(next, rifle.name);
        if (same && next.rifles[*same] == rifle) {
            ++already;
            continue;
        }
        armoury::importRifle(next, rifle, replace ? armoury::ClashChoice::Replace : armoury::ClashChoice::KeepBoth);
        ++added;
    }
    std::string notice;
    if (added == 0 && already == 0)
        notice = "Il file non ha armi.";
    else if (added == 0)
        notice = already == 1 ? "L'arma del file è già nell'armeria." : "Le armi del file sono già tutte nell'armeria.";
    else
        notice = added == 1 ? "Importata 1 arma." : "Importate " + std::to_string(added) + " armi.";
    if (added > 0 && already > 0)
        notice += already == 1 ? " 1 era già nell'armeria." : " " + std::to_string(already) + " erano già nell'armeria.";
    if (added > 0) {
        const std::string failure = m_armoury->change(std::move(next));
        if (!failure.empty())
            notice = failure;
    }
    m_armouryNotice = notice;
}

std::string PageSession::armouryExport() const
{
    return armoury::documentJson(armoury());
}

// --- Verifica sul campo --------------------------------------------------------------------

void PageSession::truingSet(std::string_view what, std::string_view value)
{
    if (what == "osservazione")
        m_truing->observationChosen(value == "velocita" ? armoury::Observation::Velocity
                                                       : armoury::Observation::Correction);
    else if (what == "unita") {
        if (const auto n = integer(value); n && *n >= 0 && *n <= 3)
            m_truing->unitChosen(static_cast<armoury::CorrectionUnit>(*n));
    } else if (what == "valore")
        m_truing->valueChanged(withAsciiMinus(value));
    else if (what == "distanza")
        m_truing->distanceChanged(std::string(value));
}

void PageSession::truingSolve(bool coefficient)
{
    if (m_typing)
        cardLeave(card::fieldInfo(*m_typing).objectName);
    if (coefficient)
        m_truing->solveBcClicked();
    else
        m_truing->solveClicked();
}

void PageSession::truingApply()
{
    m_armouryNotice.clear();
    m_truing->applyClicked();
    saveState();
}

// --- the storage ---------------------------------------------------------------------------

std::vector<StorageWrite> PageSession::takeWrites()
{
    std::vector<StorageWrite> out;
    out.swap(m_writes);
    return out;
}

void PageSession::saveState()
{
    // Every change of the card passes here: "Il tiro" answers for the card as it now is.
    m_tiro->cardChanged();
    if (m_restoring)
        return;
    Value fields = Value::object();
    for (int f = 0; f < card::kCardFieldCount; ++f) {
        const auto field = static_cast<CardField>(f);
        fields.set(card::fieldInfo(field).objectName, m_card->fieldText(field));
    }
    Value steps = Value::array();
    for (int row = 0; row < card::kBcStepRows; ++row)
        steps.push(Value(Value::Array{Value(m_card->bcStepText(row, 0)), Value(m_card->bcStepText(row, 1))}));
    Value state = Value::object();
    state.set("campi", std::move(fields))
        .set("gradini", std::move(steps))
        .set("modello", m_card->dragModel() == card::pm::DragModel::G7 ? "G7" : "G1")
        .set("click", static_cast<int>(m_card->clickChoice()))
        .set("pressione", static_cast<int>(m_card->pressureMode()))
        .set("ora", m_card->windClock())
        .set("sinistra", m_card->leftHand())
        .set("specie", static_cast<int>(m_card->species()))
        .set("metodo", m_card->method() == card::Method::Siacci ? 1 : 0)
        .set("colpo", m_card->hit() ? 1 : 0)
        .set("telemetro", static_cast<int>(m_card->rangeFinder()))
        .set("vento_letto", static_cast<int>(m_card->windReading()))
        .set("posizione", static_cast<int>(m_card->position()))
        .set("mira", m_card->aim() == card::AimMode::NoCorrection ? 1 : 0);
    switch (m_source) {
    case LoadSource::Hand: state.set("origine", "mano"); break;
    case LoadSource::Catalogue:
        state.set("origine", "catalogo").set("voce", m_catalogueItem).set("pulsante", m_catalogueButton);
        break;
    case LoadSource::Armoury: {
        const armoury::Rifle* rifle = m_cardArmoury->chosenRifle();
        const armoury::Load* load = m_cardArmoury->chosenLoad();
        state.set("origine", "armeria")
            .set("arma", rifle ? rifle->name : std::string())
            .set("carica", load ? load->description : std::string());
        break;
    }
    }
    const card::ScopeSetup& scope = m_tiro->scope();
    Value marks = Value::array();
    for (double m : scope.customMarks)
        marks.push(m);
    state.set("tiro", Value::object()
                          .set("distanza", m_tiro->fieldText(card::TiroField::Distance))
                          .set("lettura", m_tiro->fieldText(card::TiroField::Reading))
                          .set("specie", static_cast<int>(m_tiro->species()))
                          .set("tacche", m_tiro->rowHoldsShown())
                          .set("reticolo", scope.reticle)
                          .set("piano", scope.plane == card::FocalPlane::First ? 0 : 1)
                          .set("taratura", scope.calibratedMagnification)
                          .set("ingrandimento", scope.magnification)
                          .set("montante", scope.postTip)
                          .set("segni", std::move(marks))
                          .set("unitaTacche", scope.customUnit == card::ReticleUnit::Moa ? 1 : 0));
    const std::string text = json::write(state);
    for (StorageWrite& w : m_writes)
        if (w.key == kPageKey) {
            w.text = text;
            return;
        }
    m_writes.push_back({kPageKey, text});
}

void PageSession::restoreState(std::string_view text)
{
    const json::Reading reading = json::parse(text);
    if (!reading.value || !reading.value->isObject())
        return;
    const Value& state = *reading.value;
    m_restoring = true;
    const auto number = [&](const char* key) -> std::optional<int> {
        const Value* v = state.find(key);
        if (!v || !v->isNumber())
            return std::nullopt;
        return static_cast<int>(v->number());
    };
    const auto text_ = [&](const char* key) -> std::string {
        const Value* v = state.find(key);
        return v && v->isString() ? v->string() : std::string();
    };
    const auto applyFields = [&] {
        if (const Value* fields = state.find("campi"); fields && fields->isObject())
            for (const auto& [name, value] : fields->members())
                if (const auto field = cardFieldNamed(name); field && value.isString())
                    m_card->fieldChanged(*field, value.string());
        if (const Value* steps = state.find("gradini"); steps && steps->isArray())
            for (std::size_t row = 0; row < steps->items().size() && row < card::kBcStepRows; ++row) {
                const Value& pair = steps->items()[row];
                for (std::size_t col = 0; pair.isArray() && col < pair.items().size() && col < 2; ++col)
                    if (pair.items()[col].isString())
                        m_card->bcStepChanged(static_cast<int>(row), static_cast<int>(col), pair.items()[col].string());
            }
    };
    // The user's choices of the day (click, pressure, wind's hour, method): a load taken again
    // below resets the rifle's, so they are set again after it.
    const auto applyChoices = [&] {
        if (const auto n = number("click"))
            cardChoose("click", std::to_string(*n));
        if (const auto n = number("pressione"))
            cardChoose("pressione", std::to_string(*n));
        if (const auto n = number("ora"))
            cardChoose("ora", std::to_string(*n));
        if (const Value* v = state.find("sinistra"); v && v->isBool())
            m_card->leftHandChosen(v->boolean());
        if (const auto n = number("metodo"))
            cardChoose("metodo", std::to_string(*n));
        for (const char* choice : {"colpo", "telemetro", "vento_letto", "posizione", "mira"})
            if (const auto n = number(choice))
                cardChoose(choice, std::to_string(*n));
    };
    applyFields();
    cardChoose("modello", text_("modello"));
    applyChoices();
    const std::string origin = text_("origine");
    if (origin == "catalogo") {
        useCatalogue(text_("voce"), number("pulsante").value_or(0));
        applyFields();
        applyChoices();
    } else if (origin == "armeria") {
        const auto r = armoury::findRifle(armoury(), text_("arma"));
        const auto l = r ? armoury::findLoad(armoury().rifles[*r], text_("carica")) : std::nullopt;
        if (r && l) {
            armouryChoose(static_cast<int>(*r), static_cast<int>(*l));
            applyFields();
            applyChoices();
        }
    }
    // The species' minimum is the field's own text, restored above.
    if (const auto n = number("specie"); n && *n >= 0 && *n < card::kSpeciesCount && *n != static_cast<int>(m_card->species())) {
        const std::string energy = m_card->fieldText(CardField::MinEnergy);
        m_card->speciesChosen(static_cast<card::Species>(*n));
        m_card->fieldChanged(CardField::MinEnergy, energy);
    }
    m_cardArmoury->cardEdited();
    restoreTiro(state);
    m_restoring = false;
    m_tiro->cardChanged();
}

void PageSession::restoreTiro(const Value& state)
{
    const Value* t = state.find("tiro");
    if (!t || !t->isObject())
        return;
    const auto text = [&](const char* key) -> std::optional<std::string> {
        const Value* v = t->find(key);
        return v && v->isString() ? std::optional<std::string>(v->string()) : std::nullopt;
    };
    const auto number = [&](const char* key) -> std::optional<double> {
        const Value* v = t->find(key);
        return v && v->isNumber() ? std::optional<double>(v->number()) : std::nullopt;
    };
    // A rifle of the armoury brings its own scope; the page's is the one without a rifle.
    if (!m_cardArmoury->chosenScope()) {
        card::ScopeSetup scope;
        if (const auto r = text("reticolo"); r && card::findReticle(*r))
            scope.reticle = *r;
        if (const auto p = number("piano"))
            scope.plane = *p == 0 ? card::FocalPlane::First : card::FocalPlane::Second;
        scope.calibratedMagnification = number("taratura").value_or(scope.calibratedMagnification);
        scope.magnification = number("ingrandimento").value_or(scope.magnification);
        scope.postTip = number("montante").value_or(scope.postTip);
        if (const Value* marks = t->find("segni"); marks && marks->isArray()) {
            std::vector<double> m;
            for (const Value& v : marks->items())
                if (v.isNumber())
                    m.push_back(v.number());
            scope.customMarks = m;
        }
        if (const auto u = number("unitaTacche"))
            scope.customUnit = *u == 1 ? card::ReticleUnit::Moa : card::ReticleUnit::Mrad;
        if (card::scopeReticle(scope).ok())
            m_tiro->scopeTaken(scope);
    }
    if (const auto d = text("distanza"))
        m_tiro->fieldChanged(card::TiroField::Distance, *d);
    if (const auto r = text("lettura"))
        m_tiro->fieldChanged(card::TiroField::Reading, *r);
    if (const auto sp = number("specie"); sp && *sp >= 0 && *sp < card::kSpeciesCount)
        m_tiro->speciesChosen(static_cast<card::Species>(static_cast<int>(*sp)));
    if (const Value* v = t->find("tacche"); v && v->isBool())
        m_tiro->rowHoldsShown(v->boolean());
}

// --- Il tiro -------------------------------------------------------------------------------

namespace {

std::optional<card::TiroField> tiroFieldNamed(std::string_view name)
{
    for (int f = 0; f < card::kTiroFieldCount; ++f)
        if (name == card::tiroFieldInfo(static_cast<card::TiroField>(f)).objectName)
            return static_cast<card::TiroField>(f);
    return std::nullopt;
}

bool isScopeField(card::TiroField f)
{
    return f == card::TiroField::Magnification || f == card::TiroField::CalibratedMagnification ||
           f == card::TiroField::PostTip || f == card::TiroField::CustomMarks;
}

} // namespace

void PageSession::keepScope()
{
    if (m_source == LoadSource::Armoury && m_tiro->view().scopeRefusal.empty()) {
        const std::string failure = m_cardArmoury->scopeEdited(m_tiro->scope());
        if (!failure.empty())
            m_armouryNotice = failure;
    }
}

void PageSession::tiroSet(std::string_view name, std::string_view text)
{
    const auto field = tiroFieldNamed(name);
    if (!field)
        return;
    if (*field == card::TiroField::Angle) {
        // The card's own field, typed as the card's fields are: a text on its way to a number
        // waits until the field is left (tiroLeave).
        cardSet(card::fieldInfo(CardField::LookAngle).objectName, text);
        return;
    }
    m_tiro->fieldChanged(*field, withAsciiMinus(text));
    if (isScopeField(*field))
        keepScope();
    saveState();
}

void PageSession::tiroLeave(std::string_view name)
{
    if (tiroFieldNamed(name) == card::TiroField::Angle)
        cardLeave(card::fieldInfo(CardField::LookAngle).objectName);
}

void PageSession::tiroChoose(std::string_view what, std::string_view value)
{
    const auto n = integer(value);
    if (!n)
        return;
    if (what == "reticolo")
        m_tiro->reticleChosen(*n);
    else if (what == "piano" && (*n == 0 || *n == 1))
        m_tiro->focalPlaneChosen(*n == 0 ? card::FocalPlane::First : card::FocalPlane::Second);
    else if (what == "unitaTacche" && (*n == 0 || *n == 1))
        m_tiro->customUnitChosen(*n == 1 ? card::ReticleUnit::Moa : card::ReticleUnit::Mrad);
    else if (what == "specie" && *n >= 0 && *n < card::kSpeciesCount)
        m_tiro->speciesChosen(static_cast<card::Species>(*n));
    else if (what == "tacche")
        m_tiro->rowHoldsShown(*n != 0);
    else
        return;
    if (what == "reticolo" || what == "piano" || what == "unitaTacche")
        keepScope();
    saveState();
}

void PageSession::tiroUseRange()
{
    m_tiro->rangeUsed();
    saveState();
}

void PageSession::tiroSensor(std::string_view what, std::string_view value)
{
    const auto number = armoury::readNumber(value);
    const auto setCard = [&](CardField field, const std::string& text) {
        if (m_typing == field) {
            m_typing.reset();
            m_waiting.reset();
        }
        forward(field, text);
    };
    if (what == "inclinazione") {
        if (!number)
            return;
        if (const auto angle = m_tilt.reading(*number))
            setCard(CardField::LookAngle, roundedText(*angle, 1, ','));
    } else if (what == "azzera") {
        if (number)
            m_tilt.zeroed(*number);
    } else if (what == "blocca") {
        m_tilt.holdToggled();
    } else if (what == "posizione") {
        const std::string text(value);
        const std::size_t blank = text.find(' ');
        const auto latitude = armoury::readNumber(text.substr(0, blank));
        const auto altitude = blank == std::string::npos ? std::nullopt : armoury::readNumber(text.substr(blank + 1));
        if (latitude && std::fabs(*latitude) <= 90)
            setCard(CardField::Latitude, latitudeText(*latitude));
        if (altitude)
            setCard(CardField::Altitude, altitudeText(*altitude));
    } else if (what == "bussola") {
        if (number)
            setCard(CardField::Azimuth, headingText(*number));
    } else if (what == "ventoBussola") {
        const auto azimuth = armoury::readNumber(m_card->fieldText(CardField::Azimuth));
        if (number) {
            m_card->windClockChosen(windClockFromCompass(*number, azimuth.value_or(0)));
            afterEdit();
        }
    }
}

} // namespace siacci::session

#include "armoury/card_armoury.hpp"

#include "common/number_text.hpp"

#include <cmath>

namespace siacci::armoury {

namespace {

using card::CardField;

constexpr const char* kNone = "(nessuna)";

std::string num(double value)
{
    return cellText(value, ',');
}

std::string rounded(double value, int decimals)
{
    return roundedText(value, decimals, ',');
}

card::ClickChoice clickChoiceOf(const Rifle& r)
{
    if (r.clickUnit == pointmass::AngleUnit::Mrad)
        return r.clickValue == 0.1 ? card::ClickChoice::Mrad01 : card::ClickChoice::TypedMrad;
    if (r.clickValue == 0.25)
        return card::ClickChoice::Moa025;
    if (r.clickValue == 0.125)
        return card::ClickChoice::Moa0125;
    return card::ClickChoice::TypedMoa;
}

} // namespace

CardArmoury::CardArmoury(ArmourySession& session, card::Cartellino& card, Dialogs& dialogs)
    : m_session(session), m_card(card), m_dialogs(dialogs)
{
}

const Rifle* CardArmoury::chosenRifle() const
{
    const auto r = findRifle(m_session.armoury(), m_rifle);
    return r ? &m_session.armoury().rifles[*r] : nullptr;
}

std::optional<card::ScopeSetup> CardArmoury::chosenScope() const
{
    const Rifle* rifle = chosenRifle();
    return rifle ? std::optional<card::ScopeSetup>(rifle->scope) : std::nullopt;
}

std::string CardArmoury::scopeEdited(const card::ScopeSetup& scope)
{
    const auto r = findRifle(m_session.armoury(), m_rifle);
    if (!r || m_session.armoury().rifles[*r].scope == scope || !card::scopeReticle(scope).ok())
        return {};
    Armoury next = m_session.armoury();
    next.rifles[*r].scope = scope;
    return m_session.change(std::move(next));
}

const Load* CardArmoury::chosenLoad() const
{
    const Rifle* rifle = chosenRifle();
    const card::LoadSource& source = m_card.source();
    if (!rifle || source.origin != card::LoadOrigin::Armoury || source.rifle != rifle->name)
        return nullptr;
    const auto l = findLoad(*rifle, source.load);
    return l ? &rifle->loads[*l] : nullptr;
}

std::vector<std::string> CardArmoury::rifleItems() const
{
    std::vector<std::string> items{kNone};
    for (const Rifle& r : m_session.armoury().rifles)
        items.push_back(r.name);
    return items;
}

std::vector<std::string> CardArmoury::loadItems() const
{
    std::vector<std::string> items{kNone};
    if (const Rifle* rifle = chosenRifle())
        for (const Load& l : rifle->loads)
            items.push_back(l.description);
    return items;
}

int CardArmoury::rifleIndex() const
{
    const auto r = findRifle(m_session.armoury(), m_rifle);
    return r ? static_cast<int>(*r) + 1 : 0;
}

int CardArmoury::loadIndex() const
{
    const Rifle* rifle = chosenRifle();
    const Load* load = chosenLoad();
    return load ? static_cast<int>(load - rifle->loads.data()) + 1 : 0;
}

double CardArmoury::cardTemperature_C() const
{
    return readNumber(m_card.fieldText(CardField::Temperature)).value_or(15);
}

std::string CardArmoury::correctedVelocityText() const
{
    const Load* load = chosenLoad();
    if (!load)
        return {};
    if (std::string problem = powderVelocityProblem(*load, cardTemperature_C()); !problem.empty())
        return problem;
    return "V0 corretta per la temperatura: " + rounded(velocityAt_ms(*load, cardTemperature_C()), 1) + " m/s";
}

void CardArmoury::rifleChosen(int item)
{
    const auto& rifles = m_session.armoury().rifles;
    m_status.clear();
    if (item < 1 || item > static_cast<int>(rifles.size())) {
        m_rifle.clear();
        // What came from the armoury stays on the card, as the user's own now.
        if (m_card.source().origin == card::LoadOrigin::Armoury)
            m_card.becomeManual();
        return;
    }
    const Rifle& rifle = rifles[static_cast<std::size_t>(item - 1)];
    m_rifle = rifle.name;
    fill(rifle.loads.empty() ? std::string() : rifle.loads.front().description);
}

void CardArmoury::loadChosen(int item)
{
    const Rifle* rifle = chosenRifle();
    m_status.clear();
    if (!rifle)
        return;
    if (item < 1 || item > static_cast<int>(rifle->loads.size())) {
        if (m_card.source().origin == card::LoadOrigin::Armoury)
            m_card.becomeManual();
        return;
    }
    fill(rifle->loads[static_cast<std::size_t>(item - 1)].description);
}

void CardArmoury::setField(CardField field, double value)
{
    m_card.fieldChanged(field, num(value));
}

// Every rifle and load input of the card from the chosen rifle and its load `loadName` (the
// rifle's alone when it has none).
void CardArmoury::fill(const std::string& loadName)
{
    const Rifle* rifle = chosenRifle();
    if (!rifle)
        return;
    card::CardLoad in;
    in.sightHeight_cm = rifle->sightHeight_cm;
    in.zero_m = rifle->zero_m;
    in.twist_in = rifle->twist_in;
    in.leftHand = !rifle->twistRightHand;
    in.click = clickChoiceOf(*rifle);
    in.clickTyped = rifle->clickValue;
    in.clicksPerTurn = rifle->turretClicksPerTurn;
    in.zeroAir = pointmass::Atmosphere{rifle->zeroAtmosphere.temperature_C, rifle->zeroAtmosphere.pressure_hPa,
                                       rifle->zeroAtmosphere.humidity_pct};
    const auto l = findLoad(*rifle, loadName);
    const Load* load = l ? &rifle->loads[*l] : nullptr;
    const card::LoadSource source{card::LoadOrigin::Armoury, false, rifle->name, load ? load->description : ""};
    if (!load) {
        m_card.takeLoad(in, source, false);
        return;
    }
    in.velocity_ms = velocityAt_ms(*load, cardTemperature_C());
    in.weight_gr = load->weight_gr;
    in.bc = load->bc;
    in.model = load->drag == LoadDrag::G7 ? pointmass::DragModel::G7 : pointmass::DragModel::G1;
    if (load->drag != LoadDrag::Table)
        in.bcSteps = load->bcSteps;
    else
        in.dragTable = load->dragTable;
    in.diameter_mm = load->diameter_mm;
    in.length_mm = load->length_mm;
    in.description = load->description;
    in.velocitySd_ms = load->velocitySd_ms;
    m_filledTemperature = m_card.fieldText(CardField::Temperature);
    m_card.takeLoad(in, source);
    if (load->drag != LoadDrag::Table && load->bcSteps.size() > static_cast<std::size_t>(card::kBcStepRows))
        m_status = "La carica ha " + std::to_string(load->bcSteps.size()) + " gradini: il cartellino ne usa " +
                   std::to_string(card::kBcStepRows) + ".";
}

void CardArmoury::cardEdited()
{
    const Load* load = chosenLoad();
    if (!load || m_card.fieldText(CardField::Temperature) == m_filledTemperature)
        return;
    m_filledTemperature = m_card.fieldText(CardField::Temperature);
    // A velocity the user typed is his, whatever the temperature.
    if (!m_card.edited(CardField::Velocity))
        m_card.sourceVelocitySet(velocityAt_ms(*load, cardTemperature_C()));
}

void CardArmoury::storeBullet(Load& load) const
{
    const card::CardSetup& s = m_card.setup();
    // The card's velocity is the one at its temperature: kept as the load's at its own.
    load.velocity_ms = s.bullet.muzzleVelocity_ms -
                       load.temperatureSensitivity_msPerC * (cardTemperature_C() - load.velocityTemperature_C);
    load.weight_gr = s.bullet.weight_gr;
    if (!s.bullet.dragTable.empty()) {
        load.drag = LoadDrag::Table;
        load.dragTable = s.bullet.dragTable;
        load.bcSteps.clear();
    } else {
        load.drag = s.bullet.model == pointmass::DragModel::G7 ? LoadDrag::G7 : LoadDrag::G1;
        load.bcSteps = s.bullet.bcSteps;
        load.dragTable.clear();
    }
    load.bc = s.bullet.bc_lbin2;
    load.diameter_mm = readNumber(m_card.fieldText(CardField::Diameter));
    load.length_mm = readNumber(m_card.fieldText(CardField::Length));
}

void CardArmoury::storeRifle(Rifle& rifle, bool editedOnly) const
{
    const card::CardSetup& s = m_card.setup();
    if (!editedOnly || m_card.edited(CardField::SightHeight))
        rifle.sightHeight_cm = s.zeroing.sightHeight_cm;
    if (!editedOnly || m_card.edited(CardField::Zero))
        rifle.zero_m = s.zeroing.zeroDistance_m;
    if ((!editedOnly || m_card.twistEdited()) && s.bullet.twist_in) {
        rifle.twist_in = std::abs(*s.bullet.twist_in);
        rifle.twistRightHand = *s.bullet.twist_in > 0;
    }
    if (!editedOnly || m_card.clickEdited()) {
        rifle.clickValue = s.click.value;
        rifle.clickUnit = s.click.unit;
    }
    if (!editedOnly || m_card.edited(CardField::ClicksPerTurn))
        rifle.turretClicksPerTurn = s.clicksPerTurn > 0 ? std::optional<int>(s.clicksPerTurn) : std::nullopt;
}

void CardArmoury::saveClicked()
{
    const Rifle* chosenRifleEntry = chosenRifle();
    if (!chosenRifleEntry)
        return;
    m_status.clear();
    if (!m_card.inputRefusal().empty()) {
        m_dialogs.message({"CARTELLINO DI TIRO", "Il cartellino non si salva: " + m_card.inputRefusal() + ".",
                           MessageIcon::Warning});
        return;
    }
    const Load* from = chosenLoad();
    bool update = false;
    if (from) {
        Message ask{"CARTELLINO DI TIRO",
                    "La carica \"" + from->description + "\" viene dall'armeria. Salvare il cartellino come "
                    "nuova carica o aggiornare \"" + from->description + "\"?",
                    MessageIcon::Question, MessageButtons::YesNoCancel};
        ask.yesText = "Nuova carica";
        ask.noText = "Aggiorna";
        const MessageAnswer answer = m_dialogs.message(ask);
        if (answer == MessageAnswer::Cancel)
            return;
        update = answer == MessageAnswer::No;
    }
    Armoury next = m_session.armoury();
    Rifle& rifle = next.rifles[*findRifle(next, m_rifle)];
    std::size_t target = 0;
    if (update) {
        target = *findLoad(rifle, from->description);
    } else {
        // A new load: what the card does not show (the powder's temperature sensitivity, the
        // notes) comes from the armoury load it started from, if any.
        Load load = from ? *from : Load{};
        load.description = m_card.fieldText(CardField::Description);
        if (load.description.find_first_not_of(' ') == std::string::npos)
            load.description = "Carica dal cartellino";
        if (!from) {
            load.velocityTemperature_C = cardTemperature_C();
            load.notes.clear();
        }
        target = addLoad(rifle, load);
    }
    storeBullet(rifle.loads[target]);
    storeRifle(rifle, true);
    const std::string saved = rifle.loads[target].description;
    const std::string failure = m_session.change(next);
    if (!failure.empty()) {
        m_dialogs.message({"CARTELLINO DI TIRO", failure, MessageIcon::Warning});
        return;
    }
    // The card now shows the load as the armoury holds it.
    fill(saved);
    m_status = update ? "Carica \"" + saved + "\" aggiornata nell'armeria."
                      : "Salvato nell'armeria come \"" + saved + "\".";
}

void CardArmoury::saveAsClicked(const std::string& rifleName, const std::string& loadName)
{
    m_status.clear();
    if (rifleName.find_first_not_of(' ') == std::string::npos || loadName.find_first_not_of(' ') == std::string::npos) {
        m_status = "Scrivi il nome dell'arma e quello della carica.";
        return;
    }
    if (!m_card.inputRefusal().empty()) {
        m_status = "Il cartellino non si salva: " + m_card.inputRefusal() + ".";
        return;
    }
    Armoury next = m_session.armoury();
    auto r = findRifle(next, rifleName);
    const bool newRifle = !r;
    if (newRifle) {
        Rifle fresh;
        fresh.name = rifleName;
        // Zeroed in the air the card computes its zero in: the rifle's own when the card holds
        // one, else the day's.
        const card::CardSetup& s = m_card.setup();
        const pointmass::Atmosphere air = s.zeroing.atmosphere.value_or(s.conditions.atmosphere);
        fresh.zeroAtmosphere = {air.temperature_C, air.pressure_hPa, air.humidity_pct};
        next.rifles.push_back(std::move(fresh));
        r = next.rifles.size() - 1;
    }
    Rifle& rifle = next.rifles[*r];
    auto l = findLoad(rifle, loadName);
    if (!l) {
        Load fresh;
        fresh.description = loadName;
        // The card's velocity is the one at its temperature.
        fresh.velocityTemperature_C = cardTemperature_C();
        fresh.temperatureSensitivity_msPerC = 0;
        rifle.loads.push_back(std::move(fresh));
        l = rifle.loads.size() - 1;
    }
    storeBullet(rifle.loads[*l]);
    // A rifle made now takes the card's every rifle value; one that exists keeps what the user
    // did not change on the card.
    storeRifle(rifle, !newRifle);
    const std::string failure = m_session.change(next);
    if (!failure.empty()) {
        m_status = failure;
        return;
    }
    m_rifle = rifleName;
    fill(loadName);
    m_status = "Salvato nell'armeria: " + rifleName + " · " + loadName + ".";
}

void CardArmoury::truingApplied(TruedQuantity quantity, double value)
{
    m_status.clear();
    if (chosenLoad()) {
        Armoury next = m_session.armoury();
        Rifle& rifle = next.rifles[*findRifle(next, m_rifle)];
        const std::string loadName = chosenLoad()->description;
        applyTruing(rifle.loads[*findLoad(rifle, loadName)], quantity, value, cardTemperature_C());
        const std::string failure = m_session.change(next);
        if (!failure.empty()) {
            m_dialogs.message({"CARTELLINO DI TIRO", failure, MessageIcon::Warning});
            return;
        }
        fill(loadName);
        m_status = "Valore applicato alla carica \"" + loadName + "\" dell'armeria.";
        return;
    }
    const pointmass::Bullet trued = applyTruing(m_card.setup().bullet, quantity, value);
    setField(CardField::Velocity, trued.muzzleVelocity_ms);
    setField(CardField::Bc, trued.bc_lbin2);
    for (std::size_t row = 0; row < trued.bcSteps.size() && row < card::kBcStepRows; ++row)
        m_card.bcStepChanged(static_cast<int>(row), 0, num(trued.bcSteps[row].bc_lbin2));
    if (!trued.dragTable.empty())
        m_card.armouryExtrasChosen(m_card.setup().zeroing.atmosphere, trued.dragTable);
    m_status = "Valore applicato al cartellino.";
}

} // namespace siacci::armoury

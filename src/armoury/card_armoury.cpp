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

const Load* CardArmoury::chosenLoad() const
{
    const Rifle* rifle = chosenRifle();
    if (!rifle)
        return nullptr;
    const auto l = findLoad(*rifle, m_load);
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
    const auto l = rifle ? findLoad(*rifle, m_load) : std::nullopt;
    return l ? static_cast<int>(*l) + 1 : 0;
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
        m_load.clear();
        return;
    }
    const Rifle& rifle = rifles[static_cast<std::size_t>(item - 1)];
    m_rifle = rifle.name;
    m_load = rifle.loads.empty() ? std::string() : rifle.loads.front().description;
    fill();
}

void CardArmoury::loadChosen(int item)
{
    const Rifle* rifle = chosenRifle();
    m_status.clear();
    if (!rifle || item < 1 || item > static_cast<int>(rifle->loads.size())) {
        m_load.clear();
        return;
    }
    m_load = rifle->loads[static_cast<std::size_t>(item - 1)].description;
    fill();
}

void CardArmoury::setField(CardField field, double value)
{
    m_card.fieldChanged(field, num(value));
}

// Every rifle and load input of the card from the chosen entries (the rifle's alone when no
// load is chosen).
void CardArmoury::fill()
{
    const Rifle* rifle = chosenRifle();
    if (!rifle)
        return;
    setField(CardField::SightHeight, rifle->sightHeight_cm);
    setField(CardField::Zero, rifle->zero_m);
    setField(CardField::Twist, rifle->twist_in);
    m_card.leftHandChosen(!rifle->twistRightHand);
    const card::ClickChoice click = clickChoiceOf(*rifle);
    if (click == card::ClickChoice::TypedMoa || click == card::ClickChoice::TypedMrad)
        setField(CardField::ClickTyped, rifle->clickValue);
    m_card.clickChosen(click);
    m_card.fieldChanged(CardField::ClicksPerTurn,
                        rifle->turretClicksPerTurn ? std::to_string(*rifle->turretClicksPerTurn) : "");
    const pointmass::Atmosphere zeroAir{rifle->zeroAtmosphere.temperature_C, rifle->zeroAtmosphere.pressure_hPa,
                                        rifle->zeroAtmosphere.humidity_pct};
    const Load* load = chosenLoad();
    if (!load) {
        m_card.armouryExtrasChosen(zeroAir, {});
        return;
    }
    m_filledTemperature = m_card.fieldText(CardField::Temperature);
    setField(CardField::Velocity, velocityAt_ms(*load, cardTemperature_C()));
    setField(CardField::Weight, load->weight_gr);
    setField(CardField::Bc, load->bc);
    m_card.dragModelChosen(load->drag == LoadDrag::G7 ? pointmass::DragModel::G7 : pointmass::DragModel::G1);
    for (int row = 0; row < card::kBcStepRows; ++row) {
        const bool given = load->drag != LoadDrag::Table && row < static_cast<int>(load->bcSteps.size());
        const auto& step = given ? load->bcSteps[static_cast<std::size_t>(row)] : pointmass::BcStep{};
        m_card.bcStepChanged(row, 0, given ? num(step.bc_lbin2) : "");
        m_card.bcStepChanged(row, 1, given ? num(step.fromVelocity_ms) : "");
    }
    m_card.fieldChanged(CardField::Diameter, load->diameter_mm ? num(*load->diameter_mm) : "");
    m_card.fieldChanged(CardField::Length, load->length_mm ? num(*load->length_mm) : "");
    m_card.fieldChanged(CardField::Description, load->description);
    m_card.armouryExtrasChosen(zeroAir, load->drag == LoadDrag::Table ? load->dragTable
                                                                      : std::vector<pointmass::DragPoint>{});
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
    setField(CardField::Velocity, velocityAt_ms(*load, cardTemperature_C()));
}

void CardArmoury::saveClicked()
{
    const Load* chosen = chosenLoad();
    if (!chosen)
        return;
    if (!m_card.inputRefusal().empty()) {
        m_dialogs.message({"CARTELLINO DI TIRO", "Il cartellino non si salva: " + m_card.inputRefusal() + ".",
                           MessageIcon::Warning});
        return;
    }
    const card::CardSetup& s = m_card.setup();
    Armoury next = m_session.armoury();
    Rifle& rifle = next.rifles[*findRifle(next, m_rifle)];
    Load& load = rifle.loads[*findLoad(rifle, m_load)];
    rifle.sightHeight_cm = s.zeroing.sightHeight_cm;
    rifle.zero_m = s.zeroing.zeroDistance_m;
    if (s.bullet.twist_in) {
        rifle.twist_in = std::abs(*s.bullet.twist_in);
        rifle.twistRightHand = *s.bullet.twist_in > 0;
    }
    rifle.clickValue = s.click.value;
    rifle.clickUnit = s.click.unit;
    rifle.turretClicksPerTurn = s.clicksPerTurn > 0 ? std::optional<int>(s.clicksPerTurn) : std::nullopt;
    // The card's velocity is the one at its temperature: kept as the load's at its own.
    load.velocity_ms = s.bullet.muzzleVelocity_ms -
                       load.temperatureSensitivity_msPerC * (cardTemperature_C() - load.velocityTemperature_C);
    load.weight_gr = s.bullet.weight_gr;
    if (load.drag != LoadDrag::Table || s.bullet.dragTable.empty()) {
        load.drag = s.bullet.model == pointmass::DragModel::G7 ? LoadDrag::G7 : LoadDrag::G1;
        load.bcSteps = s.bullet.bcSteps;
        load.dragTable.clear();
    }
    load.bc = s.bullet.bc_lbin2;
    if (const auto d = readNumber(m_card.fieldText(CardField::Diameter)))
        load.diameter_mm = d;
    if (const auto l = readNumber(m_card.fieldText(CardField::Length)))
        load.length_mm = l;
    const std::string failure = m_session.change(next);
    if (failure.empty())
        m_status = "Salvato nell'armeria.";
    else
        m_dialogs.message({"CARTELLINO DI TIRO", failure, MessageIcon::Warning});
}

void CardArmoury::truingApplied(TruedQuantity quantity, double value)
{
    m_status.clear();
    if (chosenLoad()) {
        Armoury next = m_session.armoury();
        Rifle& rifle = next.rifles[*findRifle(next, m_rifle)];
        applyTruing(rifle.loads[*findLoad(rifle, m_load)], quantity, value, cardTemperature_C());
        const std::string failure = m_session.change(next);
        if (!failure.empty()) {
            m_dialogs.message({"CARTELLINO DI TIRO", failure, MessageIcon::Warning});
            return;
        }
        fill();
        m_status = "Valore applicato alla carica \"" + m_load + "\" dell'armeria.";
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

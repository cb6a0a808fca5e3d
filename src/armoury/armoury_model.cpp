#include "armoury/armoury_model.hpp"

#include "common/number_text.hpp"

#include <cmath>

namespace siacci::armoury {

namespace {

std::string num(double value)
{
    return cellText(value, ',');
}

std::string optionalNum(const std::optional<double>& value)
{
    return value ? num(*value) : std::string();
}

// Reads the fields of a form one by one; the first that is not a number stops the reading.
struct FormReader {
    std::string problem;

    double number(const std::string& text, const char* caption)
    {
        const auto value = readNumber(text);
        if (!value && problem.empty())
            problem = std::string("Il campo \"") + caption + "\" non è un numero.";
        return value.value_or(0);
    }
    std::optional<double> optionalNumber(const std::string& text, const char* caption)
    {
        if (text.find_first_not_of(" \t") == std::string::npos)
            return std::nullopt;
        return number(text, caption);
    }
};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

std::string refusedFieldOf(const std::string& problem)
{
    // The first match wins: the longer phrases come before the shorter ones they contain.
    static constexpr std::pair<const char*, const char*> kFields[] = {
        {"\"Temperatura della velocità\"", "temperaturaVelocita"},
        {"La temperatura della velocità", "temperaturaVelocita"},
        {"\"Sensibilità alla temperatura\"", "sensibilita"},
        {"La sensibilità alla temperatura", "sensibilita"},
        {"\"Temperatura della taratura\"", "temperaturaTaratura"},
        {"La temperatura della taratura", "temperaturaTaratura"},
        {"\"Pressione della taratura\"", "pressioneTaratura"},
        {"La pressione della taratura", "pressioneTaratura"},
        {"\"Umidità della taratura\"", "umiditaTaratura"},
        {"L'umidità della taratura", "umiditaTaratura"},
        {"La velocità di un gradino", "gradini"},
        {"coefficienti a gradini", "gradini"},
        {"Un coefficiente a gradini", "gradini"},
        {"gradini", "gradini"},
        {"tabella di resistenza", "tabellaResistenza"},
        {"vuole il diametro", "diametro"},
        {"\"Velocità\"", "velocita"},
        {"La velocità", "velocita"},
        {"\"Coefficiente\"", "coefficiente"},
        {"Il coefficiente balistico", "coefficiente"},
        {"\"Peso\"", "peso"},
        {"Il peso", "peso"},
        {"\"Diametro\"", "diametro"},
        {"Il diametro", "diametro"},
        {"\"Lunghezza\"", "lunghezza"},
        {"La lunghezza", "lunghezza"},
        {"non ha una descrizione", "descrizione"},
        {"due cariche di nome", "descrizione"},
        {"\"Altezza ottica\"", "altezzaOttica"},
        {"L'altezza dell'ottica", "altezzaOttica"},
        {"\"Passo di rigatura\"", "passo"},
        {"Il passo di rigatura", "passo"},
        {"\"Valore del click\"", "valoreClick"},
        {"Il valore del click", "valoreClick"},
        {"click per giro", "clickPerGiro"},
        {"\"Click per giro\"", "clickPerGiro"},
        {"\"Taratura\"", "taratura"},
        {"La distanza di taratura", "taratura"},
        {"non ha un nome", "nome"},
        {"Due armi si chiamano", "nome"},
    };
    for (const auto& [phrase, field] : kFields)
        if (problem.find(phrase) != std::string::npos)
            return field;
    return {};
}

RifleForm rifleFormOf(const Rifle& r)
{
    RifleForm f;
    f.name = r.name;
    f.sightHeight_cm = num(r.sightHeight_cm);
    f.twist_in = num(r.twist_in);
    f.twistRightHand = r.twistRightHand;
    f.clickValue = num(r.clickValue);
    f.clickUnit = r.clickUnit;
    f.turretClicksPerTurn = r.turretClicksPerTurn ? std::to_string(*r.turretClicksPerTurn) : "";
    f.zero_m = num(r.zero_m);
    f.zeroTemperature_C = num(r.zeroAtmosphere.temperature_C);
    f.zeroPressure_hPa = num(r.zeroAtmosphere.pressure_hPa);
    f.zeroHumidity_pct = num(r.zeroAtmosphere.humidity_pct);
    return f;
}

LoadForm loadFormOf(const Load& l)
{
    LoadForm f;
    f.description = l.description;
    f.velocity_ms = num(l.velocity_ms);
    f.velocityTemperature_C = num(l.velocityTemperature_C);
    f.temperatureSensitivity = num(l.temperatureSensitivity_msPerC);
    f.drag = l.drag;
    f.bc = num(l.bc);
    f.bcSteps = bcStepsText(l.bcSteps);
    f.dragTable = dragTableText(l.dragTable);
    f.weight_gr = num(l.weight_gr);
    f.diameter_mm = optionalNum(l.diameter_mm);
    f.length_mm = optionalNum(l.length_mm);
    f.notes = l.notes;
    return f;
}

RifleReading readRifleForm(const RifleForm& f, const Rifle& base)
{
    FormReader in;
    Rifle r = base;
    r.name = trimmed(f.name);
    r.sightHeight_cm = in.number(f.sightHeight_cm, "Altezza ottica");
    r.twist_in = in.number(f.twist_in, "Passo di rigatura");
    r.twistRightHand = f.twistRightHand;
    r.clickValue = in.number(f.clickValue, "Valore del click");
    r.clickUnit = f.clickUnit;
    r.turretClicksPerTurn.reset();
    if (const auto clicks = in.optionalNumber(f.turretClicksPerTurn, "Click per giro")) {
        if (*clicks != std::floor(*clicks) && in.problem.empty())
            in.problem = "I click per giro sono un numero intero.";
        else if (std::abs(*clicks) < 1e6)
            r.turretClicksPerTurn = static_cast<int>(*clicks);
        else
            r.turretClicksPerTurn = 0; // refused as out of range below
    }
    r.zero_m = in.number(f.zero_m, "Taratura");
    r.zeroAtmosphere.temperature_C = in.number(f.zeroTemperature_C, "Temperatura della taratura");
    r.zeroAtmosphere.pressure_hPa = in.number(f.zeroPressure_hPa, "Pressione della taratura");
    r.zeroAtmosphere.humidity_pct = in.number(f.zeroHumidity_pct, "Umidità della taratura");
    if (!in.problem.empty())
        return {std::nullopt, in.problem};
    return {std::move(r), {}};
}

LoadReading readLoadForm(const LoadForm& f)
{
    FormReader in;
    Load l;
    l.description = trimmed(f.description);
    l.velocity_ms = in.number(f.velocity_ms, "Velocità");
    l.velocityTemperature_C = in.number(f.velocityTemperature_C, "Temperatura della velocità");
    l.temperatureSensitivity_msPerC = in.number(f.temperatureSensitivity, "Sensibilità alla temperatura");
    l.drag = f.drag;
    l.bc = l.drag == LoadDrag::Table && !readNumber(f.bc) ? 0.4 : in.number(f.bc, "Coefficiente");
    if (l.drag != LoadDrag::Table) {
        const auto steps = readBcSteps(f.bcSteps);
        if (!steps && in.problem.empty())
            in.problem = "I coefficienti a gradini si scrivono coefficiente@velocità, per esempio "
                         "\"0,505@800 0,496@600\".";
        l.bcSteps = steps.value_or(std::vector<pointmass::BcStep>{});
    } else {
        const auto table = readDragTable(f.dragTable);
        if (!table && in.problem.empty())
            in.problem = "La tabella di resistenza ha una riga per punto: Mach e Cd, due numeri.";
        l.dragTable = table.value_or(std::vector<pointmass::DragPoint>{});
    }
    l.weight_gr = in.number(f.weight_gr, "Peso");
    l.diameter_mm = in.optionalNumber(f.diameter_mm, "Diametro");
    l.length_mm = in.optionalNumber(f.length_mm, "Lunghezza");
    l.notes = f.notes;
    if (!in.problem.empty())
        return {std::nullopt, in.problem};
    return {std::move(l), {}};
}

ArmouryModel::ArmouryModel(ArmourySession& session, Dialogs& dialogs, ArmouryHost& host)
    : m_session(session), m_dialogs(dialogs), m_host(host)
{
    if (!armoury().rifles.empty())
        m_selection.rifle = 0;
}

RifleForm ArmouryModel::rifleForm() const
{
    if (m_rifleDraft && rifleFormShown())
        return *m_rifleDraft;
    return m_selection.rifle ? rifleFormOf(armoury().rifles[*m_selection.rifle]) : RifleForm{};
}

LoadForm ArmouryModel::loadForm() const
{
    if (!m_selection.rifle || !m_selection.load)
        return {};
    if (m_loadDraft)
        return *m_loadDraft;
    return loadFormOf(armoury().rifles[*m_selection.rifle].loads[*m_selection.load]);
}

bool ArmouryModel::unconfirmedEdits() const
{
    if (rifleFormShown() && m_rifleDraft)
        return *m_rifleDraft != rifleFormOf(armoury().rifles[*m_selection.rifle]);
    if (loadFormShown() && m_loadDraft)
        return *m_loadDraft != loadFormOf(armoury().rifles[*m_selection.rifle].loads[*m_selection.load]);
    return false;
}

void ArmouryModel::rifleFormEdited(const RifleForm& form)
{
    if (rifleFormShown())
        m_rifleDraft = form;
}

void ArmouryModel::loadFormEdited(const LoadForm& form)
{
    if (loadFormShown())
        m_loadDraft = form;
}

void ArmouryModel::forgetDraft()
{
    m_rifleDraft.reset();
    m_loadDraft.reset();
    m_refusedField.clear();
}

std::string ArmouryModel::hint() const
{
    if (armoury().rifles.empty())
        return "Nessuna arma: \"Nuova arma\" ne aggiunge una, \"Importa…\" la legge da un file.";
    if (!m_selection.rifle)
        return "Scegli un'arma o una carica nell'elenco.";
    const Rifle& r = armoury().rifles[*m_selection.rifle];
    if (r.loads.empty())
        return "L'arma \"" + r.name + "\" non ha cariche: \"Nuova carica\" o \"Aggiungi dal catalogo\".";
    return "Le modifiche si salvano con \"Conferma\" e restano per le prossime sessioni.";
}

bool ArmouryModel::select(Selection s)
{
    if (s == m_selection)
        return false;
    if (unconfirmedEdits()) {
        Message ask{"ARMERIA", "Salvare le modifiche?", MessageIcon::Question, MessageButtons::YesNoCancel};
        switch (m_dialogs.message(ask)) {
        case MessageAnswer::Yes: {
            const bool kept = rifleFormShown() ? rifleFormApplied(*m_rifleDraft) : loadFormApplied(*m_loadDraft);
            if (!kept)
                return false;
            break;
        }
        case MessageAnswer::No: break;
        default: return false;
        }
    }
    forgetDraft();
    m_selection = s;
    keepSelectionValid();
    return true;
}

void ArmouryModel::keepSelectionValid()
{
    const auto& rifles = armoury().rifles;
    if (m_selection.rifle && *m_selection.rifle >= rifles.size())
        m_selection.rifle = rifles.empty() ? std::nullopt : std::optional<std::size_t>(rifles.size() - 1);
    if (!m_selection.rifle) {
        m_selection.load.reset();
        return;
    }
    const auto& loads = rifles[*m_selection.rifle].loads;
    if (m_selection.load && *m_selection.load >= loads.size())
        m_selection.load = loads.empty() ? std::nullopt : std::optional<std::size_t>(loads.size() - 1);
}

void ArmouryModel::tell(const std::string& text, MessageIcon icon)
{
    m_dialogs.message({"ARMERIA", text, icon});
}

bool ArmouryModel::commit(Armoury next, Selection select)
{
    const std::string failure = m_session.change(next);
    const bool kept = m_session.armoury() == next;
    if (kept) {
        if (select != m_selection)
            forgetDraft();
        m_selection = select;
    }
    keepSelectionValid();
    if (!failure.empty())
        tell(failure);
    return kept;
}

void ArmouryModel::addRifleClicked()
{
    Armoury next = armoury();
    Rifle rifle;
    rifle.name = "Nuova arma";
    const std::size_t index = addRifle(next, rifle);
    commit(std::move(next), {index, std::nullopt});
}

void ArmouryModel::addLoadClicked()
{
    if (!m_selection.rifle)
        return;
    Armoury next = armoury();
    Load load;
    load.description = "Nuova carica";
    const std::size_t index = addLoad(next.rifles[*m_selection.rifle], load);
    commit(std::move(next), {m_selection.rifle, index});
}

void ArmouryModel::duplicateClicked()
{
    if (!m_selection.rifle)
        return;
    Armoury next = armoury();
    const std::size_t r = *m_selection.rifle;
    if (m_selection.load) {
        const std::size_t index = duplicateLoad(next.rifles[r], *m_selection.load);
        commit(std::move(next), {r, index});
    } else {
        const std::size_t index = duplicateRifle(next, r);
        commit(std::move(next), {index, std::nullopt});
    }
}

void ArmouryModel::deleteClicked()
{
    if (!m_selection.rifle)
        return;
    const std::size_t r = *m_selection.rifle;
    const Rifle& rifle = armoury().rifles[r];
    const std::string question =
        m_selection.load
            ? "Eliminare la carica \"" + rifle.loads[*m_selection.load].description + "\" dell'arma \"" +
                  rifle.name + "\"?"
            : "Eliminare l'arma \"" + rifle.name + "\" con tutte le sue cariche (" +
                  std::to_string(rifle.loads.size()) + ")?";
    const Message ask{"ARMERIA", question, MessageIcon::Question, MessageButtons::OkCancel, true};
    if (m_dialogs.message(ask) != MessageAnswer::Ok)
        return;
    Armoury next = armoury();
    if (m_selection.load) {
        auto& loads = next.rifles[r].loads;
        loads.erase(loads.begin() + static_cast<std::ptrdiff_t>(*m_selection.load));
        // The next load takes the place (the last when the deleted one was last; none if none).
        commit(std::move(next), {r, m_selection.load});
    } else {
        next.rifles.erase(next.rifles.begin() + static_cast<std::ptrdiff_t>(r));
        const bool none = next.rifles.empty();
        commit(std::move(next), {none ? std::nullopt : std::optional<std::size_t>(r), std::nullopt});
    }
}

void ArmouryModel::addFromCatalogueClicked()
{
    if (!m_selection.rifle) {
        tell("Scegli prima l'arma a cui aggiungere la carica.", MessageIcon::Information);
        return;
    }
    const auto choice = m_host.chosenCatalogueLoad();
    if (!choice) {
        tell("Nella finestra principale scegli prima una cartuccia dal catalogo e il suo proiettile.",
             MessageIcon::Information);
        return;
    }
    Load load;
    load.description = choice->description;
    load.velocity_ms = choice->velocity_ms;
    load.weight_gr = choice->weight_gr;
    load.drag = LoadDrag::G1;
    load.bc = choice->bc;
    load.notes = "Dal catalogo";
    if (std::string problem = loadProblem(load); !problem.empty()) {
        tell(problem);
        return;
    }
    Armoury next = armoury();
    const std::size_t r = *m_selection.rifle;
    const std::size_t index = addLoad(next.rifles[r], load);
    commit(std::move(next), {r, index});
}

bool ArmouryModel::rifleFormApplied(const RifleForm& form)
{
    if (!rifleFormShown())
        return false;
    const std::size_t r = *m_selection.rifle;
    m_rifleDraft = form;
    const RifleReading reading = readRifleForm(form, armoury().rifles[r]);
    if (!reading.rifle) {
        m_refusedField = refusedFieldOf(reading.problem);
        tell(reading.problem);
        return false;
    }
    Armoury next = armoury();
    next.rifles[r] = *reading.rifle;
    return confirmed(std::move(next));
}

bool ArmouryModel::loadFormApplied(const LoadForm& form)
{
    if (!loadFormShown())
        return false;
    m_loadDraft = form;
    const LoadReading reading = readLoadForm(form);
    if (!reading.load) {
        m_refusedField = refusedFieldOf(reading.problem);
        tell(reading.problem);
        return false;
    }
    Armoury next = armoury();
    next.rifles[*m_selection.rifle].loads[*m_selection.load] = *reading.load;
    return confirmed(std::move(next));
}

// A confirmed form: kept (the typing forgotten, now stored), or refused with the typing kept and
// the refused field marked.
bool ArmouryModel::confirmed(Armoury next)
{
    const std::string problem = armouryProblem(next);
    if (!problem.empty()) {
        m_refusedField = refusedFieldOf(problem);
        tell(problem);
        return false;
    }
    if (!commit(std::move(next), m_selection))
        return false;
    forgetDraft();
    return true;
}

std::optional<Armoury> ArmouryModel::exportDocument() const
{
    if (!m_selection.rifle)
        return std::nullopt;
    return Armoury{{armoury().rifles[*m_selection.rifle]}};
}

std::string ArmouryModel::exportFileName() const
{
    if (!m_selection.rifle)
        return {};
    std::string name;
    for (char c : armoury().rifles[*m_selection.rifle].name)
        name += (c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' ||
                 c == '>' || c == '|')
                    ? '_'
                    : c;
    return name + ".json";
}

void ArmouryModel::documentImported(const std::optional<Armoury>& document, const std::string& problem)
{
    if (!document) {
        tell("Il file non si importa: " + problem + ".");
        return;
    }
    if (document->rifles.empty()) {
        tell("Il file non contiene armi.", MessageIcon::Information);
        return;
    }
    Armoury next = armoury();
    std::optional<std::size_t> last;
    for (const Rifle& rifle : document->rifles) {
        ClashChoice choice = ClashChoice::KeepBoth;
        if (findRifle(next, rifle.name)) {
            const std::string renamed = freeName(rifle.name, rifleNames(next));
            Message ask{"ARMERIA",
                        "C'è già un'arma \"" + rifle.name + "\". Sostituirla con quella importata o tenerle "
                        "entrambe (l'arma importata si aggiunge come \"" + renamed + "\")?",
                        MessageIcon::Question, MessageButtons::YesNoCancel};
            ask.yesText = "Sostituisci";
            ask.noText = "Tieni entrambe";
            const MessageAnswer answer = m_dialogs.message(ask);
            // "Annulla": nothing of the file is taken in.
            if (answer == MessageAnswer::Cancel)
                return;
            choice = answer == MessageAnswer::Yes ? ClashChoice::Replace : ClashChoice::KeepBoth;
        }
        last = importRifle(next, rifle, choice);
    }
    commit(std::move(next), {last, std::nullopt});
}

} // namespace siacci::armoury

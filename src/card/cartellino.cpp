#include "card/cartellino.hpp"

#include "card/input_limits.hpp"
#include "common/number_text.hpp"

#include <cmath>

namespace siacci::card {

namespace {

constexpr FieldInfo kFields[kCardFieldCount] = {
    {"Velocità", "m/s", "Velocità alla bocca dell'arma, in metri al secondo", "velocita"},
    {"Peso", "grains", "Peso della palla in grains (1 grain = 0,0648 g)", "peso"},
    {"Coefficiente", "", "Coefficiente balistico del modello scelto (G1 o G7), in lb/in²", "coefficiente"},
    {"Diametro", "mm", "Diametro della palla: con lunghezza e passo dà la stabilità e la deriva da rotazione", "diametro"},
    {"Lunghezza", "mm", "Lunghezza della palla, dalla punta al fondello", "lunghezza"},
    {"Altezza ottica", "cm", "Altezza del centro dell'ottica sopra l'asse della canna", "altezzaOttica"},
    {"Taratura", "m", "Distanza a cui l'arma è azzerata (senza vento e senza angolo)", "taratura"},
    {"Passo di rigatura", "pollici", "Pollici per giro della rigatura (per esempio 10 per 1:10\"); vuoto: nessuna deriva da rotazione", "passo"},
    {"Valore click", "", "Valore di un click della torretta, nell'unità scelta", "valoreClick"},
    {"Click per giro", "", "Click in un giro completo della torretta; vuoto: i click non si contano in giri", "clickPerGiro"},
    {"Temperatura", "°C", "Temperatura dell'aria sul posto", "temperatura"},
    {"Pressione", "hPa", "Pressione atmosferica: quella misurata sul posto o quella del bollettino meteo (ridotta al livello del mare)", "pressione"},
    {"Altitudine", "m", "Altitudine sul livello del mare del luogo di tiro", "altitudine"},
    {"Umidità", "%", "Umidità relativa dell'aria, da 0 a 100", "umidita"},
    {"Vento", "km/h", "Velocità del vento; la direzione si sceglie sul quadrante dell'orologio", "vento"},
    {"Angolo di tiro", "°", "Inclinazione della linea di mira: + in salita, − in discesa", "angolo"},
    {"Latitudine", "°", "Latitudine del luogo (+ nord), con l'azimut per l'effetto Coriolis; facoltativa", "latitudine"},
    {"Azimut", "°", "Direzione di tiro in gradi da nord, in senso orario, con la latitudine; facoltativo", "azimut"},
    {"Distanza massima", "m", "Ultima distanza della tabella", "distanzaMassima"},
    {"Incremento", "m", "Passo fra le distanze della tabella", "incremento"},
    {"Energia minima", "J", "Energia minima per la selvaggina scelta: le righe sotto sono in grigio", "energiaMinima"},
    {"Zona vitale", "cm", "Diametro della zona vitale dell'animale: dà il tiro utile e la taratura ottimale", "zonaVitale"},
    {"Velocità animale", "km/h", "Velocità di un animale che attraversa (battuta): dà l'anticipo; vuoto: nessun anticipo", "velocitaAnimale"},
    {"Lunghezza animale", "m", "Lunghezza del corpo dell'animale: l'anticipo anche in corpi", "lunghezzaAnimale"},
    {"Rosata 5 colpi", "MOA", "Larghezza di una rosata di 5 colpi al banco, da centro a centro dei due fori più lontani", "rosata"},
    {"Scarto velocità", "m/s", "Deviazione standard della velocità da colpo a colpo (dal cronografo)", "scartoVelocita"},
    {"Errore coefficiente", "%", "Incertezza del coefficiente balistico, in percentuale (deviazione standard)", "erroreCoefficiente"},
    {"Soglia", "%", "Probabilità minima di colpire la zona vitale per la distanza etica", "soglia"},
    {"Descrizione", "", "La cartuccia e la palla, stampate sul cartellino", "descrizione"},
};

// Read a field: the decimal comma accepted; an empty text is no value.
std::optional<double> optionalValue(const std::string& text)
{
    if (text.find_first_not_of(" \t") == std::string::npos)
        return std::nullopt;
    return readField(text);
}

double value(const std::string& text)
{
    return optionalValue(text).value_or(0);
}

// A number as the card's fields show it: decimal comma, at most `decimals` decimals.
std::string numberText(double v, int decimals = 6)
{
    return roundedText(v, decimals, ',');
}

const char* clockSide(int hour)
{
    switch (hour) {
    case 12: return "dal bersaglio";
    case 3: return "da destra";
    case 6: return "da dietro";
    case 9: return "da sinistra";
    default: return hour < 6 ? "da destra" : "da sinistra";
    }
}

} // namespace

const FieldInfo& fieldInfo(CardField field)
{
    return kFields[static_cast<int>(field)];
}

const char* clickChoiceCaption(ClickChoice choice)
{
    switch (choice) {
    case ClickChoice::Mrad01: return "0,1 MRAD";
    case ClickChoice::Moa025: return "1/4 MOA";
    case ClickChoice::Moa0125: return "1/8 MOA";
    case ClickChoice::Cm100: return "1 cm a 100 m";
    case ClickChoice::TypedMoa: return "altro, in MOA";
    case ClickChoice::TypedMrad: return "altro, in MRAD";
    }
    return "";
}

const char* pressureModeCaption(PressureMode mode)
{
    switch (mode) {
    case PressureMode::Station: return "sul posto";
    case PressureMode::SeaLevel: return "al livello del mare (meteo)";
    case PressureMode::AltitudeOnly: return "solo altitudine";
    }
    return "";
}

const char* speciesCaption(Species species)
{
    switch (species) {
    case Species::Capriolo: return "capriolo";
    case Species::Camoscio: return "camoscio";
    case Species::Cinghiale: return "cinghiale";
    case Species::Cervo: return "cervo";
    }
    return "";
}

double defaultSpeciesEnergy_J(Species species)
{
    switch (species) {
    case Species::Capriolo: return 1000;
    case Species::Camoscio: return 1500;
    case Species::Cinghiale: return 2000;
    case Species::Cervo: return 2000;
    }
    return 0;
}

double defaultSpeciesVitalZone_cm(Species species)
{
    switch (species) {
    case Species::Capriolo: return 12;
    case Species::Camoscio: return 15;
    case Species::Cinghiale: return 18;
    case Species::Cervo: return 25;
    }
    return 0;
}

double defaultSpeciesLength_m(Species species)
{
    switch (species) {
    case Species::Capriolo: return 1.1;
    case Species::Camoscio: return 1.2;
    case Species::Cinghiale: return 1.4;
    case Species::Cervo: return 2;
    }
    return 0;
}

Cartellino::Cartellino(const CardHost* host) : m_host(host)
{
    for (int s = 0; s < kSpeciesCount; ++s)
        m_speciesEnergy[s] = defaultSpeciesEnergy_J(static_cast<Species>(s));
    loadDefaults();
    takeCurrentShot();
}

void Cartellino::loadDefaults()
{
    const std::pair<CardField, const char*> defaults[] = {
        {CardField::Velocity, "800"},    {CardField::Weight, "150"},
        {CardField::Bc, "0,4"},          {CardField::SightHeight, "4"},
        {CardField::Zero, "100"},        {CardField::Temperature, "15"},
        {CardField::Pressure, "1013,25"}, {CardField::Altitude, "0"},
        {CardField::Humidity, "0"},     {CardField::WindSpeed, "0"},
        {CardField::LookAngle, "0"},     {CardField::MaxDistance, "500"},
        {CardField::Increment, "50"},    {CardField::ClickTyped, "0,1"},
        {CardField::GroupSize, "1"},     {CardField::VelocitySd, "10"},
        {CardField::BcSd, "2"},          {CardField::MinProbability, "90"},
    };
    for (const auto& [field, text] : defaults)
        m_fields[index(field)] = text;
    m_fields[index(CardField::MinEnergy)] = numberText(speciesEnergy_J(m_species));
    m_fields[index(CardField::VitalZone)] = numberText(defaultSpeciesVitalZone_cm(m_species));
    m_fields[index(CardField::AnimalLength)] = numberText(defaultSpeciesLength_m(m_species));
}

void Cartellino::armouryExtrasChosen(std::optional<pm::Atmosphere> zeroAir, std::vector<pm::DragPoint> dragTable)
{
    m_zeroAir = zeroAir;
    m_dragTable = std::move(dragTable);
    m_hint.clear(); // the card now holds a load of the user's own, not the example
    recompute();
}

void Cartellino::takeLoad(const CardLoad& load, const LoadSource& source, bool withBullet)
{
    auto optionalText = [](const std::optional<double>& v) { return v ? numberText(*v) : std::string(); };
    if (withBullet) {
        m_fields[index(CardField::Velocity)] = numberText(load.velocity_ms, 1);
        m_fields[index(CardField::Weight)] = numberText(load.weight_gr);
        m_fields[index(CardField::Bc)] = numberText(load.bc);
        m_dragModel = load.model;
        for (int row = 0; row < kBcStepRows; ++row) {
            const bool given = row < static_cast<int>(load.bcSteps.size());
            const pm::BcStep step = given ? load.bcSteps[static_cast<std::size_t>(row)] : pm::BcStep{};
            m_bcSteps[row][0] = given ? numberText(step.bc_lbin2) : "";
            m_bcSteps[row][1] = given ? numberText(step.fromVelocity_ms) : "";
        }
        m_fields[index(CardField::Diameter)] = optionalText(load.diameter_mm);
        m_fields[index(CardField::Length)] = optionalText(load.length_mm);
        m_dragTable = load.dragTable;
        m_fields[index(CardField::Description)] = load.description;
        if (load.velocitySd_ms)
            m_fields[index(CardField::VelocitySd)] = numberText(*load.velocitySd_ms, 1);
    }
    m_fields[index(CardField::SightHeight)] = numberText(load.sightHeight_cm, 2);
    if (load.zero_m > 0)
        m_fields[index(CardField::Zero)] = numberText(load.zero_m, 1);
    m_fields[index(CardField::Twist)] = optionalText(load.twist_in);
    m_leftHand = load.leftHand;
    m_click = load.click;
    m_fields[index(CardField::ClickTyped)] = numberText(load.clickTyped);
    m_fields[index(CardField::ClicksPerTurn)] = load.clicksPerTurn ? std::to_string(*load.clicksPerTurn) : "";
    m_zeroAir = load.zeroAir;
    m_source = source;
    m_mainShotMoved = false;
    m_hint.clear();
    clearEdits();
    recompute();
}

void Cartellino::takeCurrentShot()
{
    const CardShot shot = m_host ? m_host->cardShot() : CardShot{};
    if (shot.empty()) {
        m_hint = "Nessun caricamento nella finestra principale: scegline uno dai menu DATA "
                 "RIFLE, poi premi \"Prendi dal tiro corrente\". Intanto valgono i dati di esempio.";
        recompute();
        return;
    }
    // The main window's bullet is a G1 coefficient and nothing else; its rifle, the sight
    // height and the zero.
    CardLoad load;
    load.velocity_ms = shot.velocity_ms;
    load.weight_gr = shot.weight_gr;
    load.bc = shot.bc;
    load.description = shot.description;
    load.sightHeight_cm = shot.sightHeight_cm;
    load.zero_m = shot.zero_m;
    takeLoad(load, LoadSource{LoadOrigin::MainShot, shot.fromCatalogue, {}, {}});
    m_takenShot = shot;
    m_fields[index(CardField::Temperature)] = numberText(shot.temperature_C, 1);
    m_fields[index(CardField::Altitude)] = numberText(shot.altitude_m, 0);
    if (shot.maxDistance_m > 0)
        m_fields[index(CardField::MaxDistance)] = numberText(shot.maxDistance_m, 1);
    if (shot.increment_m > 0)
        m_fields[index(CardField::Increment)] = numberText(shot.increment_m, 1);
    // The main window knows the altitude, not the day's pressure.
    m_pressureMode = PressureMode::AltitudeOnly;
    recompute();
}

bool Cartellino::mainShotChanged()
{
    if (!m_host)
        return false;
    const CardShot shot = m_host->cardShot();
    if (shot == m_takenShot || shot.empty())
        return false;
    if (m_source.origin == LoadOrigin::MainShot && !modified()) {
        takeCurrentShot();
        return true;
    }
    if (m_source.origin != LoadOrigin::MainShot)
        return false;
    const bool was = m_mainShotMoved;
    m_mainShotMoved = true;
    return !was;
}

void Cartellino::sourceVelocitySet(double velocity_ms)
{
    m_fields[index(CardField::Velocity)] = numberText(velocity_ms, 1);
    recompute();
}

void Cartellino::becomeManual()
{
    m_source = LoadSource{};
    m_mainShotMoved = false;
    clearEdits();
}

void Cartellino::clearEdits()
{
    m_edited.fill(false);
    m_modelEdited = m_stepsEdited = m_handEdited = m_clickEdited = false;
}

bool Cartellino::isLoadField(CardField field) const
{
    switch (field) {
    case CardField::Velocity: case CardField::Weight: case CardField::Bc: case CardField::Diameter:
    case CardField::Length: case CardField::SightHeight: case CardField::Zero: case CardField::Twist:
    case CardField::ClickTyped: case CardField::ClicksPerTurn: case CardField::Description:
        return true;
    // What the main window's shot brings beside its load.
    case CardField::Temperature: case CardField::Altitude: case CardField::MaxDistance:
    case CardField::Increment:
        return m_source.origin == LoadOrigin::MainShot;
    default:
        return false;
    }
}

void Cartellino::markEdited(CardField field)
{
    if (isLoadField(field))
        m_edited[index(field)] = true;
}

bool Cartellino::rifleEdited() const
{
    return edited(CardField::SightHeight) || edited(CardField::Zero) || twistEdited() || clickEdited() ||
           edited(CardField::ClicksPerTurn);
}

bool Cartellino::modified() const
{
    if (m_modelEdited || m_stepsEdited || m_handEdited || m_clickEdited)
        return true;
    for (bool e : m_edited)
        if (e)
            return true;
    return false;
}

bool Cartellino::followOffered() const
{
    return m_source.origin == LoadOrigin::MainShot && (modified() || m_mainShotMoved);
}

std::string Cartellino::sourceText() const
{
    std::string text;
    switch (m_source.origin) {
    case LoadOrigin::MainShot:
        text = std::string("Dal tiro della finestra principale (") +
               (m_source.catalogue ? "catalogo" : "dati scritti") + ")";
        if (modified())
            text += ", modificato: il cartellino non lo segue più";
        else if (m_mainShotMoved)
            text += ": nella finestra principale ora c'è un altro tiro";
        else
            text += ": il cartellino lo segue";
        return text;
    case LoadOrigin::Armoury:
        text = "Dall'armeria: " + m_source.rifle +
               (m_source.load.empty() ? " (solo l'arma)" : ", carica \"" + m_source.load + "\"");
        break;
    case LoadOrigin::Manual:
        text = "A mano";
        break;
    }
    if (modified() && m_source.origin != LoadOrigin::Manual)
        text += ", modificato";
    return text;
}

void Cartellino::setField(CardField field, std::string text)
{
    m_fields[index(field)] = std::move(text);
}

void Cartellino::fieldChanged(CardField field, const std::string& text)
{
    if (m_fields[index(field)] != text)
        markEdited(field);
    setField(field, text);
    // The user's own minimum is kept as the chosen species' number.
    if (field == CardField::MinEnergy)
        if (const auto e = optionalValue(text))
            m_speciesEnergy[static_cast<int>(m_species)] = *e;
    if (field == CardField::VitalZone)
        m_speciesVitalZone[static_cast<int>(m_species)] = text;
    if (field == CardField::AnimalLength)
        m_speciesLength[static_cast<int>(m_species)] = text;
    recompute();
}

void Cartellino::dragModelChosen(pm::DragModel model)
{
    m_modelEdited = m_modelEdited || model != m_dragModel;
    m_dragModel = model;
    recompute();
}

void Cartellino::leftHandChosen(bool leftHand)
{
    m_handEdited = m_handEdited || leftHand != m_leftHand;
    m_leftHand = leftHand;
    recompute();
}

void Cartellino::clickChosen(ClickChoice choice)
{
    m_clickEdited = m_clickEdited || choice != m_click;
    m_click = choice;
    recompute();
}

std::string Cartellino::shownText(CardField field) const
{
    if (field == CardField::ClickTyped && !clickTypedEnabled()) {
        switch (m_click) {
        case ClickChoice::Moa025: return numberText(0.25);
        case ClickChoice::Moa0125: return numberText(0.125);
        default: return numberText(0.1);
        }
    }
    if (field == CardField::Pressure && !pressureEnabled())
        return numberText(pm::pressureAtAltitude_hPa(value(fieldText(CardField::Altitude))), 1);
    return fieldText(field);
}

bool Cartellino::clickTypedEnabled() const
{
    return m_click == ClickChoice::TypedMoa || m_click == ClickChoice::TypedMrad;
}

void Cartellino::pressureModeChosen(PressureMode mode)
{
    m_pressureMode = mode;
    recompute();
}

void Cartellino::windClockChosen(int hour)
{
    if (hour < 1 || hour > 12)
        return;
    m_windClock = hour;
    m_windHalf = false;
    recompute();
}

void Cartellino::windClockStepped(int halfHours)
{
    // Half hours counted from 12 o'clock: 0 ... 23.
    int at = (m_windClock % 12) * 2 + (m_windHalf ? 1 : 0);
    at = ((at + halfHours) % 24 + 24) % 24;
    m_windClock = at / 2 == 0 ? 12 : at / 2;
    m_windHalf = at % 2 == 1;
    recompute();
}

void Cartellino::clockClicked(double x, double y)
{
    if (x == 0 && y == 0)
        return;
    // Clockwise from 12 (straight up on the face).
    double degrees = std::atan2(x, -y) * 180 / M_PI;
    if (degrees < 0)
        degrees += 360;
    int hour = static_cast<int>(std::lround(degrees / 30)) % 12;
    windClockChosen(hour == 0 ? 12 : hour);
}

void Cartellino::methodChosen(Method method)
{
    m_method = method;
    recompute();
}

void Cartellino::hitChosen(bool on)
{
    m_hit = on;
    recompute();
}

void Cartellino::rangeFinderChosen(RangeFinder finder)
{
    m_rangeFinder = finder;
    recompute();
}

void Cartellino::windReadingChosen(WindReading reading)
{
    m_windReading = reading;
    recompute();
}

void Cartellino::positionChosen(ShootingPosition position)
{
    m_position = position;
    recompute();
}

void Cartellino::deferHit(bool deferred)
{
    m_hitDeferred = deferred;
    recompute();
}

void Cartellino::aimChosen(AimMode aim)
{
    m_aim = aim;
    recompute();
}

HitSettings Cartellino::hitSettings() const
{
    const auto f = [this](CardField field) { return value(m_fields[index(field)]); };
    HitSettings h;
    const RangeError range = rangeFinderError(m_rangeFinder);
    h.sd.range_m = range.sd_m;
    h.sd.range_pct = range.sd_pct;
    h.sd.wind_kmh = windReadingSd_kmh(m_windReading);
    h.sd.velocity_ms = f(CardField::VelocitySd);
    h.sd.bc_pct = f(CardField::BcSd);
    h.sd.cone_moa = coneSd_moa(f(CardField::GroupSize), m_position);
    h.vitalZone_cm = value(m_fields[index(CardField::VitalZone)]);
    h.minProbability = f(CardField::MinProbability) / 100;
    h.aim = m_aim;
    return h;
}

void Cartellino::compareChosen(bool compare)
{
    m_compare = compare;
    recompute();
}

void Cartellino::speciesChosen(Species species)
{
    m_species = species;
    const auto s = static_cast<std::size_t>(species);
    m_fields[index(CardField::MinEnergy)] = numberText(speciesEnergy_J(species));
    m_fields[index(CardField::VitalZone)] =
        m_speciesVitalZone[s].empty() ? numberText(defaultSpeciesVitalZone_cm(species)) : m_speciesVitalZone[s];
    m_fields[index(CardField::AnimalLength)] =
        m_speciesLength[s].empty() ? numberText(defaultSpeciesLength_m(species)) : m_speciesLength[s];
    recompute();
}

void Cartellino::bcStepChanged(int row, int column, const std::string& text)
{
    if (row < 0 || row >= kBcStepRows || column < 0 || column > 1)
        return;
    m_stepsEdited = m_stepsEdited || m_bcSteps[row][column] != text;
    m_bcSteps[row][column] = text;
    recompute();
}

std::string Cartellino::windDirectionText() const
{
    if (!m_windHalf)
        return "da ore " + std::to_string(m_windClock) + " (" + clockSide(m_windClock) + ")";
    const char* side = m_windClock == 12 || m_windClock < 6 ? "da destra" : "da sinistra";
    return "da ore " + std::to_string(m_windClock) + " e mezza (" + side + ")";
}

std::optional<LimitedInput> Cartellino::fieldLimit(CardField field) const
{
    using L = LimitedInput;
    switch (field) {
    case CardField::Velocity: return L::Velocity;
    case CardField::Weight: return L::Weight;
    case CardField::Bc: return m_dragTable.empty() ? std::optional(L::Bc) : std::nullopt;
    case CardField::Diameter: return L::Diameter;
    case CardField::Length: return L::Length;
    case CardField::SightHeight: return L::SightHeight;
    case CardField::Zero: return L::Zero;
    case CardField::Twist: return L::Twist;
    case CardField::ClickTyped:
        if (!clickTypedEnabled())
            return std::nullopt;
        return m_click == ClickChoice::TypedMoa ? L::ClickMoa : L::ClickMrad;
    case CardField::ClicksPerTurn: return L::ClicksPerTurn;
    case CardField::Temperature: return L::Temperature;
    case CardField::Pressure:
        if (!pressureEnabled())
            return std::nullopt;
        return m_pressureMode == PressureMode::SeaLevel ? L::Qnh : L::Pressure;
    case CardField::Altitude: return L::Altitude;
    case CardField::Humidity: return L::Humidity;
    case CardField::WindSpeed: return L::WindSpeed;
    case CardField::LookAngle: return L::LookAngle;
    case CardField::Latitude: return L::Latitude;
    case CardField::Azimuth: return L::Azimuth;
    case CardField::MaxDistance: return L::MaxDistance;
    case CardField::Increment: return L::Increment;
    case CardField::MinEnergy: return L::MinEnergy;
    case CardField::VitalZone: return L::VitalZone;
    case CardField::AnimalSpeed: return L::AnimalSpeed;
    case CardField::AnimalLength: return L::AnimalLength;
    case CardField::GroupSize: return L::GroupSize;
    case CardField::VelocitySd: return L::SdVelocity;
    case CardField::BcSd: return L::SdBc;
    case CardField::MinProbability: return L::MinProbability;
    case CardField::Description: return std::nullopt;
    }
    return std::nullopt;
}

bool Cartellino::fieldUsed(CardField field) const
{
    switch (field) {
    case CardField::Pressure: return pressureEnabled();
    case CardField::Altitude: return altitudeEnabled();
    case CardField::ClickTyped: return clickTypedEnabled();
    default: return true;
    }
}

bool Cartellino::fieldOptional(CardField field)
{
    switch (field) {
    case CardField::Diameter:
    case CardField::Length:
    case CardField::Twist:
    case CardField::ClicksPerTurn:
    case CardField::Latitude:
    case CardField::Azimuth:
    case CardField::MinEnergy:
    case CardField::VitalZone:
    case CardField::AnimalSpeed:
    case CardField::AnimalLength:
    case CardField::Description: return true;
    default: return false;
    }
}

std::string Cartellino::fieldRefusal(CardField field, std::string_view text) const
{
    const std::optional<LimitedInput> limit = fieldLimit(field);
    if (!limit || !fieldUsed(field))
        return {};
    return textRefusal(*limit, text, fieldOptional(field));
}

std::string Cartellino::limitsRefusal() const
{
    for (int f = 0; f < kCardFieldCount; ++f) {
        const auto field = static_cast<CardField>(f);
        if (const std::optional<LimitedInput> input = fieldLimit(field))
            if (std::string refusal = limitRefusal(*input, optionalValue(m_fields[index(field)])); !refusal.empty())
                return refusal;
    }
    std::vector<BcStepText> steps;
    for (const auto& step : m_bcSteps) {
        const auto bc = optionalValue(step[0]);
        const auto from = optionalValue(step[1]);
        if (bc && from)
            steps.push_back({*bc, *from});
    }
    return bcStepsRefusal(steps);
}

std::string Cartellino::buildSetup(CardSetup& s) const
{
    auto f = [this](CardField field) { return value(m_fields[index(field)]); };
    auto opt = [this](CardField field) { return optionalValue(m_fields[index(field)]); };
    if (std::string refusal = limitsRefusal(); !refusal.empty())
        return refusal;

    s.bullet.muzzleVelocity_ms = f(CardField::Velocity);
    s.bullet.weight_gr = f(CardField::Weight);
    s.bullet.model = m_dragModel;
    s.bullet.bc_lbin2 = f(CardField::Bc);
    for (const auto& step : m_bcSteps) {
        const auto bc = optionalValue(step[0]);
        const auto from = optionalValue(step[1]);
        if (!bc && !from)
            continue;
        if (!bc || !from || *bc <= 0 || *from <= 0)
            return "Coefficienti a gradini: ogni riga vuole un coefficiente e una velocità "
                   "maggiori di zero";
        s.bullet.bcSteps.push_back({*bc, *from});
    }
    const auto diameter = opt(CardField::Diameter);
    const auto length = opt(CardField::Length);
    const auto twist = opt(CardField::Twist);
    if (diameter && length && twist) {
        if (*diameter <= 0 || *length <= 0 || *twist <= 0)
            return "Diametro, lunghezza e passo di rigatura devono essere maggiori di zero";
        s.bullet.diameter_mm = diameter;
        s.bullet.length_mm = length;
        s.bullet.twist_in = m_leftHand ? -*twist : *twist;
    }

    if (!m_dragTable.empty()) {
        s.bullet.dragTable = m_dragTable;
        s.bullet.diameter_mm = diameter;
    }
    s.zeroing.atmosphere = m_zeroAir;
    s.zeroing.sightHeight_cm = f(CardField::SightHeight);
    s.zeroing.zeroDistance_m = f(CardField::Zero);
    if (s.zeroing.zeroDistance_m <= 0)
        return "La distanza di taratura deve essere maggiore di zero";

    switch (m_click) {
    case ClickChoice::Mrad01:
    case ClickChoice::Cm100: s.click = {0.1, pm::AngleUnit::Mrad}; break;
    case ClickChoice::Moa025: s.click = {0.25, pm::AngleUnit::Moa}; break;
    case ClickChoice::Moa0125: s.click = {0.125, pm::AngleUnit::Moa}; break;
    case ClickChoice::TypedMoa:
    case ClickChoice::TypedMrad:
        s.click = {f(CardField::ClickTyped),
                   m_click == ClickChoice::TypedMoa ? pm::AngleUnit::Moa : pm::AngleUnit::Mrad};
        if (s.click.value <= 0)
            return "Il valore del click deve essere maggiore di zero";
        break;
    }
    const double perTurn = f(CardField::ClicksPerTurn);
    s.clicksPerTurn = perTurn >= 1 && perTurn < 1000 ? static_cast<int>(perTurn) : 0;

    pm::Atmosphere& air = s.conditions.atmosphere;
    air.temperature_C = f(CardField::Temperature);
    air.humidity_pct = f(CardField::Humidity);
    const double altitude = f(CardField::Altitude);
    switch (m_pressureMode) {
    case PressureMode::Station: air.pressure_hPa = f(CardField::Pressure); break;
    case PressureMode::SeaLevel:
        if (!opt(CardField::Altitude))
            return "La pressione del bollettino meteo vuole anche l'altitudine";
        air.pressure_hPa = pm::stationPressureFromQnh_hPa(f(CardField::Pressure), altitude);
        break;
    case PressureMode::AltitudeOnly: air.pressure_hPa = pm::pressureAtAltitude_hPa(altitude); break;
    }
    if (!(air.pressure_hPa > 0) || air.temperature_C <= -273.15)
        return "Temperatura o pressione impossibili";
    s.conditions.wind = {f(CardField::WindSpeed) / 3.6, 30.0 * windClockHours()};
    s.conditions.lookAngle_deg = f(CardField::LookAngle);
    const auto latitude = opt(CardField::Latitude);
    const auto azimuth = opt(CardField::Azimuth);
    if (latitude && azimuth)
        s.conditions.earth = pm::EarthPosition{*latitude, *azimuth};

    s.span.maxDistance_m = f(CardField::MaxDistance);
    s.span.increment_m = f(CardField::Increment);
    if (s.span.maxDistance_m <= 0 || s.span.increment_m <= 0)
        return "Distanza massima e incremento devono essere maggiori di zero";
    s.method = m_method;
    s.compareSiacci = m_compare && m_method == Method::PointMass;
    s.minEnergy_J = opt(CardField::MinEnergy);
    s.vitalZone_cm = opt(CardField::VitalZone);
    if (s.vitalZone_cm && *s.vitalZone_cm <= 0)
        s.vitalZone_cm.reset();
    if (m_hit && s.vitalZone_cm) {
        s.hit = hitSettings();
        s.hit->vitalZone_cm = *s.vitalZone_cm;
        s.hitDeferred = m_hitDeferred;
        if (std::string refusal = hitSettingsRefusal(*s.hit); !refusal.empty())
            return refusal;
    }
    s.crossingSpeed_kmh = opt(CardField::AnimalSpeed);
    s.animalLength_m = opt(CardField::AnimalLength);

    const std::string& description = m_fields[index(CardField::Description)];
    if (description.find_first_not_of(' ') != std::string::npos)
        s.description = description;
    if (m_click != ClickChoice::TypedMoa && m_click != ClickChoice::TypedMrad)
        s.clickText = clickChoiceCaption(m_click);
    describe(s);
    return {};
}

void Cartellino::recompute()
{
    CardSetup setup;
    m_inputRefusal = buildSetup(setup);
    if (!m_inputRefusal.empty()) {
        m_sheet = CardSheet{};
        m_sheet.refusal = m_inputRefusal;
        return;
    }
    m_setup = setup;
    m_sheet = m_calculator.compute(setup);
}

} // namespace siacci::card

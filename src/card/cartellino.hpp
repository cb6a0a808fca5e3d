#pragma once

#include "card/card_host.hpp"
#include "card/card_sheet.hpp"

#include <array>
#include <optional>
#include <string>

// The window "CARTELLINO DI TIRO" as a model: the texts of its fields, its choices, and the card
// recomputed after every change. The Qt view forwards each edit to one method here and shows
// what the model exposes.
namespace siacci::card {

enum class CardField {
    // "Proiettile"
    Velocity, Weight, Bc, Diameter, Length,
    // "Arma e ottica"
    SightHeight, Zero, Twist, ClickTyped, ClicksPerTurn,
    // "Condizioni"
    Temperature, Pressure, Altitude, Humidity, WindSpeed, LookAngle, Latitude, Azimuth,
    // "Tabella"
    MaxDistance, Increment, MinEnergy, VitalZone, AnimalSpeed, AnimalLength,
    Description
};
inline constexpr int kCardFieldCount = static_cast<int>(CardField::Description) + 1;

// What the view shows beside a field: its caption, its unit, what it means, its object name.
struct FieldInfo {
    const char* caption;
    const char* unit;
    const char* tooltip;
    const char* objectName;
};
const FieldInfo& fieldInfo(CardField field);

enum class ClickChoice { Mrad01, Moa025, Moa0125, Cm100, TypedMoa, TypedMrad };
inline constexpr int kClickChoiceCount = 6;
const char* clickChoiceCaption(ClickChoice choice);

// Which pressure the user has: the station's own ("sul posto"), a weather report's reduced to
// sea level (needs the altitude), or none (the altitude alone gives it).
enum class PressureMode { Station, SeaLevel, AltitudeOnly };
const char* pressureModeCaption(PressureMode mode);

// The game whose minimum energy the card marks; each keeps the user's own number.
enum class Species { Capriolo, Camoscio, Cinghiale, Cervo };
inline constexpr int kSpeciesCount = 4;
const char* speciesCaption(Species species);
double defaultSpeciesEnergy_J(Species species);

// One band of a stepped coefficient as typed: the coefficient, and the velocity it starts from.
inline constexpr int kBcStepRows = 4;

class Cartellino {
public:
    explicit Cartellino(const CardHost* host = nullptr);

    // --- events -------------------------------------------------------------------------------
    void fieldChanged(CardField field, const std::string& text);
    void dragModelChosen(pm::DragModel model);
    void leftHandChosen(bool leftHand);
    void clickChosen(ClickChoice choice);
    void pressureModeChosen(PressureMode mode);
    void windClockChosen(int hour);                // 1 ... 12
    // A click on the clock face at (x, y) from its centre, y downward: the nearest hour.
    void clockClicked(double x, double y);
    void methodChosen(Method method);
    void compareChosen(bool compare);
    void speciesChosen(Species species);
    void bcStepChanged(int row, int column, const std::string& text); // column 0 bc, 1 velocity
    // "Prendi dal tiro corrente": the main window's shot again.
    void takeCurrentShot();
    // What a load of the armoury brings that the card has no field for: the air in which the
    // rifle was zeroed, and the bullet's measured drag curve (empty: none). Kept until a load or
    // the main window's shot is taken again.
    void armouryExtrasChosen(std::optional<pm::Atmosphere> zeroAir, std::vector<pm::DragPoint> dragTable);

    // --- what the view shows ------------------------------------------------------------------
    const std::string& fieldText(CardField field) const { return m_fields[index(field)]; }
    pm::DragModel dragModel() const { return m_dragModel; }
    bool leftHand() const { return m_leftHand; }
    ClickChoice clickChoice() const { return m_click; }
    bool clickTypedEnabled() const;
    PressureMode pressureMode() const { return m_pressureMode; }
    bool pressureEnabled() const { return m_pressureMode != PressureMode::AltitudeOnly; }
    bool altitudeEnabled() const { return m_pressureMode != PressureMode::Station; }
    int windClock() const { return m_windClock; }
    Method method() const { return m_method; }
    bool compare() const { return m_compare; }
    bool compareEnabled() const { return m_method == Method::PointMass; }
    Species species() const { return m_species; }
    double speciesEnergy_J(Species s) const { return m_speciesEnergy[static_cast<int>(s)]; }
    const std::string& bcStepText(int row, int column) const { return m_bcSteps[row][column]; }
    // A hint above the card (no load chosen in the main window), or empty.
    const std::string& hint() const { return m_hint; }
    // Why the inputs give no card (an Italian text), or empty; the sheet holds the engine's.
    const std::string& inputRefusal() const { return m_inputRefusal; }
    const CardSheet& sheet() const { return m_sheet; }
    // The setup the card was computed from (valid when inputRefusal() is empty).
    const CardSetup& setup() const { return m_setup; }
    // The wind direction in words: "da ore 9 (da sinistra)".
    std::string windDirectionText() const;

private:
    static int index(CardField f) { return static_cast<int>(f); }
    void setField(CardField field, std::string text);
    // The first field outside its plausible limits (input_limits.hpp), or "".
    std::string limitsRefusal() const;
    void loadDefaults();
    void recompute();
    // The fields read into a setup; an Italian text when they cannot be.
    std::string buildSetup(CardSetup& setup) const;

    const CardHost* m_host;
    std::array<std::string, kCardFieldCount> m_fields{};
    pm::DragModel m_dragModel = pm::DragModel::G1;
    bool m_leftHand = false;
    ClickChoice m_click = ClickChoice::Mrad01;
    PressureMode m_pressureMode = PressureMode::AltitudeOnly;
    int m_windClock = 3;
    Method m_method = Method::PointMass;
    bool m_compare = false;
    Species m_species = Species::Capriolo;
    std::array<double, kSpeciesCount> m_speciesEnergy{};
    std::array<std::array<std::string, 2>, kBcStepRows> m_bcSteps{};
    std::optional<pm::Atmosphere> m_zeroAir;
    std::vector<pm::DragPoint> m_dragTable;
    std::string m_hint;
    std::string m_inputRefusal;
    CardSetup m_setup;
    CardSheet m_sheet;
    CardCalculator m_calculator;
};

} // namespace siacci::card

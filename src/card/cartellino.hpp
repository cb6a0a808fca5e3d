#pragma once

#include "card/card_host.hpp"
#include "card/card_sheet.hpp"
#include "card/hit_presets.hpp"
#include "card/input_limits.hpp"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // "Fin dove posso tirare?"
    GroupSize, VelocitySd, BcSd, MinProbability,
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
// The vital zone's diameter and the body's length of a grown animal of the species.
double defaultSpeciesVitalZone_cm(Species species);
double defaultSpeciesLength_m(Species species);

// One band of a stepped coefficient as typed: the coefficient, and the velocity it starts from.
inline constexpr int kBcStepRows = 4;

// Where the card's load (its bullet and its rifle) came from: the main window's shot (a
// catalogue load or numbers typed there), a load of the armoury, or the user's own typing.
enum class LoadOrigin { MainShot, Armoury, Manual };
struct LoadSource {
    LoadOrigin origin = LoadOrigin::Manual;
    bool catalogue = false;   // MainShot: a catalogue load
    std::string rifle;        // Armoury: the rifle's name
    std::string load;         // Armoury: the load's description; empty: the rifle alone
    friend bool operator==(const LoadSource&, const LoadSource&) = default;
};

// Everything a source says of the bullet and of the rifle. Taking one sets every one of these
// inputs, so nothing of the load taken before is left behind.
struct CardLoad {
    double velocity_ms = 0;
    double weight_gr = 0;
    pm::DragModel model = pm::DragModel::G1;
    double bc = 0;
    std::vector<pm::BcStep> bcSteps;          // at most kBcStepRows are shown and used
    std::optional<double> diameter_mm;
    std::optional<double> length_mm;
    std::vector<pm::DragPoint> dragTable;     // a measured curve; empty: none
    std::string description;
    double sightHeight_cm = 0;
    double zero_m = 0;
    std::optional<double> twist_in;           // inches per turn; none: no spin drift
    bool leftHand = false;
    ClickChoice click = ClickChoice::Mrad01;
    double clickTyped = 0.1;                  // with TypedMoa / TypedMrad
    std::optional<int> clicksPerTurn;
    std::optional<pm::Atmosphere> zeroAir;    // none: zeroed in the day's air
    std::optional<double> velocitySd_ms;      // shot to shot, from the chronograph
};

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
    // The clock from the keyboard: forward (clockwise) or back by half hours.
    void windClockStepped(int halfHours);
    // A click on the clock face at (x, y) from its centre, y downward: the nearest hour.
    void clockClicked(double x, double y);
    void methodChosen(Method method);
    void compareChosen(bool compare);
    void speciesChosen(Species species);
    void bcStepChanged(int row, int column, const std::string& text); // column 0 bc, 1 velocity
    // "Fin dove posso tirare?": on or off, and how the hunter reads distance and wind, how he
    // holds the rifle, whether he corrects.
    void hitChosen(bool on);
    void rangeFinderChosen(RangeFinder finder);
    void windReadingChosen(WindReading reading);
    void positionChosen(ShootingPosition position);
    void aimChosen(AimMode aim);
    // The hit table left to the caller, who computes it a batch at a time (the page).
    void deferHit(bool deferred);
    // "Prendi dal tiro corrente": the main window's shot again, bullet and rifle (a G1
    // coefficient, no steps, sizes or twist, the default click), with its distances, temperature
    // and altitude. The source becomes the main window's shot, unmodified.
    void takeCurrentShot();
    // The main window's shot may have changed: while the card's load is that shot and the user
    // has not changed it, the card takes the new one; else it only offers to (followOffered()).
    // True when the card changed.
    bool mainShotChanged();
    // A load from elsewhere (the armoury): every bullet and rifle input from `load` alone. With
    // `withBullet` false only the rifle's inputs are taken (a rifle without loads).
    void takeLoad(const CardLoad& load, const LoadSource& source, bool withBullet = true);
    // The source's own velocity moved with the day's temperature: not an edit of the user's.
    void sourceVelocitySet(double velocity_ms);
    // The card's inputs stay as they are and become the user's own ("a mano").
    void becomeManual();
    // What a load of the armoury brings that the card has no field for: the air in which the
    // rifle was zeroed, and the bullet's measured drag curve (empty: none). Kept until a load or
    // the main window's shot is taken again.
    void armouryExtrasChosen(std::optional<pm::Atmosphere> zeroAir, std::vector<pm::DragPoint> dragTable);

    // --- what the view shows ------------------------------------------------------------------
    const std::string& fieldText(CardField field) const { return m_fields[index(field)]; }
    // What a field shows: its text, or for a field that does not apply (greyed) the value the
    // card uses instead (the chosen click's value; the pressure the altitude gives).
    std::string shownText(CardField field) const;
    pm::DragModel dragModel() const { return m_dragModel; }
    bool leftHand() const { return m_leftHand; }
    ClickChoice clickChoice() const { return m_click; }
    bool clickTypedEnabled() const;
    PressureMode pressureMode() const { return m_pressureMode; }
    bool pressureEnabled() const { return m_pressureMode != PressureMode::AltitudeOnly; }
    bool altitudeEnabled() const { return m_pressureMode != PressureMode::Station; }
    int windClock() const { return m_windClock; }
    // The hour with its half: 3.5 is "ore 3 e mezza"; 12.5 half past 12.
    double windClockHours() const { return m_windClock + (m_windHalf ? 0.5 : 0.0); }
    Method method() const { return m_method; }
    bool compare() const { return m_compare; }
    bool compareEnabled() const { return m_method == Method::PointMass; }
    Species species() const { return m_species; }
    bool hit() const { return m_hit; }
    RangeFinder rangeFinder() const { return m_rangeFinder; }
    WindReading windReading() const { return m_windReading; }
    ShootingPosition position() const { return m_position; }
    AimMode aim() const { return m_aim; }
    // The hunter's errors from the choices and fields (valid when inputRefusal() is empty).
    HitSettings hitSettings() const;
    double speciesEnergy_J(Species s) const { return m_speciesEnergy[static_cast<int>(s)]; }
    const std::string& bcStepText(int row, int column) const { return m_bcSteps[row][column]; }
    // Where the load came from, and whether the user changed it since.
    const LoadSource& source() const { return m_source; }
    bool modified() const;
    // The user changed this input since the load was taken.
    bool edited(CardField field) const { return m_edited[index(field)]; }
    bool twistEdited() const { return edited(CardField::Twist) || m_handEdited; }
    bool clickEdited() const { return edited(CardField::ClickTyped) || m_clickEdited; }
    bool rifleEdited() const;
    // "Dal tiro della finestra principale (catalogo): il cartellino lo segue" ...
    std::string sourceText() const;
    // The card's load is the main window's shot but no longer follows it (the user changed a
    // field, or the main window's shot changed meanwhile): "Segui la finestra principale".
    bool followOffered() const;
    // A hint above the card (no load chosen in the main window), or empty.
    const std::string& hint() const { return m_hint; }
    // Which limit of the one table a field's text is held to now (nullopt: none, or the field is
    // not used: the pressure with the altitude alone, the typed click with a chosen one, the
    // coefficient with a drag table).
    std::optional<LimitedInput> fieldLimit(CardField field) const;
    // Whether the card uses the field now (the greyed ones it does not).
    bool fieldUsed(CardField field) const;
    // Whether an empty text is a missing value the card does without (the bullet's sizes, the
    // latitude, the game's figures).
    static bool fieldOptional(CardField field);
    // The message beside a field for this text ("Velocità: deve essere tra 50 e 2000 m/s"), or
    // empty: the one table's rule for the field as the card uses it now.
    std::string fieldRefusal(CardField field, std::string_view text) const;
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
    // An edit of the user's: marks a field of the load (or of the main window's shot) changed.
    void markEdited(CardField field);
    void clearEdits();
    bool isLoadField(CardField field) const;
    // The fields read into a setup; an Italian text when they cannot be.
    std::string buildSetup(CardSetup& setup) const;

    const CardHost* m_host;
    std::array<std::string, kCardFieldCount> m_fields{};
    pm::DragModel m_dragModel = pm::DragModel::G1;
    bool m_leftHand = false;
    ClickChoice m_click = ClickChoice::Mrad01;
    PressureMode m_pressureMode = PressureMode::AltitudeOnly;
    int m_windClock = 3;
    bool m_windHalf = false;
    Method m_method = Method::PointMass;
    bool m_compare = false;
    Species m_species = Species::Capriolo;
    bool m_hit = false;
    RangeFinder m_rangeFinder = RangeFinder::Telemetro;
    WindReading m_windReading = WindReading::Stimato;
    ShootingPosition m_position = ShootingPosition::Bastone;
    AimMode m_aim = AimMode::Corrected;
    bool m_hitDeferred = false;
    std::array<double, kSpeciesCount> m_speciesEnergy{};
    // The user's own vital zone and length of each species, as typed (empty: the default).
    std::array<std::string, kSpeciesCount> m_speciesVitalZone{};
    std::array<std::string, kSpeciesCount> m_speciesLength{};
    std::array<std::array<std::string, 2>, kBcStepRows> m_bcSteps{};
    std::optional<pm::Atmosphere> m_zeroAir;
    std::vector<pm::DragPoint> m_dragTable;
    LoadSource m_source;
    CardShot m_takenShot;      // the main window's shot last taken
    bool m_mainShotMoved = false;
    std::array<bool, kCardFieldCount> m_edited{};
    bool m_modelEdited = false, m_stepsEdited = false, m_handEdited = false, m_clickEdited = false;
    std::string m_hint;
    std::string m_inputRefusal;
    CardSetup m_setup;
    CardSheet m_sheet;
    CardCalculator m_calculator;
};

} // namespace siacci::card

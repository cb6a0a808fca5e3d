#pragma once

#include "armoury/armoury_model.hpp"
#include "ballistics/tables.hpp"
#include "card/card_host.hpp"
#include "common/ports.hpp"
#include "common/shot.hpp"
#include "files/file_windows.hpp"
#include "files/shot_file_host.hpp"
#include "graph/graph_host.hpp"
#include "graph/graph_points.hpp"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The main window Form4 as a model: the inputs of one shot, the three table modes, the option
// groups, the triggers that start a computation, and the grid Grid1. The Qt view forwards every
// event to one method here and then shows what the model exposes; nothing is decided in the view.
namespace siacci {

struct CartridgePreset;

// The input fields of the tab "DATI BASE", and the description field. kFieldTable below holds
// everything else about each.
enum class Field {
    Text12, // muzzle velocity (m/s; ft/s in the imperial mode)
    Text11, // ballistic coefficient
    Text3,  // maximum distance of the table (m; yards)
    Text5,  // zero distance, where the sight meets the trajectory (m; yards)
    Text4,  // distance between two rows of the table (m; yards)
    Text9,  // air temperature (degrees C)
    Text8,  // altitude above sea level (m)
    Text7,  // bullet weight (grains)
    Text6,  // sight height above the bore (cm; inches)
    Text10, // the shot's description, below the tabs: the bullet's name
};
inline constexpr int kFieldCount = 10;
inline constexpr int kInputFieldCount = 9; // all but the description

// The labels whose captions change with the unit system: the five beside a field, and Label11,
// which names the unit system in use.
enum class UnitLabel { Label7, Label8, Label9, Label6, Label10, Label11 };
inline constexpr int kUnitLabelCount = 6;

// Everything the program knows about one field of the main window.
struct FieldDescription {
    Field field;
    const char* name;                   // its control's name
    const char* labelName;              // the label beside it; "" for none
    std::optional<UnitLabel> unitLabel; // that label, when its caption follows the units
    const char* startCaption;           // the label's caption when the program starts
    const char* metricCaption;          // in the metric and terminal modes (unitLabel only)
    const char* imperialCaption;        // in the imperial mode (unitLabel only)
    double ShotInput::*value;           // the input it reads into; null for the description
    int row;                            // its row on the tab "DATI BASE"; -1: below the tabs
};

// One row per Field, in the enum's order.
inline constexpr FieldDescription kFieldTable[kFieldCount] = {
    {Field::Text12, "Text12", "Label7", UnitLabel::Label7, "Velocità in metri/secondi",
     "Velocità in  metri/sec.", "Velocità in feet/sec.", &ShotInput::velocity, 0},
    {Field::Text11, "Text11", "Label4", std::nullopt, "Coefficiente  Balistico", nullptr, nullptr,
     &ShotInput::bc, 1},
    {Field::Text3, "Text3", "Label8", UnitLabel::Label8, "Max distanza metri",
     "Massima Distanza metri", "Max Distanza Yards", &ShotInput::maxDistance, 5},
    {Field::Text5, "Text5", "Label10", UnitLabel::Label10, "Taratura centro a metri",
     "Taratura Centro a metri", "Taratura Centro Yards", &ShotInput::zeroDistance, 4},
    {Field::Text4, "Text4", "Label9", UnitLabel::Label9, "Incremento in metri",
     "Incremento in metri", "Incremento in Yards", &ShotInput::increment, 6},
    {Field::Text9, "Text9", "Label3", std::nullopt, "Temp. gradi centigradi", nullptr, nullptr,
     &ShotInput::temperature, 7},
    {Field::Text8, "Text8", "Label2", std::nullopt, "Altitudine s.l.m. metri", nullptr, nullptr,
     &ShotInput::altitude, 8},
    {Field::Text7, "Text7", "Label5", std::nullopt, "Peso  proiettile grains", nullptr, nullptr,
     &ShotInput::weight, 2},
    {Field::Text6, "Text6", "Label6", UnitLabel::Label6, "Altezza ottica cm.",
     "Altezza Ottica  cm.", "Altezza Ottica Inches", &ShotInput::sightHeight, 3},
    {Field::Text10, "Text10", "", std::nullopt, "", nullptr, nullptr, nullptr, -1},
};

constexpr const FieldDescription& describe(Field field)
{
    return kFieldTable[static_cast<int>(field)];
}

// The input fields in their order on the tab "DATI BASE", top to bottom.
constexpr std::array<Field, kInputFieldCount> inputFieldsInRows()
{
    std::array<Field, kInputFieldCount> rows{};
    for (const FieldDescription& d : kFieldTable)
        if (d.row >= 0)
            rows[static_cast<std::size_t>(d.row)] = d.field;
    return rows;
}

// The label beside a field whose caption changes with the unit system, if it has one.
inline std::optional<UnitLabel> unitLabelOf(Field field)
{
    return describe(field).unitLabel;
}

// Where the model asks the view to put the keyboard focus.
enum class FocusTarget { Option1, Text10 };

// The toolbar's picture buttons, by their number: Image1 ... Image9.
inline constexpr int kToolbarButtons = 9;

// One of the ten stored positions behind the bullet buttons.
struct BulletSlot {
    std::string description;
    double velocity = 0;     // m/s
    double weight = 0;       // grains
    double bc = 0;
    double sightHeight = 0;  // cm
    TerminalCoefficients terminal;
};

// What the grid Grid1 shows: three fixed heading rows above the data rows.
struct GridContents {
    std::array<std::array<std::string, 8>, 3> headings{};
    std::vector<TrajectoryRow> rows;
    std::array<int, 8> widths_twips{};  // meaningful once widthsSet
};

class Form4 : public GraphHost, public ShotFileHost, public CardHost, public armoury::ArmouryHost {
public:
    Form4(Dialogs& dialogs, WindowHost& windows, PrintSink& printer, char decimalSeparator = '.');

    // The view's refresh: called after every change made on behalf of another window (a file
    // opened or saved, the graph window's site angle) and before a prompt, so that what the user
    // sees is always the model.
    void setChangeListener(std::function<void()> listener) { m_changed = std::move(listener); }

    // --- events -------------------------------------------------------------------------------
    void startUp();
    // The user (or the program) changed a field's text.
    void fieldChanged(Field field, const std::string& text);
    void calcolaClicked();                // Command1 "CALCOLA"
    void siteAngleClicked(int index);     // Option11 ... Option15: index 0 ... 4
    void europeeClicked();                // Option16
    void ingleseClicked();                // Option17
    void shapeClicked(int option);        // Option18 ... Option25, by their number
    void bulletFocused(int button);       // Option1 / Option2 received the focus (1-based)
    void bulletClicked(int button);       // a click on Option1 ... Option10 (1-based)
    void selectBullet(int button);        // the bullet selection of button 1 ... 10
    void presetChosen(const CartridgePreset& preset); // a catalogue menu item
    void printMenu();                     // menu "STAMPA"
    void printToolbar();                  // toolbar Image9
    void fine();                          // menu "FINE", toolbar Image5
    void pointerOverImage(int image);     // hint label: 1 ... 9
    void pointerOverBackground();
    void graphButton();                   // toolbar Image1: the title line, then processo
    void graphicMenu();                   // menu "GRAFICO" (Graphic)
    void graphSiteAngleChosen(const SiteAngle& angle) override; // the graph window's options

    // --- shot files ---------------------------------------------------------------------------
    BalRecord currentRecord() const override;
    std::string descriptionText() const override;
    void fileOpened(const BalReadResult& result) override;
    void fileSaved() override;
    // The last file opened or saved, shared by the open and save windows for the run.
    FileSession& fileSession() { return m_fileSession; }

    // --- the range card ------------------------------------------------------------------------
    // The current shot in metric units, whatever the window shows.
    CardShot cardShot() const override;

    // --- the armoury --------------------------------------------------------------------------
    // The load of the checked bullet button, in metric units.
    std::optional<armoury::CatalogueLoadChoice> chosenCatalogueLoad() const override;

    // --- routines of the window ---------------------------------------------------------------
    // Writes every input back into its field in the short number form ("tidy the fields").
    void Calcola();
    // The velocity check of the metric (ita, 92 ... 1371 m/s) and the imperial (ami, 300 ...
    // 4499 ft/s) tables: outside the limits the user is prompted for another velocity; false
    // when the table must not be computed.
    bool ita();
    bool ami();
    // The switch to metric units ("EUROPEE") and to imperial units ("INGLESI"): captions,
    // velocity and sight height converted, the table of the new units computed.
    void italiano();
    void inglese();
    // A rifle or pistol catalogue item was chosen: the bullet buttons are shown, the metric
    // mode and captions set, the focus goes to the first bullet.
    void chiamata();
    // The default range of a catalogue fill: zero, maximum distance, step, sight height and
    // temperature; no bullet checked.
    void spunta();
    // A terminal-ballistics item was chosen: the terminal mode with its shape options.
    void rsfunction();
    // The three tables in the grid (or on the printer in PrintMode): the metric firing table,
    // the imperial one and the terminal-ballistics one (stopping power, penetration). Not the
    // pure routines of the same names in ballistics/, which they run.
    void europa();
    void america();
    void rscalc();
    // The graph: recomputes its points out to 1000 m and shows the graph window.
    void processo();

    // --- what the view shows ------------------------------------------------------------------
    const std::string& fieldText(Field field) const { return m_fields[index(field)]; }
    std::string unitCaption(UnitLabel label) const;
    bool image1Visible() const { return m_image1Visible; }
    bool siteOptionsVisible() const { return m_siteOptionsVisible; }
    bool unitOptionsVisible() const { return m_unitOptionsVisible; }
    bool shapeFramesVisible() const { return m_shapeFramesVisible; }
    bool gridVisible() const { return m_gridVisible; }
    bool hintVisible() const { return m_hintVisible; }
    const std::string& hintText() const { return m_hintText; }
    bool bulletVisible(int button) const { return m_bulletVisible[button - 1]; }
    const std::string& bulletCaption(int button) const { return m_bulletCaptions[button - 1]; }
    int checkedBullet() const { return m_checkedBullet; } // 0: none
    // Whether shape button Option18 ... Option25 shows checked: its factor is the one in use
    // (none is, while the bullet's own or the default factors apply).
    bool shapeChecked(int option) const;
    bool terminalMenuEnabled() const { return m_terminalMenuEnabled; }
    bool graphicMenuEnabled() const { return m_graphicMenuEnabled; }
    const GridContents& grid() const { return m_grid; }
    bool columnWidthsSet() const { return m_widthsSet; }
    bool gridHoldsTable() const { return m_gridHoldsTable; }
    // The focus the view should give, once; cleared by reading it.
    std::optional<FocusTarget> takeFocusRequest();
    char decimalSeparator() const override { return m_decimal; }

    // --- program-wide state -------------------------------------------------------------------
    ShotInput& shot() { return m_shot; }
    const ShotInput& shot() const { return m_shot; }
    TableMode tableMode() const { return m_mode; }
    bool printMode() const { return m_printMode; }
    const std::string& velocityText() const { return m_velocityText; }
    const BulletSlot& slot(int button) const { return m_slots[button - 1]; }
    // The graph's program-wide state: the two point lists (Text1 distances, Text2 heights),
    // GraphPoints, the scale and the title line.
    GraphState& graph() { return m_graph; }
    const std::string& graphDistanceList() const { return m_graph.Text1; }
    const std::string& graphHeightList() const { return m_graph.Text2; }

    // Writes a field from the program; the change handler runs, as when the user types.
    void setField(Field field, const std::string& text);
    void setTableMode(TableMode mode);
    void setGridHoldsTable() { m_gridHoldsTable = true; }

    // The hint of a picture button (1 ... 9), also its name for screen readers; "" for none.
    static const char* toolbarHint(int image);
    // The caption the label beside a field shows now.
    std::string fieldCaption(Field field) const;

private:
    static int index(Field f) { return static_cast<int>(f); }
    // The one place that decides whether a trigger computes: velocity, ballistic coefficient
    // and increment must all be set (an increment below 0 counts as not set).
    bool inputsComputable() const;
    void startTableOfMode();
    void setMetricCaptions() { m_captions = Captions::Metric; }
    void setImperialCaptions() { m_captions = Captions::Imperial; }
    void closeGraph();
    void notifyChanged() const
    {
        if (m_changed)
            m_changed();
    }
    // The velocity check of both unit systems: the prompt, the answer, the limits.
    bool velocityCheck(double low, double high, bool highInclusive, const char* promptText,
                       const char* limitsText);
    // Runs the pure table routine of that mode on the shot, then shows or prints its rows.
    void runTable(TableMode table);
    void applyTableRun(const TableRun& run, TableMode table);

    Dialogs& m_dialogs;
    WindowHost& m_windows;
    PrintSink& m_printer;
    char m_decimal;

    ShotInput m_shot;
    TableMode m_mode = TableMode::Metric;
    bool m_printMode = false;
    std::string m_velocityText;
    std::array<std::string, kFieldCount> m_fields{};
    // Which captions the unit labels show: those of the start, until a unit system is chosen.
    enum class Captions { StartUp, Metric, Imperial } m_captions = Captions::StartUp;
    std::array<BulletSlot, 10> m_slots{};
    std::array<std::string, 10> m_bulletCaptions{};
    std::array<bool, 10> m_bulletVisible{};
    int m_checkedBullet = 0;
    bool m_image1Visible = true;
    bool m_siteOptionsVisible = true;
    bool m_unitOptionsVisible = true;
    bool m_shapeFramesVisible = false;
    bool m_gridVisible = false;
    bool m_hintVisible = false;
    std::string m_hintText = "GRAFICO";
    bool m_terminalMenuEnabled = true;
    bool m_graphicMenuEnabled = true;
    GridContents m_grid;
    bool m_widthsSet = false;
    bool m_gridHoldsTable = false;
    std::optional<FocusTarget> m_focusRequest;
    GraphState m_graph;
    FileSession m_fileSession;
    std::function<void()> m_changed;
};

} // namespace siacci

#include "app/form4.hpp"

#include "common/number_text.hpp"
#include "common/units.hpp"

#include <cmath>

namespace siacci {

namespace {

constexpr const char* kItaPrompt =
    "Hai usato una velocità al di fuori dei limiti del programma. Imposta una velocità non "
    "inferiore a 92 metri/sec. oppure non superiore a 1.371 metri/sec. DIGITA nel riquadro "
    "sottostante la nuova velocità ";
constexpr const char* kAmiPrompt =
    "Hai usato una velocità al di fuori dei limiti del programma. Imposta una velocità non "
    "inferiore a 300 fps oppure non superiore a 4.499 fps. DIGITA nel riquadro sottostante la "
    "nuova velocità";
// The limits end a sentence: the messages add its full stop.
constexpr const char* kItaLimits = "da 92 a 1.371 metri/sec";
constexpr const char* kAmiLimits = "da 300 a 4.499 fps";

// A half goes to the even neighbour, as the unit switches round.
double roundHalfEven(double x)
{
    return std::nearbyint(x);
}

// Shape buttons Option18 ... Option25: the factor and name each sets.
struct ShapeChoice {
    bool rsp;
    double factor;
    const char* name;
};
constexpr ShapeChoice kShapes[8] = {
    {true, 1.35, "Hollow Point"},   {true, 1.25, "Wad Cutter"},
    {true, 1.1, "Semi Wad Cutter"}, {true, 1, "Semi Round Nose"},
    {true, 0.9, "Round Nose"},      {false, 0.0075, "FMJ Full Metal Jacket"},
    {false, 0.0085, "Flat Point fronte 60% del cal."}, {false, 0.01, "Molto espansive"},
};

} // namespace

static_assert([] {
    for (int i = 0; i < kFieldCount; ++i)
        if (kFieldTable[i].field != static_cast<Field>(i))
            return false;
    return true;
}(), "kFieldTable lists the fields in the enum's order");

Form4::Form4(Dialogs& dialogs, WindowHost& windows, PrintSink& printer, char decimalSeparator)
    : m_dialogs(dialogs), m_windows(windows), m_printer(printer), m_decimal(decimalSeparator)
{
}

std::string Form4::fieldCaption(Field field) const
{
    const FieldDescription& d = describe(field);
    if (!d.unitLabel)
        return d.startCaption;
    switch (m_captions) {
    case Captions::StartUp: return d.startCaption;
    case Captions::Metric: return d.metricCaption;
    case Captions::Imperial: return d.imperialCaption;
    }
    return d.startCaption;
}

std::string Form4::unitCaption(UnitLabel label) const
{
    if (label == UnitLabel::Label11)
        return m_captions == Captions::Imperial ? "MISURE INGLESI" : "MISURE METRICHE";
    for (const FieldDescription& d : kFieldTable)
        if (d.unitLabel == label)
            return fieldCaption(d.field);
    return "";
}

// --- events -------------------------------------------------------------------------------------

void Form4::startUp()
{
    m_shot.rspShapeName = "Round Nose";
    m_shot.pirShapeName = "Molto espansive";
    m_bulletVisible.fill(false);
    m_widthsSet = false;
    setTableMode(TableMode::Metric);
    for (Field f : inputFieldsInRows())
        setField(f, "");
    m_gridVisible = false;
}

void Form4::fieldChanged(Field field, const std::string& text)
{
    m_fields[index(field)] = text;
    // Italian users type a decimal comma: every reading of a field goes through virgola.
    if (const auto value = describe(field).value)
        m_shot.*value = readField(text);
    else
        m_shot.description = text;
    if (field == Field::Text12)
        m_velocityText = text; // what the velocity prompt reads back
}

void Form4::setField(Field field, const std::string& text)
{
    fieldChanged(field, text);
}

void Form4::calcolaClicked()
{
    // Every input is read again from what its field shows.
    for (Field f : inputFieldsInRows())
        fieldChanged(f, m_fields[index(f)]);
    if (!inputsComputable())
        return;
    startTableOfMode();
}

void Form4::siteAngleClicked(int i)
{
    if (i < 0 || i > 4)
        return;
    m_shot.siteAngle = kSiteAngles[i];
    Calcola();
    if (m_mode == TableMode::Terminal || !inputsComputable())
        return;
    startTableOfMode();
}

void Form4::europeeClicked()
{
    italiano();
}

void Form4::ingleseClicked()
{
    inglese();
}

void Form4::shapeClicked(int option)
{
    if (option < 18 || option > 25)
        return;
    const ShapeChoice& s = kShapes[option - 18];
    if (s.rsp) {
        m_shot.terminal.rspFactor = s.factor;
        m_shot.rspShapeName = s.name;
    } else {
        m_shot.terminal.pirFactor = s.factor;
        m_shot.pirShapeName = s.name;
    }
    if (inputsComputable())
        rscalc();
}

bool Form4::shapeChecked(int option) const
{
    if (option < 18 || option > 25)
        return false;
    const ShapeChoice& s = kShapes[option - 18];
    const std::optional<double>& inUse = s.rsp ? m_shot.terminal.rspFactor : m_shot.terminal.pirFactor;
    return inUse == s.factor;
}

void Form4::printMenu()
{
    // In the terminal-ballistics mode the menu prints the terminal table, as the toolbar does,
    // rather than leaving the request pending for whatever computation comes next.
    printToolbar();
}

void Form4::printToolbar()
{
    if (!inputsComputable())
        return; // nothing to print; PrintMode is not left pending
    m_printMode = true;
    m_printer.setFontSize(11);
    startTableOfMode();
    m_printMode = false;
}

void Form4::fine()
{
    m_windows.close(WindowId::Main);
    m_windows.close(WindowId::Calc);
    m_windows.close(WindowId::Cb);
    m_windows.close(WindowId::Graph);
}

const char* Form4::toolbarHint(int image)
{
    static constexpr const char* kHints[kToolbarButtons] = {
        "GRAFICO", "C.B.", "LEGGIMI", "INFO", "ESCI", "CONVERSIONI", "", "", "STAMPA"};
    return image < 1 || image > kToolbarButtons ? "" : kHints[image - 1];
}

void Form4::pointerOverImage(int image)
{
    const char* hint = toolbarHint(image);
    if (hint[0] == '\0')
        return;
    m_hintVisible = true;
    m_hintText = hint;
}

void Form4::pointerOverBackground()
{
    m_hintVisible = false;
}

std::optional<FocusTarget> Form4::takeFocusRequest()
{
    auto request = m_focusRequest;
    m_focusRequest.reset();
    return request;
}

// --- routines -----------------------------------------------------------------------------------

bool Form4::inputsComputable() const
{
    return m_shot.velocity != 0 && m_shot.bc != 0 && m_shot.increment > 0;
}

void Form4::startTableOfMode()
{
    switch (m_mode) {
    case TableMode::Metric: europa(); break;
    case TableMode::Imperial: america(); break;
    case TableMode::Terminal: rscalc(); break;
    }
}

void Form4::setTableMode(TableMode mode)
{
    m_mode = mode;
    // The graph is drawn from metric inputs only: its menu command follows the graph button.
    m_graphicMenuEnabled = mode == TableMode::Metric;
}

void Form4::Calcola()
{
    // Each field shows its input in the short number form and reads it back from there.
    for (const FieldDescription& d : kFieldTable)
        setField(d.field, d.value ? shortNumber(m_shot.*d.value) : m_shot.description);
}

bool Form4::velocityCheck(double low, double high, bool highInclusive, const char* promptText,
                          const char* limitsText)
{
    auto outside = [&](double v) { return v < low || (highInclusive ? v > high : v >= high); };
    if (outside(m_shot.velocity)) {
        notifyChanged(); // the rows just removed are not left drawn behind the prompt
        const auto answer = m_dialogs.prompt("Siacci", promptText, "");
        if (!answer) {
            m_dialogs.message({"Siacci",
                               std::string("Calcolo annullato: la velocità deve essere ") +
                                   limitsText + ".",
                               MessageIcon::Information});
            return false;
        }
        m_velocityText = *answer;
    }
    m_shot.velocity = readField(m_velocityText);
    if (outside(m_shot.velocity)) {
        m_dialogs.message({"Siacci",
                           "La velocità " + cellText(m_shot.velocity, m_decimal) +
                               " è fuori dai limiti del programma: imposta una velocità " +
                               limitsText + ".",
                           MessageIcon::Warning});
        return false;
    }
    return true;
}

bool Form4::ita()
{
    return velocityCheck(92, 1371, true, kItaPrompt, kItaLimits);
}

bool Form4::ami()
{
    return velocityCheck(300, 4500, false, kAmiPrompt, kAmiLimits);
}

void Form4::closeGraph()
{
    if (m_windows.isOpen(WindowId::Graph))
        m_windows.close(WindowId::Graph);
}

void Form4::italiano()
{
    m_image1Visible = true;
    setMetricCaptions();
    m_siteOptionsVisible = true;
    if (m_mode == TableMode::Imperial) {
        m_shot.velocity = roundHalfEven(kMetresPerFootVelocity * m_shot.velocity);
        m_shot.sightHeight = roundHalfEven(10 * kCentimetresPerInch * m_shot.sightHeight) / 10;
    }
    setField(Field::Text12, shortNumber(m_shot.velocity));
    setField(Field::Text6, shortNumber(m_shot.sightHeight));
    setTableMode(TableMode::Metric);
    if (inputsComputable())
        europa();
}

void Form4::inglese()
{
    closeGraph();
    m_image1Visible = false;
    setImperialCaptions();
    if (m_mode == TableMode::Metric) {
        m_shot.velocity = roundHalfEven(kFeetPerMetreVelocity * m_shot.velocity);
        m_shot.sightHeight = roundHalfEven(100 * kInchesPerCentimetre * m_shot.sightHeight) / 100;
    }
    setField(Field::Text12, shortNumber(m_shot.velocity));
    setField(Field::Text6, shortNumber(m_shot.sightHeight));
    setTableMode(TableMode::Imperial);
    if (inputsComputable())
        america();
}

void Form4::chiamata()
{
    m_shapeFramesVisible = false;
    m_shot.velocity = 0;
    m_shot.siteAngle = SiteAngle{};
    setTableMode(TableMode::Metric);
    m_image1Visible = true;
    setMetricCaptions();
    m_siteOptionsVisible = true;
    for (auto& s : m_slots)
        s.sightHeight = 4;
    m_bulletVisible.fill(true);
    m_focusRequest = FocusTarget::Option1;
}

void Form4::spunta()
{
    m_checkedBullet = 0;
    m_focusRequest = FocusTarget::Text10;
    if (m_mode == TableMode::Terminal) {
        m_shot.zeroDistance = 0;
        m_shot.maxDistance = 150;
        m_shot.increment = 10;
        m_shot.sightHeight = 0;
    } else {
        m_shot.zeroDistance = 220;
        m_shot.maxDistance = 300;
        m_shot.increment = 25;
        m_shot.sightHeight = 4;
    }
    m_shot.temperature = 15;
}

void Form4::rsfunction()
{
    m_shapeFramesVisible = true;
    m_shot.velocity = 0;
    setTableMode(TableMode::Terminal);
    m_image1Visible = true;
    setMetricCaptions();
    m_bulletVisible.fill(true);
    m_gridVisible = true;
    m_focusRequest = FocusTarget::Option1;
    m_shot.zeroDistance = 0;
    m_shot.sightHeight = 0;
    m_shot.maxDistance = 150;
    m_shot.increment = 10;
}

// --- the tables ---------------------------------------------------------------------------------

void Form4::europa()
{
    closeGraph();
    m_siteOptionsVisible = true;
    m_unitOptionsVisible = true;
    m_gridVisible = true;
    if (!m_printMode)
        m_grid.rows.clear();
    if (!ita())
        return;
    runTable(TableMode::Metric);
}

void Form4::america()
{
    closeGraph();
    m_siteOptionsVisible = false;
    m_unitOptionsVisible = true;
    m_gridVisible = true;
    if (!m_printMode)
        m_grid.rows.clear();
    if (!ami())
        return;
    runTable(TableMode::Imperial);
}

void Form4::rscalc()
{
    closeGraph();
    m_graph.Text1.clear();
    m_graph.Text2.clear();
    m_graph.truncated = false;
    m_siteOptionsVisible = false;
    m_unitOptionsVisible = false;
    m_gridVisible = true;
    m_image1Visible = false;
    if (!m_printMode)
        m_grid.rows.clear();
    if (!ita())
        return;
    runTable(TableMode::Terminal);
}

void Form4::runTable(TableMode table)
{
    const RunKind kind = m_printMode ? RunKind::Print : RunKind::Screen;
    // The two long tables show the wait cursor while they compute on screen.
    const bool waitCursor = table != TableMode::Terminal && kind == RunKind::Screen;
    if (waitCursor)
        m_windows.setWaitCursor(true);
    TableRun run;
    switch (table) {
    case TableMode::Metric: run = tableEuropa(m_shot, kind, m_decimal); break;
    case TableMode::Imperial: run = tableAmerica(m_shot, kind, m_decimal); break;
    case TableMode::Terminal: run = tableRscalc(m_shot, kind, m_decimal); break;
    }
    if (waitCursor)
        m_windows.setWaitCursor(false);
    if (run.refusal != TableRefusal::None) {
        m_dialogs.message({"Siacci", refusalMessage(run.refusal, m_mode), MessageIcon::Warning});
        return;
    }
    applyTableRun(run, table);
}

void Form4::applyTableRun(const TableRun& run, TableMode table)
{
    const GridLayout& layout = table == TableMode::Metric     ? metricLayout()
                               : table == TableMode::Imperial ? imperialLayout()
                                                              : terminalLayout();
    if (m_printMode) {
        for (const auto& line : run.printed)
            m_printer.printLine(line);
        m_printer.endDoc();
        return;
    }
    if (!m_widthsSet)
        m_grid.widths_twips = layout.widths_twips;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 8; ++c)
            m_grid.headings[r][c] = layout.headings[r][c];
    m_grid.rows = run.rows;
    if (run.stopped)
        m_shot.maxDistance = run.stopDistance;
    if (table == TableMode::Terminal) { // the terminal table writes the graph's lists
        m_graph.Text1 = run.graphDistances;
        m_graph.Text2 = run.graphHeights;
    }
    m_widthsSet = true;
    m_gridHoldsTable = true;
}

} // namespace siacci

#include "app/form4.hpp"

#include "catalogue/catalogue.hpp"
#include "common/fakes.hpp"
#include "files/bal_record.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

using testing::FakeDialogs;
using testing::FakePrintSink;
using testing::FakeWindowHost;

class Form4Test : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    FakeWindowHost windows;
    FakePrintSink printer;
    Form4 form{dialogs, windows, printer, '.'};

    void SetUp() override { form.startUp(); }

    // The worked example typed into the fields.
    void typeWorkedExample()
    {
        form.fieldChanged(Field::Text12, "800");
        form.fieldChanged(Field::Text11, "0.4");
        form.fieldChanged(Field::Text3, "300");
        form.fieldChanged(Field::Text5, "220");
        form.fieldChanged(Field::Text4, "25");
        form.fieldChanged(Field::Text9, "15");
        form.fieldChanged(Field::Text8, "0");
        form.fieldChanged(Field::Text7, "150");
        form.fieldChanged(Field::Text6, "4");
    }
    const TrajectoryRow& row(std::size_t i) const { return form.grid().rows.at(i); }
};

TEST_F(Form4Test, StartUpEmptiesTheFieldsAndHidesGridAndBullets)
{
    EXPECT_EQ(form.fieldText(Field::Text12), "");
    EXPECT_EQ(form.tableMode(), TableMode::Metric);
    EXPECT_FALSE(form.gridVisible());
    EXPECT_FALSE(form.columnWidthsSet());
    for (int k = 1; k <= 10; ++k)
        EXPECT_FALSE(form.bulletVisible(k));
    EXPECT_EQ(form.shot().rspShapeName, "Round Nose");
    EXPECT_EQ(form.shot().pirShapeName, "Molto espansive");
}

TEST_F(Form4Test, CalcolaWithTheWorkedExampleFillsTheMetricTable)
{
    typeWorkedExample();
    form.calcolaClicked();
    ASSERT_EQ(form.grid().rows.size(), 13u);
    EXPECT_EQ(row(0), (TrajectoryRow{"0", "800", "0", "-4", "0", "317", "0", "0"}));
    EXPECT_EQ(row(4), (TrajectoryRow{"100", "727", "0.131", "9.2", "2.5", "262", "8.1", "0.5"}));
    EXPECT_EQ(row(12), (TrajectoryRow{"300", "594", "0.435", "-24.3", "26.7", "175", "84.2", "21.7"}));
    EXPECT_TRUE(form.gridVisible());
    EXPECT_TRUE(form.columnWidthsSet());
    EXPECT_TRUE(form.gridHoldsTable());
    EXPECT_EQ(form.grid().headings[1][0], "Distanza");
    EXPECT_EQ(windows.waitCursorOn, 1);
    EXPECT_EQ(windows.waitCursorOff, 1);
}

TEST_F(Form4Test, NoComputationWhenVelocityBcOrIncrementIsMissing)
{
    form.calcolaClicked(); // all fields empty
    EXPECT_TRUE(form.grid().rows.empty());
    for (Field missing : {Field::Text12, Field::Text11, Field::Text4}) {
        typeWorkedExample();
        form.fieldChanged(missing, "");
        form.calcolaClicked();
        EXPECT_TRUE(form.grid().rows.empty());
    }
    typeWorkedExample();
    form.fieldChanged(Field::Text4, "-25"); // a negative increment is refused like 0
    form.calcolaClicked();
    EXPECT_TRUE(form.grid().rows.empty());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(Form4Test, DecimalCommaIsReadEverywhere)
{
    // Before: "0,45" read as 0 while typing, and a site-angle button rewrote the field as " 0".
    typeWorkedExample();
    form.fieldChanged(Field::Text11, "0,45");
    EXPECT_DOUBLE_EQ(form.shot().bc, 0.45);
    form.siteAngleClicked(0);
    EXPECT_EQ(form.fieldText(Field::Text11), " 0.45");
    EXPECT_EQ(form.grid().rows.size(), 13u);
    // Before: "800,5" computed with 800, the velocity check reading the text without the comma.
    form.fieldChanged(Field::Text12, "800,5");
    form.calcolaClicked();
    EXPECT_DOUBLE_EQ(form.shot().velocity, 800.5);
}

TEST_F(Form4Test, CalcolaWritesTheShortNumberForm)
{
    typeWorkedExample();
    form.fieldChanged(Field::Text9, "-4");
    form.Calcola();
    EXPECT_EQ(form.fieldText(Field::Text12), " 800");
    EXPECT_EQ(form.fieldText(Field::Text11), " 0.4");
    EXPECT_EQ(form.fieldText(Field::Text9), "-4");
    EXPECT_EQ(form.velocityText(), " 800");
}

TEST_F(Form4Test, VelocityLimitsOfTheMetricCheck)
{
    typeWorkedExample();
    form.fieldChanged(Field::Text12, "92");
    form.calcolaClicked();
    EXPECT_TRUE(dialogs.prompts.empty());
    form.fieldChanged(Field::Text12, "1371");
    form.calcolaClicked();
    EXPECT_TRUE(dialogs.prompts.empty());
    for (const char* refused : {"91.9", "1371.1", "1.371"}) {
        dialogs.prompts.clear();
        dialogs.promptAnswers = {std::string("800")};
        form.fieldChanged(Field::Text12, refused);
        form.calcolaClicked();
        ASSERT_EQ(dialogs.prompts.size(), 1u) << refused;
        EXPECT_EQ(dialogs.prompts[0].title, "Siacci");
        EXPECT_EQ(dialogs.prompts[0].initialAnswer, "");
        EXPECT_EQ(form.grid().rows.size(), 13u) << "the answer 800 is used";
        EXPECT_EQ(form.fieldText(Field::Text12), refused) << "the field keeps its text";
    }
    EXPECT_NE(dialogs.prompts[0].text.find("non superiore a 1.371 metri/sec. DIGITA"),
              std::string::npos);
    EXPECT_EQ(dialogs.prompts[0].text.back(), ' ');
}

TEST_F(Form4Test, PromptAnswerStillOutOfLimitsOrCancelledComputesNothing)
{
    typeWorkedExample();
    form.calcolaClicked();
    ASSERT_EQ(form.grid().rows.size(), 13u);
    form.fieldChanged(Field::Text12, "50");
    dialogs.promptAnswers = {std::string("20")};
    form.calcolaClicked();
    EXPECT_TRUE(form.grid().rows.empty()) << "no half-filled grid";
    ASSERT_EQ(dialogs.messages.size(), 1u);
    // Both refusals end in one full stop (they used to end in "metri/sec..").
    EXPECT_EQ(dialogs.messages[0].text,
              "La velocità 20 è fuori dai limiti del programma: imposta una velocità da 92 a "
              "1.371 metri/sec.");

    dialogs.promptAnswers.clear(); // cancelled
    form.calcolaClicked();
    EXPECT_TRUE(form.grid().rows.empty());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text,
              "Calcolo annullato: la velocità deve essere da 92 a 1.371 metri/sec.");
    EXPECT_EQ(form.fieldText(Field::Text12), "50");
}

TEST_F(Form4Test, UnitSwitchesConvertVelocityAndSightOnly)
{
    typeWorkedExample();
    form.calcolaClicked();
    form.ingleseClicked();
    EXPECT_EQ(form.tableMode(), TableMode::Imperial);
    EXPECT_DOUBLE_EQ(form.shot().velocity, 2625);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 1.57);
    EXPECT_EQ(form.fieldText(Field::Text12), " 2625");
    EXPECT_DOUBLE_EQ(form.shot().maxDistance, 300) << "distances are not converted";
    EXPECT_EQ(form.unitCaption(UnitLabel::Label7), "Velocità in feet/sec.");
    EXPECT_EQ(form.unitCaption(UnitLabel::Label11), "MISURE INGLESI");
    EXPECT_FALSE(form.image1Visible());
    EXPECT_FALSE(form.siteOptionsVisible());
    EXPECT_FALSE(form.graphicMenuEnabled());
    EXPECT_EQ(form.grid().rows.size(), 13u);
    EXPECT_EQ(form.grid().headings[2][1], "feets/s.");

    form.europeeClicked();
    EXPECT_EQ(form.tableMode(), TableMode::Metric);
    EXPECT_DOUBLE_EQ(form.shot().velocity, 800);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 4);
    EXPECT_EQ(form.unitCaption(UnitLabel::Label7), "Velocità in  metri/sec.");
    EXPECT_EQ(form.unitCaption(UnitLabel::Label6), "Altezza Ottica  cm.");
    EXPECT_TRUE(form.image1Visible());
    EXPECT_TRUE(form.graphicMenuEnabled());
}

TEST_F(Form4Test, UnitSwitchRoundsHalvesToEven)
{
    form.fieldChanged(Field::Text12, "0.5");   // 0.5 * 3.281 = 1.6405 -> 2
    form.fieldChanged(Field::Text6, "1.27");   // 100 * 0.3937 * 1.27 = 49.9999 -> 50 -> 0.5
    form.ingleseClicked();
    EXPECT_DOUBLE_EQ(form.shot().velocity, 2);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 0.5);
    form.fieldChanged(Field::Text12, "2.5");   // imperial: 0.3048 * 2.5 = 0.762 -> 1
    form.fieldChanged(Field::Text6, "0.25");   // 10 * 2.54 * 0.25 = 6.35 -> 6 -> 0.6
    form.europeeClicked();
    EXPECT_DOUBLE_EQ(form.shot().velocity, 1);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 0.6);
}

TEST_F(Form4Test, SwitchesFromTheTerminalModeConvertNothing)
{
    form.rsfunction();
    form.fieldChanged(Field::Text12, "381");
    form.fieldChanged(Field::Text6, "2");
    form.inglese();
    EXPECT_DOUBLE_EQ(form.shot().velocity, 381);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 2);
    EXPECT_EQ(form.tableMode(), TableMode::Imperial);
}

TEST_F(Form4Test, VisibilityAfterEachRoutine)
{
    form.rsfunction();
    EXPECT_TRUE(form.shapeFramesVisible());
    EXPECT_TRUE(form.gridVisible());
    EXPECT_TRUE(form.bulletVisible(10));
    EXPECT_EQ(form.takeFocusRequest(), FocusTarget::Option1);
    form.chiamata();
    EXPECT_FALSE(form.shapeFramesVisible());
    EXPECT_TRUE(form.image1Visible());
    EXPECT_TRUE(form.siteOptionsVisible());
    form.inglese();
    EXPECT_FALSE(form.image1Visible());
    form.italiano();
    EXPECT_TRUE(form.image1Visible());
}

TEST_F(Form4Test, SiteAngleRecomputesMetricButNotTerminal)
{
    typeWorkedExample();
    form.fieldChanged(Field::Text8, "300");
    form.fieldChanged(Field::Text9, "5");
    form.fieldChanged(Field::Text4, "100");
    form.fieldChanged(Field::Text3, "1000");
    form.siteAngleClicked(2);
    ASSERT_GE(form.grid().rows.size(), 4u);
    EXPECT_EQ(row(1)[3], "10.3");
    EXPECT_EQ(row(2)[3], "7.9");
    EXPECT_EQ(row(3)[3], "-13.8");

    form.rsfunction();
    form.grid();
    const auto before = form.grid().rows;
    form.siteAngleClicked(3);
    EXPECT_EQ(form.shot().siteAngle, (SiteAngle{45, 250}));
    EXPECT_EQ(form.grid().rows, before) << "nothing is computed in mode 3";
}

TEST_F(Form4Test, ColumnWidthsAreSetOnceAndRecomputeReplacesEveryRow)
{
    typeWorkedExample();
    form.calcolaClicked();
    const auto widths = form.grid().widths_twips;
    EXPECT_EQ(widths[3], 960);
    form.fieldChanged(Field::Text4, "1");
    form.calcolaClicked();
    EXPECT_EQ(form.grid().rows.size(), 301u);
    form.fieldChanged(Field::Text4, "100");
    form.calcolaClicked();
    EXPECT_EQ(form.grid().rows.size(), 4u) << "no row of the previous table remains";
    form.rsfunction();
    form.fieldChanged(Field::Text12, "381");
    form.shot().terminal = {9, 2284, 1.795, -1626, 4.07, 0.9, 0.01};
    form.calcolaClicked();
    EXPECT_EQ(form.grid().widths_twips, widths) << "the first table's widths stay";
    EXPECT_EQ(form.grid().headings[0][2], "Penetr.");
}

TEST_F(Form4Test, EnergyStopRewritesTheMaximumDistance)
{
    form.fieldChanged(Field::Text12, "100");
    form.fieldChanged(Field::Text11, "0.05");
    form.fieldChanged(Field::Text7, "1");
    form.fieldChanged(Field::Text4, "10");
    form.fieldChanged(Field::Text3, "3000");
    form.fieldChanged(Field::Text9, "15");
    form.calcolaClicked();
    ASSERT_FALSE(form.grid().rows.empty());
    EXPECT_EQ(form.grid().rows.back()[5], "0");
    EXPECT_LT(form.shot().maxDistance, 3000);
    EXPECT_EQ(form.fieldText(Field::Text3), "3000") << "the field keeps its text until Calcola";
}

TEST_F(Form4Test, ShapeButtonsSetFactorAndNameThenRecompute)
{
    form.rsfunction();
    form.fieldChanged(Field::Text12, "381");
    form.fieldChanged(Field::Text11, "0.153");
    form.fieldChanged(Field::Text7, "158");
    form.shot().terminal = {9, 2284, 1.795, -1626, 4.07, 0.9, 0.01};
    form.shapeClicked(18);
    EXPECT_DOUBLE_EQ(*form.shot().terminal.rspFactor, 1.35);
    EXPECT_EQ(form.shot().rspShapeName, "Hollow Point");
    ASSERT_EQ(form.grid().rows.size(), 16u);
    EXPECT_EQ(row(0)[4], "57.6");
    form.shapeClicked(24);
    EXPECT_DOUBLE_EQ(*form.shot().terminal.pirFactor, 0.0085);
    EXPECT_EQ(form.shot().pirShapeName, "Flat Point fronte 60% del cal.");
    EXPECT_FALSE(form.siteOptionsVisible());
    EXPECT_FALSE(form.unitOptionsVisible());
    EXPECT_FALSE(form.image1Visible());
    EXPECT_EQ(form.graphDistanceList().substr(0, 5), "0%10%");
}

TEST_F(Form4Test, PrintRunsLeaveTheGridAndClearPrintMode)
{
    typeWorkedExample();
    form.calcolaClicked();
    const auto rows = form.grid().rows;
    form.printMenu();
    EXPECT_FALSE(form.printMode());
    ASSERT_EQ(printer.fontSizes, std::vector<double>{11});
    EXPECT_EQ(printer.documentsEnded, 1);
    EXPECT_EQ(printer.lines.size(), 10u + 13u);
    EXPECT_EQ(form.grid().rows, rows);

    form.rsfunction();
    form.fieldChanged(Field::Text12, "381");
    form.shot().terminal = {9, 2284, 1.795, -1626, 4.07, 0.9, 0.01};
    form.printMenu(); // the menu prints the terminal table too
    EXPECT_EQ(printer.documentsEnded, 2);
    EXPECT_FALSE(form.printMode());
}

TEST_F(Form4Test, HintLabelFollowsThePointer)
{
    form.pointerOverImage(4);
    EXPECT_TRUE(form.hintVisible());
    EXPECT_EQ(form.hintText(), "INFO");
    form.pointerOverBackground();
    EXPECT_FALSE(form.hintVisible());
}

TEST_F(Form4Test, FineClosesTheWindowsInOrder)
{
    form.fine();
    using C = std::pair<char, WindowId>;
    EXPECT_EQ(windows.calls, (std::vector<C>{{'c', WindowId::Main}, {'c', WindowId::Calc},
                                             {'c', WindowId::Cb}, {'c', WindowId::Graph}}));
}

// --- the catalogue in the main window ------------------------------------------------------------

class CatalogueFillTest : public Form4Test {
protected:
    void choose(const char* item) { form.presetChosen(*findPreset(item)); }
};

TEST_F(CatalogueFillTest, LongRifleHightInMetricMode)
{
    choose("cinquesei1");
    EXPECT_TRUE(form.grid().rows.empty()) << "a fill computes nothing";
    EXPECT_EQ(form.bulletCaption(1), "22  HIGHT 40 grains");
    EXPECT_TRUE(form.bulletVisible(3));
    EXPECT_FALSE(form.bulletVisible(4));
    EXPECT_EQ(form.takeFocusRequest(), FocusTarget::Text10);
    form.bulletFocused(1);
    const ShotInput& s = form.shot();
    EXPECT_DOUBLE_EQ(s.velocity, 400);
    EXPECT_DOUBLE_EQ(s.weight, 40);
    EXPECT_DOUBLE_EQ(s.bc, 0.1);
    EXPECT_DOUBLE_EQ(s.zeroDistance, 70);
    EXPECT_DOUBLE_EQ(s.maxDistance, 150);
    EXPECT_DOUBLE_EQ(s.increment, 10);
    EXPECT_DOUBLE_EQ(s.sightHeight, 4);
    EXPECT_DOUBLE_EQ(s.temperature, 15);
    EXPECT_EQ(form.fieldText(Field::Text10), "22 LONG RIFLE HIGHT 40 grains");
    EXPECT_EQ(form.grid().rows.size(), 16u);
    EXPECT_EQ(form.checkedBullet(), 1);
}

TEST_F(CatalogueFillTest, SameBulletAfterTheSwitchToImperial)
{
    choose("cinquesei1");
    form.ingleseClicked();
    form.bulletFocused(1);
    EXPECT_DOUBLE_EQ(form.shot().velocity, 1312);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 1.57);
    EXPECT_DOUBLE_EQ(form.shot().weight, 40);
    EXPECT_EQ(form.tableMode(), TableMode::Imperial);
    EXPECT_FALSE(form.grid().rows.empty());
}

TEST_F(CatalogueFillTest, RiflePresetReturnsToMetricAndHidesUnusedButtons)
{
    form.ingleseClicked();
    choose("dieci1");
    EXPECT_EQ(form.tableMode(), TableMode::Metric);
    EXPECT_EQ(form.unitCaption(UnitLabel::Label11), "MISURE METRICHE");
    const int count = static_cast<int>(findPreset("dieci1")->loads.size());
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(form.bulletVisible(k), k <= count);
    EXPECT_DOUBLE_EQ(form.shot().zeroDistance, 150);
    EXPECT_DOUBLE_EQ(form.shot().siteAngle.factor, 0);
}

TEST_F(CatalogueFillTest, PistolPresetsZeroTheSight)
{
    choose("pnove1");
    form.bulletFocused(1);
    EXPECT_DOUBLE_EQ(form.shot().sightHeight, 0);
    EXPECT_DOUBLE_EQ(form.shot().zeroDistance, 0);
    EXPECT_DOUBLE_EQ(form.shot().increment, 10);
    EXPECT_DOUBLE_EQ(form.shot().maxDistance, 100);
    choose("psei1");
    EXPECT_DOUBLE_EQ(form.shot().maxDistance, 300);
}

TEST_F(CatalogueFillTest, TerminalPresetResetsTheShapeFactors)
{
    choose("RS38");
    form.shapeClicked(18);
    EXPECT_EQ(form.tableMode(), TableMode::Terminal);
    form.bulletClicked(9);
    EXPECT_DOUBLE_EQ(*form.shot().terminal.rspFactor, 0.9);
    EXPECT_DOUBLE_EQ(*form.shot().terminal.pirFactor, 0.01);
    ASSERT_EQ(form.grid().rows.size(), 16u);
    EXPECT_EQ(row(0), (TrajectoryRow{"0", "381", "72.1", "203.8", "38.4", "29.3", "76", "5.1"}));
    EXPECT_TRUE(form.shapeFramesVisible());
}

TEST_F(CatalogueFillTest, ButtonsLoadTheValuesTheirCaptionsName)
{
    choose("rr45");
    EXPECT_EQ(form.bulletCaption(7), ".45''  225 grains WINCHESTER LRN ");
    EXPECT_EQ(form.bulletCaption(8), ".45''  230 grains WINCHESTER FMJ ");
    EXPECT_EQ(form.bulletCaption(9), ".45''  250 grains SPEER LSW ");
    form.bulletClicked(8);
    EXPECT_DOUBLE_EQ(form.shot().velocity, 253);
    EXPECT_DOUBLE_EQ(form.shot().weight, 230);
    EXPECT_DOUBLE_EQ(*form.shot().terminal.diameter_mm, 11.4);
}

TEST_F(CatalogueFillTest, FlaggedPresetsDisableTheTerminalMenuOthersEnableIt)
{
    choose("cinquesei3");
    EXPECT_FALSE(form.terminalMenuEnabled());
    choose("sei1");
    EXPECT_TRUE(form.terminalMenuEnabled());
}

TEST_F(CatalogueFillTest, AnItemWithoutLoadsChangesNothing)
{
    choose("cinquesei1");
    form.bulletFocused(1);
    const auto rows = form.grid().rows;
    choose("pnove9");
    EXPECT_EQ(form.bulletCaption(1), "22  HIGHT 40 grains");
    EXPECT_EQ(form.grid().rows, rows);
}

TEST_F(CatalogueFillTest, OnlyTheFirstTwoButtonsSelectOnFocus)
{
    choose("tre11");
    form.bulletFocused(3);
    EXPECT_TRUE(form.grid().rows.empty());
    form.bulletClicked(1); // a click on Option1 only moves the focus on
    EXPECT_TRUE(form.grid().rows.empty());
    EXPECT_EQ(form.takeFocusRequest(), FocusTarget::Text10);
    form.bulletClicked(3);
    EXPECT_EQ(form.grid().rows.size(), 13u);
    EXPECT_EQ(form.checkedBullet(), 3);
}

} // namespace
} // namespace siacci

namespace siacci {
namespace {

TEST_F(Form4Test, ShapeButtonsAreCheckedOnlyForTheFactorInUse)
{
    for (int option = 18; option <= 25; ++option)
        EXPECT_FALSE(form.shapeChecked(option)) << "no factor set at start: option " << option;
    form.shapeClicked(19); // WadCutter, 1.25
    form.shapeClicked(24); // Flat Point, 0.0085
    for (int option = 18; option <= 25; ++option)
        EXPECT_EQ(form.shapeChecked(option), option == 19 || option == 24) << option;
    EXPECT_FALSE(form.shapeChecked(17));
    EXPECT_FALSE(form.shapeChecked(26));
}

TEST_F(Form4Test, ChangesFromOtherWindowsAndPromptsTellTheView)
{
    int told = 0;
    form.setChangeListener([&] { ++told; });
    form.fileOpened(decodeBalRecord(
        "400,\"22 LONG RIFLE HIGHT 40 grains\",0.1,40,4,70,10,150,15,0,0,0,1,,,,,,,\r\n"));
    EXPECT_EQ(told, 1);
    form.fileSaved();
    EXPECT_EQ(told, 2);
    form.graphSiteAngleChosen(kSiteAngles[1]);
    EXPECT_EQ(told, 3);
    typeWorkedExample();
    form.fieldChanged(Field::Text12, "50");
    form.calcolaClicked(); // the prompt: the view shows the emptied table first
    EXPECT_EQ(told, 4);
}

} // namespace
} // namespace siacci

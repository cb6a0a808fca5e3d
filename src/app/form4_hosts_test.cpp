#include "app/form4.hpp"

#include "catalogue/catalogue.hpp"
#include "common/fakes.hpp"
#include "files/bal_record.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace siacci {
namespace {

class Form4GraphTest : public ::testing::Test {
protected:
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost windows;
    testing::FakePrintSink printer;
    Form4 form{dialogs, windows, printer};

    void SetUp() override
    {
        form.startUp();
        form.presetChosen(*findPreset("cinquesei1"));
        form.bulletFocused(1);
    }
};

TEST_F(Form4GraphTest, GraphButtonSetsTheTitleAndShowsThePoints)
{
    form.graphButton();
    EXPECT_EQ(form.graph().Label2, "22 LONG RIFLE HIGHT 40 grains   Taratura Arma metri: 70"
                                   "   Velocità Iniziale metri: 400");
    EXPECT_TRUE(windows.isOpen(WindowId::Graph));
    // Step 10 m out to 1000 m: 101 computed points after the origin.
    EXPECT_EQ(form.graph().N, 102);
    EXPECT_EQ(form.graph().GraphPoints[2].height_tenthMm, -400.f);
}

TEST_F(Form4GraphTest, TheUsersMaximumDistanceSurvivesTheGraph)
{
    // Before, the graph left 300 m behind, and the next Calcola wrote it into the field.
    form.graphButton();
    EXPECT_DOUBLE_EQ(form.shot().maxDistance, 150);
    form.Calcola();
    EXPECT_EQ(form.fieldText(Field::Text3), " 150");
}

TEST_F(Form4GraphTest, SiteAngleOfTheGraphWindowRecomputes)
{
    form.graphButton();
    const float level = form.graph().GraphPoints[30].height_tenthMm;
    form.graphSiteAngleChosen({45, 250});
    EXPECT_EQ(form.shot().siteAngle, (SiteAngle{45, 250}));
    EXPECT_GT(form.graph().GraphPoints[30].height_tenthMm, level);
}

TEST_F(Form4GraphTest, MenuCommandClosesTheWindowAndIsOnlyForMetric)
{
    form.graphButton();
    windows.calls.clear();
    form.graphicMenu();
    using C = std::pair<char, WindowId>;
    EXPECT_EQ(windows.calls, (std::vector<C>{{'c', WindowId::Graph}, {'s', WindowId::Graph}}));
    form.inglese();
    EXPECT_FALSE(form.graphicMenuEnabled());
    EXPECT_FALSE(windows.isOpen(WindowId::Graph)) << "the switch to imperial closes the graph";
    windows.calls.clear();
    form.graphicMenu();
    EXPECT_FALSE(windows.isOpen(WindowId::Graph));
}

TEST_F(Form4GraphTest, ZeroInputsShowThePreviousPoints)
{
    form.graphButton();
    const int n = form.graph().N;
    form.fieldChanged(Field::Text11, "");
    form.graphButton();
    EXPECT_EQ(form.graph().N, n);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(Form4GraphTest, TablesCloseTheGraphWindow)
{
    form.graphButton();
    form.calcolaClicked();
    EXPECT_FALSE(windows.isOpen(WindowId::Graph));
}

} // namespace
} // namespace siacci

namespace siacci {
namespace {

class Form4FilesTest : public ::testing::Test {
protected:
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost windows;
    testing::FakePrintSink printer;
    Form4 saved{dialogs, windows, printer};
    Form4 opened{dialogs, windows, printer};

    void SetUp() override
    {
        saved.startUp();
        opened.startUp();
        saved.presetChosen(*findPreset("cinquesei1"));
    }
    void reopen() { opened.fileOpened(decodeBalRecord(encodeBalRecord(saved.currentRecord()))); }
};

TEST_F(Form4FilesTest, MetricShotReopensAndComputes)
{
    saved.bulletFocused(1);
    reopen();
    EXPECT_EQ(opened.tableMode(), TableMode::Metric);
    EXPECT_EQ(opened.fieldText(Field::Text12), " 400");
    EXPECT_EQ(opened.fieldText(Field::Text10), "22 LONG RIFLE HIGHT 40 grains");
    EXPECT_EQ(opened.grid().rows, saved.grid().rows);
    EXPECT_TRUE(opened.gridHoldsTable());
}

TEST_F(Form4FilesTest, ImperialShotKeepsItsUnitsAndCaptions)
{
    saved.inglese();
    saved.bulletFocused(1);
    reopen();
    EXPECT_EQ(opened.tableMode(), TableMode::Imperial);
    EXPECT_DOUBLE_EQ(opened.shot().velocity, 1312) << "not converted again";
    EXPECT_DOUBLE_EQ(opened.shot().sightHeight, 1.57);
    EXPECT_EQ(opened.unitCaption(UnitLabel::Label11), "MISURE INGLESI");
    EXPECT_EQ(opened.grid().rows, saved.grid().rows);
}

TEST_F(Form4FilesTest, TerminalShotRecomputesItsTable)
{
    saved.presetChosen(*findPreset("RS38"));
    saved.bulletClicked(9);
    reopen();
    EXPECT_EQ(opened.tableMode(), TableMode::Terminal);
    EXPECT_EQ(opened.grid().rows, saved.grid().rows);
    EXPECT_EQ(opened.grid().rows.size(), 16u);
}

} // namespace
} // namespace siacci

#include "app/form4_export.hpp"

namespace siacci {
namespace {

TEST(Form4Export, CsvHasJoinedHeadingsRowsAndTheInputs)
{
    testing::FakeDialogs dialogs;
    testing::FakeWindowHost windows;
    testing::FakePrintSink printer;
    Form4 form{dialogs, windows, printer, ','};
    form.startUp();
    form.presetChosen(*findPreset("cinquesei1"));
    form.bulletFocused(1);
    const std::string csv = exportCsv(form);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(csv.find("Distanza metri;Velocità metri/s.;Tempo Di volo sec;"), std::string::npos);
    EXPECT_NE(csv.find("\r\n0;400;0;-4;0;21;0;0\r\n"), std::string::npos);
    EXPECT_NE(csv.find("Descrizione;22 LONG RIFLE HIGHT 40 grains\r\n"), std::string::npos);
    EXPECT_NE(csv.find("Coefficiente  Balistico; 0.1\r\n"), std::string::npos);

    EXPECT_EQ(copyCells(form, CellRange{0, 0, 1, 1}), "0\t400\n10\t383");
    const std::string all = copyCells(form, std::nullopt);
    EXPECT_EQ(all.substr(0, all.find('\t')), "Distanza metri");
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 16);
}

} // namespace
} // namespace siacci

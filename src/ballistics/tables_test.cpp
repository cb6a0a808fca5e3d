#include "ballistics/tables.hpp"

#include "ballistics/table_common.hpp"
#include "ballistics/terminal.hpp"
#include "ballistics/worked_example.hpp"
#include "common/number_text.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace siacci {
namespace {

// The same bullet in imperial units: 2624 fps, 1.57 inches, zero 240 yards, every 25 to 300.
ShotInput imperialExample()
{
    ShotInput in = workedExample();
    in.velocity = 2624;
    in.sightHeight = 1.57;
    in.zeroDistance = 240;
    return in;
}

// The .38 revolver load "38''  158 grains SPEER JSP " at 15 C and sea level, every 10 m to 150.
ShotInput terminalExample()
{
    ShotInput in;
    in.velocity = 381;
    in.bc = 0.153;
    in.weight = 158;
    in.temperature = 15;
    in.increment = 10;
    in.maxDistance = 150;
    in.terminal.diameter_mm = 9;
    in.terminal.x = 2284;
    in.terminal.y = 1.795;
    in.terminal.z = -1626;
    in.terminal.d = 4.07;
    in.terminal.rspFactor = 0.9;
    in.terminal.pirFactor = 0.01;
    return in;
}

const TrajectoryRow* rowAt(const TableRun& run, const std::string& distance)
{
    for (const auto& row : run.rows)
        if (row[0] == distance)
            return &row;
    return nullptr;
}

void expectRows(const TableRun& run, const std::vector<TrajectoryRow>& expected)
{
    for (const auto& want : expected) {
        const TrajectoryRow* got = rowAt(run, want[0]);
        ASSERT_NE(got, nullptr) << "no row at " << want[0];
        EXPECT_EQ(*got, want) << "row at " << want[0];
    }
}

std::vector<std::string> distances(const TableRun& run)
{
    std::vector<std::string> out;
    for (const auto& row : run.rows)
        out.push_back(row[0]);
    return out;
}

TEST(MetricTable, WorkedExample)
{
    const TableRun run = tableEuropa(workedExample(), RunKind::Screen);
    ASSERT_EQ(run.refusal, TableRefusal::None);
    EXPECT_EQ(run.rows.size(), 13u);
    EXPECT_FALSE(run.stopped);
    expectRows(run, {
                        {"0", "800", "0", "-4", "0", "317", "0", "0"},
                        {"100", "727", "0.131", "9.2", "2.5", "262", "8.1", "0.5"},
                        {"300", "594", "0.435", "-24.3", "26.7", "175", "84.2", "21.7"},
                    });
    EXPECT_EQ(run.rows.back()[0], "300");
}

TEST(MetricTable, SiteAngleAddsTheCorrectionAtAltitude)
{
    ShotInput in = workedExample();
    in.altitude = 300;
    in.temperature = 5;
    in.increment = 100;
    in.maxDistance = 1000;
    in.siteAngle = {30, 65};
    const TableRun run = tableEuropa(in, RunKind::Screen);
    ASSERT_EQ(run.rows.size(), 11u);
    EXPECT_EQ(run.rows[0][3], "-4"); // no correction at the muzzle
    EXPECT_EQ(run.rows[1][3], "10.3");
    EXPECT_EQ(run.rows[2][3], "7.9");
    EXPECT_EQ(run.rows[3][3], "-13.8");
}

TEST(MetricTable, DeviationIsSummedWithoutBinaryNoise)
{
    // Every deviation with a correction is a whole number of tenths: before, a correction that
    // nearly cancelled the height could show as 0.100000000000001.
    for (const SiteAngle& angle : kSiteAngles) {
        ShotInput in = workedExample();
        in.siteAngle = angle;
        in.increment = 5;
        in.maxDistance = 600;
        for (const auto& row : tableEuropa(in, RunKind::Screen).rows) {
            const auto point = row[3].find('.');
            EXPECT_TRUE(point == std::string::npos || row[3].size() - point == 2) << row[3];
        }
    }
}

TEST(MetricTable, RowCountRules)
{
    struct Case {
        double maximum, increment;
        std::vector<std::string> distances;
    };
    const Case cases[] = {
        {300, 25, {"0", "25", "50", "75", "100", "125", "150", "175", "200", "225", "250", "275",
                   "300"}},
        {1000, 300, {"0", "300", "600", "900", "1200"}}, // the last row passes the maximum
        {0.4, 25, {"0"}},                                // below 0.49 m: the muzzle only
        {0, 25, {"0"}},
        {-50, 25, {"0"}},
        {50.6, 25, {"0", "25", "50", "75"}},
        {50.4, 25, {"0", "25", "50"}},
    };
    for (const auto& c : cases) {
        ShotInput in = workedExample();
        in.maxDistance = c.maximum;
        in.increment = c.increment;
        EXPECT_EQ(distances(tableEuropa(in, RunKind::Screen)), c.distances) << c.maximum;
    }
}

TEST(Tables, RefusalsComeBeforeAnyRow)
{
    struct Case {
        const char* what;
        double velocity, increment, maximum, bc;
        TableRefusal metric, imperial;
    };
    const Case cases[] = {
        {"increment 0", 800, 0, 300, 0.4, TableRefusal::IncrementNotPositive,
         TableRefusal::IncrementNotPositive},
        {"negative increment", 800, -25, 300, 0.4, TableRefusal::IncrementNotPositive,
         TableRefusal::IncrementNotPositive},
        {"NaN increment", 800, std::nan(""), 300, 0.4, TableRefusal::IncrementNotPositive,
         TableRefusal::IncrementNotPositive},
        {"10001 rows", 800, 1, 10000, 0.4, TableRefusal::TooManyRows, TableRefusal::TooManyRows},
        {"tiny increment", 800, 1e-300, 1, 0.4, TableRefusal::TooManyRows,
         TableRefusal::TooManyRows},
        {"no coefficient", 1000, 25, 300, 0, TableRefusal::InputNotComputable,
         TableRefusal::InputNotComputable},
        {"too fast", 1372, 25, 300, 0.4, TableRefusal::VelocityOutOfBand, TableRefusal::None},
        {"too slow", 91, 25, 300, 0.4, TableRefusal::VelocityOutOfBand,
         TableRefusal::VelocityOutOfBand},
        {"4500 fps", 4500, 25, 300, 0.4, TableRefusal::VelocityOutOfBand,
         TableRefusal::VelocityOutOfBand},
    };
    for (const auto& c : cases) {
        ShotInput in = workedExample();
        in.velocity = c.velocity;
        in.increment = c.increment;
        in.maxDistance = c.maximum;
        in.bc = c.bc;
        for (auto kind : {RunKind::Screen, RunKind::Print}) {
            const TableRun m = tableEuropa(in, kind);
            EXPECT_EQ(m.refusal, c.metric) << c.what;
            const TableRun i = tableAmerica(in, kind);
            EXPECT_EQ(i.refusal, c.imperial) << c.what;
            for (const TableRun* run : {&m, &i}) {
                if (run->refusal != TableRefusal::None) {
                    EXPECT_TRUE(run->rows.empty()) << c.what;
                    EXPECT_TRUE(run->printed.empty()) << c.what;
                }
            }
        }
    }
    // Exactly 10,000 rows is still a table (printed: no energy stop cuts it short).
    ShotInput in = workedExample();
    in.increment = 1;
    in.maxDistance = 9999;
    EXPECT_EQ(tableEuropa(in, RunKind::Print).printed.size(), 10u + 10000u);
}

TEST(Tables, RefusalMessagesAreItalianAndNameTheLimits)
{
    EXPECT_EQ(refusalMessage(TableRefusal::None, TableMode::Metric), "");
    EXPECT_EQ(refusalMessage(TableRefusal::TooManyRows, TableMode::Metric),
              "La tabella avrebbe più di 10.000 righe: aumenta l'incremento.");
    EXPECT_NE(refusalMessage(TableRefusal::VelocityOutOfBand, TableMode::Metric).find("1.371"),
              std::string::npos);
    EXPECT_NE(refusalMessage(TableRefusal::VelocityOutOfBand, TableMode::Terminal).find("92"),
              std::string::npos);
    EXPECT_NE(refusalMessage(TableRefusal::VelocityOutOfBand, TableMode::Imperial).find("4.499"),
              std::string::npos);
    for (auto r : {TableRefusal::IncrementNotPositive, TableRefusal::InputNotComputable,
                   TableRefusal::TerminalDataMissing, TableRefusal::NegativeCoefficient})
        EXPECT_FALSE(refusalMessage(r, TableMode::Terminal).empty());
}

// Before, each of these gave a table without a word: -43 billion m/s at absolute zero, a bullet
// at 20,000 m slowing as if at 4,000 m, a negative coefficient speeding the bullet up. Every
// table now refuses them, and a shot at the very limits still computes.
TEST(Tables, RefuseConditionsOutsideTheLimits)
{
    struct Case {
        const char* what;
        double bc, altitude, temperature;
        TableRefusal refusal;
        const char* names; // a part of the message
    };
    const Case cases[] = {
        {"-500 m, -60 C", 0.4, -500, -60, TableRefusal::None, ""},
        {"9000 m, +60 C", 0.4, 9000, 60, TableRefusal::None, ""},
        {"20000 m", 0.4, 20000, 15, TableRefusal::AltitudeOutOfRange, "da -500 a 9.000 metri"},
        {"-501 m", 0.4, -501, 15, TableRefusal::AltitudeOutOfRange, "da -500 a 9.000 metri"},
        {"absolute zero", 0.4, 0, -273.15, TableRefusal::TemperatureOutOfRange,
         "da -60 a +60 gradi"},
        {"61 C", 0.4, 0, 61, TableRefusal::TemperatureOutOfRange, "da -60 a +60 gradi"},
        {"negative bc", -0.4, 0, 15, TableRefusal::NegativeCoefficient, "negativo"},
    };
    for (const auto& c : cases) {
        ShotInput metric = workedExample();
        metric.bc = c.bc;
        metric.altitude = c.altitude;
        metric.temperature = c.temperature;
        ShotInput imperial = metric;
        imperial.velocity = 2624;
        ShotInput terminal = terminalExample();
        terminal.bc = c.bc;
        terminal.altitude = c.altitude;
        terminal.temperature = c.temperature;
        for (auto kind : {RunKind::Screen, RunKind::Print}) {
            for (const TableRun& run :
                 {tableEuropa(metric, kind), tableAmerica(imperial, kind), tableRscalc(terminal, kind)}) {
                EXPECT_EQ(run.refusal, c.refusal) << c.what;
                EXPECT_EQ(run.rows.empty() && run.printed.empty(), c.refusal != TableRefusal::None)
                    << c.what;
            }
        }
        EXPECT_NE(refusalMessage(c.refusal, TableMode::Metric).find(c.names), std::string::npos)
            << c.what;
    }
}

// A slow, light bullet: the energy cell reaches "0" and the screen table ends there.
TEST(MetricTable, EnergyStopEndsTheScreenTableOnly)
{
    ShotInput in = workedExample();
    in.velocity = 100;
    in.weight = 30;
    in.bc = 0.1;
    in.increment = 10;
    in.maxDistance = 2000;
    const TableRun screen = tableEuropa(in, RunKind::Screen);
    ASSERT_TRUE(screen.stopped);
    ASSERT_GT(screen.rows.size(), 2u);
    EXPECT_EQ(screen.rows.back()[5], "0");
    for (std::size_t i = 0; i + 1 < screen.rows.size(); ++i)
        EXPECT_NE(screen.rows[i][5], "0");
    EXPECT_EQ(cellText(screen.stopDistance), screen.rows.back()[0]);
    EXPECT_LT(screen.stopDistance, 2000);

    // The printed report goes on to the maximum: header (10 lines) and 201 rows.
    const TableRun print = tableEuropa(in, RunKind::Print);
    EXPECT_FALSE(print.stopped);
    EXPECT_EQ(print.printed.size(), 10u + 201u);
    EXPECT_EQ(print.printed.back()[0].text, "2000");
}

TEST(MetricTable, DriftAtTheMuzzleForAListedVelocity)
{
    ShotInput in = workedExample();
    in.velocity = 152.4; // 500 fps
    EXPECT_EQ(tableEuropa(in, RunKind::Screen).rows[0][4], "1.2");
}

TEST(MetricTable, DecimalCommaInEveryCellAndPrintedNumber)
{
    const TableRun run = tableEuropa(workedExample(), RunKind::Screen, ',');
    EXPECT_EQ(run.rows[4], (TrajectoryRow{"100", "727", "0,131", "9,2", "2,5", "262", "8,1", "0,5"}));
    const TableRun print = tableEuropa(workedExample(), RunKind::Print, ',');
    EXPECT_EQ(print.printed[5][0].text,
              "CB= 0,4    CENTRO BERSAGLIO METRI= 220    ANGOLO di SITO gradi= 0 ");
}

TEST(MetricTable, PrintedReport)
{
    ShotInput in = workedExample();
    in.description = "150 grains SPITZER";
    in.siteAngle = {15, 8};
    const TableRun run = tableEuropa(in, RunKind::Print);
    ASSERT_EQ(run.printed.size(), 10u + 13u);
    EXPECT_TRUE(run.rows.empty());
    const std::vector<PrintLine> header = {
        {{1, kPrintBanner}},
        {},
        {{6, "150 grains SPITZER"}},
        {},
        {{6, "ALTITUDINE METRI= 0    TEMPERATURA GRADI= 15    ALTEZZA OTTICA cm.=+ 4 "}},
        {{6, "CB= 0.4    CENTRO BERSAGLIO METRI= 220    ANGOLO di SITO gradi= 15 "}},
        {},
        {{23, "Tempo"}, {34, "Variazione"}, {48, "Vento"}, {68, "Totale"}, {79, "Ordinata"}},
        {{2, "Distanza"}, {13, "Velocità"}, {23, "di volo"}, {34, "dal Centro"}, {48, "16km/h."},
         {58, "Energia"}, {68, "Calo"}, {79, "M.R.T."}},
        {{2, "metri"}, {13, "m/sec."}, {23, "sec."}, {36, "cm."}, {48, "cm."}, {58, "kgm."},
         {68, "cm."}, {79, "cm."}},
    };
    for (std::size_t i = 0; i < header.size(); ++i)
        EXPECT_EQ(run.printed[i], header[i]) << "line " << i;
    EXPECT_EQ(run.printed[10], (PrintLine{{2, "0"}, {13, "800"}, {23, "0"}, {36, "-4"}, {48, "0"},
                                          {58, "317"}, {68, "0"}, {79, "0"}}));
}

TEST(ImperialTable, WorkedExample)
{
    const TableRun run = tableAmerica(imperialExample(), RunKind::Screen);
    ASSERT_EQ(run.rows.size(), 13u);
    expectRows(run, {
                        {"0", "2624", "0", "-1.57", "0", "2293", "0", "0"},
                        {"100", "2406", "0.119", "3.4", "0.8", "1928", "2.7", "0.1"},
                        {"250", "2099", "0.32", "-0.8", "6", "1468", "18.3", "4.3"},
                        {"300", "2002", "0.392", "-5.8", "8.7", "1335", "27.2", "6.9"},
                    });
}

TEST(ImperialTable, VelocityIsUsedAsTyped)
{
    ShotInput in = imperialExample();
    in.velocity = 2624.6;
    EXPECT_EQ(tableAmerica(in, RunKind::Screen).rows[0][5], "2294");
}

TEST(ImperialTable, SiteAngleChangesNoValue)
{
    ShotInput in = imperialExample();
    const auto plain = tableAmerica(in, RunKind::Screen).rows;
    in.siteAngle = {45, 250};
    EXPECT_EQ(tableAmerica(in, RunKind::Screen).rows, plain);
}

TEST(ImperialTable, RowCountIsExactWithoutMargin)
{
    struct Case {
        double maximum;
        std::size_t rows;
        const char* last;
    };
    for (const Case& c : {Case{300, 13, "300"}, Case{310, 14, "325"}, Case{0, 1, "0"},
                          Case{299.9, 13, "300"}}) {
        ShotInput in = imperialExample();
        in.maxDistance = c.maximum;
        const TableRun run = tableAmerica(in, RunKind::Screen);
        ASSERT_EQ(run.rows.size(), c.rows) << c.maximum;
        EXPECT_EQ(run.rows.back()[0], c.last) << c.maximum;
    }
}

TEST(ImperialTable, KeepsTheEngineDriftAtTheMuzzle)
{
    ShotInput in = imperialExample();
    in.velocity = 800;
    EXPECT_EQ(tableAmerica(in, RunKind::Screen).rows[0][4], "0.1");
}

TEST(ImperialTable, PrintedReport)
{
    const TableRun run = tableAmerica(imperialExample(), RunKind::Print);
    ASSERT_EQ(run.printed.size(), 10u + 13u);
    EXPECT_EQ(run.printed[0], (PrintLine{{1, std::string(" ") + kPrintBanner}}));
    EXPECT_EQ(run.printed[4],
              (PrintLine{{6, "Altitudine metri= 0    Temperatura gradi= 15    Altezza Ottica "
                             "inches=+ 1.57 "}}));
    EXPECT_EQ(run.printed[5],
              (PrintLine{{6, "CB= 0.4    Centro Bersaglio Yards= 240    Angolo di Sito gradi= 0 "}}));
    EXPECT_EQ(run.printed[9], (PrintLine{{2, "yards"}, {13, "f/s."}, {23, "sec."}, {36, "inches"},
                                         {48, "inches"}, {58, "f/pounds"}, {68, "inches"},
                                         {79, "inches"}}));
    // Distance and deviation are printed as numbers, the rest as the cells.
    EXPECT_EQ(run.printed[10], (PrintLine{{2, " 0 "}, {13, "2624"}, {23, "0"}, {36, "-1.57 "},
                                          {48, "0"}, {58, "2293"}, {68, "0"}, {79, "0"}}));
    EXPECT_EQ(run.printed[20], (PrintLine{{2, " 250 "}, {13, "2099"}, {23, "0.32"}, {36, "-0.8 "},
                                          {48, "6"}, {58, "1468"}, {68, "18.3"}, {79, "4.3"}}));
}

TEST(TerminalTable, WorkedExample)
{
    const TableRun run = tableRscalc(terminalExample(), RunKind::Screen);
    ASSERT_EQ(run.rows.size(), 16u);
    EXPECT_FALSE(run.stopped);
    expectRows(run, {
                        {"0", "381", "72.1", "203.8", "38.4", "29.3", "76", "5.1"},
                        {"100", "310", "63.8", "134.9", "31", "16.4", "50", "3.1"},
                        {"150", "289", "60.9", "117.2", "29.3", "13.8", "44", "2.6"},
                    });
    EXPECT_EQ(run.graphDistances, "0%10%20%30%40%50%60%70%80%90%100%110%120%130%140%150");
    EXPECT_EQ(run.graphHeights, std::string(15, '%'));
}

TEST(TerminalTable, HollowPointChangesOnlyTheStoppingPower)
{
    ShotInput in = terminalExample();
    const auto plain = tableRscalc(in, RunKind::Screen).rows;
    in.terminal.rspFactor = 1.35;
    const auto hollow = tableRscalc(in, RunKind::Screen).rows;
    ASSERT_EQ(hollow.size(), plain.size());
    EXPECT_EQ(hollow[0][4], "57.6");
    EXPECT_EQ(hollow[10][4], "46.6");
    for (std::size_t r = 0; r < plain.size(); ++r)
        for (std::size_t c = 0; c < 8; ++c)
            if (c != 4) {
                EXPECT_EQ(hollow[r][c], plain[r][c]);
            }
}

TEST(TerminalTable, ZeroAndSightChangeNothing)
{
    ShotInput in = terminalExample();
    const auto plain = tableRscalc(in, RunKind::Screen).rows;
    in.zeroDistance = 50;
    in.sightHeight = 7;
    EXPECT_EQ(tableRscalc(in, RunKind::Screen).rows, plain);
}

TEST(TerminalTable, CalibreFactor)
{
    struct Case {
        double diameter_mm, k;
    };
    for (const Case& c : {Case{9, 1}, Case{10.4, 1.1}, Case{10.9, 1.1}, Case{11.4, 1.1},
                          Case{11.5, 1.15}, Case{6.3, 0.8}, Case{6.33, 0.8}, Case{6.35, 0.8},
                          Case{6.4, 0.85}, Case{7.6, 0.85}, Case{7.65, 0.9}, Case{7.7, 0.9}})
        EXPECT_DOUBLE_EQ(terminalBullet(c.diameter_mm, 100).k, c.k) << c.diameter_mm;
    const TerminalBullet b = terminalBullet(9, 158);
    EXPECT_NEAR(b.mass_g, 10.2384, 1e-9);
    EXPECT_NEAR(b.area_cm2, 0.63585, 1e-9);
    EXPECT_NEAR(b.threshold_ms, 29.763, 0.0005);
}

TEST(TerminalTable, UndefinedFormulasGiveZero)
{
    const TerminalBullet b = terminalBullet(9, 158);
    TerminalCoefficients c = terminalExample().terminal;
    // A shown velocity of 0: R.S.P. and R.I.I. would divide by it.
    const TerminalValues still = terminalValues(b, c, 0, 0);
    EXPECT_EQ(still.rsp, 0);
    EXPECT_EQ(still.rii, 0);
    EXPECT_EQ(still.softTissue_cm, 0);
    // At the threshold and below it the logarithm has no value.
    EXPECT_EQ(terminalValues(b, c, 29, 5).softTissue_cm, 0);
    EXPECT_EQ(terminalValues(b, c, 29.763, 5).softTissue_cm, 0);
    EXPECT_LT(terminalValues(b, c, 40, 5).softTissue_cm, 0);
    // Unset coefficients count as 0.
    const TerminalValues none = terminalValues(b, TerminalCoefficients{}, 300, 40);
    EXPECT_EQ(none.pir, 0);
    EXPECT_EQ(none.rsp, 0);
    EXPECT_EQ(none.rii, 1); // exp(0)
}

TEST(TerminalTable, SlowLargeBulletEndsAtTheFirstRow)
{
    // 10 grains at 11.4 mm: the threshold is about 219 m/s, above the muzzle velocity.
    ShotInput in = terminalExample();
    in.velocity = 200;
    in.weight = 10;
    in.terminal.diameter_mm = 11.4;
    const TableRun run = tableRscalc(in, RunKind::Screen);
    ASSERT_EQ(run.rows.size(), 1u);
    EXPECT_EQ(run.rows[0][2], "0");
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.stopDistance, 0);
    EXPECT_EQ(run.graphDistances, "0");
    EXPECT_EQ(run.graphHeights, "");
}

TEST(TerminalTable, SoftTissueStopShowsTheLastRow)
{
    ShotInput in = terminalExample();
    in.velocity = 100;
    in.bc = 0.05;
    in.increment = 1;
    in.maxDistance = 3000;
    for (char sep : {'.', ','}) {
        const TableRun run = tableRscalc(in, RunKind::Screen, sep);
        ASSERT_TRUE(run.stopped);
        // The rows before read 0.9 ("0,9" with a comma, which read back would be 0): the stop
        // compares the numbers, so they do not end the table.
        EXPECT_EQ(run.rows.back(),
                  (TrajectoryRow{"71", "80", sep == ',' ? "0,1" : "0.1", sep == ',' ? "8,9" : "8.9",
                                 sep == ',' ? "7,2" : "7.2", sep == ',' ? "4,1" : "4.1", "3", "0"}));
        EXPECT_EQ(run.rows[run.rows.size() - 2][2], sep == ',' ? "0,9" : "0.9");
        EXPECT_EQ(run.stopDistance, 71);
        EXPECT_EQ(run.rows.size(), 72u);
    }
}

TEST(TerminalTable, NeedsDiameterAndWeight)
{
    ShotInput in = terminalExample();
    in.terminal.diameter_mm.reset();
    EXPECT_EQ(tableRscalc(in, RunKind::Screen).refusal, TableRefusal::TerminalDataMissing);
    in = terminalExample();
    in.weight = 0;
    EXPECT_EQ(tableRscalc(in, RunKind::Print).refusal, TableRefusal::TerminalDataMissing);
    in = terminalExample();
    in.increment = -10;
    EXPECT_EQ(tableRscalc(in, RunKind::Screen).refusal, TableRefusal::IncrementNotPositive);
    in = terminalExample();
    in.velocity = 1400;
    EXPECT_EQ(tableRscalc(in, RunKind::Screen).refusal, TableRefusal::VelocityOutOfBand);
}

TEST(TerminalTable, PrintedReport)
{
    ShotInput in = terminalExample();
    in.description = "38''  158 grains SPEER JSP ";
    in.rspShapeName = "RoundNose";
    in.pirShapeName = "Molto Espansive";
    const TableRun run = tableRscalc(in, RunKind::Print);
    ASSERT_EQ(run.printed.size(), 10u + 16u);
    EXPECT_TRUE(run.graphDistances.empty());
    EXPECT_EQ(run.printed[0], (PrintLine{{1, kPrintBanner}}));
    EXPECT_EQ(run.printed[2], (PrintLine{{6, "38''  158 grains SPEER JSP "}}));
    EXPECT_EQ(run.printed[4],
              (PrintLine{{6, "X =  2284    Y =  1.795    Z = -1626     D =  4.07 "}}));
    EXPECT_EQ(run.printed[5],
              (PrintLine{{6, "P.I.R. = Molto Espansive   R.S.P. = RoundNose"}}));
    EXPECT_EQ(run.printed[7], (PrintLine{{23, "Penetrazione"}, {79, "Penetrazione"}}));
    EXPECT_EQ(run.printed[8], (PrintLine{{2, "Distanza"}, {13, "Velocita"},
                                         {23, "In Tessuti Molli"}, {68, "Energia"},
                                         {79, "In Ossa"}}));
    EXPECT_EQ(run.printed.back(), (PrintLine{{2, "150"}, {13, "289"}, {23, "60.9"}, {36, "117.2"},
                                             {48, "29.3"}, {58, "13.8"}, {68, "44"}, {79, "2.6"}}));
}

// Far beyond the table every run keeps finite numbers in its texts (an imperial or print run
// goes on with negative velocities; the terminal indices meet logarithms and exponentials).
TEST(Tables, NoNanOrInfinityInAnyText)
{
    const auto check = [](const TableRun& run, const char* what) {
        for (const auto& row : run.rows)
            for (const auto& cell : row)
                EXPECT_EQ(cell.find_first_of("naif"), std::string::npos) << what << " " << cell;
        for (const auto& line : run.printed)
            for (const auto& item : line) {
                EXPECT_EQ(item.text.find("nan"), std::string::npos) << what << " " << item.text;
                EXPECT_EQ(item.text.find("inf"), std::string::npos) << what << " " << item.text;
            }
    };
    ShotInput far = terminalExample();
    far.maxDistance = 1e7;
    far.increment = 1e4;
    far.terminal.y = 1e300;
    ShotInput wild = workedExample();
    wild.bc = -0.4;
    wild.weight = -150;
    wild.temperature = -273.15;
    wild.altitude = 1e6;
    wild.maxDistance = 1e300;
    wild.increment = 1e297;
    for (auto kind : {RunKind::Screen, RunKind::Print}) {
        for (const ShotInput& in : {far, wild}) {
            check(tableEuropa(in, kind), "europa");
            check(tableAmerica(in, kind), "america");
            check(tableRscalc(in, kind), "rscalc");
        }
    }
}

TEST(Tables, GridLayouts)
{
    EXPECT_STREQ(metricLayout().headings[0][5], " ");
    EXPECT_STREQ(metricLayout().headings[0][0], "");
    EXPECT_STREQ(metricLayout().headings[1][4], "16Km./h");
    EXPECT_STREQ(metricLayout().headings[2][1], "metri/s.");
    EXPECT_STREQ(imperialLayout().headings[0][5], "Energia");
    EXPECT_STREQ(imperialLayout().headings[1][5], "Foot/");
    EXPECT_STREQ(imperialLayout().headings[2][5], "pounds");
    EXPECT_STREQ(imperialLayout().headings[2][1], "feets/s.");
    EXPECT_STREQ(terminalLayout().headings[1][5], "Incapacit.");
    EXPECT_STREQ(terminalLayout().headings[2][2], "Molli/cm.");
    const std::array<int, 8> trajectory = {800, 800, 800, 960, 900, 700, 800, 900};
    EXPECT_EQ(metricLayout().widths_twips, trajectory);
    EXPECT_EQ(imperialLayout().widths_twips, trajectory);
    EXPECT_EQ(terminalLayout().widths_twips,
              (std::array<int, 8>{800, 800, 800, 800, 800, 1000, 800, 900}));
}

TEST(CellOf, MatchesTheCellTextForm)
{
    for (double k : {0.0, -0.0, 1.0, -1.0, 5.0, 10.0, 12.0, 100.0, 1234.0, -243.0, 999999.0,
                     123456789012345.0, 999999999999999.0, 1e15, 5.87e18, -7e16})
        for (int decimals : {0, 1, 3}) {
            const double scale = decimals == 0 ? 1 : decimals == 1 ? 10 : 1000;
            EXPECT_EQ(tabledetail::cellOf(k, decimals, ','), cellText(k / scale, ','))
                << k << " " << decimals;
        }
    EXPECT_EQ(tabledetail::cellOf(std::nan(""), 1, '.'), "0");
}

} // namespace
} // namespace siacci

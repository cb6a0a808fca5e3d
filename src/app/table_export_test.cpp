#include "app/table_export.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

// The metric grid's headings, as Grid1 shows them.
const GridLayout kMetric = {
    {{{"", "", "Tempo", "Variazione", "Vento", " ", "Totale", "Ordinata"},
      {"Distanza", "Velocità", "Di volo", "Centro", "16Km./h", "Energia", "Calo", "M.R.T."},
      {"metri", "metri/s.", "sec", "cm.", "cm.", "Kgm.", "cm.", "cm."}}},
    {800, 800, 800, 960, 900, 700, 800, 900},
};

// Three rows of the worked metric example, with the decimal separator given.
GridContent metricGrid(char separator)
{
    GridContent grid;
    grid.headings = headingTexts(kMetric);
    auto cell = [separator](std::string text) {
        for (char& ch : text)
            if (ch == '.')
                ch = separator;
        return text;
    };
    grid.rows.push_back({"0", "800", "0", "-4", "0", "317", "0", "0"});
    grid.rows.push_back({"100", "727", cell("0.131"), cell("9.2"), cell("2.5"), "262", cell("8.1"), cell("0.5")});
    grid.rows.push_back({"300", "594", cell("0.435"), cell("-24.3"), cell("26.7"), "175", cell("84.2"), cell("21.7")});
    return grid;
}

const std::vector<TrailerLine> kTrailer = {
    {"Velocità in metri/secondi", " 800"},
    {"Coefficiente  Balistico", " 0.4"},
    {"Cartuccia", ".308 WINCHESTER (7,62 NATO); \"Match\""},
};

TEST(JoinedHeading, NonBlankPartsTrimmedAndJoinedBySingleSpaces)
{
    const GridContent grid = metricGrid(',');
    const char* expected[kGridColumns] = {
        "Distanza metri", "Velocità metri/s.", "Tempo Di volo sec", "Variazione Centro cm.",
        "Vento 16Km./h cm.", "Energia Kgm.", "Totale Calo cm.", "Ordinata M.R.T. cm.",
    };
    for (int column = 0; column < kGridColumns; ++column)
        EXPECT_EQ(joinedHeading(grid, column), expected[column]) << "column " << column;

    GridContent padded;
    padded.headings[0][2] = "  Tempo ";
    padded.headings[1][2] = "\t";
    padded.headings[2][2] = " sec";
    EXPECT_EQ(joinedHeading(padded, 2), "Tempo sec");
    EXPECT_EQ(joinedHeading(padded, 3), "");
    EXPECT_EQ(joinedHeading(padded, -1), "");
    EXPECT_EQ(joinedHeading(padded, kGridColumns), "");
}

TEST(CsvCell, QuotedOnlyWhenHoldingDelimiterQuoteOrLineBreak)
{
    struct Case {
        const char* text;
        char delimiter;
        const char* expected;
    };
    const Case cases[] = {
        {"84,2", ';', "84,2"},               // a decimal comma is no delimiter in a ';' file
        {"84,2", ',', "\"84,2\""},
        {"a;b", ';', "\"a;b\""},
        {"a;b", ',', "a;b"},
        {"say \"hi\"", ';', "\"say \"\"hi\"\"\""},
        {"two\nlines", ',', "\"two\nlines\""},
        {"cr\rhere", ',', "\"cr\rhere\""},
        {"", ',', ""},
        {" 800", ',', " 800"},               // spaces are kept, unquoted
    };
    for (const auto& c : cases)
        EXPECT_EQ(csvCell(c.text, c.delimiter), c.expected) << c.text;
}

TEST(TableCsv, CommaSeparatorGivesSemicolonFile)
{
    EXPECT_EQ(csvDelimiter(','), ';');
    const std::string expected =
        "Distanza metri;Velocità metri/s.;Tempo Di volo sec;Variazione Centro cm.;"
        "Vento 16Km./h cm.;Energia Kgm.;Totale Calo cm.;Ordinata M.R.T. cm.\r\n"
        "0;800;0;-4;0;317;0;0\r\n"
        "100;727;0,131;9,2;2,5;262;8,1;0,5\r\n"
        "300;594;0,435;-24,3;26,7;175;84,2;21,7\r\n"
        "\r\n"
        "Velocità in metri/secondi; 800\r\n"
        "Coefficiente  Balistico; 0.4\r\n"
        "Cartuccia;\".308 WINCHESTER (7,62 NATO); \"\"Match\"\"\"\r\n";
    EXPECT_EQ(tableCsv(metricGrid(','), kTrailer, ',', {.byteOrderMark = false}), expected);
    EXPECT_EQ(tableCsv(metricGrid(','), kTrailer, ','), "\xEF\xBB\xBF" + expected);
}

TEST(TableCsv, PointSeparatorGivesCommaFile)
{
    EXPECT_EQ(csvDelimiter('.'), ',');
    const std::string expected =
        "Distanza metri,Velocità metri/s.,Tempo Di volo sec,Variazione Centro cm.,"
        "Vento 16Km./h cm.,Energia Kgm.,Totale Calo cm.,Ordinata M.R.T. cm.\r\n"
        "0,800,0,-4,0,317,0,0\r\n"
        "100,727,0.131,9.2,2.5,262,8.1,0.5\r\n"
        "300,594,0.435,-24.3,26.7,175,84.2,21.7\r\n"
        "\r\n"
        "Velocità in metri/secondi, 800\r\n"
        "Coefficiente  Balistico, 0.4\r\n"
        "Cartuccia,\".308 WINCHESTER (7,62 NATO); \"\"Match\"\"\"\r\n";
    EXPECT_EQ(tableCsv(metricGrid('.'), kTrailer, '.', {.byteOrderMark = false}), expected);
}

TEST(TableCsv, EmptyTableAndNoTrailerGiveTheHeadingLineAlone)
{
    GridContent grid;
    grid.headings = headingTexts(kMetric);
    const std::string csv = tableCsv(grid, {}, '.', {.byteOrderMark = false});
    EXPECT_EQ(csv, "Distanza metri,Velocità metri/s.,Tempo Di volo sec,Variazione Centro cm.,"
                   "Vento 16Km./h cm.,Energia Kgm.,Totale Calo cm.,Ordinata M.R.T. cm.\r\n");
}

TEST(SelectionText, RectangleOfCellsInGridCoordinates)
{
    const GridContent grid = metricGrid(',');
    struct Case {
        CellRange range;
        const char* expected;
    };
    const Case cases[] = {
        {{4, 2, 5, 3}, "0,131\t9,2\n0,435\t-24,3"},
        {{5, 3, 4, 2}, "0,131\t9,2\n0,435\t-24,3"},          // corners in any order
        {{3, 0, 3, 0}, "0"},
        {{1, 0, 3, 1}, "Distanza\tVelocità\nmetri\tmetri/s.\n0\t800"}, // heading rows as shown
        {{5, 6, 99, 99}, "84,2\t21,7"},                       // clipped to the grid
        {{-5, 7, 0, 9}, "Ordinata"},
        {{6, 0, 9, 7}, ""},                                    // below the last row
        {{0, 8, 2, 9}, ""},                                    // right of the last column
    };
    for (const auto& c : cases)
        EXPECT_EQ(selectionText(grid, c.range), c.expected)
            << c.range.top << "," << c.range.left << " " << c.range.bottom << "," << c.range.right;
}

TEST(WholeTableText, JoinedHeadingsThenEveryDataRow)
{
    EXPECT_EQ(wholeTableText(metricGrid('.')),
              "Distanza metri\tVelocità metri/s.\tTempo Di volo sec\tVariazione Centro cm.\t"
              "Vento 16Km./h cm.\tEnergia Kgm.\tTotale Calo cm.\tOrdinata M.R.T. cm.\n"
              "0\t800\t0\t-4\t0\t317\t0\t0\n"
              "100\t727\t0.131\t9.2\t2.5\t262\t8.1\t0.5\n"
              "300\t594\t0.435\t-24.3\t26.7\t175\t84.2\t21.7");
}

TEST(TabSeparated, TabsAndLineBreaksInsideCellsBecomeSpaces)
{
    // A cell holding a tab or a line break would otherwise shift every later cell of the paste.
    EXPECT_EQ(tabSeparated({{"a\tb", "c\r\nd"}, {"e"}}), "a b\tc  d\ne");
    EXPECT_EQ(tabSeparated({}), "");
}

} // namespace
} // namespace siacci

#include "print/report_layout.hpp"

#include <gtest/gtest.h>

namespace siacci {
namespace {

TEST(ReportLayout, CountsCharactersNotBytes)
{
    EXPECT_EQ(textCells(""), 0);
    EXPECT_EQ(textCells("Distanza"), 8);
    EXPECT_EQ(textCells("Velocità"), 8);      // à is two bytes
    EXPECT_EQ(textCells("\xE2\x82\xAC"), 1);  // the euro sign, three bytes
    // Bytes of an 8-bit code page (a shot file written elsewhere) are one cell each, and a
    // truncated sequence at the end does not run past the text.
    EXPECT_EQ(textCells("Velocit\xE0"), 8);
    EXPECT_EQ(textCells("ab\xC3"), 3);
    EXPECT_EQ(textCells("\xE2\x82"), 2);
}

// Every row of the three tables goes to columns 2, 13, 23, 36, 48, 58, 68 and 79; on paper that
// is 1, 12, 22, 35, 47, 57, 67 and 78 cells from the margin.
TEST(ReportLayout, PrintColumnIsOneCellEach)
{
    const PrintLine row = {{2, "300"}, {13, "594"}, {23, "0,435"}, {36, "-24,3"},
                           {48, "26,7"}, {58, "175"}, {68, "84,2"}, {79, "21,7"}};
    const PlacedLine placed = placeLine(row);
    const int expected[] = {1, 12, 22, 35, 47, 57, 67, 78};
    ASSERT_EQ(placed.size(), 8u);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(placed[i].cell, expected[i]) << "item " << i;
        EXPECT_EQ(placed[i].text, row[i].text);
    }
    EXPECT_EQ(lineCells(placed), 78 + 4);
}

TEST(ReportLayout, OverlongItemPushesTheNextOneBlankAfterIt)
{
    struct Case {
        const char* what;
        PrintLine line;
        std::vector<int> cells;
    };
    const Case cases[] = {
        // "ALTITUDINE METRI=" and the numbers follow one another: each item starts where the
        // previous one ends, they never overlap.
        {"consecutive items", {{6, "CB="}, {1, " 0.4 "}, {1, "   CENTRO"}}, {5, 9, 15}},
        {"item ends exactly at the next column", {{2, "12345678901"}, {13, "x"}}, {1, 12}},
        {"item runs into the next column", {{2, "123456789012"}, {13, "x"}}, {1, 14}},
        {"a long description", {{6, std::string(100, 'A')}, {23, "B"}}, {5, 106}},
        {"column 0 and below count as the margin", {{0, "a"}, {-5, "b"}}, {0, 2}},
        {"accented text is measured in characters", {{13, "Velocità"}, {21, "x"}}, {12, 20}},
    };
    for (const auto& c : cases) {
        const PlacedLine placed = placeLine(c.line);
        ASSERT_EQ(placed.size(), c.cells.size()) << c.what;
        for (std::size_t i = 0; i < placed.size(); ++i)
            EXPECT_EQ(placed[i].cell, c.cells[i]) << c.what << ", item " << i;
    }
    EXPECT_TRUE(placeLine({}).empty());
    EXPECT_EQ(lineCells({}), 0);
}

std::vector<std::size_t> range(std::size_t from, std::size_t to)
{
    std::vector<std::size_t> r;
    for (std::size_t i = from; i < to; ++i)
        r.push_back(i);
    return r;
}

std::vector<std::size_t> headed(std::size_t from, std::size_t to)
{
    std::vector<std::size_t> r = {7, 8, 9};
    for (std::size_t i = from; i < to; ++i)
        r.push_back(i);
    return r;
}

TEST(ReportPagination, LongTableRepeatsTheColumnHeadings)
{
    // 10 header lines and 100 rows on pages of 40 lines: 40 on the first page, then 3 heading
    // lines and 37 rows per page.
    const auto pages = paginate(110, 40);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], range(0, 40));
    EXPECT_EQ(pages[1], headed(40, 77));
    EXPECT_EQ(pages[2], headed(77, 110));
}

TEST(ReportPagination, PageCounts)
{
    struct Case {
        std::size_t lines;
        int perPage;
        std::size_t pages;
    };
    const Case cases[] = {
        {0, 40, 0},  {1, 40, 1},  {23, 40, 1}, {40, 40, 1}, {41, 40, 2},
        {77, 40, 2}, {78, 40, 3}, {1010, 50, 22},
        // A page too small for the headings and a row: pages continue without them.
        {20, 3, 7},  {20, 0, 20}, {20, -4, 20},
    };
    for (const auto& c : cases)
        EXPECT_EQ(paginate(c.lines, c.perPage).size(), c.pages)
            << c.lines << " lines, " << c.perPage << " per page";
}

TEST(ReportPagination, EveryLineOncePlusTheHeadings)
{
    for (int perPage : {4, 11, 13, 40}) {
        const auto pages = paginate(200, perPage);
        std::vector<std::size_t> seen;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            ASSERT_LE(pages[p].size(), static_cast<std::size_t>(perPage));
            std::size_t start = 0;
            if (p > 0 && pages[p - 1].back() >= 9) {
                ASSERT_GE(pages[p].size(), 4u);
                EXPECT_EQ(std::vector<std::size_t>(pages[p].begin(), pages[p].begin() + 3),
                          (std::vector<std::size_t>{7, 8, 9}));
                start = 3;
            }
            seen.insert(seen.end(), pages[p].begin() + start, pages[p].end());
        }
        EXPECT_EQ(seen, range(0, 200)) << perPage << " per page";
    }
}

TEST(ReportPagination, HeaderSplitOverTheFirstPageIsNotRepeated)
{
    // Pages of 8 lines: the first page ends inside the heading lines, the second continues
    // them rather than printing them twice.
    const auto pages = paginate(20, 8);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[1], range(8, 16));
    EXPECT_EQ(pages[2], headed(16, 20));
}

TEST(ReportPagination, ShortReportOrNoHeader)
{
    // A report that ends with its heading lines has nothing to repeat them for.
    EXPECT_EQ(paginate(10, 4), (std::vector<std::vector<std::size_t>>{
                                   range(0, 4), range(4, 8), range(8, 10)}));
    EXPECT_EQ(paginate(6, 4, kNoRepeatedHeader),
              (std::vector<std::vector<std::size_t>>{range(0, 4), range(4, 6)}));
    EXPECT_EQ(paginate(7, 3, RepeatedHeader{0, 1}),
              (std::vector<std::vector<std::size_t>>{range(0, 3), {0, 3, 4}, {0, 5, 6}}));
}

} // namespace
} // namespace siacci

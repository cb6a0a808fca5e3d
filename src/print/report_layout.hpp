#pragma once

#include "common/ports.hpp"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// How a printed report sits on paper, in character cells of a fixed-pitch font: where each item
// of a line starts, and which lines go on which page. The painting itself (fonts, millimetres,
// the printer) is the Qt side's; everything countable is decided here.
namespace siacci {

// One item placed on its line: `cell` is the number of character cells between the left margin
// and the item's first character.
struct PlacedItem {
    int cell = 0;
    std::string text;

    friend bool operator==(const PlacedItem&, const PlacedItem&) = default;
};
using PlacedLine = std::vector<PlacedItem>;

// Number of character cells a UTF-8 text fills: one per character ("Velocità" is 8 cells, not
// 9 bytes). A stray byte that is not valid UTF-8 counts as one cell.
int textCells(std::string_view utf8);

// Places the items of a line. An item at print column n starts n - 1 cells from the margin
// (column 1 is the margin itself; a column below 1 counts as 1). An item that would start on or
// left of the last character of the item before it starts one blank after that item instead, so
// no two items ever overprint.
PlacedLine placeLine(const PrintLine& line);

// Cells from the margin to the end of the line's last character (0 for an empty line).
int lineCells(const PlacedLine& line);

// The lines of a report that are repeated at the top of every page after the first: `count`
// lines starting at line `first` (counted from 0). The trajectory reports of the three tables
// all have the same shape: banner, blank, description, blank, two lines of inputs, blank, the
// three lines of column headings (lines 7 to 9), then one line per row; so by default the column
// headings head each continuation page.
struct RepeatedHeader {
    std::size_t first = 7;
    std::size_t count = 3;

    friend bool operator==(const RepeatedHeader&, const RepeatedHeader&) = default;
};
inline constexpr RepeatedHeader kTableReportHeader{7, 3};
inline constexpr RepeatedHeader kNoRepeatedHeader{0, 0};

// Splits a report of `lineCount` lines over pages of `linesPerPage` lines (at least 1). Each page
// is the list of the report's line indices printed on it, top to bottom. Pages after the first
// begin with the header lines, provided the report has lines after the header and a page has
// room for at least one line besides the header; otherwise pages simply continue. A report of
// no lines has no pages.
std::vector<std::vector<std::size_t>> paginate(std::size_t lineCount, int linesPerPage,
                                               RepeatedHeader header = kTableReportHeader);

} // namespace siacci

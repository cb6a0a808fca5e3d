#pragma once

#include "ballistics/tables.hpp"

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The current table as a file for a spreadsheet ("ESPORTA TABELLA…") and as text for the
// clipboard (Ctrl+C on Grid1).
namespace siacci {

inline constexpr int kGridColumns = 8;
inline constexpr int kGridHeadingRows = 3;

// What Grid1 shows: its three fixed heading rows and its data rows, eight texts each, as the
// table routine wrote them (the cells already carry the system's decimal separator).
struct GridContent {
    std::array<std::array<std::string, kGridColumns>, kGridHeadingRows> headings;
    std::vector<TrajectoryRow> rows;
};

// The heading rows of a table's layout, as texts.
std::array<std::array<std::string, kGridColumns>, kGridHeadingRows>
headingTexts(const GridLayout& layout);

// One line of the trailer that follows the table in the file: an input of the shot and its
// value, both as the user sees them ("Velocità in metri/secondi", " 800").
struct TrailerLine {
    std::string label;
    std::string value;
};

// The heading of one column in the file: the non-blank parts of its three heading rows,
// each trimmed, joined by a single space. Column 0 of the metric table: "Distanza metri".
std::string joinedHeading(const GridContent& grid, int column);

// The cell separator of the file: ';' where the decimal separator is a comma (what Italian
// spreadsheets expect), ',' otherwise.
char csvDelimiter(char decimalSeparator);

// One cell of the file: quoted, with its quotes doubled, when it holds the delimiter, a quote
// or a line break; as it is otherwise.
std::string csvCell(std::string_view text, char delimiter);

struct CsvOptions {
    // A UTF-8 byte order mark at the start, without which the usual spreadsheet on an Italian
    // desktop reads "Velocità" as Latin-1 text.
    bool byteOrderMark = true;
};

// The whole file: one line of joined headings, one line per data row, an empty line, then one
// line per trailer entry (label, value). Lines end with CR LF, the last one included.
std::string tableCsv(const GridContent& grid, const std::vector<TrailerLine>& trailer,
                     char decimalSeparator, const CsvOptions& options = {});

// A rectangle of grid cells, in the grid's own coordinates: rows 0 to 2 are the heading rows,
// data rows start at 3; columns 0 to 7. Corners in any order, both included.
struct CellRange {
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
};

// Tab-separated text of rows of cells, rows joined by "\n", no line break at the end. A tab or
// line break inside a cell becomes a space, so that every cell lands in its own place when
// pasted.
std::string tabSeparated(const std::vector<std::vector<std::string>>& rows);

// The clipboard text of a selection of Grid1. The range is clipped to the grid; a range that
// lies wholly outside it gives an empty text.
std::string selectionText(const GridContent& grid, CellRange range);

// The clipboard text of the whole table, for Ctrl+C with nothing selected: the joined
// headings as one row, then the data rows.
std::string wholeTableText(const GridContent& grid);

} // namespace siacci

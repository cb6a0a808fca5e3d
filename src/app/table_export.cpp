#include "app/table_export.hpp"

#include <algorithm>

namespace siacci {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

void appendCsvLine(std::string& out, const std::vector<std::string_view>& cells, char delimiter)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out += delimiter;
        out += csvCell(cells[i], delimiter);
    }
    out += kLineEnd;
}

std::string clipboardCell(std::string_view text)
{
    std::string cell(text);
    std::replace_if(cell.begin(), cell.end(), [](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; }, ' ');
    return cell;
}

std::vector<std::string> joinedHeadings(const GridContent& grid)
{
    std::vector<std::string> headings;
    for (int column = 0; column < kGridColumns; ++column)
        headings.push_back(joinedHeading(grid, column));
    return headings;
}

} // namespace

std::array<std::array<std::string, kGridColumns>, kGridHeadingRows>
headingTexts(const GridLayout& layout)
{
    std::array<std::array<std::string, kGridColumns>, kGridHeadingRows> texts;
    for (int row = 0; row < kGridHeadingRows; ++row)
        for (int column = 0; column < kGridColumns; ++column) {
            const char* text = layout.headings[row][column];
            texts[row][column] = text ? text : "";
        }
    return texts;
}

std::string joinedHeading(const GridContent& grid, int column)
{
    std::string heading;
    if (column < 0 || column >= kGridColumns)
        return heading;
    for (const auto& row : grid.headings) {
        const std::string_view part = trimmed(row[column]);
        if (part.empty())
            continue;
        if (!heading.empty())
            heading += ' ';
        heading += part;
    }
    return heading;
}

char csvDelimiter(char decimalSeparator)
{
    return decimalSeparator == ',' ? ';' : ',';
}

std::string csvCell(std::string_view text, char delimiter)
{
    const bool needsQuotes = text.find_first_of(std::string{delimiter, '"', '\r', '\n'}) != std::string_view::npos;
    if (!needsQuotes)
        return std::string(text);
    std::string cell = "\"";
    for (const char ch : text) {
        if (ch == '"')
            cell += '"';
        cell += ch;
    }
    cell += '"';
    return cell;
}

std::string tableCsv(const GridContent& grid, const std::vector<TrailerLine>& trailer,
                     char decimalSeparator, const CsvOptions& options)
{
    const char delimiter = csvDelimiter(decimalSeparator);
    std::string out;
    if (options.byteOrderMark)
        out += kByteOrderMark;

    const std::vector<std::string> headings = joinedHeadings(grid);
    appendCsvLine(out, {headings.begin(), headings.end()}, delimiter);
    for (const auto& row : grid.rows)
        appendCsvLine(out, {row.begin(), row.end()}, delimiter);

    if (!trailer.empty()) {
        out += kLineEnd;
        for (const auto& line : trailer)
            appendCsvLine(out, {line.label, line.value}, delimiter);
    }
    return out;
}

std::string tabSeparated(const std::vector<std::vector<std::string>>& rows)
{
    std::string out;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += '\n';
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (c > 0)
                out += '\t';
            out += clipboardCell(rows[r][c]);
        }
    }
    return out;
}

std::string selectionText(const GridContent& grid, CellRange range)
{
    const int rowCount = kGridHeadingRows + static_cast<int>(grid.rows.size());
    int top = std::min(range.top, range.bottom);
    int bottom = std::max(range.top, range.bottom);
    int left = std::min(range.left, range.right);
    int right = std::max(range.left, range.right);
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, rowCount - 1);
    right = std::min(right, kGridColumns - 1);
    if (top > bottom || left > right)
        return {};

    std::vector<std::vector<std::string>> cells;
    for (int row = top; row <= bottom; ++row) {
        const auto& source = row < kGridHeadingRows
                                 ? grid.headings[static_cast<std::size_t>(row)]
                                 : grid.rows[static_cast<std::size_t>(row - kGridHeadingRows)];
        cells.emplace_back(source.begin() + left, source.begin() + right + 1);
    }
    return tabSeparated(cells);
}

std::string wholeTableText(const GridContent& grid)
{
    std::vector<std::vector<std::string>> cells;
    cells.push_back(joinedHeadings(grid));
    for (const auto& row : grid.rows)
        cells.emplace_back(row.begin(), row.end());
    return tabSeparated(cells);
}

} // namespace siacci

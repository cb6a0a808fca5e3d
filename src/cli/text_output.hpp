#pragma once

#include <ostream>
#include <string>
#include <string_view>

// Rows of cells as the tool prints them: tab-separated, or CSV (RFC 4180, CRLF line ends).
namespace siacci::cli {

enum class CellFormat { Tsv, Csv };

inline std::string csvField(std::string_view cell)
{
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(cell);
    std::string out = "\"";
    for (char ch : cell) {
        if (ch == '"')
            out += '"';
        out += ch;
    }
    return out + "\"";
}

template <typename Cells>
void writeCells(std::ostream& out, const Cells& cells, CellFormat format)
{
    const bool csv = format == CellFormat::Csv;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            out << (csv ? ',' : '\t');
        if (csv)
            out << csvField(cells[i]);
        else
            out << cells[i];
    }
    out << (csv ? "\r\n" : "\n");
}

} // namespace siacci::cli

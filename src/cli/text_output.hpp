#pragma once

#include "common/float_text.hpp"

#include <cmath>
#include <cstdio>
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

// One row appended to `text`: the whole output is built in one string and written at once (a
// stream insertion per cell costs more than the cell, above all in the WebAssembly module).
template <typename Cells>
void appendCells(std::string& text, const Cells& cells, CellFormat format)
{
    const bool csv = format == CellFormat::Csv;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            text += csv ? ',' : '\t';
        if (csv)
            text += csvField(cells[i]);
        else
            text += cells[i];
    }
    text += csv ? "\r\n" : "\n";
}

template <typename Cells>
void writeCells(std::ostream& out, const Cells& cells, CellFormat format)
{
    std::string text;
    appendCells(text, cells, format);
    out << text;
}

// A number in JSON: the shortest text that reads back as the same double. The engines never
// yield NaN or infinity; were one to slip through it is written as 0, never as invalid JSON.
inline void appendJsonNumber(std::string& text, double value)
{
    if (!std::isfinite(value) || value == 0) {
        text += '0';
        return;
    }
    char buffer[32];
    const auto result = toChars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

inline std::string jsonNumber(double value)
{
    std::string text;
    appendJsonNumber(text, value);
    return text;
}

// A string in JSON, with the characters JSON requires escaped.
inline std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (const char ch : text) {
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (static_cast<unsigned char>(ch) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", ch);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

} // namespace siacci::cli

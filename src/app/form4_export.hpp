#pragma once

#include "app/form4.hpp"
#include "app/table_export.hpp"

#include <optional>

// The main window's table as a spreadsheet file and as clipboard text.
namespace siacci {

GridContent gridContent(const Form4& form);

// "ESPORTA TABELLA…": the grid, then the shot's inputs as their labels and field texts.
std::string exportCsv(const Form4& form);

// Ctrl+C on Grid1: the selected data cells (rows counted from the first data row), or the
// whole table with its headings when nothing is selected.
std::string copyCells(const Form4& form, const std::optional<CellRange>& dataSelection);

} // namespace siacci

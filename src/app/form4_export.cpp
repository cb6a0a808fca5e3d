#include "app/form4_export.hpp"

namespace siacci {

GridContent gridContent(const Form4& form)
{
    GridContent grid;
    grid.headings = form.grid().headings;
    grid.rows = form.grid().rows;
    return grid;
}

std::string exportCsv(const Form4& form)
{
    std::vector<TrailerLine> trailer;
    if (!form.shot().description.empty())
        trailer.push_back({"Descrizione", form.shot().description});
    for (Field f : inputFieldsInRows()) {
        trailer.push_back({form.fieldCaption(f), form.fieldText(f)});
    }
    trailer.push_back({"Angolo di Sito gradi", std::to_string(form.shot().siteAngle.degrees)});
    return tableCsv(gridContent(form), trailer, form.decimalSeparator());
}

std::string copyCells(const Form4& form, const std::optional<CellRange>& dataSelection)
{
    const GridContent grid = gridContent(form);
    if (!dataSelection)
        return wholeTableText(grid);
    CellRange r = *dataSelection;
    r.top += kGridHeadingRows;
    r.bottom += kGridHeadingRows;
    return selectionText(grid, r);
}

} // namespace siacci

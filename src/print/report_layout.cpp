#include "print/report_layout.hpp"

#include <algorithm>

namespace siacci {

int textCells(std::string_view utf8)
{
    int cells = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = 1;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        // A sequence counts as one character only when all its continuation bytes are there;
        // otherwise the lead byte is a stray byte of its own.
        std::size_t k = 1;
        while (k < length && i + k < utf8.size()
               && (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80)
            ++k;
        i += k == length ? length : 1;
        ++cells;
    }
    return cells;
}

PlacedLine placeLine(const PrintLine& line)
{
    PlacedLine placed;
    placed.reserve(line.size());
    int end = 0; // first free cell after the previous item
    bool first = true;
    for (const auto& item : line) {
        int cell = std::max(item.column, 1) - 1;
        if (!first && cell < end)
            cell = end + 1;
        placed.push_back({cell, item.text});
        end = cell + textCells(item.text);
        first = false;
    }
    return placed;
}

int lineCells(const PlacedLine& line)
{
    int cells = 0;
    for (const auto& item : line)
        cells = std::max(cells, item.cell + textCells(item.text));
    return cells;
}

std::vector<std::vector<std::size_t>> paginate(std::size_t lineCount, int linesPerPage,
                                               RepeatedHeader header)
{
    const std::size_t perPage = static_cast<std::size_t>(std::max(linesPerPage, 1));
    const std::size_t headerEnd = header.first + header.count;
    // Repeat the header only when it is there, something follows it, and a page can hold it and
    // one more line.
    const bool repeat = header.count > 0 && headerEnd < lineCount && header.count < perPage;

    std::vector<std::vector<std::size_t>> pages;
    std::size_t next = 0;
    while (next < lineCount) {
        std::vector<std::size_t> page;
        if (!pages.empty() && repeat && next >= headerEnd)
            for (std::size_t i = header.first; i < headerEnd; ++i)
                page.push_back(i);
        while (page.size() < perPage && next < lineCount)
            page.push_back(next++);
        pages.push_back(std::move(page));
    }
    return pages;
}

} // namespace siacci

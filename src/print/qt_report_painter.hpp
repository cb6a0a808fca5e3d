#pragma once

#include "common/ports.hpp"
#include "print/report_layout.hpp"

#include <QFont>
#include <QPointF>
#include <QByteArray>
#include <QString>

#include <cstddef>
#include <vector>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

// Painting a printed report: one paint routine for the print preview, the printer, a PDF file
// and a plain image. The report is set in a fixed-pitch font, one print column per character
// cell, as on the typewriter-like printers the tables were laid out for.
namespace siacci {

// One report as the table routine wrote it.
struct ReportDocument {
    std::vector<PrintLine> lines;
    double fontSize_pt = 11;                    // the size the print commands set
    RepeatedHeader header = kTableReportHeader; // lines repeated at the top of every page
};

// The report's fixed-pitch font at a size in points.
QFont reportFont(double points);

// Where everything of a report goes on the pages of one device. The page area is the device's
// paintable area (inside the margins), in device pixels; the report is scaled down, never up,
// when its widest line would not fit across it.
class ReportPainter {
public:
    ReportPainter(const ReportDocument& document, QPaintDevice& device);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<std::vector<std::size_t>>& pages() const { return m_pages; }
    int linesPerPage() const { return m_linesPerPage; }
    // 1 when the report fits the page width; below 1 when it had to be narrowed.
    double scale() const { return m_scale; }
    // One character cell and one line, in device pixels before scaling.
    double cellWidth() const { return m_cellWidth; }
    double lineHeight() const { return m_lineHeight; }
    // Top-left corner of the character cell `cell` on the page's line `row` (both from 0),
    // in device pixels of the page area, scaling applied.
    QPointF cellOrigin(int row, int cell) const;

    // Paints one page (from 0) with a painter already open on a device of the same geometry.
    void paintPage(QPainter& painter, int page) const;

private:
    const ReportDocument& m_document;
    QFont m_font;
    double m_cellWidth = 1;
    double m_lineHeight = 1;
    double m_ascent = 1;
    double m_scale = 1;
    double m_areaWidth = 0;
    double m_areaHeight = 0;
    int m_linesPerPage = 1;
    std::vector<std::vector<std::size_t>> m_pages;
};

// Sets the page margins and turns the page to landscape when the report's widest line does not
// fit across a portrait page (the trajectory tables run to column 86 and more).
void setReportPageLayout(QPagedPaintDevice& device, const ReportDocument& document);

// Paints every page of the report on a printer or a PDF writer; returns the number of pages,
// 0 when the device could not be opened or the report is empty.
int paintReport(QPagedPaintDevice& device, const ReportDocument& document);

// The report as the bytes of a PDF document, made in memory (needs a QGuiApplication); empty
// when the report has no lines or could not be painted.
QByteArray reportPdf(const ReportDocument& document);

// Writes the report as a PDF file through the careful writer: the file appears complete or not
// at all, and an existing file is replaced only when the new one is written whole. Returns
// false when the file cannot be written or the report has no lines, with why in `reason`.
bool writeReportPdf(const ReportDocument& document, const QString& path, QString* reason = nullptr);
bool writeReportPdf(const std::vector<PrintLine>& lines, double fontSize, const QString& path,
                    QString* reason = nullptr);

} // namespace siacci

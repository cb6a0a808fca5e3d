#include "print/qt_report_painter.hpp"

#include "common/version.hpp"
#include "files/qt_careful_write.hpp"

#include <QBuffer>
#include <QFontMetricsF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace siacci {

namespace {

constexpr double kMargin_mm = 15;
// A report narrowed further than this would be unreadable; what is still too wide is cut at
// the right margin instead (only a description of well over a hundred characters gets there).
constexpr double kMinScale = 0.6;
// Lines kept free at the foot of each page of a report of several pages, for the page number.
constexpr int kFooterLines = 2;

int widestLine(const ReportDocument& document)
{
    int widest = 0;
    for (const auto& line : document.lines)
        widest = std::max(widest, lineCells(placeLine(line)));
    return widest;
}

double sanePointSize(double points)
{
    return std::isfinite(points) && points >= 4 && points <= 72 ? points : 11;
}

} // namespace

QFont reportFont(double points)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    font.setFixedPitch(true);
    font.setKerning(false);
    font.setPointSizeF(sanePointSize(points));
    return font;
}

ReportPainter::ReportPainter(const ReportDocument& document, QPaintDevice& device)
    : m_document(document), m_font(reportFont(document.fontSize_pt))
{
    const QFontMetricsF metrics(m_font, &device);
    m_cellWidth = std::max(metrics.horizontalAdvance(QLatin1Char('0')), 1.0);
    m_lineHeight = std::max(metrics.lineSpacing(), 1.0);
    m_ascent = metrics.ascent();
    m_areaWidth = device.width();
    m_areaHeight = device.height();

    const double contentWidth = widestLine(document) * m_cellWidth;
    if (contentWidth > m_areaWidth && contentWidth > 0)
        m_scale = std::max(m_areaWidth / contentWidth, kMinScale);

    const int fullPage = std::max(1, static_cast<int>(m_areaHeight / (m_lineHeight * m_scale)));
    m_linesPerPage = document.lines.size() > static_cast<std::size_t>(fullPage)
                         ? std::max(fullPage - kFooterLines, 1)
                         : fullPage;
    m_pages = paginate(document.lines.size(), m_linesPerPage, document.header);
}

QPointF ReportPainter::cellOrigin(int row, int cell) const
{
    return {cell * m_cellWidth * m_scale, row * m_lineHeight * m_scale};
}

void ReportPainter::paintPage(QPainter& painter, int page) const
{
    if (page < 0 || page >= pageCount())
        return;
    painter.save();
    painter.setClipRect(QRectF(0, 0, m_areaWidth, m_areaHeight));
    painter.scale(m_scale, m_scale);
    painter.setFont(m_font);
    painter.setPen(Qt::black);

    const auto& rows = m_pages[static_cast<std::size_t>(page)];
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const double baseline = row * m_lineHeight + m_ascent;
        for (const auto& item : placeLine(m_document.lines[rows[row]]))
            painter.drawText(QPointF(item.cell * m_cellWidth, baseline),
                             QString::fromStdString(item.text));
    }
    if (pageCount() > 1) {
        // The page number, centred at the foot: "- 2 -".
        const QString number = QStringLiteral("- %1 -").arg(page + 1);
        const double width = number.size() * m_cellWidth;
        const double pageWidth = m_areaWidth / m_scale;
        const double baseline = m_areaHeight / m_scale - m_lineHeight + m_ascent;
        painter.drawText(QPointF((pageWidth - width) / 2, baseline), number);
    }
    painter.restore();
}

void setReportPageLayout(QPagedPaintDevice& device, const ReportDocument& document)
{
    device.setPageMargins(QMarginsF(kMargin_mm, kMargin_mm, kMargin_mm, kMargin_mm),
                          QPageLayout::Millimeter);
    device.setPageOrientation(QPageLayout::Portrait);
    const QFontMetricsF metrics(reportFont(document.fontSize_pt), &device);
    if (widestLine(document) * metrics.horizontalAdvance(QLatin1Char('0')) > device.width())
        device.setPageOrientation(QPageLayout::Landscape);
}

int paintReport(QPagedPaintDevice& device, const ReportDocument& document)
{
    if (document.lines.empty())
        return 0;
    const ReportPainter report(document, device);
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    for (int page = 0; page < report.pageCount(); ++page) {
        if (page > 0)
            device.newPage();
        report.paintPage(painter, page);
    }
    painter.end();
    return report.pageCount();
}

QByteArray reportPdf(const ReportDocument& document)
{
    QByteArray bytes;
    if (document.lines.empty())
        return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Siacci - tabella di tiro"));
        writer.setCreator(QString::fromLatin1(kProgramAndVersion));
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(600);
        setReportPageLayout(writer, document);
        pages = paintReport(writer, document);
    }
    buffer.close();
    if (pages == 0)
        bytes.clear();
    return bytes;
}

bool writeReportPdf(const ReportDocument& document, const QString& path, QString* reason)
{
    QString why;
    if (path.isEmpty())
        why = QStringLiteral("manca il nome del file");
    else if (document.lines.empty())
        why = QStringLiteral("la tabella è vuota");
    else if (const QByteArray pdf = reportPdf(document); pdf.isEmpty())
        why = QStringLiteral("il documento non si compone");
    else
        why = writeFileBytes(path, pdf);
    if (reason)
        *reason = why;
    return why.isEmpty();
}

bool writeReportPdf(const std::vector<PrintLine>& lines, double fontSize, const QString& path,
                    QString* reason)
{
    ReportDocument document;
    document.lines = lines;
    document.fontSize_pt = fontSize;
    return writeReportPdf(document, path, reason);
}

} // namespace siacci

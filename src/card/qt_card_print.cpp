#include "card/qt_card_print.hpp"

#include "common/version.hpp"
#include "files/qt_careful_write.hpp"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRectF>

namespace siacci::card {

namespace {

QFont cardFont(double points, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void preparePage(QPagedPaintDevice& device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Portrait);
    device.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

void paintCardPage(QPainter& painter, const PageDrawing& page, double k)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (const DrawRect& r : page.rects) {
        const QRectF rect(r.x_mm * k, r.y_mm * k, r.width_mm * k, r.height_mm * k);
        if (r.grey < 0) {
            painter.setPen(QPen(Qt::black, 0.2 * k));
            painter.setBrush(Qt::NoBrush);
        } else {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(r.grey, r.grey, r.grey));
        }
        painter.drawRect(rect);
    }
    for (const DrawLine& l : page.lines) {
        QPen pen(Qt::black, l.width_mm * k);
        if (l.dashed)
            pen.setStyle(Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(l.x1_mm * k, l.y1_mm * k), QPointF(l.x2_mm * k, l.y2_mm * k));
    }
    painter.setPen(Qt::black);
    for (const DrawText& t : page.texts) {
        const QFont font = cardFont(t.size_pt, t.bold);
        painter.setFont(font);
        const QString text = QString::fromStdString(t.text);
        const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
        double x = t.x_mm * k;
        if (t.align == Align::Right)
            x -= width;
        else if (t.align == Align::Centre)
            x -= width / 2;
        painter.drawText(QPointF(x, t.y_mm * k), text);
    }
    painter.restore();
}

QRectF paintedTextRect_mm(const DrawText& t, const QPaintDevice& device)
{
    const QFontMetricsF metrics(cardFont(t.size_pt, t.bold), &device);
    const double pixelsPerMm = device.logicalDpiX() / 25.4;
    const double width = metrics.horizontalAdvance(QString::fromStdString(t.text)) / pixelsPerMm;
    const double ascent = metrics.ascent() * 25.4 / device.logicalDpiY();
    double x = t.x_mm;
    if (t.align == Align::Right)
        x -= width;
    else if (t.align == Align::Centre)
        x -= width / 2;
    return {x, t.y_mm - ascent, width, ascent};
}

int paintCard(QPagedPaintDevice& device, const PrintedCard& card)
{
    if (card.pages.empty())
        return 0;
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    const double k = device.width() / card.pageWidth_mm;
    for (std::size_t i = 0; i < card.pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        paintCardPage(painter, card.pages[i], k);
    }
    painter.end();
    return static_cast<int>(card.pages.size());
}

bool showCardPreview(const PrintedCard& card, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Siacci - cartellino di tiro"));
    printer.setCreator(QString::fromLatin1(kProgramAndVersion));
    printer.setFullPage(true);
    preparePage(printer);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&card, &preview](QPrinter* target) {
                         if (printsToPdfFile(*target))
                             writePrintedPdf(*target, cardPdf(card), &preview);
                         else
                             paintCard(*target, card);
                     });
    return preview.exec() == QDialog::Accepted;
}

QByteArray cardPdf(const PrintedCard& card)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(QStringLiteral("Siacci - cartellino di tiro"));
        writer.setCreator(QString::fromLatin1(kProgramAndVersion));
        writer.setResolution(600);
        preparePage(writer);
        pages = paintCard(writer, card);
    }
    buffer.close();
    if (pages == 0)
        bytes.clear();
    return bytes;
}

QString writeCardPdf(const PrintedCard& card, const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("manca il nome del file");
    const QByteArray pdf = cardPdf(card);
    if (pdf.isEmpty())
        return QStringLiteral("il cartellino non si compone");
    if (const QString why = writeFileBytes(path, pdf); !why.isEmpty())
        return QStringLiteral("non riesco a scrivere il file \"%1\": %2").arg(path, why);
    return {};
}

} // namespace siacci::card

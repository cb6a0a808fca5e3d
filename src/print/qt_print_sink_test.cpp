#include "print/qt_print_sink.hpp"

#include "ballistics/tables.hpp"
#include "ballistics/worked_example.hpp"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace siacci {
namespace {

// The worked shot of the metric table with its own stepping and a cartridge to print.
ShotInput workedShot(double increment, double maximum)
{
    ShotInput in = workedExample();
    in.increment = increment;
    in.maxDistance = maximum;
    in.description = ".308 WINCHESTER 150 grains SPITZER";
    return in;
}

ReportDocument report(const ShotInput& in)
{
    ReportDocument doc;
    doc.lines = tableEuropa(in, RunKind::Print).printed;
    doc.fontSize_pt = 11;
    return doc;
}

// The text of a PDF as pdftotext reads it, pages separated by form feeds; empty when the tool
// is missing (the caller skips).
QString pdfText(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool havePdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

// Leftmost column of the image holding a dark pixel, -1 when it is blank.
int leftmostInk(const QImage& image)
{
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

QImage paintFirstPage(const ReportDocument& doc, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    const ReportPainter layout(doc, image);
    QPainter painter(&image);
    layout.paintPage(painter, 0);
    return image;
}

TEST(ReportPainter, ItemAtColumn36StartsThirtyFiveCellsFromTheMargin)
{
    ReportDocument at1, at36;
    at1.lines = {{{1, "X"}}};
    at36.lines = {{{36, "X"}}};
    const QSize size(1200, 200);
    QImage probe(size, QImage::Format_RGB32);
    const ReportPainter layout(at36, probe);
    ASSERT_GT(layout.cellWidth(), 3);
    EXPECT_DOUBLE_EQ(layout.scale(), 1);
    EXPECT_DOUBLE_EQ(layout.cellOrigin(0, 35).x(), 35 * layout.cellWidth());
    EXPECT_DOUBLE_EQ(layout.cellOrigin(2, 0).y(), 2 * layout.lineHeight());

    // What is painted: the X moves right by exactly 35 cells.
    const int x1 = leftmostInk(paintFirstPage(at1, size));
    const int x36 = leftmostInk(paintFirstPage(at36, size));
    ASSERT_GE(x1, 0);
    EXPECT_NEAR(x36 - x1, 35 * layout.cellWidth(), 1.0);
}

TEST(ReportPainter, FontIsFixedPitchAtTheSetSize)
{
    const QFont font = reportFont(11);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), 11);
    const QFontMetricsF metrics(font);
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(QStringLiteral("iiii")),
                     metrics.horizontalAdvance(QStringLiteral("MMMM")));
    // A size no printer has falls back to the print commands' 11 points.
    EXPECT_DOUBLE_EQ(reportFont(0).pointSizeF(), 11);
    EXPECT_DOUBLE_EQ(reportFont(std::nan("")).pointSizeF(), 11);
}

TEST(ReportPainter, TooWideReportIsNarrowedToThePage)
{
    ReportDocument doc;
    doc.lines = {{{1, std::string(100, 'A')}}};
    QImage narrow(QSize(400, 400), QImage::Format_RGB32);
    const ReportPainter layout(doc, narrow);
    EXPECT_LT(layout.scale(), 1);
    EXPECT_GE(layout.scale(), 0.6);
}

TEST(ReportPainter, LongTableGoesOnSeveralPagesWithItsHeadings)
{
    // 301 rows (0 to 3000 m by 10) cannot stand on one page.
    const ReportDocument doc = report(workedShot(10, 3000));
    ASSERT_EQ(doc.lines.size(), 311u);
    QImage page(QSize(800, 1100), QImage::Format_RGB32);
    const ReportPainter layout(doc, page);
    ASSERT_GT(layout.pageCount(), 3);
    EXPECT_EQ(static_cast<std::size_t>(layout.pageCount()),
              paginate(doc.lines.size(), layout.linesPerPage()).size());
    for (int p = 1; p < layout.pageCount(); ++p)
        EXPECT_EQ(layout.pages()[p].front(), 7u) << "page " << p + 1;
}

TEST(ReportPdf, WrittenAndReadBack)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tabella.pdf"));
    const ReportDocument doc = report(workedShot(25, 300));
    ASSERT_TRUE(writeReportPdf(doc.lines, 11, path));

    const QString text = pdfText(path);
    EXPECT_TRUE(text.contains(QString::fromUtf8(kPrintBanner).trimmed())) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(".308 WINCHESTER 150 grains SPITZER")));
    EXPECT_TRUE(text.contains(QStringLiteral("Velocità")));
    // The last row of the worked example, its eight values in order on one line.
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto last = std::find_if(lines.rbegin(), lines.rend(), [](const QString& l) {
        return !l.trimmed().isEmpty();
    });
    ASSERT_NE(last, lines.rend());
    EXPECT_EQ(last->simplified(), QStringLiteral("300 594 0.435 -24.3 26.7 175 84.2 21.7"));
    EXPECT_EQ(text.count(QLatin1Char('\f')), 1) << "one page";
}

TEST(ReportPdf, LongTableRepeatsTheHeadingsOnEveryPage)
{
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lunga.pdf"));
    const ReportDocument doc = report(workedShot(10, 3000));
    ASSERT_TRUE(writeReportPdf(doc, path));

    QStringList pages = pdfText(path).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    ASSERT_GT(pages.size(), 3);
    for (int p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("dal Centro"))) << "page " << p + 1;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("m/sec."))) << "page " << p + 1;
    }
    EXPECT_EQ(pages.join(QString()).count(QStringLiteral("Balistica by Veltra")), 1);
    EXPECT_TRUE(pages.last().contains(QStringLiteral("3000 ")));
    EXPECT_TRUE(pages[1].contains(QStringLiteral("- 2 -")));
}

TEST(ReportPdf, RefusesWhatItCannotWrite)
{
    QTemporaryDir dir;
    const ReportDocument doc = report(workedShot(25, 300));
    EXPECT_FALSE(writeReportPdf(doc, dir.filePath(QStringLiteral("manca/tabella.pdf"))));
    EXPECT_FALSE(writeReportPdf(doc, QString()));
    // An empty report writes no file, and leaves an existing one as it was.
    const QString existing = dir.filePath(QStringLiteral("vecchia.pdf"));
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("vecchia");
    }
    EXPECT_FALSE(writeReportPdf(std::vector<PrintLine>{}, 11, existing));
    QFile f(existing);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("vecchia"));
}

TEST(QtPrintSink, CollectsOneReportPerDocument)
{
    QtPrintSink sink;
    std::vector<ReportDocument> shown;
    sink.setPresenter([&](const ReportDocument& d) { shown.push_back(d); });

    sink.setFontSize(11);
    sink.printLine({{1, "uno"}});
    sink.printLine({});
    sink.printLine({{6, "tre"}});
    EXPECT_EQ(sink.pending().lines.size(), 3u);
    sink.endDoc();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].lines.size(), 3u);
    EXPECT_EQ(shown[0].lines[2], (PrintLine{{6, "tre"}}));
    EXPECT_DOUBLE_EQ(shown[0].fontSize_pt, 11);
    EXPECT_EQ(shown[0].header, kTableReportHeader);

    // The next report starts empty; a document with no lines shows nothing.
    EXPECT_TRUE(sink.pending().lines.empty());
    sink.endDoc();
    EXPECT_EQ(shown.size(), 1u);
    sink.printLine({{1, "due"}});
    sink.endDoc();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].lines.size(), 1u);
    EXPECT_DOUBLE_EQ(shown[1].fontSize_pt, 11) << "the font size lasts";
}

// The preview shows the report's pages, and closing it prints nothing.
TEST(PrintPreview, CancelledPrintsNothing)
{
    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("stampa.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(output);

    int previewPages = -1;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        if (auto* widget = dialog->findChild<QPrintPreviewWidget*>())
            previewPages = widget->pageCount();
        dialog->reject();
    });
    const ReportDocument doc = report(workedShot(10, 3000));
    EXPECT_FALSE(showPrintPreview(doc, nullptr, &printer));
    EXPECT_EQ(title, QStringLiteral("Anteprima di stampa"));
    EXPECT_GT(previewPages, 1);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape)
        << "the rows run to column 86, wider than a portrait page";
    EXPECT_FALSE(QFile::exists(output));
}

} // namespace
} // namespace siacci

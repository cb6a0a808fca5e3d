// `make screenshots`: printing, the help and the about box.
#include "print/qt_help_window.hpp"

#include "ballistics/tables.hpp"
#include "ballistics/worked_example.hpp"
#include "common/qt_screenshots.hpp"
#include "print/about.hpp"
#include "print/qt_icons.hpp"
#include "print/qt_print_sink.hpp"

#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolButton>

namespace siacci::screenshots {

namespace {

// A metric report long enough for two pages: the worked shot of the tables, 0 to 600 m by 10.
ReportDocument sampleReport()
{
    ShotInput in = workedExample();
    in.increment = 10;
    in.maxDistance = 600;
    in.description = ".308 WINCHESTER (7,62 NATO) 150 grains SPITZER";
    ReportDocument doc;
    doc.lines = tableEuropa(in, RunKind::Print, ',').printed;
    return doc;
}

void about(const QString& dir)
{
    const Message m = aboutMessage();
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(m.title));
    box.setText(QString::fromStdString(m.text));
    box.setIcon(QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok);
    save(box, dir, QStringLiteral("about"));
}

void preview(const QString& dir)
{
    const ReportDocument doc = sampleReport();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    setReportPageLayout(printer, doc);
    QPrintPreviewDialog dialog(&printer);
    dialog.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&doc](QPrinter* target) { paintReport(*target, doc); });
    dialog.resize(1000, 760);
    save(dialog, dir, QStringLiteral("print_preview"));

    // The first page itself, as the printer gets it, at 110 dots per inch.
    QImage page(QSize(1286, 909), QImage::Format_RGB32);
    page.setDotsPerMeterX(4331);
    page.setDotsPerMeterY(4331);
    page.fill(Qt::white);
    const int margin = 65; // 15 mm
    QImage area = page.copy(margin, margin, page.width() - 2 * margin, page.height() - 2 * margin);
    area.fill(Qt::white);
    {
        const ReportPainter report(doc, area);
        QPainter painter(&area);
        report.paintPage(painter, 0);
    }
    QPainter(&page).drawImage(margin, margin, area);
    const QString path = QDir(dir).filePath(QStringLiteral("print_page1.png"));
    page.save(path);
    std::printf("%s\n", qPrintable(path));
}

void toolbar(const QString& dir)
{
    QWidget strip;
    auto* layout = new QHBoxLayout(&strip);
    for (int image : {1, 2, 3, 4, 5, 6, 9}) {
        auto* b = new QToolButton(&strip);
        b->setIcon(toolbarIcon(image));
        b->setIconSize(QSize(32, 32));
        layout->addWidget(b);
    }
    auto* app = new QLabel(&strip);
    app->setPixmap(applicationPixmap(64));
    layout->addWidget(app);
    save(strip, dir, QStringLiteral("toolbar_icons"));
}

} // namespace

void print(const QString& dir)
{
    {
        HelpWindow help;
        save(help, dir, QStringLiteral("help_contents"));
    }

    about(dir);
    preview(dir);
    toolbar(dir);
}

} // namespace siacci::screenshots

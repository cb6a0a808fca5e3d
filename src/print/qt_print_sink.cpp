#include "print/qt_print_sink.hpp"

#include "common/version.hpp"
#include "files/qt_careful_write.hpp"

#include <QPrintPreviewDialog>
#include <QPrinter>

#include <memory>

namespace siacci {

bool showPrintPreview(const ReportDocument& document, QWidget* parent, QPrinter* printer)
{
    if (document.lines.empty())
        return false;
    std::unique_ptr<QPrinter> ownPrinter;
    if (!printer) {
        ownPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer = ownPrinter.get();
    }
    printer->setDocName(QStringLiteral("Siacci - tabella di tiro"));
    printer->setCreator(QString::fromLatin1(kProgramAndVersion));
    setReportPageLayout(*printer, document);

    QPrintPreviewDialog preview(printer, parent);
    preview.setObjectName(QStringLiteral("PrintPreview"));
    preview.setWindowTitle(QStringLiteral("Anteprima di stampa"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&document, &preview](QPrinter* target) {
                         if (printsToPdfFile(*target))
                             writePrintedPdf(*target, reportPdf(document), &preview);
                         else
                             paintReport(*target, document);
                     });
    return preview.exec() == QDialog::Accepted;
}

QtPrintSink::QtPrintSink(QWidget* parent) : m_parent(parent) {}

void QtPrintSink::endDoc()
{
    ReportDocument finished = m_document;
    m_document.lines.clear();
    if (finished.lines.empty())
        return;
    if (m_presenter)
        m_presenter(finished);
    else
        showPrintPreview(finished, m_parent);
}

} // namespace siacci

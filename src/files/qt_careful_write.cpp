#include "files/qt_careful_write.hpp"

#include "files/careful_write.hpp"

#include <QFile>
#include <QMessageBox>
#include <QPaintEngine>
#include <QPrinter>

namespace siacci {

QString writeFileBytes(const QString& path, const QByteArray& bytes)
{
    if (path.isEmpty())
        return QStringLiteral("manca il nome del file");
    const std::filesystem::path target(QFile::encodeName(path).toStdString());
    const CarefulWriteResult written =
        fileWriter().write(target, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return QString::fromStdString(writeFailureText(written));
}

QString writeFailedMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Non è stato possibile scrivere il file \"%1\": %2.").arg(path, reason);
}

bool printsToPdfFile(const QPrinter& printer)
{
    // While the preview paints, the printer's engine is the preview's (a picture), whatever
    // the printer is set to.
    const QPaintEngine* engine = printer.paintEngine();
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty() &&
           engine && engine->type() == QPaintEngine::Pdf;
}

void writePrintedPdf(const QPrinter& printer, const QByteArray& pdf, QWidget* parent)
{
    const QString path = printer.outputFileName();
    const QString why = pdf.isEmpty() ? QStringLiteral("il documento non si compone") : writeFileBytes(path, pdf);
    if (!why.isEmpty())
        QMessageBox::warning(parent, QStringLiteral("Anteprima di stampa"), writeFailedMessage(path, why));
}

} // namespace siacci

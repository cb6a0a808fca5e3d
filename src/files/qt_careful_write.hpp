#pragma once

#include <QByteArray>
#include <QString>

class QPrinter;
class QWidget;

// The careful writer (careful_write.hpp) for the Qt windows: a document made in memory (a
// QBuffer behind a QPdfWriter or an image writer) goes to disk whole or not at all.
namespace siacci {

// Writes `bytes` as the whole file `path` through the program's writer; empty when written,
// else why not, in Italian ("il disco è pieno").
QString writeFileBytes(const QString& path, const QByteArray& bytes);

// "Non è stato possibile scrivere il file \"x.pdf\": il disco è pieno."
QString writeFailedMessage(const QString& path, const QString& reason);

// True when a print dialog sent `printer` to a PDF file ("Stampa su file") rather than to a
// printer or to the preview: the caller then makes the PDF itself and writes it with
// writeFileBytes, so that a full disk is reported instead of leaving a cut-off file.
bool printsToPdfFile(const QPrinter& printer);

// Writes `pdf` to the file the printer was sent to; a failure is shown to the user in a
// message box over `parent`.
void writePrintedPdf(const QPrinter& printer, const QByteArray& pdf, QWidget* parent);

} // namespace siacci

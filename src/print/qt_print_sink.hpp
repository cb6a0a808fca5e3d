#pragma once

#include "common/ports.hpp"
#include "print/qt_report_painter.hpp"

#include <QPointer>
#include <QWidget>

#include <functional>

class QPrinter;

// The printer of the program: the table routines write their report line by line, and at the
// end of the document the user sees it in the platform's print preview, from which it goes to a
// printer or to a PDF file.
namespace siacci {

// Shows the report in a modal print preview over `parent`, set in the report's fixed-pitch font
// on as many pages as it needs. Printing from the preview prints it (or exports it as a PDF);
// closing the preview prints nothing. Returns true when the user printed.
// `printer` is the printer to print on; nullptr: the system's default printer.
bool showPrintPreview(const ReportDocument& document, QWidget* parent, QPrinter* printer = nullptr);

class QtPrintSink : public PrintSink {
public:
    // What becomes of a finished report. The default shows the print preview over the parent
    // widget; tests and the command-line tool put their own.
    using Presenter = std::function<void(const ReportDocument&)>;

    explicit QtPrintSink(QWidget* parent = nullptr);

    // The window the preview is shown over.
    void setParentWidget(QWidget* parent) { m_parent = parent; }
    void setPresenter(Presenter presenter) { m_presenter = std::move(presenter); }
    // The lines repeated at the top of every page after the first. The default suits the
    // reports of the three tables (their three lines of column headings); the setting lasts for
    // every later report.
    void setRepeatedHeader(RepeatedHeader header) { m_document.header = header; }

    // The font size lasts until it is set again, as on a printer.
    void setFontSize(double points) override { m_document.fontSize_pt = points; }
    void printLine(const PrintLine& line) override { m_document.lines.push_back(line); }
    // Hands the report to the presenter and starts the next one empty. A report without a
    // single line is not shown.
    void endDoc() override;

    // The lines written since the last end of document.
    const ReportDocument& pending() const { return m_document; }

private:
    QPointer<QWidget> m_parent;
    Presenter m_presenter;
    ReportDocument m_document;
};

} // namespace siacci

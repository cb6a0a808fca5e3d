#include "cli/qt_application.hpp"

#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <memory>

namespace siacci::cli {

namespace {

// The tool's standard error is for its own messages: Qt's notes about the platform (no runtime
// directory, no screen) are of no use to the script that runs it.
void quietQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

void ensureGuiApplication()
{
    if (QGuiApplication::instance())
        return;
    qInstallMessageHandler(quietQtNotes);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "siacci-cli";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace siacci::cli

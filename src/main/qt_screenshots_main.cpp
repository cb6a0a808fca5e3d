// `make screenshots`: every window's scenes, into the folder given (or the current one).
#include "common/qt_screenshots.hpp"

#include "app/qt_language.hpp"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own armoury
    siacci::installItalianTranslations(app);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    siacci::screenshots::form4(dir);
    siacci::screenshots::calc(dir);
    siacci::screenshots::cb(dir);
    siacci::screenshots::graph(dir);
    siacci::screenshots::files(dir);
    siacci::screenshots::print(dir);
    siacci::screenshots::card(dir);
    siacci::screenshots::armoury(dir);
    return 0;
}

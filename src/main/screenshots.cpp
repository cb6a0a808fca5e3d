#include "main/screenshots.hpp"

#include "app/form4_window.hpp"
#include "armoury/armoury_window.hpp"
#include "bc/cb_window.hpp"
#include "calc/calc_window.hpp"
#include "card/card_window.hpp"
#include "files/file_window.hpp"
#include "graph/graph_window.hpp"
#include "print/qt_help_window.hpp"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own armoury
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

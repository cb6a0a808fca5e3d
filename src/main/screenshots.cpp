#include "main/screenshots.hpp"

#include "app/form4_window.hpp"
#include "calc/calc_window.hpp"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(dir);
    siacci::screenshots::form4(dir);
    siacci::screenshots::calc(dir);
    return 0;
}
